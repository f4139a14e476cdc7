// A whole game in a link: the page's address, then "#game=" and the game's
// journal, compressed (zlib's format, with its checksum) and written in
// base64url. What follows '#' never reaches a server, so a link needs no
// server and no upload; the terminal game reads and writes the same links
// (tender-gamble --share, --replay LINK, --continue LINK). A link may name
// a moment of its game after the journal, "&at=312": the screen after its
// first 312 inputs.

import { journalInputs } from './journal_records.js';
import { bytesToText, textToBytes } from './journal_store.js';

const Marker = 'game=';
const MomentMark = '&at=';

// No journal comes near this; a link that unpacks beyond it is refused
// before it fills the memory.
const LargestJournal = 64 * 1024 * 1024;

// Unpacks a link's journal, giving up once it is larger than any journal.
async function unpacked(bytes) {
  const reader = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate')).getReader();
  const chunks = [];
  let size = 0;
  for (let part = await reader.read(); !part.done; part = await reader.read()) {
    size += part.value.length;
    if (size > LargestJournal) {
      await reader.cancel();
      throw new RangeError('is larger than any journal');
    }
    chunks.push(part.value);
  }
  return new Uint8Array(await new Blob(chunks).arrayBuffer());
}

function base64url(bytes) {
  return btoa(bytesToText(bytes)).replaceAll('+', '-').replaceAll('/', '_').replace(/=+$/, '');
}

function fromBase64url(text) {
  return textToBytes(atob(text.replaceAll('-', '+').replaceAll('_', '/').replace(/=+$/, '')));
}

// The link to this page that holds the journal's bytes, and names the
// moment after `at` inputs when it is given.
export async function gameLink(pageAddress, journal, at = null) {
  const packed = new Response(new Blob([journal]).stream().pipeThrough(new CompressionStream('deflate')));
  const base = pageAddress.split('#')[0];
  const moment = at === null ? '' : `${MomentMark}${at}`;
  return `${base}#${Marker}${base64url(new Uint8Array(await packed.arrayBuffer()))}${moment}`;
}

// Whether an address's fragment (location.hash) holds a game.
export function holdsGame(fragment) {
  return fragment.startsWith(`#${Marker}`);
}

const damaged = (what) => ({ problem: `the link is damaged or cut short: ${what}` });

// The moment a link names after its game ("&at=" and plain digits): { at }
// (null when it names none), or { problem }.
function momentIn(rest) {
  if (rest === undefined) return { at: null };
  if (!rest.startsWith(MomentMark)) return damaged('what follows the game is not "&at=" and a number');
  const digits = rest.slice(MomentMark.length);
  return /^[0-9]+$/.test(digits) ? { at: Number(digits) } : damaged('its moment is not a number of inputs');
}

// The journal a link's fragment holds and the moment it names:
// { bytes, at } (at null for none), or { problem } when the link was cut
// short or altered, or names a moment beyond its game.
export async function journalFromLink(fragment) {
  const amp = fragment.indexOf('&');
  const text = fragment.slice(1 + Marker.length, amp < 0 ? undefined : amp);
  const { at, problem } = momentIn(amp < 0 ? undefined : fragment.slice(amp));
  if (problem) return { problem };
  if (!/^[A-Za-z0-9_-]*={0,2}$/.test(text) || text.replace(/=+$/, '').length % 4 === 1) {
    return { problem: 'the link is damaged: it holds characters or a length no link has' };
  }
  let bytes;
  try {
    bytes = await unpacked(fromBase64url(text));
  } catch (error) {
    return damaged(`the game it holds ${error instanceof RangeError ? error.message : 'does not unpack whole'}`);
  }
  // A journal that does not read is refused when it is replayed.
  const inputs = at === null ? null : journalInputs(bytes);
  if (inputs && at > inputs.count) return damaged(`it names input ${at} of a game of ${inputs.count} inputs`);
  return { bytes, at };
}
