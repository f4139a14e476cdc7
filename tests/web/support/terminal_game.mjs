import { spawnSync } from 'node:child_process';

// The step written for the recorder: one line, with \r, \e, \\ and \xHH.
function spell(bytes) {
  return [...bytes]
    .map((character) => {
      if (character === '\\') return '\\\\';
      if (character === '\r') return '\\r';
      if (character === '\x1b') return '\\e';
      const code = character.charCodeAt(0);
      return code < 0x20 || code === 0x7f ? `\\x${code.toString(16).padStart(2, '0')}` : character;
    })
    .join('');
}

// The same game in the terminal: the built binary in an 80x25 pseudo-
// terminal rendered by libvterm (tests/e2e/record_screens.cpp), started
// with this seed, or with these options of the game's. Returns the screen
// before the first step and after each step, and how it ended.
export function playInTerminal(recorder, seedOrOptions, steps) {
  const run = spawnSync(recorder, Array.isArray(seedOrOptions) ? seedOrOptions : [String(seedOrOptions)], {
    input: steps.map(spell).join('\n') + '\n',
    encoding: 'utf8',
    timeout: 180_000,
  });
  if (run.status !== 0) throw new Error(`${recorder} failed: ${run.stderr || run.error}`);
  const lines = run.stdout.split('\n');
  const screens = [];
  let at = 0;
  while (lines[at]?.startsWith('screen ')) {
    screens.push(lines.slice(at + 1, at + 26));
    at += 26;
  }
  return { screens, ending: lines[at] };
}
