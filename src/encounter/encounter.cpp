// The encounter engine: the meeting's set-up, its turns, and reactions.
#include <algorithm>

#include "encounter/meeting.hpp"
#include "encounter/rapport.hpp"

namespace tg {

namespace {

constexpr int PlayersStatAdvantageCap = 30;
constexpr int TooIntimate = 300;
constexpr int LosingInterest = -100;

int GroupSum(const std::array<int, StatCount>& stats, int group) {
    return stats[3 * group] + stats[3 * group + 1] + stats[3 * group + 2];
}

}  // namespace

Play Game::Encounter(Person& person, bool mayIntroduce) {
    AdvanceClock(0, 1);
    return Meeting(*this, person).Play(mayIntroduce && person.interest == 0);
}

void Game::React(Person& person, int change) {
    person.interest = AddInterest(person.interest, change);
    const int row = std::clamp(change / 10 + 10, 0, static_cast<int>(ReplyLines.size()) - 1);
    std::string text(ReplyLines[row]);
    if (playMode == mode::FreePlay) {
        text += "(" + std::to_string(change) + ":" + std::to_string(person.interest) + ")";
    }
    // The reply carries its own newline and the heading adds another, so
    // every reaction is followed by an empty line.
    console.PrintHeading(text + "\n");
}

Meeting::Meeting(Game& game, Person& person) : game_(game), person_(person) {
    std::array<int, StatCount> capped{};
    for (int k = 0; k < StatCount; ++k) {
        capped[k] = std::min(game.player.stat[k], person.stat[k] + PlayersStatAdvantageCap);
    }
    playerLooks_ = GroupSum(capped, group::Looks);
    personLooks_ = GroupSum(person.stat, group::Looks);
    rapport_ = Rapport(GroupSum(capped, group::Character), GroupSum(person.stat, group::Character));
}

int Meeting::Scaled(int base) const { return ScaleByRapport(base, rapport_); }

std::string Meeting::She() const { return std::string(SubjectPronouns[person_.male ? 1 : 0]); }
std::string Meeting::Her() const { return std::string(ObjectPronouns[person_.male ? 1 : 0]); }

Meeting::Outcome Meeting::PauseForZero(const std::string& option, bool backToGrey, Outcome then) {
    game_.console.SetForeground(colour::BrightWhite);
    Narrate(option);
    if (backToGrey) game_.console.SetForeground(colour::Grey);
    return game_.console.GetChoice(0, 0) ? then : Outcome::GameOver;
}

Play Meeting::Play(bool mayIntroduce) {
    Outcome outcome = Outcome::GoesOn;
    if (person_.stage < 0) {
        Say("Can't you take a hint? Go Away!");
        outcome = PauseForZero("\t\t0 - There's more fish in the sea.\n", true, Outcome::Ended);
    } else {
        if (person_.stage > 0) Say("Hi " + game_.player.firstName + "!");
        if (mayIntroduce) outcome = Introduce();
    }
    while (outcome == Outcome::GoesOn) {
        game_.AdvanceClock(0, 1);
        outcome = PlayTurn();
        if (outcome == Outcome::GoesOn || outcome == Outcome::Ended) {
            const Outcome afterTurn = EndOfTurn();
            if (afterTurn != Outcome::GoesOn) outcome = afterTurn;
        }
    }
    return outcome == Outcome::GameOver ? tg::Play::Over : tg::Play::On;
}

// The first impression: the person may send the player away at once.
Meeting::Outcome Meeting::Introduce() {
    person_.interest = AddInterest(Scaled(50), static_cast<long long>(playerLooks_) - personLooks_);
    game_.ShowClock();
    Narrate("\tYou introduce yourself.\n");
    const int impression = person_.interest;
    if (impression <= -50) {
        Say("Ugh, gross! Go away!");
        return PauseForZero("\t\t0 - There's more fish in the sea.\n", true, Outcome::Ended);
    }
    if (impression > 50) {
        Say("Hey sexy, I'm " + person_.firstName + ", but you can call me yours. ");
    } else if (impression > 0) {
        Say("Nice to meet you, I'm " + person_.firstName);
    } else {
        Say("I'm " + person_.firstName + ", what do you want?");
    }
    person_.knownAs = person_.firstName;
    return Outcome::GoesOn;
}

Meeting::Outcome Meeting::PlayTurn() {
    if (game_.random.Below(6) == 0) return PlayersMove();
    if (game_.random.Below(6) == 0) return MoneyTalk();
    return OpinionTopic();
}

// Ends the meeting when the person's interest has left the band.
Meeting::Outcome Meeting::EndOfTurn() {
    if (person_.interest > TooIntimate) {
        Say("I'm going to go look for someone who wants to get a little more intimate.");
        Narrate("\tToo Bad...\n");
        return PauseForZero("\t\t0 - Should have made your move.\n", false, Outcome::Ended);
    }
    if (person_.interest < LosingInterest) {
        Say("I really have to be going now.");
        person_.stage -= 1;
        Narrate("\tToo Bad...\n");
        return PauseForZero("\t\t0 - There are more fish in the sea.\n", false, Outcome::Ended);
    }
    return Outcome::GoesOn;
}

}  // namespace tg
