#pragma once

#include <chrono>
#include <string>

#include "console/platform.hpp"
#include "journal/journal_sink.hpp"
#include "journal/screen_digest.hpp"

namespace tg::journal {

// Passes everything through to the live platform and appends every input
// the game consumes to the journal, in one write, before the game can
// show its effect. A home menu's checkpoint and an ending's mark go out
// with the next input's write, or at exit: a write of their own would
// double the writes at every home menu, and a crash that loses one loses
// nothing, since a continue records it again when the replay comes back
// to that point. What was written reaches the disk at every home menu, at
// the endings and on every way out. If the journal cannot be written the
// game plays on unrecorded, and the player is told when it ends.
class RecordingPlatform : public Platform {
public:
    RecordingPlatform(Platform& live, JournalSink& journal);

    Key ReadKey() override;
    std::optional<std::string> ReadWord() override;
    void DiscardLine() override { live_.DiscardLine(); }
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override { live_.Pause(milliseconds); }
    BoxCharacters Box() const override { return live_.Box(); }
    void AtRest() override;
    void GameOver() override;
    [[noreturn]] void Exit(int status) override;

    // Goes on from a replayed journal: what the replay showed since its
    // last home menu counts as shown here. With `takeBack` the journal's
    // last input is withdrawn first.
    void TakeOver(const ScreenDigest& digest, bool takeBack);

private:
    std::uint32_t MillisecondsSinceLastInput();
    void Append(const std::string& bytes);
    void Sync();
    void Fail();

    Platform& live_;
    JournalSink& journal_;
    ScreenDigest digest_;
    std::string pending_;  // records that go out with the next write
    std::chrono::steady_clock::time_point lastInput_;
    bool failed_ = false;
    bool unsynced_ = false;  // appended to since the last sync
};

// Says on standard error, once the terminal is back as it was found, what
// went wrong with a journal.
void ReportAtExit(const std::string& message);

}  // namespace tg::journal
