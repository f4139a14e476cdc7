// The game in a Windows console, or with its input or output redirected.
#pragma once

#include <string>

#include "console/key_decoder.hpp"
#include "console/keyboard_input.hpp"
#include "console/platform.hpp"
#include "console/terminal_capabilities.hpp"

namespace tg {

// The game in a Windows console, or with its input or output redirected.
// Output is gathered in memory and written in one piece each time the game
// blocks. Console colours apply to text written after them, so pending text
// is always written out before the attribute changes.
class WindowsConsole : public Platform, private ByteSource {
public:
    explicit WindowsConsole(const Environment& environment);
    ~WindowsConsole() override;
    WindowsConsole(const WindowsConsole&) = delete;
    WindowsConsole& operator=(const WindowsConsole&) = delete;

    Key ReadKey() override;
    std::optional<std::string> ReadWord() override;
    void DiscardLine() override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override;
    int KeyWithin(int milliseconds) override;
    int EndOfInputStatus() const override { return endStatus_; }

private:
    using Handle = void*;

    // Standard input as bytes, for pipes, files and the typed name.
    int ReadByte() override;
    int ReadByteWithin(int milliseconds) override;
    bool FillInput(int timeoutMilliseconds);

    void Flush();
    void ApplyColours();
    void RestoreColours();

    Handle inputHandle_;
    Handle outputHandle_;
    bool inputIsConsole_;
    bool inputIsPipe_;  // known before any read: a pending read of a pipe can block other calls on it
    bool outputIsConsole_;
    TerminalCapabilities capabilities_;
    Border border_;
    KeyboardInput keyboard_;
    std::string output_;
    std::string inputBuffer_;
    std::size_t inputPosition_ = 0;
    bool inputEnded_ = false;
    std::string nameEcho_;
    int foreground_ = 7;
    int background_ = 0;
    bool coloursPending_ = false;
    int endStatus_ = 0;  // what ended the input, when not its own end
};

}  // namespace tg
