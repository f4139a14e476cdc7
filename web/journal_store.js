// The journals of the games played on this page, kept in the browser's
// storage as the game writes them, in the journal format's own bytes
// (docs/journal.md): a journal downloaded from the page is a file the
// terminal game can go on with or replay.
//
// Storage holds strings: a journal is kept as text with one character per
// byte, cut into chunks of up to ChunkSize bytes (an append longer than
// that gets a chunk of its own), each under a key of its own. An append
// rewrites only the last chunk, however long the journal grows. An index
// of the journals (seed, start, when last played, whether finished) is
// rewritten only when a game starts, goes on or ends.

const Prefix = 'tender-gamble/';
const IndexKey = `${Prefix}journals`;
const ChunkSize = 1024;
// Journals beyond this many, the least recently played first, make room
// for a new game.
const MostJournals = 20;

const chunkKey = (id, number) => `${Prefix}journal/${id}/${number}`;

// Bytes as text of one character per byte, and back; the characters are
// taken a slice at a time, as a call takes only so many arguments.
export function bytesToText(bytes) {
  let text = '';
  for (let at = 0; at < bytes.length; at += 8192) text += String.fromCharCode(...bytes.subarray(at, at + 8192));
  return text;
}

export function textToBytes(text) {
  return Uint8Array.from(text, (character) => character.charCodeAt(0));
}

function describe(error) {
  return error?.name === 'QuotaExceededError' ? "the browser's storage for this page is full" : String(error?.message ?? error);
}

// The file name the terminal game would give the journal.
export function journalFileName(entry) {
  return `${entry.started.replaceAll(':', '-').replace(/\.\d+Z$/, 'Z')}-seed-${entry.seed}.journal`;
}

export class JournalStore {
  #storage;

  // `storage`: localStorage, or anything with its getItem, setItem and
  // removeItem.
  constructor(storage) {
    this.#storage = storage;
  }

  // Every journal, the most recently played first: { id, seed, started,
  // played, finished, refused }.
  list() {
    try {
      const index = JSON.parse(this.#storage.getItem(IndexKey) ?? '[]');
      return Array.isArray(index) ? index.sort((a, b) => b.played - a.played) : [];
    } catch {
      return [];
    }
  }

  find(id) {
    return this.list().find((entry) => entry.id === id) ?? null;
  }

  // The most recently played game that has not reached an ending, holds
  // at least its header and is not among `busy` (ids played elsewhere).
  latestUnfinished(busy = new Set()) {
    const begun = (entry) => this.#storage.getItem(chunkKey(entry.id, 0)) !== null;
    const worth = (entry) => !entry.finished && !entry.refused && !busy.has(entry.id) && begun(entry);
    return this.list().find(worth) ?? null;
  }

  // A new journal for a game with this seed, started now. The least
  // recently played journals go, to keep at most MostJournals, but not
  // the busy ones (being played in other tabs).
  create(seed, busy = new Set()) {
    const now = new Date();
    const entry = {
      id: `${now.getTime().toString(36)}-${Math.random().toString(36).slice(2, 8)}`,
      seed: String(seed),
      started: now.toISOString(),
      played: now.getTime(),
      finished: false,
    };
    const journals = [entry, ...this.list()];
    const removable = journals.filter((journal) => journal !== entry && !busy.has(journal.id));
    while (journals.length > MostJournals && removable.length > 0) this.#remove(journals, removable.pop().id);
    this.#saveIndex(journals);
    return entry;
  }

  // Notes that the game was just taken up again, finished, or could not be
  // gone on with.
  update(id, change) {
    const journals = this.list();
    const entry = journals.find((journal) => journal.id === id);
    if (!entry) return;
    Object.assign(entry, change);
    this.#saveIndex(journals);
  }

  // A journal that came from elsewhere (a shared link), kept as this page's
  // own: { entry }, or { error } with nothing kept.
  adopt(bytes, busy = new Set()) {
    const header = bytesToText(bytes.subarray(0, 512));
    const entry = this.create(/^seed (\d+)$/m.exec(header)?.[1] ?? '0', busy);
    const error = this.writer(entry.id).append(bytes);
    if (error === '') return { entry };
    this.forget(entry.id);
    return { error };
  }

  // Deletes the journal and its place in the index, for good.
  forget(id) {
    const journals = this.list();
    if (!journals.some((journal) => journal.id === id)) return;
    this.#remove(journals, id);
    this.#saveIndex(journals);
  }

  bytes(id) {
    let text = '';
    for (let number = 0; ; number += 1) {
      const chunk = this.#storage.getItem(chunkKey(id, number));
      if (chunk === null) return textToBytes(text);
      text += chunk;
    }
  }

  // Appends to the journal: each append is kept whole or not at all.
  writer(id) {
    return new JournalWriter(this.#storage, id, () => this.#makeRoom(id));
  }

  #saveIndex(journals) {
    try {
      this.#storage.setItem(IndexKey, JSON.stringify(journals));
    } catch {
      // The journals themselves are kept; only the listing is not.
    }
  }

  #remove(journals, id) {
    for (let number = 0; this.#storage.getItem(chunkKey(id, number)) !== null; number += 1) {
      this.#storage.removeItem(chunkKey(id, number));
    }
    journals.splice(journals.findIndex((journal) => journal.id === id), 1);
  }

