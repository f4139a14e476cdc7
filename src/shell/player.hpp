// The player's own record: name, gender, the gender sought, the nine stats.
#pragma once

#include <array>
#include <string>

#include "people/vocabulary.hpp"

namespace tg {

// The player's own record.
struct Player {
    std::string firstName;
    std::string lastName;
    bool male = true;
    bool seeksMale = false;
    std::array<int, StatCount> stat{};
};

}  // namespace tg
