// A whole game in a link: the page's address, then "#game=" and the game's
// journal, compressed (zlib's format, with its checksum) and written in
// base64url. What follows '#' never reaches a server, so a link needs no
// server and no upload; the terminal game reads and writes the same links
// (tender-gamble --share, --replay LINK, --continue LINK).

const Marker = 'game=';

// No journal comes near this; a link that unpacks beyond it is refused
// before it fills the memory.
const LargestJournal = 64 * 1024 * 1024;

async function through(bytes, stream) {
  return new Uint8Array(await new Response(new Blob([bytes]).stream().pipeThrough(stream)).arrayBuffer());
}

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
  let text = '';
  for (let at = 0; at < bytes.length; at += 8192) text += String.fromCharCode(...bytes.subarray(at, at + 8192));
  return btoa(text).replaceAll('+', '-').replaceAll('/', '_').replace(/=+$/, '');
}

function fromBase64url(text) {
  const binary = atob(text.replaceAll('-', '+').replaceAll('_', '/').replace(/=+$/, ''));
  return Uint8Array.from(binary, (character) => character.charCodeAt(0));
}

// The link to this page that holds the journal's bytes.
export async function gameLink(pageAddress, journal) {
  const base = pageAddress.split('#')[0];
  return `${base}#${Marker}${base64url(await through(journal, new CompressionStream('deflate')))}`;
}

// Whether an address's fragment (location.hash) holds a game.
export function holdsGame(fragment) {
  return fragment.startsWith(`#${Marker}`);
}

// The journal a link's fragment holds: { bytes }, or { problem } when the
// link was cut short or altered.
export async function journalFromLink(fragment) {
  const text = fragment.slice(1 + Marker.length);
  if (!/^[A-Za-z0-9_-]*={0,2}$/.test(text) || text.replace(/=+$/, '').length % 4 === 1) {
    return { problem: 'the link is damaged: it holds characters or a length no link has' };
  }
  try {
    return { bytes: await unpacked(fromBase64url(text)) };
  } catch (error) {
    const why = error instanceof RangeError ? error.message : 'does not unpack whole';
    return { problem: `the link is damaged or cut short: the game it holds ${why}` };
  }
}
