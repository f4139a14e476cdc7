// The built game run in a pseudo-terminal under a job-control parent, its
// output rendered by libvterm.
#include "pty_game.hpp"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>
#include <vterm.h>

#include "child_environment.hpp"

namespace tg::e2e {

namespace {

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t jobGroup = 0;

// The job-control parent passes a hangup of the terminal on to its job,
// as a shell does.
void ForwardHangup(int) {
    if (jobGroup > 0) {
        kill(-jobGroup, SIGHUP);
        kill(-jobGroup, SIGCONT);
    }
}

void WriteAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t count = write(fd, bytes, size);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return;
        bytes += count;
        size -= static_cast<std::size_t>(count);
    }
}

// What the test asks of the job-control parent, and its answer.
constexpr char TakeTerminal = 'T';  // as a shell does when its job stops
constexpr char GiveTerminal = 'G';  // as `fg` does before continuing the job
constexpr std::int32_t Done = 0x7fffffff;  // never a wait status

// Runs in the forked child: becomes the session leader of the terminal,
// starts the game in a process group of its own in the foreground, reports
// every change of the game's state down the status pipe, and moves the
// terminal between itself and the game when the test asks.
// Closes every descriptor from 3 up but the ones to keep: another game's
// terminal held open here would keep that terminal from ever closing.
void CloseAllBut(std::vector<int> keep) {
    std::sort(keep.begin(), keep.end());
    unsigned from = 3;
    for (const int fd : keep) {
        if (static_cast<unsigned>(fd) > from) close_range(from, static_cast<unsigned>(fd) - 1, 0);
        from = std::max(from, static_cast<unsigned>(fd) + 1);
    }
    close_range(from, ~0u, 0);
}

[[noreturn]] void RunJobControlParent(int slave, int statusWrite, int commandRead, char* const argv[],
                                      char* const envp[]) {
    CloseAllBut({slave, statusWrite, commandRead});
    if (login_tty(slave) != 0) _exit(126);
    const pid_t game = fork();
    if (game < 0) _exit(126);
    if (game == 0) {
        setpgid(0, 0);
        std::signal(SIGTTOU, SIG_IGN);
        tcsetpgrp(STDIN_FILENO, getpid());
        RestoreDefaultSignals();
        NoCoreFiles();
        close(statusWrite);
        close(commandRead);
        execve(argv[0], argv, envp);
        _exit(127);
    }
    setpgid(game, game);
    jobGroup = game;
    std::signal(SIGTTOU, SIG_IGN);  // it changes the foreground from the background
    struct sigaction hangup {};
    hangup.sa_handler = ForwardHangup;
    sigemptyset(&hangup.sa_mask);
    sigaction(SIGHUP, &hangup, nullptr);
    const std::int32_t pid = game;
    WriteAll(statusWrite, &pid, sizeof pid);
    for (;;) {
        pollfd command{commandRead, POLLIN, 0};
        if (poll(&command, 1, 5) == 1) {
            char request = 0;
            if (read(commandRead, &request, 1) == 1) {
                tcsetpgrp(STDIN_FILENO, request == TakeTerminal ? getpgrp() : game);
                WriteAll(statusWrite, &Done, sizeof Done);
            } else {
                close(commandRead);
                commandRead = -1;
            }
        }
        int status = 0;
        const pid_t result = waitpid(game, &status, WNOHANG | WUNTRACED | WCONTINUED);
        if (result < 0 && errno != EINTR) _exit(1);
        if (result != game) continue;
        const std::int32_t report = status;
        WriteAll(statusWrite, &report, sizeof report);
        if (WIFEXITED(status) || WIFSIGNALED(status)) _exit(0);
    }
}

int RemainingMilliseconds(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

std::string Utf8(std::uint32_t code) {
    std::string text;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    return text;
}

void DiscardTerminalReplies(const char*, std::size_t, void*) {}

}  // namespace

