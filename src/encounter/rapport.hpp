// Rapport between the two sides of a meeting, and the arithmetic that
// scales by it.
#pragma once

namespace tg {

// A change of interest amplified or damped by the meeting's rapport:
// base + |base| x rapport, in double precision, truncated toward zero.
int ScaleByRapport(int base, float rapport);

// How the player's character compares with the person's, as a ratio.
float Rapport(int playerCharacterSum, int personCharacterSum);

// Adds a change to an interest value without ever overflowing.
int AddInterest(int interest, long long change);

}  // namespace tg
