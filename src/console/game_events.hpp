// What a game tells whoever keeps a record of it, besides what it shows:
// where it rests between scenes and that it has ended. The journal listens
// through this; the terminal never hears of it.
#pragma once

namespace tg {

class GameEvents {
public:
    virtual ~GameEvents() = default;

    // The game waits at its home menu, at rest between scenes.
    virtual void AtRest() {}

    // The game has shown one of its endings.
    virtual void Ending() {}
};

// How a game ended: the program's exit status, and whether it was on one
// of the game's endings (rather than Quit, Escape or the end of input).
struct GameEnd {
    int status = 0;
    bool ending = false;
};

}  // namespace tg
