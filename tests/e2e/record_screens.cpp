// Plays the built game in an 80x25 pseudo-terminal rendered by libvterm and
// prints the screen each time the game waits for a key: the terminal side
// of the comparison with the game on the web page (tests/web).
//
//   tender_gamble_screens SEED < steps
//   tender_gamble_screens --OPTION... < steps     (the game's own options)
//
// Each line of the input is one step, the bytes typed at once, with \r,
// \n, \t, \e (Escape), \\ and \xHH written out. The output is a screen after
// each step, the first one before any key: a line "screen N", the 25 rows
// with trailing blanks cut off, and at the end "exit STATUS" (or "running").

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/syscall.h>
#include <thread>
#include <vector>

#include "pty_game.hpp"

namespace tg::e2e {
namespace {

constexpr int Rows = 25;
constexpr int Columns = 80;
constexpr auto StepPatience = std::chrono::seconds(20);
// A step that reaches no read (a name typed without its Enter) counts as
// done when the game has sat still this long.
constexpr auto QuietEnough = std::chrono::milliseconds(1000);

std::string Unescape(const std::string& line) {
    std::string bytes;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\' || i + 1 == line.size()) {
            bytes += line[i];
            continue;
        }
        const char code = line[++i];
        switch (code) {
            case 'r': bytes += '\r'; break;
            case 'n': bytes += '\n'; break;
            case 't': bytes += '\t'; break;
            case 'e': bytes += '\x1b'; break;
            case 'x':
                bytes += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
                i += 2;
                break;
            default: bytes += code; break;
        }
    }
    return bytes;
}

std::string ProcFile(pid_t pid, const char* name) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Read calls the game has finished so far.
long ReadsDone(pid_t pid) {
    const std::string io = ProcFile(pid, "io");
    const std::size_t at = io.find("syscr:");
    return at == std::string::npos ? -1 : std::stol(io.substr(at + 6));
}

// The game sits in ppoll() for its standard input (where a stop can cut
// the wait short) or in read() on it: it waits for a key.
bool WaitsForKey(pid_t pid) {
    const std::string call = ProcFile(pid, "syscall");
    return call.rfind(std::to_string(SYS_read) + " 0x0 ", 0) == 0 || call.rfind(std::to_string(SYS_ppoll) + " ", 0) == 0;
}

// Renders output until the game has read past `readsBefore` and waits for
// a key again with everything it wrote on the screen, or has ended.
void SettleAfter(PtyGame& game, long readsBefore) {
    const auto start = std::chrono::steady_clock::now();
    auto quietSince = start;
    std::size_t seen = game.Output().size();
    while (game.Running() && std::chrono::steady_clock::now() - start < StepPatience) {
        game.Pump(std::chrono::milliseconds(5));
        if (game.Output().size() != seen) {
            seen = game.Output().size();
            quietSince = std::chrono::steady_clock::now();
        }
        if (!WaitsForKey(game.Pid())) continue;
        const bool readDone = ReadsDone(game.Pid()) > readsBefore;
        if (readDone || std::chrono::steady_clock::now() - quietSince > QuietEnough) break;
    }
    // What was written before the read is in the terminal by now.
    for (int i = 0; i < 4 && game.Running(); ++i) game.Pump(std::chrono::milliseconds(10));
}

// Once the game has ended, the screen it last showed: the shell's screen
// is back in the terminal by then.
void PrintScreen(const PtyGame& game, int number) {
    std::cout << "screen " << number << "\n";
    const bool ended = !game.Running() && !game.LeftScreen().empty();
    for (int row = 0; row < Rows; ++row) std::cout << (ended ? game.LeftScreen()[row] : game.Row(row)) << "\n";
    std::cout.flush();
}

int Record(const std::vector<std::string>& arguments) {
    SpawnOptions options{arguments, {}, Rows, Columns};
    PtyGame game(options);
    SettleAfter(game, -1);
    PrintScreen(game, 0);
    std::string line;
    int number = 0;
    while (game.Running() && std::getline(std::cin, line)) {
        const long readsBefore = ReadsDone(game.Pid());
        game.Type(Unescape(line));
        SettleAfter(game, readsBefore);
        PrintScreen(game, ++number);
    }
    const std::optional<int> status = game.Running() ? std::nullopt : game.WaitForExit(std::chrono::seconds(5));
    if (status && WIFEXITED(*status)) {
        std::cout << "exit " << WEXITSTATUS(*status) << "\n";
    } else {
        std::cout << "running\n";
    }
    return 0;
}

}  // namespace
}  // namespace tg::e2e

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: tender_gamble_screens SEED < steps\n"
                     "       tender_gamble_screens --OPTION... < steps\n";
        return 2;
    }
    const std::string first = argv[1];
    if (first.rfind("--", 0) == 0) return tg::e2e::Record(std::vector<std::string>(argv + 1, argv + argc));
    return tg::e2e::Record({"--seed", first});
}
