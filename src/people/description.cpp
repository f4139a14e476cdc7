// How a stranger looks, described from their stats.
#include "people/description.hpp"

namespace tg {

std::string_view LevelWord(int value) {
    int row = value / 10;
    if (row < 0) row = 0;
    if (row >= static_cast<int>(LevelWords.size())) row = static_cast<int>(LevelWords.size()) - 1;
    return LevelWords[row];
}

std::string DescribeAppearance(const Person& person, Random& random) {
    const std::string noun = person.male ? "man" : "woman";
    const int r = random.Below(3);
    const std::string quality = std::string(LevelWord(person.stat[r])) + " " + std::string(StatNames[r]);
    switch (random.Below(7)) {
        case 0: return "A red-headed " + noun + " with " + quality;
        case 1: return "A blonde " + noun + " with " + quality;
        case 2: return "A brunette " + noun + " with " + quality;
        case 3: return "A raven-haired " + noun + " with " + quality;
        case 4: return "A " + noun + " with brown hair and " + quality;
        case 5: return "A " + noun + " with blonde hair and " + quality;
        default: return "A " + noun + " of " + quality;
    }
}

}  // namespace tg
