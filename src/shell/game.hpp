#pragma once

#include <array>
#include <string>

#include "console/console.hpp"
#include "people/person.hpp"
#include "shell/player.hpp"
#include "shell/random.hpp"

namespace tg {

inline constexpr int BookSize = 10;

namespace mode {
inline constexpr int FreePlay = 0;
inline constexpr int Trophy = 1;
inline constexpr int TrophyWithoutIntroduction = 2;
}  // namespace mode

// The whole state of a running game and every routine that plays it.
// Play ends only by ending the program through the console.
class Game {
public:
    static constexpr int TrophyHourLimit = 744;
    static constexpr int FreePlayHourLimit = 10'000'000;

    // Draws the player's name and the book's placeholders.
    Game(Console& console, Random& random);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Player player;
    std::array<Person, BookSize> contacts;
    int contactCount = 0;
    int statPoints = 0;
    int hour = 0;
    int tick = 0;
    int hourLimit = TrophyHourLimit;
    int playMode = mode::FreePlay;

    // The opening: banner, play mode, and in Trophy Mode the introduction,
    // character creation and stat allocation. Never returns.
    [[noreturn]] void StartGame();
    [[noreturn]] void SetupStats();
    [[noreturn]] void HomeMenu();
    void Training();
    void GoLooking();
    void Encounter(Person& person, bool mayIntroduce);
    // Adds the change to the person's interest and has them answer with the
    // reply line its size calls for.
    void React(Person& person, int change);
    [[noreturn]] void Satisfaction();

    void AdvanceClock(int hours, int ticks);
    std::string ClockText() const;
    void ShowClock();
    // Runs when the clock passes the calendar's end; play goes on regardless.
    void TimeUp() {}

    Console& console;
    Random& random;

private:
    friend class Meeting;

    void ShowCharacterCreation();
    void ReadPlayerName();
    void StatList(const std::string& operation, int step);
    bool ConfirmUnspentPoints();
    void Book(int listedStage, const std::string& emptyFirst, const std::string& emptySecond,
              const std::string& emptyPause);
    void ShowClockLine();
    void Line(const std::string& text) { console.Write(text + "\n"); }
};

}  // namespace tg
