// Colours, clearing, one-key choices with their "Bad Input" answer,
// headings, and the game's one input: the terminal's or the journal's.
#include "console/console.hpp"

#include <utility>

namespace tg {

namespace {
constexpr int KeyZero = '0';
constexpr int EscapeValue = 27 - KeyZero;
constexpr int EndOfInput = -1;
}  // namespace

Console::Console(Platform& terminal, GameEvents* events, InputJournal* journal)
    : terminal_(terminal), events_(events), journal_(journal), input_(terminal) {
    silent_ = Replaying() && journal_->Silent();
}

void Console::ClearScreen() {
    if (journal_) digest_.Clear();
    Shown().Clear();
}

void Console::SetForeground(int colour) {
    foreground_ = colour & 15;
    if (journal_) digest_.SetColours(foreground_, background_);
    Shown().SetColours(foreground_, background_);
}

void Console::SetBackground(int colour) {
    background_ = colour & 15;
    if (journal_) digest_.SetColours(foreground_, background_);
    Shown().SetColours(foreground_, background_);
}

void Console::Pause(int milliseconds) {
    if (!Replaying()) return Shown().Pause(milliseconds);
    journal_->Pause(milliseconds);
    FollowJournal();
}

std::optional<int> Console::GetChoice(int high, int low) {
    const std::optional<int> quit = std::exchange(quit_, std::nullopt);
    const auto inRange = [&](int value) { return low <= value && value <= high; };
    const auto quits = [&](int code) { return quit && code - KeyZero == *quit && inRange(*quit); };
    Key key = ReadKey(quits);
    for (;;) {
        if (key.code == EndOfInput) {
            InputEnded();
            return std::nullopt;
        }
        const int value = key.code - KeyZero;
        if (inRange(value)) return value;
        Write("\nBad Input (" + std::to_string(low) + "-" + std::to_string(high) + "):" +
              std::to_string(value) + "\n");
        key = ReadKey([&](int code) { return code - KeyZero == EscapeValue || quits(code); });
        if (key.code - KeyZero == EscapeValue) {
            end_.escaped = true;
            return std::nullopt;
        }
    }
}

// A replayed key that would leave the game, when it is the last one of a
// game being continued, is taken back: the player goes on from before it.
template <class Leaves>
Key Console::ReadKey(Leaves leaves) {
    if (Replaying()) {
        ShowWhenDue();
        Input input;
        if (journal_->Replay(input, digest_.Value())) {
            if (!journal_->AtLastInput() || !leaves(input.code)) {
                Write(input.text);
                return Key{input.code, input.text};
            }
            journal_->TakeBack();
        }
        FollowJournal();
    }
    if (journal_ && journal_->Now() == InputJournal::Phase::Over) return Key{};
    return ReadLiveKey();
}

// The end of input ends the game: nothing to keep.
Key Console::ReadLiveKey() {
    Key key = input_.ReadKey();
    if (key.code == EndOfInput) return key;
    if (journal_) journal_->Keep(Input{Input::Kind::Key, key.code, key.echo}, digest_.Value());
    Write(key.echo);
    return key;
}

// A replayed name shows as the words recorded, one space apart (a game
// being continued shows none: its player types the rest); a typed one as it
// is typed. Neither counts in the digest: a terminal that edits the line
// itself shows it on its own.
std::optional<std::string> Console::ReadWord() {
    if (Replaying()) {
        ShowWhenDue();
        Input input;
        input.kind = Input::Kind::Word;
        if (journal_->Replay(input, digest_.Value())) {
            if (!silent_) terminal_.Write((wordShown_ ? " " : "") + input.text);
            wordShown_ = !silent_;
            return input.text;
        }
        FollowJournal();
    }
    std::optional<std::string> word;
    if (!journal_ || journal_->Now() != InputJournal::Phase::Over) word = input_.ReadWord();
    if (!word) {
        InputEnded();
        return std::nullopt;
    }
    if (journal_) journal_->Keep(Input{Input::Kind::Word, 0, *word}, digest_.Value());
    return word;
}

void Console::DiscardLine() {
    if (wordShown_) terminal_.Write("\n");
    wordShown_ = false;
    input_.DiscardLine();
}

void Console::PrintHeading(const std::string& text) {
    SetForeground(colour::BrightRed);
    Write("\t\t" + text + "\n");
    SetForeground(colour::Grey);
}

void Console::AtRest(const RestSummary& summary, int quit) {
    quit_ = quit;
    if (events_) events_->AtRest(summary);
    if (!journal_) return;
    journal_->AtRest(digest_.Value());
    digest_.Reset();
    FollowJournal();
}

void Console::Ending(bool won) {
    end_.ending = true;
    end_.won = won;
    if (events_) events_->Ending();
    if (!journal_) return;
    journal_->Ending();
    FollowJournal();
}

// Once the game goes live its screen is drawn; once the replay is over
// nothing more is shown.
void Console::FollowJournal() {
    const InputJournal::Phase now = journal_->Now();
    if (now == InputJournal::Phase::Live && silent_) GoLive();
    if (now == InputJournal::Phase::Over) silent_ = true;
}

void Console::ShowWhenDue() {
    if (silent_ && Replaying() && !journal_->Silent()) GoLive();
}

void Console::ClockShown(const std::string& dayAndTime) {
    if (events_) events_->ClockShown(dayAndTime);
}

void Console::GoLive() {
    memory_.Repaint(terminal_);
    silent_ = false;
}

void Console::InputEnded() {
    const bool replayOver = journal_ && journal_->Now() == InputJournal::Phase::Over;
    end_.status = replayOver ? journal_->EndStatus() : terminal_.EndOfInputStatus();
}

}  // namespace tg
