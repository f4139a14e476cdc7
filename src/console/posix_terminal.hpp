#pragma once

#include <string>

#include "console/ansi_output.hpp"
#include "console/key_decoder.hpp"
#include "console/keyboard_input.hpp"
#include "console/platform.hpp"
#include "console/terminal_capabilities.hpp"

namespace tg {

// The game on a POSIX terminal, a pipe or a file. Output is gathered in
// memory and handed over in one write each time the game blocks (a key
// read, a pause, the end), with colour changes sent only when text needs
// them.
class PosixTerminal : public Platform, private ByteSource {
public:
    PosixTerminal(int inputFd, int outputFd, const Environment& environment);
    ~PosixTerminal() override;
    PosixTerminal(const PosixTerminal&) = delete;
    PosixTerminal& operator=(const PosixTerminal&) = delete;

    Key ReadKey() override;
    std::optional<std::string> ReadWord() override;
    void DiscardLine() override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override;
    BoxCharacters Box() const override { return BoxFor(capabilities_.utf8); }
    void SyncOnExit(int fileHandle) override;
    int KeyWithin(int milliseconds) override;
    [[noreturn]] void Exit(int status) override;

private:
    int ReadByte() override;
    int ReadByteWithin(int milliseconds) override;

    void NoticeLostColours();
    void Flush();
    void Finish();
    bool FillInput(int timeoutMilliseconds);
    bool WaitForInput(int timeoutMilliseconds);

    int inputFd_;
    int outputFd_;
    bool inputIsTerminal_;
    TerminalCapabilities capabilities_;
    KeyboardInput input_;
    AnsiOutput output_;
    std::string inputBuffer_;
    std::size_t inputPosition_ = 0;
    bool inputEnded_ = false;
    std::string nameEcho_;
};

}  // namespace tg
