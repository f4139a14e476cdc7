// What a terminal is sent, decided from the environment, and the built game
// in a pseudo-terminal under each of those conventions.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "console/terminal_capabilities.hpp"

#ifndef _WIN32
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <regex>
#endif

namespace tg {
namespace {

using Variables = std::map<std::string, std::string>;

TerminalCapabilities Detect(bool outputIsTerminal, const Variables& variables) {
    return DetectCapabilities(outputIsTerminal, [&variables](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    });
}

TEST(TerminalConventions, RedirectedOutputGetsNoEscapesAndNoPausesWhateverTheEnvironment) {
    for (const Variables& variables : {Variables{}, Variables{{"TERM", "xterm-256color"}},
                                       Variables{{"TERM", "dumb"}}, Variables{{"NO_COLOR", "1"}}}) {
        const TerminalCapabilities capabilities = Detect(false, variables);
        EXPECT_FALSE(capabilities.colour);
        EXPECT_FALSE(capabilities.clear);
        EXPECT_FALSE(capabilities.pause);
    }
}

TEST(TerminalConventions, DumbTerminalGetsNeitherColourNorClearingButStillPauses) {
    const TerminalCapabilities capabilities = Detect(true, {{"TERM", "dumb"}});
    EXPECT_FALSE(capabilities.colour);
    EXPECT_FALSE(capabilities.clear);
    EXPECT_TRUE(capabilities.pause);
}

TEST(TerminalConventions, NoColorSetAndNonEmptyTakesOnlyTheColoursAway) {
    for (const char* value : {"1", "0", "yes", " "}) {
        const TerminalCapabilities capabilities = Detect(true, {{"TERM", "xterm"}, {"NO_COLOR", value}});
        EXPECT_FALSE(capabilities.colour) << "NO_COLOR='" << value << "'";
        EXPECT_TRUE(capabilities.clear);
        EXPECT_TRUE(capabilities.pause);
    }
    const TerminalCapabilities empty = Detect(true, {{"TERM", "xterm"}, {"NO_COLOR", ""}});
    EXPECT_TRUE(empty.colour) << "an empty NO_COLOR counts as unset";
}

TEST(TerminalConventions, AnyOtherTerminalGetsEverything) {
    for (const Variables& variables : {Variables{}, Variables{{"TERM", ""}}, Variables{{"TERM", "xterm"}},
                                       Variables{{"TERM", "linux"}}, Variables{{"TERM", "dumb-ish"}}}) {
        const TerminalCapabilities capabilities = Detect(true, variables);
        EXPECT_TRUE(capabilities.colour);
        EXPECT_TRUE(capabilities.clear);
        EXPECT_TRUE(capabilities.pause);
    }
}

TEST(TerminalConventions, TheFirstLocaleVariableSetDecidesTheBannerBorder) {
    struct Case {
        Variables variables;
        Border border;
    };
    constexpr Border Utf8 = Border::DoubleLines;
    constexpr Border Plain = Border::Ascii;
    const std::vector<Case> cases = {
        {{}, Plain},
        {{{"LANG", "C.UTF-8"}}, Utf8},
        {{{"LANG", "en_GB.utf8"}}, Utf8},
        {{{"LANG", "de_DE.Utf-8"}}, Utf8},
        {{{"LANG", "C"}}, Plain},
        {{{"LANG", "POSIX"}}, Plain},
        {{{"LANG", "en_US.ISO-8859-1"}}, Plain},
        {{{"LC_ALL", "C"}, {"LANG", "C.UTF-8"}}, Plain},
        {{{"LC_ALL", "C.UTF-8"}, {"LC_CTYPE", "C"}, {"LANG", "C"}}, Utf8},
        {{{"LC_CTYPE", "C.UTF-8"}, {"LANG", "C"}}, Utf8},
        {{{"LC_CTYPE", "C"}, {"LANG", "C.UTF-8"}}, Plain},
        {{{"LC_ALL", ""}, {"LC_CTYPE", ""}, {"LANG", "C.UTF-8"}}, Utf8},  // empty means unset
    };
    for (const Case& c : cases) {
        std::string described;
        for (const auto& [name, value] : c.variables) described += name + "=" + value + " ";
        // The character set matters even for a transcript written to a file.
        EXPECT_EQ(Detect(true, c.variables).border, c.border) << described;
        EXPECT_EQ(Detect(false, c.variables).border, c.border) << described;
    }
}

#ifndef _WIN32

// The built game on a pseudo-terminal: what a player's terminal receives,
// byte for byte.
struct TerminalRun {
    std::string output;
    int status = -1;
};

// Starts the game with exactly the given environment, waits for the
// play-mode menu, types the keys, and reads until the game has gone.
TerminalRun PlayInTerminal(const Variables& variables, const std::string& keys) {
    std::vector<std::string> entries = {"PATH=/usr/bin:/bin"};
    for (const auto& [name, value] : variables) entries.push_back(name + "=" + value);
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name)) entries.push_back(std::string(name) + "=" + value);
    }
    std::vector<char*> environment;
    for (std::string& entry : entries) environment.push_back(entry.data());
    environment.push_back(nullptr);
    std::string binary = TENDER_BINARY;
    std::string seed = "--seed", one = "1", noSave = "--no-save";
    char* arguments[] = {binary.data(), seed.data(), one.data(), noSave.data(), nullptr};

    TerminalRun run;
    int master = -1;
    winsize size{};
    size.ws_row = 25;
    size.ws_col = 80;
    const pid_t pid = forkpty(&master, nullptr, nullptr, &size);
    if (pid < 0) return run;
    if (pid == 0) {
        execve(binary.c_str(), arguments, environment.data());
        _exit(127);
    }

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool typed = false;
    for (;;) {
        if (!typed && run.output.find("FreePlay Mode") != std::string::npos) {
            // The menu is up, so the terminal is in single-key mode.
            if (write(master, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) break;
            typed = true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            break;
        }
        pollfd ready{master, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0) continue;
        char chunk[4096];
        const ssize_t count = read(master, chunk, sizeof chunk);
        if (count <= 0) break;  // EIO: the game has closed its terminal
        run.output.append(chunk, static_cast<std::size_t>(count));
    }
    close(master);
    int raw = 0;
    waitpid(pid, &raw, 0);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return run;
}

