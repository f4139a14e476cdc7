// The game in a terminal on a web page: keys from the page, ANSI text to it,
// and what the page gives it.
#pragma once

#include <string>
#include <string_view>

#include "console/ansi_output.hpp"
#include "console/platform.hpp"

namespace tg {

// What the web page around the game gives it: the keys typed into the
// page's terminal, that terminal's screen, and time.
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
};

// Keys come from the page as the bytes its terminal sends; output is ANSI
// text gathered in memory and handed to the page once each time the game
// blocks (a key read, a pause, the end). The page is told when a line of
// text is being typed.
class WebTerminal : public Platform {
public:
    static constexpr std::size_t InputChunk = 4096;
    // Ctrl-C: the input ends, and so does the game, as on a terminal.
    static constexpr int Interrupt = 3;
    static constexpr int InterruptedStatus = 128 + 2;

    explicit WebTerminal(WebPage& page) : page_(page), output_(true, true) {}
    // The last output goes to the page with the colours reset.
    ~WebTerminal() override {
        output_.ResetColours();
        Flush();
    }
    WebTerminal(const WebTerminal&) = delete;
    WebTerminal& operator=(const WebTerminal&) = delete;

    int ReadByte(int milliseconds, Reading reading) override;
    void Write(std::string_view text) override { output_.Write(text); }
    void SetColours(int foreground, int background) override { output_.SetColours(foreground, background); }
    void Clear() override { output_.Clear(); }
    void Pause(int milliseconds) override {
        Flush();
        page_.Sleep(milliseconds);
    }
    // As a terminal's title sequence: the page shows it in its status line.
    void SetTitle(std::string_view title) override { output_.Control("\x1b]2;" + std::string(title) + "\x07"); }

private:
    bool FillKeys(int timeoutMilliseconds);
    void Flush() {
        if (!output_.Pending().empty()) page_.Show(output_.Take());
    }

    WebPage& page_;
    AnsiOutput output_;
    std::string keys_;
    std::size_t keyPosition_ = 0;
    bool editingLine_ = false;
};

}  // namespace tg