  // Drops the least recently played finished game but `keep`, for room;
  // false when there is none.
  #makeRoom(keep) {
    const oldest = this.list().filter((journal) => journal.finished && journal.id !== keep).pop();
    if (oldest) this.forget(oldest.id);
    return oldest !== undefined;
  }
}

class JournalWriter {
  #storage;
  #id;
  #makeRoom;
  #number = 0; // of the last chunk
  #last = ''; // its text

  constructor(storage, id, makeRoom) {
    this.#storage = storage;
    this.#id = id;
    this.#makeRoom = makeRoom;
    this.#findEnd();
  }

  #findEnd() {
    this.#number = 0;
    while (this.#storage.getItem(chunkKey(this.#id, this.#number + 1)) !== null) this.#number += 1;
    this.#last = this.#storage.getItem(chunkKey(this.#id, this.#number)) ?? '';
  }

  // Returns '' once the bytes are kept, else why they are not.
  append(bytes) {
    const text = bytesToText(bytes);
    const startsChunk = this.#last.length > 0 && this.#last.length + text.length > ChunkSize;
    const number = startsChunk ? this.#number + 1 : this.#number;
    const chunk = startsChunk ? text : this.#last + text;
    for (;;) {
      try {
        this.#storage.setItem(chunkKey(this.#id, number), chunk);
        break;
      } catch (error) {
        if (error?.name !== 'QuotaExceededError' || !this.#makeRoom()) return describe(error);
      }
    }
    this.#number = number;
    this.#last = chunk;
    return '';
  }

  // Keeps the first `size` bytes only. Returns '' when done, else why not.
  cutAt(size) {
    try {
      let kept = 0;
      let number = 0;
      for (; ; number += 1) {
        const chunk = this.#storage.getItem(chunkKey(this.#id, number));
        if (chunk === null) break;
        if (kept + chunk.length > size) {
          const rest = chunk.slice(0, size - kept);
          if (rest.length > 0) this.#storage.setItem(chunkKey(this.#id, number), rest);
          else this.#storage.removeItem(chunkKey(this.#id, number));
        }
        kept = Math.min(size, kept + chunk.length);
      }
      this.#findEnd();
      return '';
    } catch (error) {
      return describe(error);
    }
  }
}

// The browser's storage for this page, or storage that keeps nothing
// beyond the page where the browser allows none.
export function pageStorage() {
  try {
    window.localStorage.getItem(IndexKey);
    return { storage: window.localStorage, kept: true };
  } catch {
    const items = new Map();
    const storage = {
      getItem: (key) => items.get(key) ?? null,
      setItem: (key, value) => items.set(key, String(value)),
      removeItem: (key) => items.delete(key),
    };
    return { storage, kept: false };
  }
}

// Which journals are being played in other tabs of this browser. A game
// holds a lock named after its journal for as long as it is played; the
// browser lets the lock go when the tab closes. Where the browser has no
// locks (pages not served from a secure origin), every journal is free.
const LockPrefix = 'tender-gamble journal ';

// The ids of the journals played in other tabs (or in this one).
export async function journalsInUse() {
  if (!navigator.locks) return new Set();
  const { held } = await navigator.locks.query();
  const ours = held.filter((lock) => lock.name.startsWith(LockPrefix));
  return new Set(ours.map((lock) => lock.name.slice(LockPrefix.length)));
}

// Holds the journal's lock. Resolves to the function that lets it go, or
// to null when another tab holds it.
export function holdJournal(id) {
  if (!navigator.locks) return Promise.resolve(() => {});
  // A lock is held until the promise its callback returns settles.
  return new Promise((resolve) => {
    navigator.locks.request(`${LockPrefix}${id}`, { ifAvailable: true }, (lock) =>
      lock === null ? resolve(null) : new Promise((release) => resolve(release)));
  });
}
