// The built game run in a pseudo-terminal, its screen rendered by libvterm.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <termios.h>
#include <vector>

struct VTerm;
struct VTermScreen;

namespace tg::e2e {

// Colour indexes as an xterm shows them (the terminal's own palette, not
// the game's): what the game's colour numbers must come out as.
namespace ansi {
inline constexpr int Default = -1;
inline constexpr int Black = 0;
inline constexpr int Red = 1;
inline constexpr int Grey = 7;
inline constexpr int BrightRed = 9;
inline constexpr int BrightWhite = 15;
}  // namespace ansi

inline constexpr std::chrono::milliseconds Patience{10'000};

struct ScreenPosition {
    int row = -1;
    int column = -1;
};

struct SpawnOptions {
    std::vector<std::string> arguments;
    // Added to (or replacing) the fixed environment of every run.
    std::vector<std::string> environment;
    int rows = 25;  // the smallest window the game draws its screens in
    int columns = 80;
    // Changes the terminal's modes before the game starts.
    void (*setUpTerminal)(termios&) = nullptr;
    // What the shell's screen shows before the game starts.
    std::string shellScreen = {};
};

// The built game running in a pseudo-terminal, under a small job-control
// parent the way a shell would run it (its own foreground process group,
// so Ctrl-Z really stops it), with everything it writes rendered by
// libvterm.
class PtyGame {
public:
    explicit PtyGame(const SpawnOptions& options);
    explicit PtyGame(std::vector<std::string> arguments) : PtyGame(SpawnOptions{std::move(arguments), {}}) {}
    ~PtyGame();
    PtyGame(const PtyGame&) = delete;
    PtyGame& operator=(const PtyGame&) = delete;

    pid_t Pid() const { return gamePid_; }

    // Bytes as typed on the keyboard.
    void Type(const std::string& bytes);
    void Signal(int signal) const;

    // Renders output until the screen shows the text (anywhere), the game
    // ends, or the time is up.
    bool WaitForText(const std::string& text, std::chrono::milliseconds patience = Patience);
    // Renders output until the game stops (Ctrl-Z) / ends. The wait status.
    std::optional<int> WaitForStop(std::chrono::milliseconds patience = Patience);
    std::optional<int> WaitForExit(std::chrono::milliseconds patience = Patience);
    // Renders output until a stopped game has been continued.
    bool WaitUntilContinued(std::chrono::milliseconds patience = Patience);
    // Renders output until none has come for the time given.
    void Quiet(std::chrono::milliseconds calm = std::chrono::milliseconds(100));
    // Renders output until the screen's Picture() is this one, the game
    // ends, or the time is up.
    bool WaitForPicture(const std::string& picture, std::chrono::milliseconds patience = Patience);
    // Renders output until the raw bytes written hold the text after `from`.
    bool WaitForOutput(const std::string& text, std::size_t from, std::chrono::milliseconds patience = Patience);
    // Renders output until the game has read everything typed and sits in
    // a read of its standard input, waiting for the next key, with all it
    // wrote before rendered. False when it ended or time is up.
    bool WaitUntilReading(std::chrono::milliseconds patience = Patience);
    // The write calls the game has made so far, to any file.
    std::optional<long long> WriteCalls() const { return ProcCounter("syscw"); }
    // The job-control parent makes itself / the game the terminal's
    // foreground, as a shell does when a job stops / on `fg`.
    bool ShellTakesTerminal();
    bool ShellGivesTerminal();
    // Output that is not the game's, as a shell prints to the terminal
    // while the game is stopped.
    void ShellPrints(const std::string& bytes);
    // Drops what was typed and not yet read, as a shell reads a command.
    void ShellReadsInput();
    // Changes the window's size, as when it is dragged.
    void Resize(int rows, int columns);
    // Closes the terminal under the game, as when its window is closed.
    void HangUp();
    // True while the process has neither ended nor been stopped.
    bool Running() const { return !ended_ && !stopped_; }

    // Renders whatever has arrived, waiting at most the given time for it.
    void Pump(std::chrono::milliseconds wait);

    // The screen as rows of UTF-8 text, trailing blanks cut off.
    std::string Row(int row) const;
    std::string ScreenText() const;
    // All the screen shows: every row's text and the colours of its cells,
    // and where the cursor stands. Screens that look the same have the
    // same picture.
    std::string Picture() const;
    std::optional<ScreenPosition> Find(const std::string& text) const;
    std::string Glyph(int row, int column) const;
    int Foreground(int row, int column) const;  // an ansi:: index
    int Background(int row, int column) const;

    // The pen the terminal would write the next character with.
    bool PenIsDefault() const;
    bool CursorVisible() const { return cursorVisible_; }
    ScreenPosition Cursor() const;

    // The terminal's modes now, and as they were before the game started.
    termios Modes() const;
    const termios& ModesBefore() const { return modesBefore_; }
    // The modes as the game left them, read the moment its end was seen.
    const termios& ModesAtExit() const { return modesAtExit_; }

    // Everything the game wrote, as raw bytes.
    const std::string& Output() const { return output_; }

    // The rows of the game's own (alternate) screen when it last left it.
    const std::vector<std::string>& LeftScreen() const { return leftScreen_; }

private:
    bool AskShell(char request);
    void Feed(const char* bytes, std::size_t length);
    void TakeStatus();
    void Drain();
    void TakeWhatWasWritten();
    std::optional<long long> ProcCounter(const char* name) const;
    bool BlockedInKeyRead() const;
    int ColourIndex(const void* colour, bool background) const;
    static int OnTermProp(int prop, void* value, void* user);

    int master_ = -1;
    int slave_ = -1;
    int statusPipe_ = -1;
    int commandPipe_ = -1;
    int answers_ = 0;
    pid_t parentPid_ = -1;
    pid_t gamePid_ = -1;
    bool ended_ = false;
    bool stopped_ = false;
    int status_ = 0;
    std::string statusBytes_;
    VTerm* vterm_ = nullptr;
    VTermScreen* screen_ = nullptr;
    int rows_;
    int columns_;
    bool cursorVisible_ = true;
    termios modesBefore_{};
    termios modesAtExit_{};
    std::string output_;
    std::vector<std::string> leftScreen_;
    long long readsBeforeTyping_ = -1;
};

// Whether two sets of terminal modes are the same in every flag and
// control character.
bool SameModes(const termios& a, const termios& b);
std::string DescribeModes(const termios& modes);

}  // namespace tg::e2e
