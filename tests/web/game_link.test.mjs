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

test('A link names a moment of its game, and one that is no number or beyond the game is refused', async () => {
  // Three keys, then a home menu.
  const header = new TextEncoder().encode('tender-gamble journal 1\ngame 1.0.0\nseed 1\n\n');
  const journal = Uint8Array.from([...header, 0x30, 4, 0x31, 4, 0x32, 4, 0xfd, 0, 0, 0, 0]);
  const link = await gameLink('http://127.0.0.1:8000/', journal, 3);
  assert.match(link, /#game=[A-Za-z0-9_-]+&at=3$/);
  assert.equal((await journalFromLink(link.slice(link.indexOf('#')))).at, 3);
  const game = link.slice(link.indexOf('#'), link.indexOf('&'));
  for (const [moment, why] of [
    ['&at=4', /names input 4 of a game of 3 inputs/],
    ['&at=', /moment is not a number/],
    ['&at=-1', /moment is not a number/],
    ['&at=2x', /moment is not a number/],
    ['&from=2', /not "&at=" and a number/],
  ]) {
    assert.match((await journalFromLink(game + moment)).problem ?? 'read', why);
  }
});
