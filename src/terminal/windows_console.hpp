// The game in a Windows console, or with its input or output redirected.
#pragma once

#include <string>

#include "console/banner_border.hpp"
#include "console/platform.hpp"
#include "console/terminal_capabilities.hpp"

namespace tg {

// The game in a Windows console, or with its input or output redirected.
// Output is gathered in memory and written in one piece each time the game
// blocks. Console colours apply to text written after them, so pending text
// is always written out before the attribute changes.
class WindowsConsole : public Platform {
public:
    explicit WindowsConsole(const Environment& environment);
    ~WindowsConsole() override;
    WindowsConsole(const WindowsConsole&) = delete;
    WindowsConsole& operator=(const WindowsConsole&) = delete;

    int ReadByte(int milliseconds, Reading reading) override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override;

private:
    using Handle = void*;

    // Standard input as bytes, for pipes and files.
    int ReadInputByte(int milliseconds);
    bool FillInput(int timeoutMilliseconds);
    // The console's keys as the bytes a terminal sends for them.
    int ReadConsoleByte(int milliseconds);
    bool KeyWaiting(int milliseconds);

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
    std::string output_;
    std::string inputBuffer_;  // bytes read and not handed out yet
    std::size_t inputPosition_ = 0;
    bool inputEnded_ = false;
    int foreground_ = 7;
    int background_ = 0;
    bool coloursPending_ = false;
};

}  // namespace tg
