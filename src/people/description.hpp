// Appearance descriptions and the level words for stats.
#pragma once

#include <string>
#include <string_view>

#include "people/person.hpp"
#include "people/random.hpp"

namespace tg {

// The word for a stat value; values of 140 and above get the top word.
std::string_view LevelWord(int value);

// How a stranger looks, e.g. "A blonde woman with high beauty". Draws twice.
std::string DescribeAppearance(const Person& person, Random& random);

}  // namespace tg
