#include "shell/game.hpp"

namespace tg {

namespace {
constexpr int StatCeiling = 100;
}

void Game::SetupStats() {
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
        switch (console.GetChoice(2, 0)) {
            case 1: StatList("Increase", +10); break;
            case 2: StatList("Decrease", -10); break;
            default:
                if (statPoints == 0 || ConfirmUnspentPoints()) HomeMenu();
                break;
        }
    }
}

// The list of the nine stats, applying the step to each one chosen until 0.
void Game::StatList(const std::string& operation, int step) {
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
        const int k = console.GetChoice(9, 0);
        if (k == 0) return;
        int& value = player.stat[k - 1];
        const int changed = value + step;
        if (statPoints - step >= 0 && changed >= 0 && changed <= StatCeiling) {
            value = changed;
            statPoints -= step;
        }
    }
}

bool Game::ConfirmUnspentPoints() {
    console.Write("\tYou still have stat points left, Done?\n");
    console.SetForeground(colour::BrightWhite);
    console.Write("\t\t1 - Yes\n");
    console.Write("\t\t2 - No\n");
    console.SetForeground(colour::Grey);
    return console.GetChoice(2, 1) == 1;
}

}  // namespace tg
