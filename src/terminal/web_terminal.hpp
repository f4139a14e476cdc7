// The game in a terminal on a web page: keys from the page, ANSI text to it.
#pragma once

#include <string>

#include "console/ansi_output.hpp"
#include "console/keyboard_input.hpp"
#include "console/line_editor.hpp"
#include "console/platform.hpp"
#include "console/terminal_capabilities.hpp"
#include "terminal/web_page.hpp"

namespace tg {

// The game in a terminal on a web page. Keys come from the page as the
// bytes its terminal sends and go through the same decoding as on a real
// terminal; output is ANSI text gathered in memory and handed to the page
// once each time the game blocks (a key read, a pause, the end). With no
// line discipline in between, name entry edits its line here.
class WebTerminal : public Platform, private ByteSource, private EchoSink {
public:
    static constexpr std::size_t InputChunk = 4096;
    // Ctrl-C: the input ends, and so does the game, as on a terminal.
    static constexpr int Interrupt = 3;
    static constexpr int InterruptedStatus = 128 + 2;

    explicit WebTerminal(WebPage& page);
    // The last output goes to the page with the colours reset.
    ~WebTerminal() override;
    WebTerminal(const WebTerminal&) = delete;
    WebTerminal& operator=(const WebTerminal&) = delete;

    Key ReadKey() override;
    std::optional<std::string> ReadWord() override;
    void DiscardLine() override;
    void Write(std::string_view text) override { output_.Write(text); }
    void SetColours(int foreground, int background) override { output_.SetColours(foreground, background); }
    void Clear() override { output_.Clear(); }
    void Pause(int milliseconds) override;
    int KeyWithin(int milliseconds) override;
    int EndOfInputStatus() const override { return interrupted_ ? InterruptedStatus : 0; }
    // As a terminal's title sequence: the page shows it in its status line.
    void SetTitle(std::string_view title) override { output_.Control("\x1b]2;" + std::string(title) + "\x07"); }

private:
    // The bytes the game reads: straight from the keys, or in name entry
    // from the line being edited.
    int ReadByte() override;
    int ReadByteWithin(int milliseconds) override;
    void Echo(std::string_view text) override { Write(text); }

    // The keys as typed, for the decoder and the line editor.
    class RawKeys : public ByteSource {
    public:
        explicit RawKeys(WebTerminal& terminal) : terminal_(terminal) {}
        int ReadByte() override { return terminal_.NextKeyByte(-1); }
        int ReadByteWithin(int milliseconds) override { return terminal_.NextKeyByte(milliseconds); }

    private:
        WebTerminal& terminal_;
    };

    int NextKeyByte(int timeoutMilliseconds);
    bool FillKeys(int timeoutMilliseconds);
    void Flush();

    WebPage& page_;
    RawKeys rawKeys_;
    KeyboardInput input_;
    LineEditor editor_;
    AnsiOutput output_;
    std::string keys_;
    std::size_t keyPosition_ = 0;
    bool lineMode_ = false;
    bool interrupted_ = false;  // Ctrl-C was typed: no more keys
    std::string line_;
    std::size_t linePosition_ = 0;
};

}  // namespace tg
