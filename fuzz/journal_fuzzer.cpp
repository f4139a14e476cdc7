// Reads arbitrary bytes as a game journal, as --continue and --replay do.
// Bytes that parse must encode back to the same header and records, and
// cast (as --cast casts it) into an asciicast that is UTF-8
// with one event a line. Then the game is continued through the session
// --continue runs, from a journal store in memory, on a terminal with no
// keys: a refused journal must have nothing appended, and a continued one
// must parse, keep what it held, and (unless its game reached an ending)
// go on again. A crash, a hang, a sanitizer report or a broken property is
// a finding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "console/game_events.hpp"
#include "console/platform.hpp"
#include "journal/journal_format.hpp"
#include "journal/journal_store.hpp"
#include "journal/sessions.hpp"
#include "shell/play_game.hpp"
#include "support/scripted_terminal.hpp"

namespace {

using tg::journal::Contents;
using tg::journal::Record;
using tg::journal::SessionEnd;

[[noreturn]] void Finding(const std::string& what) {
    std::fprintf(stderr, "journal finding: %s\n", what.c_str());
    std::abort();
}

const tg::journal::GameRunner RunGame = [](tg::Platform& platform, std::uint32_t seed, tg::GameEvents* events, tg::InputJournal* journal) {
    return tg::PlayGame(platform, seed, events, journal);
};

bool SameRecord(const Record& a, const Record& b) {
    return a.kind == b.kind && a.code == b.code && a.text == b.text && a.delay == b.delay && a.check == b.check &&
           a.checksum == b.checksum;
}

void CheckEncodingRoundTrip(const Contents& contents) {
    std::string bytes = tg::journal::EncodeHeader(contents.header);
    for (const Record& record : contents.records) bytes += tg::journal::EncodeRecord(record);
    const Contents again = tg::journal::Parse(bytes);
    if (again.fault) Finding("the journal written again does not parse: " + again.fault->detail);
    if (again.header.seed != contents.header.seed || again.header.gameVersion != contents.header.gameVersion ||
        again.header.started != contents.header.started || again.header.border != contents.header.border) {
        Finding("the header written again reads back otherwise");
    }
    if (again.records.size() != contents.records.size()) Finding("the records written again are another number");
    for (std::size_t k = 0; k < contents.records.size(); ++k) {
        if (!SameRecord(again.records[k], contents.records[k])) {
            Finding("record " + std::to_string(k + 1) + " written again reads back otherwise");
        }
    }
}

// A journal kept in memory: the bytes given, read back, cut and appended to
// as a journal file would be.
class MemoryStore : public tg::journal::JournalStore, private tg::journal::JournalSink {
public:
    using Fault = tg::journal::Fault;
    explicit MemoryStore(std::string bytes) : bytes_(std::move(bytes)) {}

    tg::journal::Result<tg::journal::JournalSink*> Create(const tg::journal::Header&) override {
        return Fault{Fault::Kind::Unwritable, "the fuzzed journal is only gone on with"};
    }
    tg::journal::Result<std::string> Read() override { return bytes_; }
    tg::journal::Result<tg::journal::JournalSink*> Reopen(std::size_t size) override {
        if (size > bytes_.size()) return Fault{Fault::Kind::Unwritable, "cut beyond its end"};
        bytes_.resize(size);
        return static_cast<tg::journal::JournalSink*>(this);
    }

    const std::string& Bytes() const { return bytes_; }
    std::size_t Appended() const { return appended_; }

private:
    std::optional<Fault> Append(std::string_view bytes) override {
        bytes_ += bytes;
        appended_ += bytes.size();
        return std::nullopt;
    }
    std::optional<Fault> Sync() override { return std::nullopt; }

    std::string bytes_;
    std::size_t appended_ = 0;
};

// Whether a session refused the journal it was given (rather than failing
// otherwise, as a store that cannot be written does).
bool Refused(const SessionEnd& end) {
    return end.status == tg::journal::CouldNotPlay && end.fault && end.fault->kind != tg::journal::Fault::Kind::Unwritable;
}

std::string Said(const SessionEnd& end) { return end.fault ? end.fault->detail : std::string(); }

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

void CheckCast(const std::string& bytes) {
    MemoryStore store(bytes);
    const tg::journal::Result<std::string> recording = tg::journal::Cast(RunGame, store, 1.0);
    if (!recording) return;  // the game strayed from the journal
    if (recording->empty()) Finding("the asciicast is empty");
    if (!IsUtf8(*recording)) Finding("the asciicast is not UTF-8");
    for (const char c : *recording) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\n') Finding("a control byte stands raw in the asciicast");
    }
}

std::unique_ptr<tg::Platform> NoKeys() {
    auto terminal = std::make_unique<tg::ScriptedTerminal>();
    terminal->SetRecording(false);
    return terminal;
}

// Goes on with the journal as --continue does, on a terminal with no keys:
// the game ends at the first prompt after the replay, or the journal is
// refused. The journal's bytes as they are afterwards; nothing when refused.
std::optional<std::string> Continue(const std::string& bytes, const char* which) {
    MemoryStore store(bytes);
    const SessionEnd end = tg::journal::ContinueGame(RunGame, NoKeys, store);
    if (Refused(end)) {
        if (store.Appended() != 0) Finding(std::string("the refused ") + which + " journal was appended to");
        return std::nullopt;
    }
    if (end.status != 0 || end.fault) {
        Finding(std::string("continuing the ") + which + " journal ended with status " + std::to_string(end.status) +
                ": " + Said(end));
    }
    return store.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const Contents contents = tg::journal::Parse(bytes);
    if (contents.wholeBytes > size) Finding("more whole bytes than there are bytes");
    if (contents.fault) return 0;
    CheckEncodingRoundTrip(contents);
    CheckCast(bytes);
    const std::optional<std::string> continued = Continue(bytes, "fuzzed");
    if (!continued) return 0;
    // What a continued game wrote is a journal the game reads back and goes
    // on with again.
    const Contents again = tg::journal::Parse(*continued);
    if (again.fault) Finding("the continued journal does not parse: " + again.fault->detail);
    if (again.wholeBytes != continued->size()) Finding("the continued journal ends in a record cut short");
    if (continued->compare(0, contents.wholeBytes, bytes, 0, contents.wholeBytes) != 0) {
        Finding("continuing changed what the journal held");
    }
    // A journal that was cut short just after the input that reached an
    // ending goes live at that ending and is finished now.
    if (tg::journal::Finished(again)) return 0;
    if (!Continue(*continued, "continued")) Finding("the continued journal cannot be continued again");
    return 0;
}
