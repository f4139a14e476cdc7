// The game on its web page, driven the way a player drives it: keys
// pressed into the page's terminal, the screen read from the page's DOM.

import { readFile } from 'node:fs/promises';

// How xterm.js names the keys whose bytes the steps spell out.
const namedKeys = new Map([
  ['\x1b[A', 'ArrowUp'],
  ['\x1b[B', 'ArrowDown'],
  ['\x1b[C', 'ArrowRight'],
  ['\x1b[D', 'ArrowLeft'],
  ['\x1b', 'Escape'],
  ['\r', 'Enter'],
  ['\x7f', 'Backspace'],
]);

export class WebGame {
  #page;
  errors = [];

  constructor(page) {
    this.#page = page;
    page.on('pageerror', (error) => this.errors.push(`uncaught: ${error.message}`));
    page.on('response', (response) => {
      if (!response.ok()) this.errors.push(`${response.status()}: ${response.url()}`);
    });
    page.on('console', (message) => {
      if (message.type() === 'error' || message.type() === 'warning') this.errors.push(`${message.type()}: ${message.text()}`);
    });
  }

  static async open(context, url) {
    const game = new WebGame(await context.newPage());
    await game.#page.goto(url);
    await game.settle(0);
    return game;
  }

  get page() {
    return this.#page;
  }

  state() {
    return this.#page.evaluate(() => document.getElementById('game').dataset.state);
  }

  // How many times the game has waited for a key so far.
  waits() {
    return this.#page.evaluate(() => Number(document.getElementById('game').dataset.waits ?? 0));
  }

  // Waits until the game waits for a key again (after `waitsBefore`), has
  // ended, or the page waits for a choice outside the terminal, and the
  // terminal has drawn what it was given.
  async settle(waitsBefore) {
    await this.#page.waitForFunction(
      (before) => {
        const main = document.getElementById('game');
        const state = main.dataset.state;
        const settled = ['ended', 'failed', 'choosing'].includes(state);
        return settled || (state === 'waiting' && Number(main.dataset.waits) > before);
      },
      waitsBefore,
      { timeout: 20_000, polling: 10 },
    );
    await this.#page.evaluate(
      () => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))),
    );
  }

  // Presses the keys of one step: the bytes a terminal would send, named
  // keys where a key sends a sequence.
  async press(bytes) {
    let rest = bytes;
    while (rest.length > 0) {
      const named = [...namedKeys.keys()].find((sequence) => rest.startsWith(sequence));
      if (named) {
        await this.#page.keyboard.press(namedKeys.get(named));
        rest = rest.slice(named.length);
      } else {
        await this.#page.keyboard.type(rest[0]);
        rest = rest.slice(1);
      }
    }
  }

  async reload() {
    await this.#page.reload();
    await this.settle(0);
  }

  // Opens a journal file on the page and waits for its replay to hold its
  // last screen, or to end.
  async replay(file) {
    await this.#page.setInputFiles('#journal-file', file);
    await this.#page.waitForFunction(
      () => {
        const main = document.getElementById('game');
        return main.dataset.mode === 'replay' && (main.dataset.state === 'ended' || main.dataset.state === 'waiting');
      },
      null,
      { timeout: 60_000, polling: 10 },
    );
    await this.settle(0);
  }

  // The bytes of the journal the page offers for download.
  async download() {
    const [download] = await Promise.all([this.#page.waitForEvent('download'), this.#page.click('#download')]);
    return { name: download.suggestedFilename(), bytes: await readFile(await download.path()) };
  }

  // Does what a player does (a tap, a click, keys) and waits until the
  // game has taken it in.
  async after(action) {
    const before = await this.waits();
    await action();
    await this.settle(before);
  }

  step(bytes) {
    return this.after(() => this.press(bytes));
  }

  // The terminal's rows as the page shows them, trailing blanks cut off.
  screen() {
    return this.#page.evaluate(() =>
      [...document.querySelectorAll('#terminal .xterm-rows > div')].map((row) =>
        row.textContent.replaceAll('\u00a0', ' ').trimEnd(),
      ),
    );
  }

  // The palette classes (ANSI numbers) of the cell at row and column.
  colours(row, column) {
    return this.#page.evaluate(
      ([rowIndex, columnIndex]) => {
        const spans = document.querySelectorAll('#terminal .xterm-rows > div')[rowIndex].children;
        let start = 0;
        for (const span of spans) {
          const width = span.textContent.length;
          if (columnIndex < start + width) {
            const number = (prefix) => {
              const name = [...span.classList].find((c) => c.startsWith(prefix));
              return name === undefined ? null : Number(name.slice(prefix.length));
            };
            return { foreground: number('xterm-fg-'), background: number('xterm-bg-') };
          }
          start += width;
        }
        return { foreground: null, background: null };
      },
      [row, column],
    );
  }

  status() {
    return this.#page.evaluate(() => document.getElementById('status').textContent);
  }
}