PtyGame::PtyGame(const SpawnOptions& options) : rows_(options.rows), columns_(options.columns) {
    // A job-control parent that has gone shows up as a failed write.
    std::signal(SIGPIPE, SIG_IGN);
    winsize size{};
    size.ws_row = static_cast<unsigned short>(rows_);
    size.ws_col = static_cast<unsigned short>(columns_);
    if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) throw std::runtime_error("openpty failed");
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    if (options.setUpTerminal) {
        termios modes{};
        tcgetattr(slave_, &modes);
        options.setUpTerminal(modes);
        tcsetattr(slave_, TCSANOW, &modes);
    }
    tcgetattr(slave_, &modesBefore_);

    int status[2], command[2];
    if (pipe2(status, O_CLOEXEC) != 0 || pipe2(command, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");

    // Everything the child needs is built before the fork.
    ChildCommand child(GameBinary(), options.arguments, options.environment);
    parentPid_ = fork();
    if (parentPid_ < 0) throw std::runtime_error("fork failed");
    if (parentPid_ == 0) {
        close(master_);
        close(status[0]);
        close(command[1]);
        RunJobControlParent(slave_, status[1], command[0], child.Argv(), child.Envp());
    }
    close(status[1]);
    close(command[0]);
    statusPipe_ = status[0];
    commandPipe_ = command[1];
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);

    vterm_ = vterm_new(rows_, columns_);
    vterm_set_utf8(vterm_, 1);
    vterm_output_set_callback(vterm_, DiscardTerminalReplies, nullptr);
    screen_ = vterm_obtain_screen(vterm_);
    static const VTermScreenCallbacks callbacks = [] {
        VTermScreenCallbacks c{};
        c.settermprop = [](VTermProp prop, VTermValue* value, void* user) {
            return OnTermProp(static_cast<int>(prop), value, user);
        };
        return c;
    }();
    vterm_screen_set_callbacks(screen_, &callbacks, this);
    vterm_screen_enable_altscreen(screen_, 1);  // as xterm has it
    vterm_screen_reset(screen_, 1);
    vterm_input_write(vterm_, options.shellScreen.data(), options.shellScreen.size());

    std::int32_t pid = 0;
    pollfd ready{statusPipe_, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(Patience.count())) != 1 || read(statusPipe_, &pid, sizeof pid) != sizeof pid) {
        throw std::runtime_error("the game did not start");
    }
    gamePid_ = pid;
}

