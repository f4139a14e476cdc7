// Stat allocation: spending the Trophy Mode stat points before play starts.
#include "shell/game.hpp"

namespace tg {

namespace {
constexpr int StatCeiling = 100;
}

Play Game::SetupStats() {
    for (;;) {
        console.ClearScreen();
        Line("Character Creation");
        Line("\tStat Points Left: " + std::to_string(statPoints));
        console.Write("\tWhat would you like to do?\n");
        console.SetForeground(colour::BrightWhite);
        console.Write("\t\t1 - Increase Stat (+10)\n");
        console.Write("\t\t2 - Decrease Stat (-10)\n");
        console.Write("\t\t0 - Accept Character\n");
        console.SetForeground(colour::Grey);
        const std::optional<int> choice = console.GetChoice(2, 0);
        if (!choice) return Play::Over;
        if (*choice == 1 || *choice == 2) {
            if (StatList(*choice == 1 ? "Increase" : "Decrease", *choice == 1 ? +10 : -10) == Play::Over) {
                return Play::Over;
            }
            continue;
        }
        if (statPoints == 0) return HomeMenu();
        const std::optional<bool> accepted = ConfirmUnspentPoints();
        if (!accepted) return Play::Over;
        if (*accepted) return HomeMenu();
    }
}

// The list of the nine stats, applying the step to each one chosen until 0.
Play Game::StatList(const std::string& operation, int step) {
    for (;;) {
        console.ClearScreen();
        Line("Character Creation");
        Line("\tStat Points Left: " + std::to_string(statPoints));
        console.SetForeground(colour::BrightWhite);
        for (int k = 1; k <= StatCount; ++k) {
            Line("\t\t" + std::to_string(k) + " - " + operation + " " + std::string(StatNames[k - 1]) + "\t(" +
                 std::to_string(player.stat[k - 1]) + ")");
        }
        console.Write("\t\t0 - Back");
        console.SetForeground(colour::Grey);
        const std::optional<int> k = console.GetChoice(9, 0);
        if (!k) return Play::Over;
        if (*k == 0) return Play::On;
        int& value = player.stat[*k - 1];
        const int changed = value + step;
        if (statPoints - step >= 0 && changed >= 0 && changed <= StatCeiling) {
            value = changed;
            statPoints -= step;
        }
    }
}

std::optional<bool> Game::ConfirmUnspentPoints() {
    console.Write("\tYou still have stat points left, Done?\n");
    console.SetForeground(colour::BrightWhite);
    console.Write("\t\t1 - Yes\n");
    console.Write("\t\t2 - No\n");
    console.SetForeground(colour::Grey);
    const std::optional<int> answer = console.GetChoice(2, 1);
    if (!answer) return std::nullopt;
    return *answer == 1;
}

}  // namespace tg
