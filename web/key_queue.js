// The bytes typed into the terminal and not yet read by the game, with a
// way to wait for more: what a terminal's input buffer is to a program.
export class KeyQueue {
  #chunks = [];
  #size = 0;
  #wakeUp = null;

  get size() {
    return this.#size;
  }

  push(bytes) {
    if (bytes.length === 0) return;
    this.#chunks.push(bytes);
    this.#size += bytes.length;
    this.#wake();
  }

  // Up to `most` bytes, oldest first; an empty array when none are there.
  take(most) {
    const count = Math.min(most, this.#size);
    const taken = new Uint8Array(count);
    let filled = 0;
    while (filled < count) {
      const chunk = this.#chunks[0];
      const part = Math.min(chunk.length, count - filled);
      taken.set(chunk.subarray(0, part), filled);
      filled += part;
      if (part === chunk.length) this.#chunks.shift();
      else this.#chunks[0] = chunk.subarray(part);
    }
    this.#size -= count;
    return taken;
  }

  // Settles when bytes are waiting, or after `milliseconds` (-1: never).
  waitForKeys(milliseconds) {
    if (this.#size > 0) return Promise.resolve();
    return new Promise((resolve) => {
      const timer = milliseconds >= 0 ? setTimeout(() => this.#wake(), milliseconds) : null;
      this.#wakeUp = () => {
        clearTimeout(timer);
        resolve();
      };
    });
  }

  #wake() {
    const wakeUp = this.#wakeUp;
    this.#wakeUp = null;
    if (wakeUp) wakeUp();
  }
}
