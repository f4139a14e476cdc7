#include "journal/page_sessions.hpp"

#include <cstdlib>

#include "journal/continuing.hpp"
#include "journal/game_sessions.hpp"
#include "journal/journal_format.hpp"
#include "journal/playback.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"

namespace tg::journal {

namespace {

constexpr int CouldNotPlay = 1;

[[noreturn]] void Refuse(Platform& terminal, PageJournal& journal, const std::string& message) {
    journal.Report(message);
    terminal.Exit(CouldNotPlay);
    std::abort();  // a platform's Exit never comes back
}

}  // namespace

void PlayNewPageGame(const GameRunner& run, Platform& terminal, std::uint32_t seed, const std::string& gameVersion,
                     PageJournal& journal) {
    if (!journal.Append(EncodeHeader(NewHeader(seed, gameVersion, terminal.Box())))) {
        run(terminal, seed);
    } else {
        RecordingPlatform recorder(terminal, journal);
        run(recorder, seed);
    }
    std::abort();  // a game never returns
}

void ContinuePageGame(const GameRunner& run, Platform& terminal, PageJournal& journal) {
    const std::string bytes = journal.Chosen();
    const Contents contents = Parse(bytes);
    if (!contents.error.empty()) Refuse(terminal, journal, "The saved game cannot be continued: " + contents.error + ".");
    if (Finished(contents)) Refuse(terminal, journal, "The saved game is over: it can only be replayed.");
    const auto refuse = [&](const std::string& why) {
        Refuse(terminal, journal, "The saved game cannot be continued: " + why + ".");
    };
    if (!journal.CutAt(contents.wholeBytes)) refuse(journal.Error());
    ContinueJournal(run, terminal, contents, journal, refuse);
}

void ReplayOnPage(const GameRunner& run, Platform& terminal, PageJournal& journal, const std::string& name,
                  double speed) {
    const Contents contents = Parse(journal.Chosen());
    const auto refuse = [&](const std::string& why) {
        Refuse(terminal, journal, name + " cannot be replayed: " + why + ".");
    };
    if (!contents.error.empty()) refuse(contents.error);
    PlayBack(run, terminal, contents, speed, [&](const Diverged& diverged) { refuse(Explain(diverged)); });
}

}  // namespace tg::journal