PtyGame::~PtyGame() {
    if (!ended_ && gamePid_ > 0) kill(gamePid_, SIGKILL);
    if (parentPid_ > 0) {
        int status = 0;
        // The job-control parent ends as soon as it has seen the game end.
        while (waitpid(parentPid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
    for (int fd : {master_, slave_, statusPipe_, commandPipe_}) {
        if (fd >= 0) close(fd);
    }
    if (vterm_) vterm_free(vterm_);
}

int PtyGame::OnTermProp(int prop, void* value, void* user) {
    auto* self = static_cast<PtyGame*>(user);
    if (prop == VTERM_PROP_CURSORVISIBLE) self->cursorVisible_ = static_cast<VTermValue*>(value)->boolean != 0;
    return 1;
}

void PtyGame::Type(const std::string& bytes) {
    readsBeforeTyping_ = ProcCounter("syscr").value_or(-1);
    std::size_t done = 0;
    const auto deadline = Clock::now() + Patience;
    while (done < bytes.size() && Clock::now() < deadline) {
        const ssize_t count = write(master_, bytes.data() + done, bytes.size() - done);
        if (count > 0) {
            done += static_cast<std::size_t>(count);
        } else if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
            // The terminal's input queue is full: let the game read on,
            // rendering what it writes meanwhile.
            Pump(std::chrono::milliseconds(10));
        } else {
            break;
        }
    }
}

void PtyGame::Signal(int signal) const {
    if (gamePid_ > 0) kill(gamePid_, signal);
}

void PtyGame::Feed(const char* bytes, std::size_t length) {
    output_.append(bytes, length);
    const std::size_t leave = std::min(std::string_view(bytes, length).find("\x1b[?1049l"), length);
    vterm_input_write(vterm_, bytes, leave);
    if (leave < length) {
        leftScreen_.clear();
        for (int row = 0; row < rows_; ++row) leftScreen_.push_back(Row(row));
    }
    vterm_input_write(vterm_, bytes + leave, length - leave);
}

void PtyGame::TakeStatus() {
    char buffer[64];
    const ssize_t count = read(statusPipe_, buffer, sizeof buffer);
    if (count <= 0) {
        // The job-control parent is gone without a report: treat as ended.
        if (!ended_) {
            ended_ = true;
            status_ = -1;
        }
        return;
    }
    statusBytes_.append(buffer, static_cast<std::size_t>(count));
    while (statusBytes_.size() >= sizeof(std::int32_t)) {
        std::int32_t status = 0;
        std::memcpy(&status, statusBytes_.data(), sizeof status);
        statusBytes_.erase(0, sizeof status);
        if (status == Done) {
            ++answers_;
            continue;
        }
        status_ = status;
        if (WIFSTOPPED(status)) {
            stopped_ = true;
        } else if (WIFCONTINUED(status)) {
            stopped_ = false;
        } else {
            ended_ = true;
            stopped_ = false;
            tcgetattr(slave_, &modesAtExit_);
            Drain();
        }
    }
}

// After the end: reads the rest of the output. Once the game and its
// parent are gone and the last slave descriptor is closed, the master
// reports EIO after the final byte.
void PtyGame::Drain() {
    if (slave_ >= 0) {
        close(slave_);
        slave_ = -1;
    }
    if (master_ < 0) return;
    const auto deadline = Clock::now() + Patience;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(master_, buffer, sizeof buffer);
        if (count > 0) {
            Feed(buffer, static_cast<std::size_t>(count));
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno == EAGAIN && Clock::now() < deadline) {
            pollfd ready{master_, POLLIN, 0};
            poll(&ready, 1, RemainingMilliseconds(deadline));
            continue;
        }
        return;
    }
}

void PtyGame::Pump(std::chrono::milliseconds wait) {
    if (ended_) return;
    pollfd ready[2] = {{master_, POLLIN, 0}, {statusPipe_, POLLIN, 0}};
    const int result = poll(ready, 2, static_cast<int>(wait.count()));
    if (result <= 0) return;
    if (ready[0].revents & POLLIN) {
        char buffer[4096];
        const ssize_t count = read(master_, buffer, sizeof buffer);
        if (count > 0) Feed(buffer, static_cast<std::size_t>(count));
    }
    if (ready[1].revents & (POLLIN | POLLHUP)) TakeStatus();
}

bool PtyGame::WaitForText(const std::string& text, std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    for (;;) {
        if (ScreenText().find(text) != std::string::npos) return true;
        if (ended_ || Clock::now() >= deadline) return false;
        Pump(std::chrono::milliseconds(RemainingMilliseconds(deadline)));
    }
}

std::optional<int> PtyGame::WaitForStop(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (!stopped_ && !ended_ && Clock::now() < deadline) {
        Pump(std::chrono::milliseconds(RemainingMilliseconds(deadline)));
    }
    if (stopped_) return status_;
    return std::nullopt;
}

std::optional<int> PtyGame::WaitForExit(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (!ended_ && Clock::now() < deadline) {
        Pump(std::chrono::milliseconds(RemainingMilliseconds(deadline)));
    }
    if (ended_) return status_;
    return std::nullopt;
}

bool PtyGame::WaitUntilContinued(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    while (stopped_ && !ended_ && Clock::now() < deadline) {
        Pump(std::chrono::milliseconds(RemainingMilliseconds(deadline)));
    }
    return Running();
}

bool PtyGame::WaitForOutput(const std::string& text, std::size_t from, std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    for (;;) {
        if (output_.size() > from && output_.find(text, from) != std::string::npos) return true;
        if (ended_ || Clock::now() >= deadline) return false;
        Pump(std::chrono::milliseconds(RemainingMilliseconds(deadline)));
    }
}

void PtyGame::Quiet(std::chrono::milliseconds calm) {
    std::size_t seen = output_.size();
    auto quietSince = Clock::now();
    while (!ended_ && Clock::now() - quietSince < calm) {
        Pump(std::chrono::duration_cast<std::chrono::milliseconds>(calm - (Clock::now() - quietSince)));
        if (output_.size() != seen) {
            seen = output_.size();
            quietSince = Clock::now();
        }
    }
}

bool PtyGame::WaitForPicture(const std::string& picture, std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    for (;;) {
        if (Picture() == picture) return true;
        if (ended_ || Clock::now() >= deadline) return false;
        Pump(std::chrono::milliseconds(RemainingMilliseconds(deadline)));
    }
}

void PtyGame::ShellPrints(const std::string& bytes) { WriteAll(slave_, bytes.data(), bytes.size()); }

void PtyGame::ShellReadsInput() { tcflush(slave_, TCIFLUSH); }

// A counter of /proc/PID/io: "syscr" (read calls) or "wchar" (bytes written).
std::optional<long long> PtyGame::ProcCounter(const char* name) const {
    std::ifstream io("/proc/" + std::to_string(gamePid_) + "/io");
    const std::string wanted = std::string(name) + ":";
    std::string key;
    long long value = 0;
    while (io >> key >> value) {
        if (key == wanted) return value;
    }
    return std::nullopt;
}

// Blocked waiting for standard input, with nothing typed left unread. A
// process that is running shows no system call here.
bool PtyGame::BlockedInKeyRead() const {
    std::ifstream call("/proc/" + std::to_string(gamePid_) + "/syscall");
    long number = -1;
    std::string descriptor;
    if (!(call >> number >> descriptor)) return false;
    // A key read waits in ppoll() for standard input (where a stop can
    // interrupt it), then reads; either is the game waiting for a key.
    if (number != SYS_ppoll && (number != SYS_read || descriptor != "0x0")) return false;
    int unread = 0;
    return slave_ >= 0 && ioctl(slave_, FIONREAD, &unread) == 0 && unread == 0;
}

bool PtyGame::WaitUntilReading(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    for (;;) {
        if (ended_) return false;
        // A read that began after the last keys were typed: the one before
        // may still be returning with them.
        const std::optional<long long> reads = ProcCounter("syscr");
        if (reads && *reads > readsBeforeTyping_ && BlockedInKeyRead()) {
            TakeWhatWasWritten();
            return true;
        }
        if (Clock::now() >= deadline) return false;
        Pump(std::chrono::milliseconds(1));
    }
}

// Reads the master side until it finds nothing. A read that finds nothing
// first pushes through what is still on its way from the game's side of
// the terminal, so everything the game wrote before is then here.
void PtyGame::TakeWhatWasWritten() {
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(master_, buffer, sizeof buffer);
        if (count > 0) {
            Feed(buffer, static_cast<std::size_t>(count));
        } else if (count == 0 || errno != EINTR) {
            return;
        }
    }
}

