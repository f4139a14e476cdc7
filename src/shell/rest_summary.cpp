// How a game stands at its home menu, in the game's words: the mode, the
// player, the clock, and the person in the book furthest along.
#include <algorithm>

#include "shell/game.hpp"

namespace tg {

namespace {

// The relationship stages as the game speaks of them.
std::string StageWords(int stage) {
    switch (stage) {
        case stage::WrittenOff: return "written off";
        case stage::Stranger: return "stranger";
        case stage::NumberGiven: return "number given";
        case stage::Dating: return "dating";
        case stage::GoingSteady: return "going steady";
        case stage::InLove: return "in love";
        default: return stage > stage::InLove ? "beyond in love" : "written off";
    }
}

// Furthest along: the highest stage, then the most interest; the first in
// the book among equals.
bool FurtherAlong(const Person& a, const Person& b) {
    return a.stage != b.stage ? a.stage > b.stage : a.interest > b.interest;
}

}  // namespace

RestSummary Game::Summary() const {
    RestSummary summary;
    summary.mode = playMode == mode::FreePlay ? "FreePlay" : "Trophy";
    summary.player = player.firstName + " " + player.lastName;
    summary.clock = DayAndTimeText();
    const auto book = contacts.begin() + contactCount;
    const auto closest = std::min_element(contacts.begin(), book, FurtherAlong);
    if (closest != book) {
        summary.closest = closest->knownAs;
        summary.closestStage = StageWords(closest->stage);
    }
    return summary;
}

}  // namespace tg
