// What the web page around the game gives it.
#pragma once

#include <string>
#include <string_view>

namespace tg {

// What the web page around the game gives it: the keys typed into the
// page's terminal, that terminal's screen, time, and the end of a game.
class WebPage {
public:
    virtual ~WebPage() = default;

    // Up to `most` of the key bytes typed and not yet taken; empty when
    // none are waiting.
    virtual std::string TakeKeys(std::size_t most) = 0;

    // Waits until keys are waiting or the time is up (-1: no limit).
    virtual void WaitForKeys(int milliseconds) = 0;

    // Hands bytes to the page's terminal.
    virtual void Show(std::string_view bytes) = 0;

    virtual void Sleep(int milliseconds) = 0;

    // Tells the page when a line of text starts and stops being typed
    // (name entry), so that it can offer a keyboard for it where keys are
    // otherwise tapped.
    virtual void EditingLine(bool editing) = 0;

    // Tells the page the game is over, with its exit status; the page may
    // then start a new game.
    virtual void EndGame(int status) = 0;
};

}  // namespace tg
