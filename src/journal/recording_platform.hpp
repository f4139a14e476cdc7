// Records a game being played: every input it consumes, its home menus and
// its ending, appended to the journal as they happen.
#pragma once

#include <chrono>
#include <string>

#include "console/forwarding_platform.hpp"
#include "console/game_events.hpp"
#include "journal/journal_store.hpp"
#include "journal/screen_digest.hpp"

namespace tg::journal {

// Passes everything through to the live platform and appends every input
// the game consumes to the journal, in one write, before the game can
// show its effect. A home menu's checkpoint and an ending's mark go out
// with the next input's write, or when the game is over: a write of their
// own would double the writes at every home menu, and a crash that
// loses one loses nothing, since a continue records it again when the
// replay comes back to that point. What was written reaches the disk at
// every home menu, at the endings and at the end. If the journal cannot be
// written the game plays on unrecorded, and Problem() says so.
class RecordingPlatform : public ForwardingPlatform, public GameEvents {
public:
    RecordingPlatform(Platform& live, JournalSink& journal);
    RecordingPlatform(const RecordingPlatform&) = delete;
    RecordingPlatform& operator=(const RecordingPlatform&) = delete;

    Key ReadKey() override;
    std::optional<std::string> ReadWord() override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void AtRest(const RestSummary& summary) override;
    void Ending() override;

    // Goes on from a replayed journal: what the replay showed since its
    // last home menu counts as shown here. With `takeBack` the journal's
    // last input is withdrawn first.
    void TakeOver(const ScreenDigest& digest, bool takeBack);

    // The game is over, with this exit status: what waits to go out is
    // written, and everything reaches the disk. A game cut off (Ctrl-C on
    // a page or in a Windows console, an output nobody reads) leaves its
    // journal as a killed one does, without what was waiting.
    void Finish(int status);

    // Empty, or what went wrong with the journal, for the player.
    const std::string& Problem() const { return problem_; }

private:
    std::uint32_t MillisecondsSinceLastInput();
    void AppendInput(Record record);
    void Append(const std::string& bytes);
    void Sync();
    void Fail();

    JournalSink& journal_;
    ScreenDigest digest_;
    std::string pending_;  // records that go out with the next write
    std::chrono::steady_clock::time_point lastInput_;
    bool unsynced_ = false;  // appended to since the last sync
    std::string problem_;
};

}  // namespace tg::journal
