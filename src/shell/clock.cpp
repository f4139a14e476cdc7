// The game clock: hours and ten-minute ticks, and the clock line's text.
#include <array>
#include <string>
#include <string_view>

#include "shell/game.hpp"

namespace tg {

namespace {
constexpr int HoursPerDay = 24;
constexpr int TicksPerHour = 6;
constexpr std::array<std::string_view, 7> Weekdays = {
    "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday",
};
}  // namespace

void Game::AdvanceClock(int hours, int ticks) {
    tick += ticks;
    if (tick >= TicksPerHour) {
        tick -= TicksPerHour;
        hours += 1;
    }
    hour += hours;
    if (hour > hourLimit) TimeUp();
}

std::string Game::WeekdayAndTimeText() const {
    const int hourOfDay = hour % HoursPerDay;
    std::string text(Weekdays[(hour / HoursPerDay) % 7]);
    text += " " + std::to_string(hourOfDay % 12 + 1) + ":" + std::to_string(tick);
    return text + (hourOfDay <= 10 ? "0am" : "0pm");
}

std::string Game::ClockText() const {
    const int day = hour / HoursPerDay;
    return WeekdayAndTimeText() + " (Day " + std::to_string(day + 1) + "/" + std::to_string(hourLimit / HoursPerDay) +
           ")";
}

std::string Game::DayAndTimeText() const {
    return "Day " + std::to_string(hour / HoursPerDay + 1) + ", " + WeekdayAndTimeText();
}

}  // namespace tg
