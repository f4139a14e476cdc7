import { KeyQueue } from './key_queue.js';

const encoder = new TextEncoder();

// One game: a fresh instance of the game's WebAssembly module, playing on
// the page's terminal until it ends. The module reaches the page through
// `tenderPage` (the other side is src/terminal/browser_page.cpp).
export class GameSession {
  #terminal;
  #keys = new KeyQueue();
  #writesInFlight = 0;
  #waitingForKey = false;
  #ended = false;
  #abandoned = false;
  #events;

  // `events`: onWaiting() when the game waits for a key with all its output
  // on screen, onPlaying() when it has keys to work on, onEditingLine(on)
  // when a line of text (a name) starts or stops being typed, onEnd(status).
  constructor(terminal, events) {
    this.#terminal = terminal;
    this.#events = events;
  }

  get ended() {
    return this.#ended;
  }

  // Starts the game with these command-line arguments. `journal` is the
  // page's side of the game's journal (src/journal/browser_store.cpp):
  // chosen(), append(bytes), cutAt(size), finished(), report(text).
  async start(compiledModule, createModule, args, journal) {
    const session = this;
    await createModule({
      arguments: args,
      tenderPage: {
        takeKeys: (most) => this.#keys.take(most),
        waitForKeys: (milliseconds) => this.#waitForKeys(milliseconds),
        show: (bytes) => this.#show(bytes),
        editingLine: (editing) => this.#abandoned || this.#events.onEditingLine(editing),
        endGame: (status) => this.#end(status),
        journal: this.#unlessAbandoned(journal),
      },
      instantiateWasm(imports, receiveInstance) {
        WebAssembly.instantiate(compiledModule, imports).then(
          (instance) => receiveInstance(instance, compiledModule),
          (error) => session.#fail(error),
        );
        return {};
      },
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      onAbort: (reason) => this.#fail(reason),
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
    const guarded = {};
    for (const [name, call] of Object.entries(journal)) {
      guarded[name] = (...args) => (this.#abandoned ? '' : call(...args));
    }
    return guarded;
  }

  // Text typed into the terminal, as the terminal sends it.
  type(data) {
    if (this.#ended) return;
    this.#keys.push(encoder.encode(data));
    if (this.#waitingForKey) {
      this.#waitingForKey = false;
      this.#events.onPlaying();
    }
  }

  #waitForKeys(milliseconds) {
    // An abandoned game waits for good, a replay too: it runs no more.
    if (this.#abandoned) return new Promise(() => {});
    // A wait without a limit is the game at a prompt; a short one is the
    // rest of an escape sequence being waited for.
    if (milliseconds < 0 && this.#keys.size === 0) {
      this.#waitingForKey = true;
      this.#announceWaiting();
    }
    return this.#keys.waitForKeys(milliseconds);
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
