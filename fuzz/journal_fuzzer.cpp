// Reads arbitrary bytes as a game journal, as --continue and --replay do.
// Bytes that parse must encode back to the same header and records, and
// cast (as --cast does) into an asciicast that is UTF-8 with one event a
// line. Then the journal is played through the game the way --continue
// does it: a
// trial run that only checks it replays (with the input that ended the
// game taken back), then, when it does, the real resume: the journal
// replayed out of sight, its last screen repainted on an in-memory
// terminal, and the game handed to a recorder that appends to a scratch
// journal until the terminal's (no) keys run out.
// A crash, a hang, a sanitizer report or a broken property is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>

#include "console/console.hpp"
#include "console/scripted_terminal.hpp"
#include "journal/cast_platform.hpp"
#include "journal/journal_file.hpp"
#include "journal/journal_format.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"
#include "journal/resuming_platform.hpp"
#include "shell/game.hpp"
#include "shell/random.hpp"

namespace {

using tg::journal::Contents;
using tg::journal::Record;

[[noreturn]] void Finding(const std::string& what) {
    std::fprintf(stderr, "journal finding: %s\n", what.c_str());
    std::abort();
}

void Play(tg::Platform& platform, std::uint32_t seed) {
    tg::Random random(seed);
    tg::Console console(platform);
    tg::Game game(console, random);
    game.StartGame();
    Finding("StartGame returned");
}

bool SameRecord(const Record& a, const Record& b) {
    return a.kind == b.kind && a.code == b.code && a.text == b.text && a.delay == b.delay && a.checksum == b.checksum;
}

void CheckEncodingRoundTrip(const Contents& contents) {
    std::string bytes = tg::journal::EncodeHeader(contents.header);
    for (const Record& record : contents.records) bytes += tg::journal::EncodeRecord(record);
    const Contents again = tg::journal::Parse(bytes);
    if (!again.error.empty()) Finding("the journal written again does not parse: " + again.error);
    if (again.header.seed != contents.header.seed || again.header.gameVersion != contents.header.gameVersion ||
        again.header.started != contents.header.started) {
        Finding("the header written again reads back otherwise");
    }
    if (again.records.size() != contents.records.size()) Finding("the records written again are another number");
    for (std::size_t k = 0; k < contents.records.size(); ++k) {
        if (!SameRecord(again.records[k], contents.records[k])) {
            Finding("record " + std::to_string(k + 1) + " written again reads back otherwise");
        }
    }
}

// Whether the text is UTF-8 throughout.
bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (length == 0 || lead > 0xF4 || at + length > text.size()) return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[at + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        at += length;
    }
    return true;
}

void CheckCast(const Contents& contents) {
    tg::journal::RecordedInputs inputs(contents);
    tg::journal::CastPlatform cast(inputs, 1.0);
    try {
        Play(cast, contents.header.seed);
    } catch (const tg::journal::CastPlatform::Finished&) {
    } catch (const tg::journal::Diverged&) {
        return;
    }
    const std::string recording = cast.Recording("fuzzed");
    if (!IsUtf8(recording)) Finding("the asciicast is not UTF-8");
    for (const char c : recording) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\n') Finding("a control byte stands raw in the asciicast");
    }
}

enum class Trial { ReplaysToTheEnd, GameEnded, Diverged };

// A trial run of the first `limit` inputs; `consumed` is set when the game
// ended on one of them.
Trial RunTrial(const Contents& contents, std::size_t limit, std::size_t& consumed) {
    tg::journal::RecordedInputs inputs(contents);
    inputs.Limit(limit);
    tg::journal::ResumingPlatform trial(inputs);
    try {
        Play(trial, contents.header.seed);
    } catch (const tg::journal::ResumingPlatform::ReachedEnd&) {
        return Trial::ReplaysToTheEnd;
    } catch (const tg::journal::ResumingPlatform::GameEnded& ended) {
        consumed = ended.consumed;
        return Trial::GameEnded;
    } catch (const tg::journal::Diverged&) {
        return Trial::Diverged;
    }
    Finding("a trial run ended without an outcome");
}

// The inputs --continue goes on from, as it works them out; nothing when
// it would refuse the journal.
std::optional<std::size_t> ContinuableInputs(const Contents& contents) {
    const std::size_t all = tg::journal::RecordedInputs(contents).InputCount();
    std::size_t consumed = 0;
    switch (RunTrial(contents, all, consumed)) {
        case Trial::ReplaysToTheEnd: return all;
        case Trial::Diverged: return std::nullopt;
        case Trial::GameEnded: break;
    }
    if (consumed > all) Finding("a trial consumed more inputs than the journal holds");
    if (consumed != all || all == 0) return std::nullopt;
    // The input that ended the game is taken back.
    if (RunTrial(contents, all - 1, consumed) != Trial::ReplaysToTheEnd) return std::nullopt;
    return all - 1;
}

const std::string& ScratchJournal() {
    static const std::string path = [] {
        char pattern[] = "/tmp/tender-journal-fuzz-XXXXXX";
        const int handle = mkstemp(pattern);
        if (handle < 0) Finding("no scratch file");
        close(handle);
        return std::string(pattern);
    }();
    return path;
}

void Resume(const Contents& contents, std::size_t inputs) {
    std::string error;
    std::optional<tg::journal::JournalFile> file = tg::journal::JournalFile::Reopen(ScratchJournal(), 0, error);
    if (!file) Finding("the scratch journal cannot be opened: " + error);
    tg::ScriptedTerminal terminal;
    terminal.SetRecording(false);
    tg::journal::RecordingPlatform recorder(terminal, *file);
    tg::journal::RecordedInputs recorded(contents);
    recorded.Limit(inputs);
    tg::journal::ResumingPlatform resuming(recorded, terminal, recorder);
    try {
        Play(resuming, contents.header.seed);
    } catch (const tg::ProgramEnded&) {
        return;  // the terminal had no keys
    } catch (const tg::journal::Diverged& diverged) {
        Finding("the resume diverged where its trial run did not: " + diverged.where + ": " + diverged.what);
    } catch (const tg::journal::ResumingPlatform::GameEnded&) {
        Finding("the game ended during a resume whose trial run went through");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Contents contents = tg::journal::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (contents.wholeBytes > size) Finding("more whole bytes than there are bytes");
    if (!contents.error.empty()) return 0;
    CheckEncodingRoundTrip(contents);
    CheckCast(contents);
    for (const Record& record : contents.records) {
        if (record.kind == Record::Kind::Ending) return 0;  // a game over is not continued
    }
    if (const std::optional<std::size_t> inputs = ContinuableInputs(contents)) Resume(contents, *inputs);
    return 0;
}
