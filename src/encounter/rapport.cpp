// Scaling by rapport, and the sums of interest that saturate instead of
// overflowing.
#include "encounter/rapport.hpp"

#include <cmath>
#include <limits>

namespace tg {

namespace {
constexpr double IntLimit = static_cast<double>(std::numeric_limits<int>::max());
}

int ScaleByRapport(int base, float rapport) {
    double scaled = static_cast<double>(base) + std::abs(static_cast<double>(base)) * static_cast<double>(rapport);
    if (!(scaled < IntLimit)) scaled = IntLimit;  // also catches NaN
    if (scaled < -IntLimit) scaled = -IntLimit;
    return static_cast<int>(scaled);
}

float Rapport(int playerCharacterSum, int personCharacterSum) {
    const int difference = playerCharacterSum - personCharacterSum;
    // With nothing to divide by, the plain difference stands for the ratio.
    if (playerCharacterSum == 0 || personCharacterSum == 0) return static_cast<float>(difference);
    return static_cast<float>(difference) / static_cast<float>(personCharacterSum);
}

int AddInterest(int interest, long long change) {
    const long long sum = static_cast<long long>(interest) + change;
    if (sum > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (sum < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(sum);
}

}  // namespace tg
