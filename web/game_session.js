import { KeyQueue } from './key_queue.js';

const encoder = new TextEncoder();

// One game: a fresh instance of the game's WebAssembly module, playing on
// the page's terminal until it ends. The module reaches the page through
// `tenderPage` (the other side is src/console/browser_page.cpp).
export class GameSession {
  #terminal;
  #keys = new KeyQueue();
  #writesInFlight = 0;
  #waitingForKey = false;
  #ended = false;
  #events;

  // `events`: onWaiting() when the game waits for a key with all its output
  // on screen, onPlaying() when it has keys to work on, onEnd(status).
  constructor(terminal, events) {
    this.#terminal = terminal;
    this.#events = events;
  }

  get ended() {
    return this.#ended;
  }

  // Starts the game; `seed` (a string of digits) or null for the time.
  async start(compiledModule, createModule, seed) {
    const session = this;
    await createModule({
      arguments: seed === null ? [] : ['--seed', seed],
      tenderPage: {
        takeKeys: (most) => this.#keys.take(most),
        waitForKeys: (milliseconds) => this.#waitForKeys(milliseconds),
        show: (bytes) => this.#show(bytes),
        endGame: (status) => this.#end(status),
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
    // A wait without a limit is the game at a prompt; a short one is the
    // rest of an escape sequence being waited for.
    if (milliseconds < 0 && this.#keys.size === 0) {
      this.#waitingForKey = true;
      this.#announceWaiting();
    }
    return this.#keys.waitForKeys(milliseconds);
  }

  #show(bytes) {
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
    this.#ended = true;
    this.#waitingForKey = false;
    // After the last screen is drawn.
    this.#terminal.write('', () => this.#events.onEnd(status));
  }

  #fail(reason) {
    if (this.#ended) return;
    this.#ended = true;
    this.#events.onFailure(reason);
  }
}
