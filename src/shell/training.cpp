// Training: the player raises a stat by one point an hour.
#include "shell/game.hpp"

namespace tg {

namespace {
constexpr int TrainingCeiling = 150;
}

Play Game::Training() {
    AdvanceClock(0, 1);
    for (;;) {
        ShowClock();
        Line("\tTraining");
        console.SetForeground(colour::BrightWhite);
        for (int i = 0; i < StatCount; ++i) {
            Line("\t\t" + std::to_string(i + 1) + " - Train " + std::string(StatNames[i]) + "\t(" +
                 std::to_string(player.stat[i]) + ")");
        }
        console.Write("\t\t0 - Back");
        console.SetForeground(colour::Grey);
        const std::optional<int> k = console.GetChoice(9, 0);
        if (!k) return Play::Over;
        if (*k == 0) return Play::On;
        const int trained = player.stat[*k - 1] + 1;
        if (trained <= TrainingCeiling) {
            player.stat[*k - 1] = trained;
            AdvanceClock(1, 0);
        }
    }
}

}  // namespace tg
