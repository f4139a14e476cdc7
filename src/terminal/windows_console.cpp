// The game in a Windows console: keys read without Enter, the console's
// colours and clearing, Ctrl-C, and pipes and files read as bytes.
#include "terminal/windows_console.hpp"

#include <conio.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>

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
void SyncJournal() {
    const int file = fileToSync.load();
    if (file >= 0) _commit(file);
}

void RestoreOriginalAttribute() {
    SyncJournal();
    const int attribute = originalAttribute.load();
    if (attribute >= 0) SetConsoleTextAttribute(restoreHandle.load(), static_cast<WORD>(attribute));
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

    // Waits up to the time (INFINITE: no limit) for the chunk under way.
    // False when it has not come yet; else true, with `bytes` empty at the
    // end of input.
    bool Take(DWORD milliseconds, std::string& bytes) {
        bytes.clear();
        if (ended_) return true;
        if (!threaded_) {
            Read();
        } else {
            if (!asked_) SetEvent(wanted_);
            asked_ = true;
            if (WaitForSingleObject(done_, milliseconds) != WAIT_OBJECT_0) return false;
            asked_ = false;
        }
        ended_ = count_ == 0;
        bytes.assign(chunk_, count_);
        return true;
    }

private:
    static DWORD WINAPI Run(void* self) {
        PipeReader& reader = *static_cast<PipeReader*>(self);
        do {
            WaitForSingleObject(reader.wanted_, INFINITE);
            reader.Read();
            SetEvent(reader.done_);
        } while (reader.count_ > 0);
        return 0;
    }

    void Read() {
        if (!ReadFile(input_, chunk_, InputChunk, &count_, nullptr)) count_ = 0;
    }

    HANDLE input_;
    HANDLE wanted_;  // a chunk is asked for
    HANDLE done_;    // the chunk asked for has come
    bool threaded_ = false;
    bool asked_ = false;
    bool ended_ = false;
    DWORD count_ = 0;
    char chunk_[InputChunk];
};

PipeReader& StandardInputPipe(HANDLE input) {
    static PipeReader* const reader = new PipeReader(input);
    return *reader;
}

BOOL WINAPI OnControlEvent(DWORD event) {
    RestoreOriginalAttribute();
    ExitProcess(event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? InterruptStatus : HangUpStatus);
    return TRUE;
}

bool IsConsoleInput(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

bool ReadAttribute(HANDLE handle, WORD& attribute) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(handle, &info)) return false;
    attribute = info.wAttributes;
    return true;
}

bool IsConsoleOutput(HANDLE handle) {
    WORD attribute = 0;
    return ReadAttribute(handle, attribute);
}

// The banner border: the double lines of the console's OEM code page, as
// single bytes, unless the console has been switched to UTF-8.
Border ConsoleBorder(bool outputIsConsole) {
    if (outputIsConsole && GetConsoleOutputCP() == CP_UTF8) return Border::DoubleLines;
    return Border::Cp437;
}

// The bytes a terminal sends for the key whose scan code follows the prefix
// (0: F1 to F10; 0xE0: arrows, Home/End, Insert/Delete, pages, F11/F12).
// A key with no such sequence still comes as one that is no Escape.
std::string TerminalSequence(int prefix, int scan) {
    switch (scan) {
        case 72: return "\x1b[A";
        case 80: return "\x1b[B";
        case 77: return "\x1b[C";
        case 75: return "\x1b[D";
        case 71: return "\x1b[H";
        case 79: return "\x1b[F";
        case 82: return "\x1b[2~";
        case 83: return "\x1b[3~";
        case 73: return "\x1b[5~";
        case 81: return "\x1b[6~";
        case 133: return "\x1b[23~";
        case 134: return "\x1b[24~";
        default: break;
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

}  // namespace

std::unique_ptr<Platform> OpenSystemTerminal() {
    return std::make_unique<WindowsConsole>([](const char* name) { return std::getenv(name); });
}

Border SystemTerminalBorder() { return ConsoleBorder(IsConsoleOutput(GetStdHandle(STD_OUTPUT_HANDLE))); }

void SyncOnEveryExit(int fileHandle) { fileToSync = fileHandle; }

void SayOnSignalExit(const std::string&) {}

WindowsConsole::WindowsConsole(const Environment& environment)
    : inputHandle_(GetStdHandle(STD_INPUT_HANDLE)),
      outputHandle_(GetStdHandle(STD_OUTPUT_HANDLE)),
      inputIsConsole_(IsConsoleInput(inputHandle_)),
      inputIsPipe_(GetFileType(inputHandle_) == FILE_TYPE_PIPE),
      outputIsConsole_(IsConsoleOutput(outputHandle_)),
      capabilities_(DetectCapabilities(outputIsConsole_, environment)),
      border_(ConsoleBorder(outputIsConsole_)) {
    WORD attribute = 0;
    if (capabilities_.colour && ReadAttribute(outputHandle_, attribute)) {
        restoreHandle = outputHandle_;
        originalAttribute = attribute;
    }
    SetConsoleCtrlHandler(OnControlEvent, TRUE);
}

WindowsConsole::~WindowsConsole() {
    Flush();
    RestoreColours();
}

void WindowsConsole::Write(std::string_view text) {
    if (text.empty()) return;
    if (coloursPending_) ApplyColours();
    output_ += WithBorder(text, border_);
}

void WindowsConsole::SetColours(int foreground, int background) {
    foreground_ = foreground & 15;
    background_ = background & 15;
    coloursPending_ = capabilities_.colour;
}

// Text already written keeps its colours: what is pending goes out first,
// then the attribute changes. Only the colour bits of the attribute are
// touched; the rest is read back from the console and kept.
void WindowsConsole::ApplyColours() {
    coloursPending_ = false;
    Flush();
    WORD attribute = 0;
    if (!ReadAttribute(outputHandle_, attribute)) return;
    attribute = static_cast<WORD>((attribute & ~ColourBits) | (background_ << 4) | foreground_);
    SetConsoleTextAttribute(outputHandle_, attribute);
}

void WindowsConsole::RestoreColours() {
    SyncJournal();
    if (originalAttribute.load() < 0) return;
    RestoreOriginalAttribute();
}

void WindowsConsole::Clear() {
    if (!capabilities_.clear) return;
    // The cleared screen takes the colours current at this moment.
    if (coloursPending_) ApplyColours();
    Flush();
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(outputHandle_, &info)) return;
    const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
    const COORD origin{0, 0};
    DWORD written = 0;
    FillConsoleOutputCharacterA(outputHandle_, ' ', cells, origin, &written);
    if (GetConsoleScreenBufferInfo(outputHandle_, &info)) {
        FillConsoleOutputAttribute(outputHandle_, info.wAttributes, cells, origin, &written);
    }
    SetConsoleCursorPosition(outputHandle_, origin);
}

