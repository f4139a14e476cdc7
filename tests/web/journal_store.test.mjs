// The page's store of journals, on a storage that counts what it is given
// and can run out of room, as the browser's does.

import assert from 'node:assert/strict';
import { test } from 'node:test';

import { JournalStore } from '../../web/journal_store.js';

class CountingStorage {
  items = new Map();
  writes = []; // the length of each value set

  constructor(room = Infinity) {
    this.room = room; // characters it holds at most
  }

  getItem(key) {
    return this.items.get(key) ?? null;
  }

  setItem(key, value) {
    const used = [...this.items].reduce((sum, [name, kept]) => sum + (name === key ? 0 : kept.length), 0);
    if (used + value.length > this.room) throw new DOMException('full', 'QuotaExceededError');
    this.items.set(key, value);
    this.writes.push(value.length);
  }

  removeItem(key) {
    this.items.delete(key);
  }
}

test('Every byte comes back as written; an append rewrites one small chunk, and a cut keeps exactly the first bytes', () => {
  const storage = new CountingStorage();
  const store = new JournalStore(storage);
  const { id } = store.create('7');
  const writer = store.writer(id);
  const bytes = Uint8Array.from({ length: 6000 }, (_, at) => (at * 7) % 256);
  for (let at = 0; at < bytes.length; at += 3) assert.equal(writer.append(bytes.subarray(at, at + 3)), '');
  assert.deepEqual(store.bytes(id), bytes);
  assert.ok(Math.max(...storage.writes.slice(-100)) <= 1024, 'an append rewrote more than a chunk');
  // A record longer than a chunk is written at once, whole.
  storage.writes.length = 0;
  writer.append(new Uint8Array(5000));
  assert.deepEqual(storage.writes, [5000]);

  for (const size of [5999, 2048, 1500, 5]) {
    assert.equal(writer.cutAt(size), '');
    assert.deepEqual(store.bytes(id), bytes.subarray(0, size), `cut at ${size}`);
  }
  store.writer(id).append(Uint8Array.of(200, 201));
  assert.deepEqual([...store.bytes(id)], [...bytes.subarray(0, 5), 200, 201]);
});

test('A full storage makes room from finished games only, and never keeps half an append', () => {
  const store = new JournalStore(new CountingStorage(3000));
  const old = store.create('1');
  store.writer(old.id).append(new Uint8Array(1500));
  store.update(old.id, { finished: true, played: 1 });
  const current = store.create('2');
  const writer = store.writer(current.id);
  assert.equal(writer.append(new Uint8Array(900).fill(1)), '');
  assert.equal(writer.append(new Uint8Array(900).fill(2)), ''); // room once the finished game goes
  assert.equal(store.find(old.id), null);
  assert.match(writer.append(new Uint8Array(2000)), /storage for this page is full/);
  assert.deepEqual([...store.bytes(current.id)], [...new Uint8Array(900).fill(1), ...new Uint8Array(900).fill(2)]);
});

test('The game offered is the latest played that is unfinished, kept, not refused and not played elsewhere; twenty are kept', () => {
  const store = new JournalStore(new CountingStorage());
  const game = (played, change = {}) => {
    const { id } = store.create('1');
    store.writer(id).append(Uint8Array.of(1));
    store.update(id, { played, ...change });
    return id;
  };
  const older = game(10);
  game(20, { finished: true });
  game(30, { refused: true });
  const elsewhere = game(40);
  store.update(store.create('5').id, { played: 50 }); // nothing written yet
  assert.equal(store.latestUnfinished(new Set([elsewhere])).id, older);
  assert.equal(store.latestUnfinished().id, elsewhere);

  // The least recently played go first, but not one being played.
  for (let n = 0; n < 20; n += 1) store.create(String(n), new Set([older]));
  const kept = store.list().map((entry) => entry.id);
  assert.equal(kept.length, 20);
  assert.ok(kept.includes(older) && !kept.includes(elsewhere));
});