bool PtyGame::AskShell(char request) {
    const int before = answers_;
    if (write(commandPipe_, &request, 1) != 1) return false;
    const auto deadline = Clock::now() + Patience;
    while (answers_ == before && !ended_ && Clock::now() < deadline) {
        Pump(std::chrono::milliseconds(RemainingMilliseconds(deadline)));
    }
    return answers_ > before;
}

bool PtyGame::ShellTakesTerminal() { return AskShell(TakeTerminal); }
bool PtyGame::ShellGivesTerminal() { return AskShell(GiveTerminal); }

void PtyGame::Resize(int rows, int columns) {
    vterm_set_size(vterm_, rows_ = rows, columns_ = columns);
    const winsize size{static_cast<unsigned short>(rows), static_cast<unsigned short>(columns), 0, 0};
    ioctl(master_, TIOCSWINSZ, &size);
}

void PtyGame::HangUp() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}

std::string PtyGame::Glyph(int row, int column) const {
    VTermScreenCell cell{};
    vterm_screen_get_cell(screen_, VTermPos{row, column}, &cell);
    std::string text;
    for (int i = 0; i < VTERM_MAX_CHARS_PER_CELL && cell.chars[i] != 0; ++i) text += Utf8(cell.chars[i]);
    return text.empty() ? " " : text;
}

std::string PtyGame::Row(int row) const {
    std::string text;
    for (int column = 0; column < columns_; ++column) text += Glyph(row, column);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string PtyGame::ScreenText() const {
    std::string text;
    for (int row = 0; row < rows_; ++row) text += Row(row) + "\n";
    return text;
}

std::string PtyGame::Picture() const {
    std::ostringstream picture;
    for (int row = 0; row < rows_; ++row) {
        picture << Row(row) << "\n   colours:";
        // Runs of cells in the same colours: foreground/background*cells.
        for (int column = 0; column < columns_;) {
            const int foreground = Foreground(row, column), background = Background(row, column);
            int run = 0;
            while (column < columns_ && Foreground(row, column) == foreground &&
                   Background(row, column) == background) {
                ++run;
                ++column;
            }
            picture << ' ' << foreground << '/' << background << '*' << run;
        }
        picture << '\n';
    }
    VTermPos cursor{};
    vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &cursor);
    picture << "cursor at row " << cursor.row << ", column " << cursor.col << '\n';
    return picture.str();
}

