// Which journals are being played in other tabs of this browser. A game
// holds a lock named after its journal for as long as it is played; the
// browser lets the lock go when the tab closes. Where the browser has no
// locks (pages not served from a secure origin), every journal is free.

const Prefix = 'tender-gamble journal ';

// The ids of the journals played in other tabs (or in this one).
export async function journalsInUse() {
  if (!navigator.locks) return new Set();
  const { held } = await navigator.locks.query();
  return new Set(held.filter((lock) => lock.name.startsWith(Prefix)).map((lock) => lock.name.slice(Prefix.length)));
}

// Holds the journal's lock. Resolves to the function that lets it go, or
// to null when another tab holds it.
export function holdJournal(id) {
  if (!navigator.locks) return Promise.resolve(() => {});
  return new Promise((resolve) => {
    navigator.locks.request(`${Prefix}${id}`, { ifAvailable: true }, (lock) => {
      if (lock === null) {
        resolve(null);
        return undefined;
      }
      return new Promise((release) => resolve(release));
    });
  });
}