void WindowsConsole::Flush() {
    if (EndOfInputStatus() == ClosedOutputStatus) output_.clear();
    std::size_t done = 0;
    while (done < output_.size()) {
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(output_.size() - done);
        if (!WriteFile(outputHandle_, output_.data() + done, size, &written, nullptr) || written == 0) {
            // Nobody is reading any more: the game ends at its next read
            // rather than play blind.
            output_.clear();
            CutOffInput(ClosedOutputStatus);
            inputEnded_ = true;
            return;
        }
        done += written;
    }
    output_.clear();
}

void WindowsConsole::Pause(int milliseconds) {
    if (coloursPending_) ApplyColours();
    Flush();
    if (capabilities_.pause && EndOfInputStatus() == 0) Sleep(static_cast<DWORD>(milliseconds));
}

int WindowsConsole::ReadByte(int milliseconds, Reading) {
    // The echo of a key must show in the colours already chosen.
    if (coloursPending_) ApplyColours();
    Flush();
    if (EndOfInputStatus() != 0) return EndOfInput;
    return inputIsConsole_ ? ReadConsoleByte(milliseconds) : ReadInputByte(milliseconds);
}

// _getch reads the console in raw mode, so Ctrl-C arrives as a key; it
// still means what it means everywhere else. A navigation or function key
// (a prefix code, then its scan code) becomes the sequence a terminal sends
// for it, so that it is decoded as on any terminal.
int WindowsConsole::ReadConsoleByte(int milliseconds) {
    if (inputPosition_ < inputBuffer_.size()) return static_cast<unsigned char>(inputBuffer_[inputPosition_++]);
    if (milliseconds >= 0 && !KeyWaiting(milliseconds)) return NothingYet;
    const int code = _getch();
    if (code == CtrlC) CutOffInput(InterruptStatus);
    if (code < 0 || code == CtrlC) return EndOfInput;
    if (code != 0 && code != 0xE0) return code;
    inputBuffer_ = TerminalSequence(code, _getch());
    inputPosition_ = 1;
    return static_cast<unsigned char>(inputBuffer_[0]);
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

int WindowsConsole::ReadInputByte(int milliseconds) {
    if (inputPosition_ >= inputBuffer_.size() && !FillInput(milliseconds)) {
        return inputEnded_ ? EndOfInput : NothingYet;
    }
    return static_cast<unsigned char>(inputBuffer_[inputPosition_++]);
}

// Reads what is there (up to a chunk) into the input buffer. False at the
// end of input, or when nothing came within the timeout (-1: no timeout).
// Only a pipe can keep the game waiting; files and the console line are
// read at once.
bool WindowsConsole::FillInput(int timeoutMilliseconds) {
    if (inputEnded_) return false;
    Flush();
    std::string bytes;
    if (inputIsPipe_) {
        const DWORD timeout = timeoutMilliseconds < 0 ? INFINITE : static_cast<DWORD>(timeoutMilliseconds);
        if (!StandardInputPipe(inputHandle_).Take(timeout, bytes)) return false;
    } else {
        char chunk[InputChunk];
        DWORD count = 0;
        if (ReadFile(inputHandle_, chunk, InputChunk, &count, nullptr)) bytes.assign(chunk, count);
    }
    if (bytes.empty()) {
        inputEnded_ = true;
        return false;
    }
    inputBuffer_ = std::move(bytes);
    inputPosition_ = 0;
    return true;
}

}  // namespace tg
