// One game: a fresh instance of the game's WebAssembly module, playing on
// the page's terminal until it ends, or telling how a kept journal stands.
import createTenderGamble from 'tender-gamble-module';

const encoder = new TextEncoder();

// An instance of the game's code, compiled once by the page, run with these
// arguments. It reaches the page through `tenderPage` (the other side is
// src/terminal/browser_page.cpp); `failed(reason)` when it cannot run.
function runModule(compiled, { args, tenderPage, print, printErr, failed }) {
  return createTenderGamble({
    arguments: args,
    tenderPage,
    instantiateWasm(imports, receiveInstance) {
      const received = (instance) => receiveInstance(instance, compiled);
      WebAssembly.instantiate(compiled, imports).then(received, failed);
      return {};
    },
    print,
    printErr,
    onAbort: failed,
  });
}

// How a journal's game stands: the game replays it silently and answers
// with the code of its standing and the list's cells
// (src/program/web_main.cpp, --describe).
export function describeJournal(compiled, bytes) {
  return new Promise((resolve, reject) => {
    let line = '';
    const endGame = () => {
      const [standing, ...cells] = line.split('\t');
      resolve({ standing, cells });
    };
    runModule(compiled, {
      args: ['--describe'],
      tenderPage: { journal: { chosen: () => bytes }, endGame },
      print: (text) => { line = text; },
      printErr: () => {},
      failed: reject,
    }).catch(reject);
  });
}

export class GameSession {
  #terminal;
  #keys = []; // the bytes typed and not yet taken by the game
  #keysCame = null; // ends the game's wait for keys
  #writesInFlight = 0;
  #waitingForKey = false;
  #ended = false;
  #abandoned = false;
  #events;

  // `events`: onWaiting() when the game waits for a key with all its output
  // on screen, onPlaying() when it has keys to work on, onEditingLine(on)
  // when a line of text (a name) starts or stops being typed, onEnd(status),
  // onFailure(reason).
  constructor(terminal, events) {
    this.#terminal = terminal;
    this.#events = events;
  }

  get ended() {
    return this.#ended;
  }

  // Starts the game with these command-line arguments. `journal` is the
  // page's side of the game's journal (src/program/browser_store.cpp):
  // chosen(), append(bytes), cutAt(size), finished(), report(text).
  async start(compiled, args, journal) {
    await runModule(compiled, {
      args,
      tenderPage: {
        takeKeys: (most) => Uint8Array.from(this.#keys.splice(0, most)),
        waitForKeys: (milliseconds) => this.#waitForKeys(milliseconds),
        show: (bytes) => this.#show(bytes),
        editingLine: (editing) => this.#abandoned || this.#events.onEditingLine(editing),
        endGame: (status) => this.#end(status),
        journal: this.#unlessAbandoned(journal),
      },
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      failed: (reason) => this.#fail(reason),
    });
  }

  // Leaves the game where it is for good: a new game takes the terminal
  // while this one may still be in a pause, and whatever it does after is
  // neither shown nor kept.
  abandon() {
    this.#abandoned = true;
    this.#ended = true;
  }

  #unlessAbandoned(journal) {
    const guard = ([name, call]) => [name, (...args) => (this.#abandoned ? '' : call(...args))];
    return Object.fromEntries(Object.entries(journal).map(guard));
  }

  // Text typed into the terminal, as the terminal sends it.
  type(data) {
    if (this.#ended || data === '') return;
    for (const byte of encoder.encode(data)) this.#keys.push(byte);
    this.#keysCame?.();
    if (this.#waitingForKey) {
      this.#waitingForKey = false;
      this.#events.onPlaying();
    }
  }

  // Settles when keys are waiting, or after `milliseconds` (-1: never).
  #waitForKeys(milliseconds) {
    // An abandoned game waits for good, a replay too: it runs no more.
    if (this.#abandoned) return new Promise(() => {});
    if (this.#keys.length > 0) return Promise.resolve();
    // A wait without a limit is the game at a prompt; a short one is the
    // rest of an escape sequence being waited for.
    if (milliseconds < 0) {
      this.#waitingForKey = true;
      this.#announceWaiting();
    }
    return new Promise((resolve) => {
      const timer = milliseconds >= 0 ? setTimeout(resolve, milliseconds) : null;
      this.#keysCame = () => {
        clearTimeout(timer);
        this.#keysCame = null;
        resolve();
      };
    });
  }

  #show(bytes) {
    if (this.#abandoned) return;
    this.#writesInFlight += 1;
    this.#terminal.write(bytes, () => {
      this.#writesInFlight -= 1;
      this.#announceWaiting();
    });
  }

  #announceWaiting() {
    if (this.#waitingForKey && this.#writesInFlight === 0 && !this.#ended) this.#events.onWaiting();
  }

  #end(status) {
    if (this.#abandoned) return;
    this.#ended = true;
    this.#waitingForKey = false;
    // After the last screen is drawn.
    this.#terminal.write('', () => this.#events.onEnd(status));
  }

  #fail(reason) {
    if (this.#ended || this.#abandoned) return;
    this.#ended = true;
    this.#events.onFailure(reason);
  }
}
