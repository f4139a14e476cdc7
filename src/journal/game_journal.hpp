// A game's journal as the console's input meets it: the recorded inputs
// handed out in a replay, and the inputs read live appended as they come.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "console/input_journal.hpp"
#include "journal/journal_store.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/replay_pace.hpp"

namespace tg::journal {

// A new game records every input into its sink. A recorded game replays its
// inputs, checked against what the game shows, at its pace (none: at once
// and silently); a game being continued then goes live in the same journal
// (`sink`), a watched replay holds its last screen, and any other replay
// simply ends.
//
// Recording, every input is appended in one write before the game can show
// its effect. A home menu's checkpoint and an ending's mark go out with the
// next input's write, or when the game is over: a write of their own would
// double the writes at every home menu, and a crash that loses one loses
// nothing, since a continue records it again when the replay comes back to
// that point. What was written reaches the disk at every home menu, at the
// endings and at the end. If the journal cannot be written the game plays
// on unrecorded, and Problem() says so.
class GameJournal : public InputJournal {
public:
    // A new game, whose journal is opened with its first input: a game left
    // before any (Ctrl-C at the title) leaves no journal.
    explicit GameJournal(JournalOpener open);
    GameJournal(RecordedInputs& inputs, ReplayPace* pace, JournalSink* sink = nullptr);
    GameJournal(const GameJournal&) = delete;
    GameJournal& operator=(const GameJournal&) = delete;

    Phase Now() const override { return phase_; }
    bool Silent() const override { return inputs_ && (!pace_ || BeforeShownPoint()); }
    bool Replay(Input& input, std::uint32_t shown) override;
    bool AtLastInput() const override { return atLastInput_; }
    void TakeBack() override;
    void Keep(const Input& input, std::uint32_t shown) override;
    void Pause(int milliseconds) override;
    void AtRest(std::uint32_t shown) override;
    void Ending() override;
    int EndStatus() const override { return pace_ ? pace_->StopStatus() : 0; }

    // Replays the first `inputs` inputs silently and without waiting, then
    // shows the game from there: a move through a replay, or a cast of a
    // stretch of it.
    void ShowFrom(std::size_t inputs) { showFrom_ = inputs; }
    // How many inputs the screen shows the effect of: those consumed, but
    // for the one whose recorded time is being waited.
    std::size_t InputsShown() const { return inputs_->Consumed() - (awaitingInput_ ? 1 : 0); }
    // Whether the recorded inputs ran out while the game still asked for more.
    bool RanOut() const { return ranOut_; }
    // Watched, a game that ended by itself (a Quit, an ending) keeps its
    // last screen until the viewer presses a key, as one whose journal ran
    // out does; a replay the viewer ended ends at once.
    void HoldLastScreen();

    // The game is over, with this exit status: what waits to go out is
    // written, and everything reaches the disk. A game cut off (Ctrl-C on
    // a page or in a Windows console, an output nobody reads) leaves its
    // journal as a killed one does, without what was waiting.
    void Finish(int status);
    // What went wrong with writing the journal: the rest of the game was not kept.
    const std::optional<Fault>& Problem() const { return problem_; }

private:
    void RunOut();
    void GoLive();
    bool InputsLeft() const { return inputs_->HasInput() || inputs_->Divergence(); }
    bool BeforeShownPoint() const { return showFrom_ && inputs_->Consumed() < *showFrom_; }
    // The game's pauses up to the next input after that point are not
    // waited either: the screen there is drawn at once.
    bool UpToShownPoint() const { return showFrom_ && inputs_->Consumed() <= *showFrom_; }
    std::uint32_t MillisecondsSinceLastInput();
    void Append(const std::string& bytes);
    void Pending(const Record& record);
    void Sync();

    Phase phase_;
    RecordedInputs* inputs_ = nullptr;
    ReplayPace* pace_ = nullptr;
    JournalOpener open_;
    JournalSink* sink_ = nullptr;
    bool atLastInput_ = false;
    bool takenBack_ = false;
    bool ranOut_ = false;
    std::optional<std::size_t> showFrom_;
    bool awaitingInput_ = false;  // the next input is handed out once its time is waited
    std::string pending_;         // records that go out with the next write
    std::chrono::steady_clock::time_point lastInput_;
    bool unsynced_ = false;  // appended to since the last sync
    std::optional<Fault> problem_;
};

}  // namespace tg::journal
