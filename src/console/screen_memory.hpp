// The screen since its last clear, in its colours, to draw it again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "console/platform.hpp"

namespace tg {

// What the screen shows since it was last cleared, in its colours, so that
// it can be drawn again exactly: after the game was suspended, or when a
// game is continued from its journal. As a terminal it is one nobody types
// on or waits at: a game shown only here shows nothing.
class ScreenMemory : public Platform {
public:
    // Beyond this much text only the latest part is kept: a screen shows
    // far less, and a run of bad keys must not grow memory without end.
    static constexpr std::size_t TextLimit = 64 * 1024;

    int ReadByte(int, Reading) override { return EndOfInput; }
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int) override {}

    // Clears the platform's screen in the colours of the remembered clear,
    // writes the remembered text in its colours and leaves the platform in
    // the current colours, with the cursor where the text ended.
    void Repaint(Platform& platform) const;

    // Writes the remembered text in its colours where the platform's
    // cursor stands, clearing nothing: the last screen left readable on a
    // screen that is not the game's.
    void Print(Platform& platform) const;

    // The remembered text without its colours.
    std::string Text() const;

private:
    struct Span {
        int foreground;
        int background;
        std::string text;
    };
    void DropOldest();

    int clearForeground_ = 7;
    int clearBackground_ = 0;
    int foreground_ = 7;
    int background_ = 0;
    std::size_t size_ = 0;
    std::vector<Span> spans_;
};

}  // namespace tg