// Trophy Mode without the introduction, a bad key, then Escape: a banner,
// two clears, three colours and a Bad Input line.
const std::string Keys = "2x\x1b";

std::string WithoutColours(const std::string& text) {
    return std::regex_replace(text, std::regex("\x1b\\[[0-9;]*m"), "");
}

std::string WithoutControlSequences(const std::string& text) {
    return std::regex_replace(text, std::regex("\x1b\\[[0-9;?]*[A-Za-z]"), "");
}

// The nine banner lines: the first lines of what the terminal shows.
std::vector<std::string> BannerOf(const std::string& output) {
    const std::string text = WithoutControlSequences(output);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (lines.size() < 9) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Terminal columns of a UTF-8 line: one per character.
std::size_t Columns(const std::string& line) {
    std::size_t columns = 0;
    for (unsigned char byte : line) columns += (byte & 0xC0) != 0x80;
    return columns;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

const Variables Usual = {{"TERM", "xterm-256color"}, {"LANG", "C.UTF-8"}};

Variables UsualWith(const Variables& changes) {
    Variables variables = Usual;
    for (const auto& [name, value] : changes) variables[name] = value;
    return variables;
}

class TerminalConventionsInATerminal : public ::testing::Test {
protected:
    static void SetUpTestSuite() { usual_ = PlayInTerminal(Usual, Keys); }
    static const TerminalRun& UsualRun() { return usual_; }

private:
    static inline TerminalRun usual_;
};

TEST_F(TerminalConventionsInATerminal, UsualTerminalGetsColoursClearingAndADoubleLineBanner) {
    const TerminalRun& run = UsualRun();
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("\x1b[91;41m"), std::string::npos) << "bright red on red for the banner";
    EXPECT_NE(run.output.find("\x1b[97m"), std::string::npos) << "bright white for the options";
    EXPECT_NE(run.output.find("\x1b[2J"), std::string::npos);
    EXPECT_NE(run.output.find("Bad Input (1-2):72"), std::string::npos);

    const std::vector<std::string> banner = BannerOf(run.output);
    ASSERT_EQ(banner.size(), 9u);
    EXPECT_EQ(banner[0], "\u2554" + Replace(std::string(21, '='), "=", "\u2550") + "\u2557");
    EXPECT_EQ(banner[3], "\u2551         Gamble!     \u2551");
    EXPECT_EQ(banner[8], "\u255a" + Replace(std::string(21, '='), "=", "\u2550") + "\u255d");
    for (const std::string& line : banner) EXPECT_EQ(Columns(line), 23u) << line;
}

TEST_F(TerminalConventionsInATerminal, NoColorRemovesTheColoursAndNothingElse) {
    const TerminalRun run = PlayInTerminal(UsualWith({{"NO_COLOR", "1"}}), Keys);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(WithoutColours(run.output), run.output) << "colour sequences despite NO_COLOR";
    EXPECT_NE(run.output.find("\x1b[2J"), std::string::npos) << "clearing stays";
    EXPECT_EQ(run.output, WithoutColours(UsualRun().output));
}

TEST_F(TerminalConventionsInATerminal, AnEmptyNoColorChangesNothing) {
    const TerminalRun run = PlayInTerminal(UsualWith({{"NO_COLOR", ""}}), Keys);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, UsualRun().output);
}

TEST_F(TerminalConventionsInATerminal, DumbTerminalGetsNoEscapeSequencesAtAll) {
    const TerminalRun run = PlayInTerminal(UsualWith({{"TERM", "dumb"}}), Keys);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find('\x1b'), std::string::npos) << run.output;
    EXPECT_EQ(run.output, WithoutControlSequences(UsualRun().output));
}

TEST_F(TerminalConventionsInATerminal, NonUtf8LocaleDrawsTheBorderInAsciiAtTheSameWidth) {
    for (const Variables& locale : {Variables{{"LANG", "C"}}, Variables{{"LANG", "C.UTF-8"}, {"LC_ALL", "POSIX"}}}) {
        const TerminalRun run = PlayInTerminal(UsualWith(locale), Keys);
        EXPECT_EQ(run.status, 0);
        const std::vector<std::string> banner = BannerOf(run.output);
        ASSERT_EQ(banner.size(), 9u) << run.output;
        EXPECT_EQ(banner[0], "+" + std::string(21, '=') + "+");
        EXPECT_EQ(banner[6], "|     Tad Harwick     |");
        EXPECT_EQ(banner[8], "+" + std::string(21, '=') + "+");
        for (const std::string& line : banner) {
            EXPECT_EQ(line.size(), 23u) << line;
            EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](unsigned char c) { return c < 0x80; })) << line;
        }
        // Only the border differs from the UTF-8 game.
        std::string expected = UsualRun().output;
        for (const auto& [from, to] : {std::pair{"\u2554", "+"}, {"\u2557", "+"}, {"\u255a", "+"},
                                       {"\u255d", "+"}, {"\u2550", "="}, {"\u2551", "|"}}) {
            expected = Replace(expected, from, to);
        }
        EXPECT_EQ(run.output, expected);
    }
}

#endif  // _WIN32

}  // namespace
}  // namespace tg
