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

// Where an input record ends, from `at` just past its tags: a
// length-counted text first when it has one, then its timing number.
function inputEnd(bytes, at, withText) {
  let next = at;
  if (withText) {
    const length = numberAt(bytes, at);
    if (length === null) return null;
    next = length[1] + length[0];
  }
  return numberAt(bytes, next)?.[1] ?? null;
}

// The record at `at`: { kind, end }, kind 'bad' for a byte that starts no
// record, or null when the bytes end inside it (a record cut short).
function recordAt(bytes, at) {
  const first = bytes[at];
  if (first === Checkpoint) return at + 5 <= bytes.length ? { kind: 'checkpoint', end: at + 5 } : null;
  if (first < Checkpoint) return wrap('input', inputEnd(bytes, at + 1, false));
  if (first !== Extended) return { kind: 'bad' };
  switch (String.fromCharCode(bytes[at + 1] ?? 0)) {
    case 'K': return wrap('input', inputEnd(bytes, at + 3, true));
    case 'W': return wrap('input', inputEnd(bytes, at + 2, true));
    case 'E': return { kind: 'ending', end: at + 2 };
    case 'U': return { kind: 'takeBack', end: at + 2 };
    default: return at + 1 < bytes.length ? { kind: 'bad' } : null;
  }
}

function wrap(kind, end) {
  return end === null ? null : { kind, end };
}

// The journal's inputs: { count, homeMenus (the inputs before each),
// ends (where the journal's bytes stood after each), start (after the
// header) }; null for bytes that are no journal.
export function journalInputs(bytes) {
  const headerEnd = bytes.findIndex((byte, at) => byte === Newline && bytes[at + 1] === Newline);
  if (headerEnd < 0) return null;
  const steps = []; // inputs and home menus, taken-back ones dropped
  for (let at = headerEnd + 2; at < bytes.length;) {
    const record = recordAt(bytes, at);
    if (record === null) break;
    if (record.kind === 'bad') return null;
    if (record.kind === 'takeBack') {
      while (steps.length > 0 && steps.at(-1).kind !== 'input') steps.pop();
      steps.pop();
    } else if (record.kind !== 'ending') {
      steps.push(record);
    }
    at = record.end;
  }
  const ends = [];
  const homeMenus = [];
  for (const step of steps) {
    if (step.kind === 'input') ends.push(step.end);
    else homeMenus.push(ends.length);
  }
  return { count: ends.length, homeMenus, ends, start: headerEnd + 2 };
}

// The journal as it stood after its first `inputs` inputs: a game played
// on from that moment goes on from it, the inputs after it dropped.
export function journalUpTo(bytes, inputs) {
  const { count, ends, start } = journalInputs(bytes);
  if (inputs >= count) return bytes;
  return bytes.slice(0, inputs === 0 ? start : ends[inputs - 1]);
}
