// The page's store of journals, on a storage that counts what it is given
// and can run out of room, as the browser's does.

import assert from 'node:assert/strict';
import { test } from 'node:test';

import { JournalStore, journalFileName } from '../../web/journal_store.js';

class CountingStorage {
  items = new Map();
  writes = []; // the length of each value set
  room; // characters it holds at most

  constructor(room = Infinity) {
    this.room = room;
  }

  get used() {
    return [...this.items.values()].reduce((sum, value) => sum + value.length, 0);
  }

  getItem(key) {
    return this.items.get(key) ?? null;
  }

  setItem(key, value) {
    if (this.used - (this.items.get(key)?.length ?? 0) + value.length > this.room) {
      throw new DOMException('full', 'QuotaExceededError');
    }
    this.items.set(key, value);
    this.writes.push(value.length);
  }

  removeItem(key) {
    this.items.delete(key);
  }
}

const record = (...bytes) => new Uint8Array(bytes);

test('Every byte comes back as written, and an append rewrites a small chunk whatever the length of the journal', () => {
  const storage = new CountingStorage();
  const store = new JournalStore(storage);
  const entry = store.create('7');
  const writer = store.writer(entry.id);
  const every = Uint8Array.from({ length: 256 }, (_, byte) => byte);
  assert.equal(writer.append(every), '');
  const written = [...every];
  for (let n = 0; n < 3000; n += 1) {
    assert.equal(writer.append(record(n % 256, 0xfd, 0)), '');
    written.push(n % 256, 0xfd, 0);
  }
  assert.deepEqual([...store.bytes(entry.id)], written);
  storage.writes.length = 0;
  writer.append(record(1, 2, 3));
  assert.ok(Math.max(...storage.writes) <= 1024, `an append wrote ${Math.max(...storage.writes)} characters`);
  // A record longer than a chunk is still written at once, whole.
  const long = new Uint8Array(5000).fill(0x41);
  storage.writes.length = 0;
  writer.append(long);
  assert.deepEqual(storage.writes, [5000]);
  // A writer opened later goes on at the end.
  store.writer(entry.id).append(record(9));
  const all = store.bytes(entry.id);
  assert.equal(all.length, written.length + 3 + 5000 + 1);
  assert.equal(all[all.length - 1], 9);
});

test('Cutting a journal keeps exactly its first bytes, and appending goes on from there', () => {
  const store = new JournalStore(new CountingStorage());
  const entry = store.create('7');
  const writer = store.writer(entry.id);
  const bytes = Uint8Array.from({ length: 3000 }, (_, at) => at % 251);
  for (let at = 0; at < bytes.length; at += 7) writer.append(bytes.subarray(at, at + 7));
  for (const size of [2999, 2048, 1500, 1024, 5]) {
    assert.equal(writer.cutAt(size), '');
    assert.deepEqual([...store.bytes(entry.id)], [...bytes.subarray(0, size)], `cut at ${size}`);
  }
  writer.append(record(200, 201));
  assert.deepEqual([...store.bytes(entry.id)], [...bytes.subarray(0, 5), 200, 201]);
});

test('A full storage makes room from finished games only, and never keeps half an append', () => {
  const storage = new CountingStorage(3000);
  const store = new JournalStore(storage);
  const old = store.create('1');
  store.writer(old.id).append(new Uint8Array(1500));
  store.update(old.id, { finished: true, played: 1 });
  const current = store.create('2');
  const writer = store.writer(current.id);
  assert.equal(writer.append(new Uint8Array(900).fill(1)), '');
  // No room for this one until the finished game goes.
  assert.equal(writer.append(new Uint8Array(900).fill(2)), '');
  assert.equal(store.find(old.id), null);
  assert.equal(storage.getItem(`tender-gamble/journal/${old.id}/0`), null);
  // Nothing else to drop: the append is refused, and what was kept stays whole.
  assert.match(writer.append(new Uint8Array(2000)), /storage for this page is full/);
  assert.deepEqual([...store.bytes(current.id)], [...new Uint8Array(900).fill(1), ...new Uint8Array(900).fill(2)]);
});

test('The game offered to go on with is the latest played that is unfinished, kept, not refused and not played elsewhere', () => {
  const store = new JournalStore(new CountingStorage());
  const game = (seed, played, change = {}) => {
    const entry = store.create(seed);
    store.writer(entry.id).append(record(1));
    store.update(entry.id, { played, ...change });
    return entry.id;
  };
  const older = game('1', 10);
  game('2', 20, { finished: true });
  const refused = game('3', 30, { refused: true });
  const elsewhere = game('4', 40);
  store.update(store.create('5').id, { played: 50 }); // nothing written yet
  assert.equal(store.latestUnfinished(new Set([elsewhere])).id, older);
  assert.equal(store.latestUnfinished().id, elsewhere);
  assert.equal(store.find(refused).seed, '3');

  // Twenty journals are kept: the least recently played go first, but not
  // one being played.
  for (let n = 0; n < 20; n += 1) store.create(String(100 + n), new Set([older]));
  const kept = store.list();
  assert.equal(kept.length, 20);
  assert.ok(kept.some((entry) => entry.id === older));
  assert.ok(!kept.some((entry) => entry.id === elsewhere));
});

test('A downloaded journal is named as the terminal game names its files', () => {
  assert.equal(journalFileName({ started: '2026-12-09T14:46:04.123Z', seed: '1765291564' }), '2026-12-09T14-46-04Z-seed-1765291564.journal');
});
