// Money talk: the player's standing in goals, money or power, told one of
// four ways.
#include "encounter/meeting.hpp"
#include "encounter/rapport.hpp"

namespace tg {

namespace {
constexpr int FirstStatusStat = 6;
}

// The perception test: the higher the interest, the less the person sees.
bool Meeting::SeesThrough() {
    return game_.random.Below(100 * (person_.stage + 1)) > person_.interest;
}

// The talk turns to the player's standing in goals, money or power.
Meeting::Outcome Meeting::MoneyTalk() {
    const int m = game_.random.Below(static_cast<int>(MoneyTopics.size()));
    Narrate("\tYou find yourself talking about your " + std::string(MoneyTopics[m]) + ". Do you...\n");
    game_.console.SetForeground(colour::BrightWhite);
    Narrate("\t\t1 - Embellish your situation.\n");
    Narrate("\t\t2 - Tell it like it is.\n");
    Narrate("\t\t3 - Portray things humbly.\n");
    Narrate("\t\t4 - Decline to share at this point.\n");
    game_.console.SetForeground(colour::Grey);
    const int s = FirstStatusStat + m % 3;
    const int standing = Scaled(game_.player.stat[s] - person_.stat[s]);
    const std::optional<int> answer = game_.console.GetChoice(4, 1);
    if (!answer) return Outcome::GameOver;
    switch (*answer) {
        case 1:
            if (SeesThrough()) {
                Narrate("\t" + She() + " realizes you are lying.\n");
                React(AddInterest(standing, -30));
            } else {
                Narrate("\t" + She() + " seems to believe you.\n");
                React(AddInterest(standing, 30));
            }
            break;
        case 2:
            Narrate("\t" + She() + " listens to your honest account.\n");
            React(AddInterest(standing, -30));
            break;
        case 3:
            if (SeesThrough()) {
                Narrate("\t" + She() + " knows you are being humble.\n");
                React(AddInterest(standing, 10));
            } else {
                Narrate("\t" + She() + " is oblivious to the humility.\n");
                React(AddInterest(standing, -10));
            }
            break;
        default:
            Narrate("\t" + She() + " notes your secrecy.\n");
            React(Scaled(-10));
            break;
    }
    return Outcome::GoesOn;
}

}  // namespace tg
