// Reads arbitrary bytes as a game journal, as --continue and --replay do.
// Bytes that parse must encode back to the same header and records, and
// cast (as --cast does) into an asciicast that is UTF-8 with one event a
// line. Then the game is continued the way --continue does it: the journal
// replayed out of sight (with an input that ended the game taken back), its
// last screen repainted on an in-memory terminal, and the game handed to a
// recorder that appends to memory until the terminal's (no) keys run out.
// A crash, a hang, a sanitizer report or a broken property is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "terminal/scripted_terminal.hpp"
#include "journal/cast_platform.hpp"
#include "journal/continuing.hpp"
#include "journal/journal_sink.hpp"
#include "journal/journal_format.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"
#include "shell/game.hpp"
#include "people/random.hpp"

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

// A journal sink in memory, for the records a continued game appends.
class MemorySink : public tg::journal::JournalSink {
public:
    bool Append(std::string_view bytes) override {
        bytes_ += bytes;
        return true;
    }
    bool Sync() override { return true; }
    const std::string& Path() const override { return path_; }
    const std::string& Error() const override { return error_; }

private:
    std::string bytes_;
    std::string path_ = "fuzzed";
    std::string error_;
};

struct Refused {};

// Goes on with the journal's game as --continue does, on a terminal with no
// keys: the game ends at the first prompt after the replay, or the journal
// is refused.
void Continue(const Contents& contents) {
    MemorySink sink;
    tg::ScriptedTerminal terminal;
    terminal.SetRecording(false);
    try {
        tg::journal::ContinueJournal(Play, terminal, contents, sink, [](const std::string&) { throw Refused{}; });
    } catch (const tg::ProgramEnded&) {
    } catch (const Refused&) {
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
    Continue(contents);
    return 0;
}
