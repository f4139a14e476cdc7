// The game's terminal: the size of the console it was made for, its
// colours, newlines as a terminal's line discipline sends them, and the
// screen kept as text a screen reader can read.
export const terminalOptions = {
  cols: 80,
  rows: 25,
  // The game's sixteen colours as the console it was made for shows them,
  // in the terminal's ANSI order (the game sends its palette numbers as
  // ANSI colours: its red, 4, arrives as ANSI 1).
  theme: {
    background: '#000000',
    foreground: '#c0c0c0',
    cursor: '#c0c0c0',
    cursorAccent: '#000000',
    black: '#000000',
    red: '#800000',
    green: '#008000',
    yellow: '#808000',
    blue: '#000080',
    magenta: '#800080',
    cyan: '#008080',
    white: '#c0c0c0',
    brightBlack: '#808080',
    brightRed: '#ff0000',
    brightGreen: '#00ff00',
    brightYellow: '#ffff00',
    brightBlue: '#0000ff',
    brightMagenta: '#ff00ff',
    brightCyan: '#00ffff',
    brightWhite: '#ffffff',
  },
  convertEol: true,
  screenReaderMode: true,
  scrollback: 0,
  cursorBlink: false,
  fontFamily: '"DejaVu Sans Mono", "Liberation Mono", Menlo, Consolas, monospace',
  fontSize: 16,
  drawBoldTextInBrightColors: false,
};
