// What a game tells those who follow it, besides what it shows: where it
// rests between scenes, how it stands there, and that it has ended. The
// list of kept games and the command line listen through this; the
// terminal never hears of it.
#pragma once

#include <string>

namespace tg {

// How a game stands at its home menu, in the game's own words: enough to
// tell one kept game from another in a list.
struct RestSummary {
    std::string mode;          // "Trophy" or "FreePlay"
    std::string player;        // the player's name
    std::string clock;         // the day and the time in the game
    std::string closest;       // the person furthest along with the player; empty for an empty book
    std::string closestStage;  // how far along: "number given", "dating", ...
};

class GameEvents {
public:
    virtual ~GameEvents() = default;

    // The game waits at its home menu, at rest between scenes.
    virtual void AtRest(const RestSummary& /*summary*/) {}

    // The game shows its clock at the top of a screen: "Day 3, Tuesday
    // 2:40pm", as a summary gives it.
    virtual void ClockShown(const std::string& /*dayAndTime*/) {}

    // The game has shown one of its endings.
    virtual void Ending() {}
};

// How a game ended: the program's exit status, whether it was on one of the
// game's endings (rather than Quit, Escape or the end of input) and which,
// and whether the player left with Escape after a bad key.
struct GameEnd {
    int status = 0;
    bool ending = false;
    bool won = false;
    bool escaped = false;
};

}  // namespace tg
