// Where the console's one input meets a journal: an input read live is
// handed to the journal to keep; in a replay the journal hands out the
// recorded one and the terminal is not read at all.
#pragma once

#include <cstdint>
#include <string>

namespace tg {

// One input of the game: a key (its code and the text echoed for it), or a
// word of the player's name.
struct Input {
    enum class Kind { Key, Word };
    Kind kind = Kind::Key;
    int code = -1;
    std::string text;
};

// A journal as the console sees it. `shown` is always the checksum of what
// the game showed since its last home menu (ScreenDigest), which a
// recording keeps and a replay checks.
class InputJournal {
public:
    virtual ~InputJournal() = default;

    // Where the game's inputs come from now.
    enum class Phase {
        Replaying,  // from the journal
        Live,       // from the terminal, kept in the journal
        Over,       // nowhere: the replay has ended, and so does the game
    };
    virtual Phase Now() const = 0;

    // While replaying: whether what the game shows is kept from the
    // terminal, until the game goes live (continuing a game) or, in a
    // replay shown from a point of the game on, until it gets there.
    virtual bool Silent() const = 0;

    // The next recorded input, which must be of this kind. The phase may
    // change instead (the recorded inputs ran out, the game strayed from
    // them, the viewer ended the replay): then nothing is handed out.
    virtual bool Replay(Input& input, std::uint32_t shown) = 0;
    // Whether the input just replayed was the last one before the game goes
    // live.
    virtual bool AtLastInput() const = 0;
    // That last input would leave the game (a Quit, an Escape after a bad
    // key): the game goes live from just before it instead.
    virtual void TakeBack() = 0;

    // An input read from the terminal.
    virtual void Keep(const Input& input, std::uint32_t shown) = 0;

    // The game pauses while its inputs are replayed: at the replay's pace.
    virtual void Pause(int milliseconds) = 0;

    // The game is at its home menu, or has reached one of its endings.
    virtual void AtRest(std::uint32_t shown) = 0;
    virtual void Ending() = 0;

    // The exit status once the phase is Over: what ended the replay.
    virtual int EndStatus() const = 0;
};

}  // namespace tg
