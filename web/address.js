// What the page's address asks for: ?seed=N starts a game with that seed,
// the first time a tab opens the address.

export const LargestSeed = 4294967295;
// Where a tab notes that it has started the game its address asks for.
const AddressGameKey = 'tender-gamble/address-game';

// The seed asked for in the address (?seed=N): a string of digits, or null
// for a game seeded by the time. A seed that is no seed is said, not used.
export function seedFromAddress(search) {
  const asked = new URLSearchParams(search).get('seed');
  if (asked === null) return { asked: false, seed: null, problem: null };
  if (/^[0-9]{1,10}$/.test(asked) && Number(asked) <= LargestSeed) return { asked: true, seed: String(Number(asked)), problem: null };
  return { asked: true, seed: null, problem: `"${asked}" is not a seed (a whole number from 0 to ${LargestSeed}): this game is seeded by the time.` };
}

// An address that asks for a seed starts that game at once, the first
// time this tab opens it; a reload of it offers to go on, as any reload.
export function addressGameStartedBefore() {
  try {
    const before = sessionStorage.getItem(AddressGameKey) === window.location.search;
    sessionStorage.setItem(AddressGameKey, window.location.search);
    return before;
  } catch {
    return false;
  }
}
