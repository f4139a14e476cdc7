// Prints what journals hold, one JSON object a line, for bench/measure.py:
// inputs, records of each kind, and bytes: in all, in the header, in the
// records, and in the records had every input come at a player's pace.
// Usage: tender-bench-journal-stats FILE...
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "journal/journal_format.hpp"
#include "journal/recorded_inputs.hpp"

namespace {

// A player's time between keys: every delay from 128 ms to 16.4 s is
// written in the same two bytes, so the exact figure does not matter.
constexpr std::uint32_t PlayerPaceMilliseconds = 2000;

bool Report(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream read;
    read << in.rdbuf();
    const std::string bytes = std::move(read).str();
    const tg::journal::Contents contents = tg::journal::Parse(bytes);
    if (!in || contents.fault) {
        std::fprintf(stderr, "%s: %s\n", path, contents.fault ? contents.fault->detail.c_str() : "cannot be read");
        return false;
    }
    using Kind = tg::journal::Record::Kind;
    long counts[5] = {};
    std::size_t paced = 0;
    for (tg::journal::Record record : contents.records) {
        ++counts[static_cast<int>(record.kind)];
        if (record.kind == Kind::Key || record.kind == Kind::Word) record.delay = PlayerPaceMilliseconds;
        paced += tg::journal::EncodeRecord(record).size();
    }
    const std::size_t header = contents.offsets.empty() ? contents.wholeBytes : contents.offsets.front();
    std::printf("{\"inputs\": %zu, \"keys\": %ld, \"words\": %ld, \"home_menus\": %ld, "
                "\"endings\": %ld, \"take_backs\": %ld, \"bytes\": %zu, \"header_bytes\": %zu, "
                "\"record_bytes\": %zu, \"paced_record_bytes\": %zu}\n",
                tg::journal::RecordedInputs(contents).InputCount(), counts[static_cast<int>(Kind::Key)],
                counts[static_cast<int>(Kind::Word)], counts[static_cast<int>(Kind::Checkpoint)],
                counts[static_cast<int>(Kind::Ending)], counts[static_cast<int>(Kind::TakeBack)], bytes.size(), header,
                contents.wholeBytes - header, paced);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE...\n", argv[0]);
        return 2;
    }
    bool good = true;
    for (int k = 1; k < argc; ++k) good = Report(argv[k]) && good;
    return good ? 0 : 1;
}
