// The game in a Windows console, or with its input or output redirected:
// keys read without Enter, the console's colours and clearing, Ctrl-C, and
// pipes and files read as bytes.
#include <conio.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>

#include "console/banner_border.hpp"
#include "console/platform.hpp"
#include "console/terminal_capabilities.hpp"
#include "terminal/system_terminal.hpp"

namespace tg {

namespace {

constexpr DWORD InputChunk = 4096;
constexpr int ClosedOutputStatus = 128 + 13;  // as a POSIX game killed by SIGPIPE
constexpr int InterruptStatus = 128 + 2;      // as after SIGINT
constexpr int HangUpStatus = 128 + 1;         // as after SIGHUP
constexpr int CtrlC = 3;
constexpr WORD ColourBits = 0x00FF;           // text colour, low nibble; background, next nibble

// The console as it was found, for every way out: a normal exit, Ctrl-C,
// Ctrl-Break, or the console window being closed. Control events arrive on
// a thread of their own, hence the atomics.
std::atomic<HANDLE> restoreHandle{nullptr};
std::atomic<int> originalAttribute{-1};
std::atomic<int> fileToSync{-1};

// Every way out makes a journal's data reach the disk.
void RestoreConsole() {
    const int file = fileToSync.load();
    if (file >= 0) _commit(file);
    const int attribute = originalAttribute.load();
    if (attribute >= 0) SetConsoleTextAttribute(restoreHandle.load(), static_cast<WORD>(attribute));
}

// Up to a chunk of what the handle gives; empty at its end, or when it
// cannot be read.
std::string ReadChunk(HANDLE input) {
    char chunk[InputChunk];
    DWORD count = 0;
    if (!ReadFile(input, chunk, InputChunk, &count, nullptr)) count = 0;
    return std::string(chunk, count);
}

// Standard input read on a thread of its own, a chunk at a time, so that a
// read can be waited for with a time limit: a read of a pipe blocks, and not
// every pipe can be asked whether bytes are waiting (Wine's cannot). A read
// that is not done in time stays under way; the next wait picks it up.
// There is one for the program's whole run and it is never freed, since its
// thread may still be in a read that never ends when the game does.
class PipeReader {
public:
    explicit PipeReader(HANDLE input)
        : input_(input), wanted_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
          done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
        HANDLE thread = wanted_ && done_ ? CreateThread(nullptr, 0, Run, this, 0, nullptr) : nullptr;
        threaded_ = thread != nullptr;
        if (threaded_) CloseHandle(thread);
    }

    // Waits up to the time (INFINITE: no limit) for the chunk under way:
    // none when it has not come yet, empty at the end of input.
    std::optional<std::string> Take(DWORD milliseconds) {
        if (ended_) return std::string();
        if (!threaded_) {
            chunk_ = ReadChunk(input_);
        } else {
            if (!asked_) SetEvent(wanted_);
            asked_ = true;
            if (WaitForSingleObject(done_, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
            asked_ = false;
        }
        ended_ = chunk_.empty();
        return chunk_;  // a copy: the thread looks at chunk_ after handing it over
    }

private:
    static DWORD WINAPI Run(void* self) {
        PipeReader& reader = *static_cast<PipeReader*>(self);
        do {
            WaitForSingleObject(reader.wanted_, INFINITE);
            reader.chunk_ = ReadChunk(reader.input_);
            SetEvent(reader.done_);
        } while (!reader.chunk_.empty());
        return 0;
    }

    HANDLE input_;
    HANDLE wanted_;  // a chunk is asked for
    HANDLE done_;    // the chunk asked for has come
    bool threaded_ = false;
    bool asked_ = false;
    bool ended_ = false;
    std::string chunk_;
};

BOOL WINAPI OnControlEvent(DWORD event) {
    RestoreConsole();
    ExitProcess(event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? InterruptStatus : HangUpStatus);
    return TRUE;
}

bool IsConsoleInput(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

// The colours (and the rest of the attribute) text is written in; none when
// the handle is not a console's output.
std::optional<WORD> ReadAttribute(HANDLE handle) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(handle, &info)) return std::nullopt;
    return info.wAttributes;
}

// The banner border: the double lines of the console's OEM code page, as
// single bytes, unless the console has been switched to UTF-8.
Border ConsoleBorder(bool outputIsConsole) {
    return outputIsConsole && GetConsoleOutputCP() == CP_UTF8 ? Border::DoubleLines : Border::Cp437;
}

// The bytes a terminal sends for the key whose scan code follows the prefix
// (0: F1 to F10; 0xE0: arrows, Home/End, Insert/Delete, pages, F11/F12).
// A key with no such sequence still comes as one that is no Escape.
std::string TerminalSequence(int prefix, int scan) {
    struct Key {
        int scan;
        const char* sequence;
    };
    constexpr Key Keys[] = {{72, "\x1b[A"},  {80, "\x1b[B"},  {77, "\x1b[C"},  {75, "\x1b[D"},    // arrows
                            {71, "\x1b[H"},  {79, "\x1b[F"},  {82, "\x1b[2~"}, {83, "\x1b[3~"},   // Home, End, Ins, Del
                            {73, "\x1b[5~"}, {81, "\x1b[6~"}, {133, "\x1b[23~"}, {134, "\x1b[24~"}};  // pages, F11, F12
    for (const Key& key : Keys) {
        if (key.scan == scan) return key.sequence;
    }
    constexpr const char* FunctionKeys[] = {"P", "Q", "R", "S", "[15~", "[17~", "[18~", "[19~", "[20~", "[21~"};
    if (prefix == 0 && scan >= 59 && scan <= 68) return std::string("\x1bO") + FunctionKeys[scan - 59];
    return "\x1b[0~";
}

// A key press that types no character but comes from _getch as two codes.
bool IsNavigation(const KEY_EVENT_RECORD& key) {
    const WORD code = key.wVirtualKeyCode;
    return (code >= VK_PRIOR && code <= VK_DOWN) || code == VK_INSERT || code == VK_DELETE ||
           (code >= VK_F1 && code <= VK_F12);
}

// Output is gathered in memory and written in one piece each time the game
// blocks. Console colours apply to text written after them, so pending text
// is always written out before the attribute changes.
class WindowsConsole : public Platform {
public:
    explicit WindowsConsole(const Environment& environment);
    ~WindowsConsole() override;