std::optional<ScreenPosition> PtyGame::Find(const std::string& text) const {
    for (int row = 0; row < rows_; ++row) {
        std::string line;
        std::vector<int> columnAt;  // byte offset -> column
        for (int column = 0; column < columns_; ++column) {
            const std::string glyph = Glyph(row, column);
            for (std::size_t i = 0; i < glyph.size(); ++i) columnAt.push_back(column);
            line += glyph;
        }
        const std::size_t at = line.find(text);
        if (at != std::string::npos) return ScreenPosition{row, columnAt[at]};
    }
    return std::nullopt;
}

int PtyGame::ColourIndex(const void* colourPointer, bool background) const {
    VTermColor colour = *static_cast<const VTermColor*>(colourPointer);
    if (background ? VTERM_COLOR_IS_DEFAULT_BG(&colour) : VTERM_COLOR_IS_DEFAULT_FG(&colour)) return ansi::Default;
    if (VTERM_COLOR_IS_INDEXED(&colour)) return colour.indexed.idx;
    // An RGB colour: name it by the palette entry it equals.
    VTermState* state = vterm_obtain_state(vterm_);
    for (int index = 0; index < 16; ++index) {
        VTermColor entry;
        vterm_state_get_palette_color(state, index, &entry);
        vterm_state_convert_color_to_rgb(state, &entry);
        if (entry.rgb.red == colour.rgb.red && entry.rgb.green == colour.rgb.green &&
            entry.rgb.blue == colour.rgb.blue) {
            return index;
        }
    }
    return -2;
}

int PtyGame::Foreground(int row, int column) const {
    VTermScreenCell cell{};
    vterm_screen_get_cell(screen_, VTermPos{row, column}, &cell);
    return ColourIndex(&cell.fg, false);
}

int PtyGame::Background(int row, int column) const {
    VTermScreenCell cell{};
    vterm_screen_get_cell(screen_, VTermPos{row, column}, &cell);
    return ColourIndex(&cell.bg, true);
}

bool PtyGame::PenIsDefault() const {
    VTermState* state = vterm_obtain_state(vterm_);
    VTermValue foreground{}, background{}, bold{}, reverse{};
    vterm_state_get_penattr(state, VTERM_ATTR_FOREGROUND, &foreground);
    vterm_state_get_penattr(state, VTERM_ATTR_BACKGROUND, &background);
    vterm_state_get_penattr(state, VTERM_ATTR_BOLD, &bold);
    vterm_state_get_penattr(state, VTERM_ATTR_REVERSE, &reverse);
    return VTERM_COLOR_IS_DEFAULT_FG(&foreground.color) && VTERM_COLOR_IS_DEFAULT_BG(&background.color) &&
           !bold.boolean && !reverse.boolean;
}

ScreenPosition PtyGame::Cursor() const {
    VTermPos position{};
    vterm_state_get_cursorpos(vterm_obtain_state(vterm_), &position);
    return ScreenPosition{position.row, position.col};
}

termios PtyGame::Modes() const {
    termios modes{};
    tcgetattr(slave_ >= 0 ? slave_ : master_, &modes);
    return modes;
}

bool SameModes(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
           std::equal(std::begin(a.c_cc), std::end(a.c_cc), std::begin(b.c_cc));
}

std::string DescribeModes(const termios& modes) {
    std::ostringstream text;
    text << std::hex << "iflag=" << modes.c_iflag << " oflag=" << modes.c_oflag << " cflag=" << modes.c_cflag
         << " lflag=" << modes.c_lflag << std::dec << " ICANON=" << ((modes.c_lflag & ICANON) != 0)
         << " ECHO=" << ((modes.c_lflag & ECHO) != 0) << " ISIG=" << ((modes.c_lflag & ISIG) != 0)
         << " VMIN=" << int(modes.c_cc[VMIN]) << " VTIME=" << int(modes.c_cc[VTIME]);
    return text.str();
}

}  // namespace tg::e2e
