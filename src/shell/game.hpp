// The one game-state object, `Game`, whose member routines play the whole
// game, from the opening to the endings.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "console/console.hpp"
#include "people/person.hpp"
#include "shell/player.hpp"
#include "people/random.hpp"

namespace tg {

inline constexpr int BookSize = 10;

namespace mode {
inline constexpr int FreePlay = 0;
inline constexpr int Trophy = 1;
inline constexpr int TrophyWithoutIntroduction = 2;
}  // namespace mode

// Whether play goes on after a routine, or the game is over: Quit, an
// ending, Escape after a bad key, or the end of input. A routine that finds
// the game over returns at once, and so does each of its callers, up to
// PlayGame; the console says how it ended.
enum class [[nodiscard]] Play { On, Over };

// The whole state of a running game and every routine that plays it.
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
    // character creation and stat allocation; then the home menu until the
    // game is over.
    Play StartGame();
    Play SetupStats();
    Play HomeMenu();
    Play Training();
    Play GoLooking();
    Play Encounter(Person& person, bool mayIntroduce);
    // Adds the change to the person's interest and has them answer with the
    // reply line its size calls for.
    void React(Person& person, int change);
    // The reunion ending, which ends the game.
    Play Satisfaction();

    void AdvanceClock(int hours, int ticks);
    std::string ClockText() const;
    // The day of the game and the time: "Day 3, Wednesday 2:30pm".
    std::string DayAndTimeText() const;
    // How the game stands, told at the home menu to whoever keeps its record.
    RestSummary Summary() const;
    void ShowClock();
    // Runs when the clock passes the calendar's end; play goes on regardless.
    void TimeUp() {}

    Console& console;
    Random& random;

private:
    friend class Meeting;

    Play ShowCharacterCreation();
    Play ReadPlayerName();
    Play StatList(const std::string& operation, int step);
    // Whether the player accepts the character with points left; nothing
    // when the game is over.
    std::optional<bool> ConfirmUnspentPoints();
    Play Book(int listedStage, const std::string& emptyFirst, const std::string& emptySecond,
              const std::string& emptyPause);
    void ShowClockLine();
    std::string WeekdayAndTimeText() const;
    void Line(const std::string& text) { console.Write(text + "\n"); }
};

}  // namespace tg
