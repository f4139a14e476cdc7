import { Terminal } from '@xterm/xterm';
import createTenderGamble from 'tender-gamble-module';
import { GameSession } from './game_session.js';
import { terminalOptions } from './terminal_options.js';

const LargestSeed = 4294967295;

// The seed asked for in the address (?seed=N): a string of digits, or null
// for a game seeded by the time. A seed that is no seed is said, not used.
function seedFromAddress(search) {
  const asked = new URLSearchParams(search).get('seed');
  if (asked === null) return { seed: null, problem: null };
  if (/^[0-9]{1,10}$/.test(asked) && Number(asked) <= LargestSeed) return { seed: String(Number(asked)), problem: null };
  return { seed: null, problem: `"${asked}" is not a seed (a whole number from 0 to ${LargestSeed}): this game is seeded by the time.` };
}

// The game's code, compiled once and instantiated anew for every game.
// Servers that do not label .wasm files as WebAssembly get the slower way.
async function compileGame() {
  const response = await fetch(new URL('tender-gamble.wasm', document.baseURI));
  if (!response.ok) throw new Error(`the game's code did not load (${response.status})`);
  try {
    return await WebAssembly.compileStreaming(response.clone());
  } catch {
    return WebAssembly.compile(await response.arrayBuffer());
  }
}

class Page {
  #main = document.getElementById('game');
  #status = document.getElementById('status');
  #newGame = document.getElementById('new-game');
  #terminal;
  #session = null;
  #compiled;
  #seed;
  #waits = 0;

  // `seed`: the address's seed for every game of this page, or null.
  constructor(compiled, seed) {
    this.#compiled = compiled;
    this.#seed = seed;
    this.#terminal = new Terminal(terminalOptions);
    this.#terminal.open(document.getElementById('terminal'));
    this.#terminal.onData((data) => this.#typed(data));
    this.#newGame.addEventListener('click', () => this.startGame());
    this.#keepFocus();
  }

  // Starts a game on the terminal, dropping the one before. Whatever comes
  // before a game outside the terminal (a choice of the player's) runs
  // first and then calls this.
  async startGame() {
    this.#newGame.hidden = true;
    delete this.#main.dataset.exitStatus;
    this.#say('');
    this.#terminal.reset();
    this.#terminal.focus();
    this.#setState('playing');
    const session = new GameSession(this.#terminal, {
      onWaiting: () => {
        this.#waits += 1;
        this.#main.dataset.waits = String(this.#waits);
        this.#setState('waiting');
      },
      onPlaying: () => this.#setState('playing'),
      onEnd: (status) => this.#ended(status),
      onFailure: (reason) => this.#failed(reason),
    });
    this.#session = session;
    await session.start(this.#compiled, createTenderGamble, this.#seed);
  }

  #typed(data) {
    if (this.#session && !this.#session.ended) {
      this.#session.type(data);
    } else if (this.#session && data === '\r') {
      this.startGame(); // Enter on the ended game's terminal starts the next one
    }
  }

  #ended(status) {
    this.#terminal.write('\x1b[?25l'); // no cursor: nothing reads the terminal now
    this.#setState('ended');
    this.#main.dataset.exitStatus = String(status);
    this.#say('The game has ended. Press Enter or choose New game to play again.');
    this.#newGame.hidden = false;
  }

  #failed(reason) {
    this.#setState('failed');
    this.#say(`The game stopped: ${reason}`);
    this.#newGame.hidden = false;
  }

  #setState(state) {
    this.#main.dataset.state = state;
  }

  #say(text) {
    this.#status.textContent = text;
  }

  // The terminal takes the keys whenever the page has them, except while
  // the player is on the page's own controls.
  #keepFocus() {
    window.addEventListener('focus', () => this.#focusTerminal());
    document.addEventListener('click', (event) => {
      if (!(event.target instanceof HTMLButtonElement)) this.#focusTerminal();
    });
  }

  #focusTerminal() {
    if (document.activeElement instanceof HTMLButtonElement) return;
    this.#terminal.focus();
  }
}

async function main() {
  const { seed, problem } = seedFromAddress(window.location.search);
  let compiled;
  try {
    compiled = await compileGame();
  } catch (error) {
    document.getElementById('status').textContent = `The game could not be loaded: ${error.message}`;
    document.getElementById('game').dataset.state = 'failed';
    return;
  }
  const page = new Page(compiled, seed);
  await page.startGame();
  if (problem) document.getElementById('status').textContent = problem;
}

main();