    int ReadByte(int milliseconds, Reading reading) override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override;

private:
    // The next bytes, waiting up to the time (-1: no limit): none when
    // nothing came in time, empty at the end of input. From the console, its
    // keys as the bytes a terminal sends for them; from a pipe or a file,
    // standard input as it is.
    std::optional<std::string> ReadKey(int milliseconds);
    std::optional<std::string> ReadInput(int milliseconds);
    bool KeyWaiting(int milliseconds);

    void SendPending();
    void Flush();
    void ApplyColours();

    HANDLE inputHandle_;
    HANDLE outputHandle_;
    bool inputIsConsole_;
    bool inputIsPipe_;  // known before any read: a pending read of a pipe can block other calls on it
    bool outputIsConsole_;
    TerminalCapabilities capabilities_;
    Border border_;
    std::string output_;
    std::string inputBuffer_;  // bytes read and not handed out yet
    std::size_t inputPosition_ = 0;
    bool inputEnded_ = false;
    WORD colours_ = 7;  // light grey on black, in the attribute's colour bits
    bool coloursPending_ = false;
};

}  // namespace

std::unique_ptr<Platform> OpenSystemTerminal() {
    return std::make_unique<WindowsConsole>([](const char* name) { return std::getenv(name); });
}

Border SystemTerminalBorder() { return ConsoleBorder(ReadAttribute(GetStdHandle(STD_OUTPUT_HANDLE)).has_value()); }

void SyncOnEveryExit(int fileHandle) { fileToSync = fileHandle; }

void SayOnSignalExit(const std::string&) {}

WindowsConsole::WindowsConsole(const Environment& environment)
    : inputHandle_(GetStdHandle(STD_INPUT_HANDLE)),
      outputHandle_(GetStdHandle(STD_OUTPUT_HANDLE)),
      inputIsConsole_(IsConsoleInput(inputHandle_)),
      inputIsPipe_(GetFileType(inputHandle_) == FILE_TYPE_PIPE),
      outputIsConsole_(ReadAttribute(outputHandle_).has_value()),
      capabilities_(DetectCapabilities(outputIsConsole_, environment)),
      border_(ConsoleBorder(outputIsConsole_)) {
    if (const std::optional<WORD> attribute = capabilities_.colour ? ReadAttribute(outputHandle_) : std::nullopt) {
        restoreHandle = outputHandle_;
        originalAttribute = *attribute;
    }
    SetConsoleCtrlHandler(OnControlEvent, TRUE);
}

WindowsConsole::~WindowsConsole() {
    Flush();
    RestoreConsole();
}

void WindowsConsole::Write(std::string_view text) {
    if (text.empty()) return;
    if (coloursPending_) ApplyColours();
    output_ += WithBorder(text, border_);
}

void WindowsConsole::SetColours(int foreground, int background) {
    colours_ = static_cast<WORD>(((background & 15) << 4) | (foreground & 15));
    coloursPending_ = capabilities_.colour;
}

// Text already written keeps its colours: what is pending goes out first,
// then the attribute changes. Only the colour bits of the attribute are
// touched; the rest is read back from the console and kept.
void WindowsConsole::ApplyColours() {
    coloursPending_ = false;
    Flush();
    const std::optional<WORD> attribute = ReadAttribute(outputHandle_);
    if (!attribute) return;
    SetConsoleTextAttribute(outputHandle_, static_cast<WORD>((*attribute & ~ColourBits) | colours_));
}

// Everything written so far out, in the colours chosen last.
void WindowsConsole::SendPending() {
    if (coloursPending_) ApplyColours();
    Flush();
}

void WindowsConsole::Clear() {
    if (!capabilities_.clear) return;
    SendPending();  // the cleared screen takes the colours current at this moment
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(outputHandle_, &info)) return;
    const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
    const COORD origin{0, 0};
    DWORD written = 0;
    FillConsoleOutputCharacterA(outputHandle_, ' ', cells, origin, &written);
    if (const std::optional<WORD> attribute = ReadAttribute(outputHandle_)) {
        FillConsoleOutputAttribute(outputHandle_, *attribute, cells, origin, &written);
    }
    SetConsoleCursorPosition(outputHandle_, origin);
}

