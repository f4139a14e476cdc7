// The web page's terminal, driven by a page that hands over keys in the
// pieces a browser terminal sends them in and records what it is given.

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <vector>

#include "console/console.hpp"
#include "terminal/web_terminal.hpp"

namespace tg {
namespace {

// Each piece of keys arrives when the game waits; the page's side of every
// call is logged in order.
class FakePage : public WebPage {
public:
    explicit FakePage(std::vector<std::string> pieces) : pieces_(pieces.begin(), pieces.end()) {}

    std::string TakeKeys(std::size_t most) override {
        std::string taken = waiting_.substr(0, most);
        waiting_.erase(0, taken.size());
        return taken;
    }
    void WaitForKeys(int milliseconds) override {
        if (milliseconds >= 0) return;  // nothing more comes within a short wait
        if (pieces_.empty()) throw std::runtime_error("the game waits for keys that never come");
        log.push_back("wait");
        waiting_ += pieces_.front();
        pieces_.pop_front();
    }
    void Show(std::string_view bytes) override { log.push_back("show:" + std::string(bytes)); }
    void Sleep(int milliseconds) override { log.push_back("sleep:" + std::to_string(milliseconds)); }
    void EditingLine(bool editing) override { log.push_back(editing ? "line" : "keys"); }

    std::vector<std::string> log;

private:
    std::deque<std::string> pieces_;
    std::string waiting_;
};

struct WebGame {
    explicit WebGame(std::vector<std::string> pieces) : page(std::move(pieces)), terminal(page), console(terminal) {}

    // What GetChoice returns, or 1000 plus the status the game ended with.
    int Ask(int high, int low) {
        if (const std::optional<int> choice = console.GetChoice(high, low)) return *choice;
        return 1000 + console.End().status;
    }

    // Everything the page was given, once what is still gathered is handed over.
    std::string Shown() {
        console.Pause(0);
        std::string shown;
        for (const std::string& entry : page.log) {
            if (entry.rfind("show:", 0) == 0) shown += entry.substr(5);
        }
        return shown;
    }

    FakePage page;
    WebTerminal terminal;
    Console console;
};

TEST(WebTerminal, ArrowKeysAreTwoBadKeysAndNeverEscape) {
    // x is bad; the Up arrow after it is two codes (224, then 72), each a
    // bad key of its own; only a lone Escape after a bad key ends the game.
    WebGame game({"x", "\x1b[A", "\x1bOB", "\x1b"});
    EXPECT_EQ(game.Ask(2, 0), 1000);
    const std::string shown = game.Shown();
    EXPECT_NE(shown.find("x\nBad Input (0-2):72\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Bad Input (0-2):176\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Bad Input (0-2):24\n"), std::string::npos) << shown;   // Up's 72
    EXPECT_NE(shown.find("Bad Input (0-2):32\n"), std::string::npos) << shown;   // Down's 80
}

TEST(WebTerminal, OutputGoesToThePageOnceEachTimeTheGameWaits) {
    WebGame game({"12", "0"});
    game.console.ClearScreen();
    game.console.SetBackground(4);
    game.console.SetForeground(12);
    game.console.Write("Monday\n");
    game.console.SetBackground(0);
    game.console.SetForeground(7);
    game.console.Pause(500);
    game.console.Write("\t\t1 - Train\n");
    EXPECT_EQ(game.Ask(1, 1), 1);
    EXPECT_EQ(game.Ask(2, 2), 2);  // typed ahead: no wait, nothing shown between
    EXPECT_EQ(game.Ask(0, 0), 0);
    // Bright red (12) on red (4) are ANSI 91 and 41; grey (7) on black, 37 and 40.
    const std::vector<std::string> expected = {
        "show:\x1b[37;40m\x1b[H\x1b[2J\x1b[3J\x1b[91;41mMonday\n",
        "sleep:500",
        "show:\x1b[37;40m\t\t1 - Train\n",
        "wait",
        "show:12",
        "wait",
    };
    EXPECT_EQ(game.page.log, expected);
}

TEST(WebTerminal, NameEntryEditsItsOwnLine) {
    // Backspace takes back a character (all of a UTF-8 one), Ctrl-U the
    // line, arrows are dropped, Enter ends the line and the second word
    // may come on a line of its own.
    WebGame game({"Bob\x7f\x7f", "en Zo\xc3\xab\x7f", "e\x1b[D", "\r", "Smith\r"});
    EXPECT_EQ(game.console.ReadWord(), "Ben");
    EXPECT_EQ(game.console.ReadWord(), "Zoe");
    game.console.DiscardLine();
    EXPECT_EQ(game.Shown(), "\x1b[37;40mBob\b \b\b \ben Zo\xc3\xab\b \be\n");

    WebGame second({"Al\x15Jo\tDoe  \r"});
    EXPECT_EQ(second.console.ReadWord(), "Jo");
    EXPECT_EQ(second.console.ReadWord(), "Doe");
    second.console.DiscardLine();
    EXPECT_EQ(second.Shown(), "\x1b[37;40mAl\b \b\b \bJo Doe  \n");
}

TEST(WebTerminal, NameEntryKeepsATerminalsLineLengthAndReturnsToSingleKeys) {
    WebGame game({std::string(5000, 'a') + "\r", "7"});
    EXPECT_EQ(game.console.ReadWord().value_or("").size(), LineEditor::MaxLength);
    game.console.DiscardLine();
    EXPECT_EQ(game.Ask(9, 0), 7);
    const std::string echo = "\x1b[37;40m" + std::string(LineEditor::MaxLength, 'a') + "\n7";
    EXPECT_TRUE(game.Shown() == echo) << "the echo is not the line as kept and the key";
    // The page knows the line is being typed before it waits for its keys,
    // and that it is over before the next single key.
    std::vector<std::string> calls;
    for (const std::string& entry : game.page.log) {
        if (entry == "line" || entry == "keys" || entry == "wait") calls.push_back(entry);
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"line", "wait", "keys", "wait"}));
}

TEST(WebTerminal, TheEndHandsOverTheLastScreenWithTheColoursReset) {
    FakePage page({});
    {
        WebTerminal terminal(page);
        Console console(terminal);
        console.SetForeground(15);
        console.Write("Bye");
        EXPECT_EQ(page.log, std::vector<std::string>{}) << "shown before the game waited or ended";
    }
    // Ending the game is the page's own business, not the terminal's.
    EXPECT_EQ(page.log, std::vector<std::string>{"show:\x1b[97;40mBye\x1b[0m"});
}

TEST(WebTerminal, CtrlCEndsTheGameAsOnATerminal) {
    WebGame atMenu({"\x03"});
    EXPECT_EQ(atMenu.Ask(2, 0), 1000 + WebTerminal::InterruptedStatus);
    WebGame inName({"Jo\x03"});
    EXPECT_EQ(inName.console.ReadWord(), std::nullopt);
    EXPECT_EQ(inName.console.End().status, WebTerminal::InterruptedStatus);
}

}  // namespace
}  // namespace tg
