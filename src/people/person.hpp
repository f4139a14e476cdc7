// A non-player character: name, stats, personality, interest and stage.
#pragma once

#include <array>
#include <string>

#include "people/vocabulary.hpp"
#include "people/random.hpp"

namespace tg {

// Relationship stages held in Person::stage.
namespace stage {
inline constexpr int WrittenOff = -1;
inline constexpr int Stranger = 0;
inline constexpr int NumberGiven = 1;
inline constexpr int Dating = 2;
inline constexpr int GoingSteady = 3;
inline constexpr int InLove = 4;
}  // namespace stage

// Stat groups: three stats each, group g holds stats 3g to 3g + 2.
namespace group {
inline constexpr int Looks = 0;
inline constexpr int Character = 1;
inline constexpr int Status = 2;
inline constexpr int None = -1;
}  // namespace group

// A non-player character: met when going out, then perhaps kept in the book.
struct Person {
    std::string firstName;
    std::string lastName;
    std::string knownAs;
    bool male = false;
    std::array<int, StatCount> stat{};
    std::array<int, PersonalityCount> personality{};
    int interest = 0;
    int stage = 0;
    // Set when the stage first reaches 1: the number is given once only.
    bool gaveNumber = false;

    Person() = default;

    // The placeholder of an unused book slot: a woman with 450 stat points.
    static Person Placeholder(Random& random);

    // A stranger with a stat budget drawn above pointsHigh and, for a
    // strongGroup of 0 to 2, that group's stats grown in steps of 10.
    static Person Generate(Random& random, bool male, int pointsLow, int pointsHigh, int strongGroup);
};

}  // namespace tg