void WindowsConsole::Flush() {
    std::string_view left = EndOfInputStatus() == ClosedOutputStatus ? std::string_view() : output_;
    for (DWORD sent = 0; !left.empty(); left.remove_prefix(sent)) {
        if (!WriteFile(outputHandle_, left.data(), static_cast<DWORD>(left.size()), &sent, nullptr) || sent == 0) {
            // Nobody is reading any more: the game ends at its next read
            // rather than play blind.
            CutOffInput(ClosedOutputStatus);
            break;
        }
    }
    output_.clear();
}

void WindowsConsole::Pause(int milliseconds) {
    SendPending();
    if (capabilities_.pause && EndOfInputStatus() == 0) Sleep(static_cast<DWORD>(milliseconds));
}

int WindowsConsole::ReadByte(int milliseconds, Reading) {
    SendPending();  // the echo of a key must show in the colours already chosen
    if (EndOfInputStatus() != 0) return EndOfInput;
    if (inputPosition_ >= inputBuffer_.size()) {
        std::optional<std::string> bytes = inputIsConsole_ ? ReadKey(milliseconds) : ReadInput(milliseconds);
        if (!bytes) return NothingYet;
        if (bytes->empty()) return EndOfInput;
        inputBuffer_ = std::move(*bytes);
        inputPosition_ = 0;
    }
    return static_cast<unsigned char>(inputBuffer_[inputPosition_++]);
}

// _getch reads the console in raw mode, so Ctrl-C arrives as a key; it
// still means what it means everywhere else. A navigation or function key
// (a prefix code, then its scan code) becomes the sequence a terminal sends
// for it, so that it is decoded as on any terminal.
std::optional<std::string> WindowsConsole::ReadKey(int milliseconds) {
    if (milliseconds >= 0 && !KeyWaiting(milliseconds)) return std::nullopt;
    const int code = _getch();
    if (code == CtrlC) CutOffInput(InterruptStatus);
    if (code < 0 || code == CtrlC) return std::string();
    if (code != 0 && code != 0xE0) return std::string(1, static_cast<char>(code));
    return TerminalSequence(code, _getch());
}

// Waits up to the time for a key press that _getch will return. Other
// console events (key releases, the mouse, focus) are taken off the queue:
// they would keep the input handle signalled. (Wine's console hands over no
// events to a program that only polls for them, so the handle is waited on.)
bool WindowsConsole::KeyWaiting(int milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    for (;;) {
        INPUT_RECORD event;
        DWORD count = 0;
        while (PeekConsoleInputA(inputHandle_, &event, 1, &count) && count == 1) {
            const KEY_EVENT_RECORD& key = event.Event.KeyEvent;
            if (event.EventType == KEY_EVENT && key.bKeyDown && (key.uChar.AsciiChar != 0 || IsNavigation(key))) {
                return true;
            }
            ReadConsoleInputA(inputHandle_, &event, 1, &count);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        if (WaitForSingleObject(inputHandle_, static_cast<DWORD>(deadline - now)) != WAIT_OBJECT_0) return false;
    }
}

// Only a pipe can keep the game waiting; files and the console line are
// read at once. Once the input has ended it is not read again.
std::optional<std::string> WindowsConsole::ReadInput(int milliseconds) {
    if (inputEnded_) return std::string();
    static PipeReader* const pipe = inputIsPipe_ ? new PipeReader(inputHandle_) : nullptr;
    const DWORD timeout = milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds);
    std::optional<std::string> bytes = pipe ? pipe->Take(timeout) : ReadChunk(inputHandle_);
    inputEnded_ = bytes && bytes->empty();
    return bytes;
}

}  // namespace tg
