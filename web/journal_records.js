// A journal's inputs as the page needs them (the format is docs/journal.md):
// how many the game consumed (taken-back ones left out), how many come
// before each home menu, and where the journal stood after any of them.

const Checkpoint = 0xfd;
const Extended = 0xfe;
const Newline = 0x0a;

// An unsigned LEB128 number at `at`: [value, where it ends], or null when
// the bytes end inside it.
function numberAt(bytes, at) {
  let value = 0;
  for (let next = at, shift = 0; next < bytes.length; next += 1, shift += 7) {
    value += (bytes[next] & 0x7f) * 2 ** shift;
    if (bytes[next] < 0x80) return [value, next + 1];
  }
  return null;
}

// The record at `at`: { kind, end }, kind 'bad' for a byte that starts no
// record, or null when the bytes end inside it (a record cut short).
function recordAt(bytes, at) {
  const first = bytes[at];
  const tag = String.fromCharCode(bytes[at + 1] ?? 0);
  if (first === Checkpoint) return at + 5 <= bytes.length ? { kind: 'checkpoint', end: at + 5 } : null;
  if (first !== Extended) return first < Checkpoint ? inputAt(bytes, at + 1, false) : { kind: 'bad' };
  if (tag === 'K' || tag === 'W') return inputAt(bytes, at + (tag === 'K' ? 3 : 2), true);
  if (tag === 'E') return { kind: 'ending', end: at + 2 };
  if (tag === 'U') return { kind: 'takeBack', end: at + 2 };
  return at + 1 < bytes.length ? { kind: 'bad' } : null;
}

// An input record from `at`, just past its tags: a length-counted text
// first when it has one, then its timing number.
function inputAt(bytes, at, withText) {
  const text = withText ? numberAt(bytes, at) : [0, at];
  const end = text && numberAt(bytes, text[1] + text[0])?.[1];
  return end ? { kind: 'input', end } : null;
}

// The journal's inputs: { count, homeMenus (the inputs before each),
// ends (where the journal's bytes stood after each), start (after the
// header) }; null for bytes that are no journal.
export function journalInputs(bytes) {
  const headerEnd = bytes.findIndex((byte, at) => byte === Newline && bytes[at + 1] === Newline);
  if (headerEnd < 0) return null;
  const ends = [];
  const homeMenus = [];
  for (let at = headerEnd + 2; at < bytes.length;) {
    const record = recordAt(bytes, at);
    if (record === null) break;
    if (record.kind === 'bad') return null;
    if (record.kind === 'input') ends.push(record.end);
    if (record.kind === 'checkpoint') homeMenus.push(ends.length);
    if (record.kind === 'takeBack') {
      // Gone: the last input, and the home menus after it.
      while (homeMenus.at(-1) === ends.length) homeMenus.pop();
      ends.pop();
    }
    at = record.end;
  }
  return { count: ends.length, homeMenus, ends, start: headerEnd + 2 };
}

// The journal as it stood after its first `inputs` inputs: a game played
// on from that moment goes on from it, the inputs after it dropped.
export function journalUpTo(bytes, inputs) {
  const { count, ends, start } = journalInputs(bytes);
  return inputs >= count ? bytes : bytes.slice(0, inputs === 0 ? start : ends[inputs - 1]);
}
