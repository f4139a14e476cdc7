// Links that hold a game, read and written in Node (which has the
// browser's compression streams): whole journals come back byte for byte,
// and damaged links, a link that would unpack past any journal's size
// included, are refused with why.

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { deflateSync } from 'node:zlib';

import { gameLink, journalFromLink } from '../../web/game_link.js';

test('A link gives back its journal, and refuses to be read when damaged or oversized', async () => {
  const journal = new Uint8Array(3000).map((_, at) => (at * 7) % 251);
  const link = await gameLink('http://127.0.0.1:8000/games/?seed=1#old', journal);
  assert.match(link, /^http:\/\/127\.0\.0\.1:8000\/games\/\?seed=1#game=[A-Za-z0-9_-]+$/);
  const fragment = link.slice(link.indexOf('#'));
  assert.deepEqual((await journalFromLink(fragment)).bytes, journal);
  const bomb = deflateSync(Buffer.alloc(65 * 1024 * 1024)).toString('base64url');
  for (const [damaged, why] of [
    [fragment.slice(0, -4), /does not unpack whole/],
    [fragment.replace('#game=', '#game=*'), /characters or a length no link has/],
    [`#game=${bomb}`, /larger than any journal/],
  ]) {
    assert.match((await journalFromLink(damaged)).problem ?? 'read', why);
  }
});
