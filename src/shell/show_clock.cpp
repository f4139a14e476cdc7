// The screen header: the clock in its red band, after sleeping through
// the night.
#include "shell/game.hpp"

namespace tg {

namespace {
constexpr int SleepFrameMilliseconds = 500;

bool IsNight(int hour) {
    const int hourOfDay = hour % 24;
    return hourOfDay == 23 || hourOfDay < 7;
}
}  // namespace

// The clock line in its red band, then the normal colours again.
void Game::ShowClockLine() {
    console.SetBackground(colour::Red);
    console.SetForeground(colour::BrightRed);
    Line(ClockText());
    if (console.Followed()) console.ClockShown(DayAndTimeText());
    console.SetBackground(colour::Black);
    console.SetForeground(colour::Grey);
}

// Every screen's header. At night the player sleeps first, one frame and
// half a second per hour, until eight in the morning.
void Game::ShowClock() {
    while (IsNight(hour)) {
        console.ClearScreen();
        AdvanceClock(1, 0);
        ShowClockLine();
        console.Write("\tSleeping...\n");
        console.Pause(SleepFrameMilliseconds);
    }
    console.ClearScreen();
    ShowClockLine();
}

}  // namespace tg
