// The baseline for the web page's start-up: xterm.js alone, set up as the
// game's page sets it up, writing the game's first screen (the banner and
// the play-mode menu) with no game behind it.
import { Terminal } from '@xterm/xterm';
import { terminalOptions } from '../web/terminal_options.js';

const rule = '\u2550'.repeat(21);
const inner = (text) => `\u2551${text}\u2551\n`;
const banner =
  '\x1b[37;40m\x1b[H\x1b[2J\x1b[3J\x1b[91;41m' +
  `\u2554${rule}\u2557\n` +
  inner('                     ') +
  inner('     Tender          ') +
  inner('         Gamble!     ') +
  inner('                     ') +
  inner('                     ') +
  inner('     Tad Harwick     ') +
  inner('                     ') +
  `\u255a${rule}\u255d\n` +
  '\x1b[37;40mPick a Play Mode:\n\x1b[97m\t1 - Trophy Mode\n\t0 - FreePlay Mode\n\x1b[37m';

const terminal = new Terminal(terminalOptions);
terminal.open(document.getElementById('terminal'));
terminal.write(banner);
terminal.focus();
