// The game's fixed vocabulary, the stat numbering and the relationship
// stages.
#pragma once

#include <array>
#include <string_view>

namespace tg {

// Every word the game puts into a sentence, indexed by row number.
extern const std::array<std::string_view, 9> StatNames;
extern const std::array<std::string_view, 20> TraitWords;
extern const std::array<std::string_view, 21> FemaleFirstNames;
extern const std::array<std::string_view, 21> MaleFirstNames;
extern const std::array<std::string_view, 21> Surnames;
extern const std::array<std::string_view, 14> LevelWords;
extern const std::array<std::string_view, 2> SubjectPronouns;
extern const std::array<std::string_view, 2> ObjectPronouns;
extern const std::array<std::string_view, 21> ReplyLines;
extern const std::array<std::string_view, 21> FeelingVerbs;
extern const std::array<std::string_view, 5> OfferLines;
extern const std::array<std::string_view, 6> MoneyTopics;
extern const std::array<std::string_view, 40> OpinionTopics;

inline constexpr int StatCount = 9;
inline constexpr int PersonalityCount = 10;
inline constexpr int NameChoices = 21;

}  // namespace tg
