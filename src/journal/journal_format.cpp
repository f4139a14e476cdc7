// Writes and reads the journal format: its header, its records, and the
// checksum that ties a replay to what the game showed.
#include "journal/journal_format.hpp"

#include <algorithm>
#include <chrono>

#include "console/key_decoder.hpp"
#include "journal/whole_number.hpp"

namespace tg::journal {

namespace {

// The first byte of a record: a key code below CheckpointTag stands for
// itself; the two tags above it start the other records.
constexpr unsigned char CheckpointTag = 0xFD;
constexpr unsigned char ExtendedTag = 0xFE;
constexpr char KeyTag = 'K';
constexpr char WordTag = 'W';
constexpr char EndingTag = 'E';
constexpr char TakeBackTag = 'U';
// A text of any length that is all there is whole (a name read from a pipe
// has no limit); one claiming more than this past the end of the file is
// taken for a damaged length rather than a record cut short.
constexpr std::uint32_t LongestText = 1u << 20;

// The number in at least `width` digits.
std::string Padded(long long number, std::size_t width) {
    const std::string digits = std::to_string(number);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

void PutNumber(std::string& out, std::uint32_t value) {
    for (; value >= 0x80; value >>= 7) out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    out.push_back(static_cast<char>(value));
}

// Reads the records after the header. Running past the end marks it `cut`
// (the record was torn by a crash); bytes no record can hold mark it `bad`.
struct RecordReader {
    std::string_view bytes;
    std::size_t at = 0;
    bool cut = false;
    bool bad = false;

    unsigned char Byte() {
        if (at < bytes.size()) return static_cast<unsigned char>(bytes[at++]);
        cut = true;
        return 0;
    }

    // Little-endian groups of seven bits; five groups at most.
    std::uint32_t Number() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 35 && !cut; shift += 7) {
            const unsigned char byte = Byte();
            value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80)) return value;
        }
        bad = !cut;
        return value;
    }

    std::string Text() {
        const std::uint32_t size = Number();
        if (cut || bad) return {};
        if (bytes.size() - at < size) {
            (size > LongestText ? bad : cut) = true;
            return {};
        }
        at += size;
        return std::string(bytes.substr(at - size, size));
    }

    // An input ends with one number: its delay, then CheckBits bits of check.
    void Timing(Record& record) {
        const std::uint32_t timing = Number();
        record.delay = timing >> CheckBits;
        record.check = static_cast<int>(timing & CheckMask);
    }
};

void ReadExtended(RecordReader& reader, Record& record) {
    switch (reader.Byte()) {
        case KeyTag:
            record.code = reader.Byte();
            record.text = reader.Text();
            break;
        case WordTag:
            record.kind = Record::Kind::Word;
            record.text = reader.Text();
            break;
        case EndingTag: record.kind = Record::Kind::Ending; return;
        case TakeBackTag: record.kind = Record::Kind::TakeBack; return;
        default: reader.bad = !reader.cut; return;
    }
    if (!reader.cut && !reader.bad) reader.Timing(record);
}

Record ReadRecord(RecordReader& reader) {
    Record record;
    const unsigned char first = reader.Byte();
    if (first == CheckpointTag) {
        record.kind = Record::Kind::Checkpoint;
        for (int k = 0; k < 4; ++k) record.checksum |= static_cast<std::uint32_t>(reader.Byte()) << (8 * k);
    } else if (first == ExtendedTag) {
        ReadExtended(reader, record);
    } else if (first > ExtendedTag) {
        reader.bad = true;
    } else {
        record.code = first;
        record.text = EchoText(first);
        reader.Timing(record);
    }
    return record;
}

// The format line: why not, when it is not one this game reads.
std::optional<std::string> ParseFormatLine(std::string_view line, Header& header) {
    const std::string prefix = std::string(FormatName) + " ";
    if (line.substr(0, prefix.size()) != prefix) return "it is not a journal of this game";
    const std::optional<int> version = WholeNumber<int>(line.substr(prefix.size()));
    if (!version || *version < 1) return "its format line is damaged";
    header.formatVersion = *version;
    if (header.formatVersion <= FormatVersion) return std::nullopt;
    return "it was written in journal format " + std::to_string(header.formatVersion) +
           " by a newer version of the game; this one reads format " + std::to_string(FormatVersion);
}

// The format line, then "key value" lines; why not, when they are no header
// this game reads. The banner borders a header may name are the UTF-8
// double lines (no border line), ASCII and code page 437; a replay shows the
// border its own terminal can, so the name is only checked.
std::optional<std::string> ParseHeader(std::string_view text, Header& header) {
    const std::size_t firstEnd = text.find('\n');
    if (std::optional<std::string> why = ParseFormatLine(text.substr(0, firstEnd), header)) return why;
    bool seeded = false;
    for (std::size_t at = firstEnd + 1; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        const std::size_t blank = std::min(line.find(' '), line.size());
        const std::string_view key = line.substr(0, blank);
        const std::string_view value = line.substr(std::min(blank + 1, line.size()));
        if (key == "game") header.gameVersion = value;
        if (key == "started") header.started = value;
        if (key == "border") {
            if (!value.empty() && value != "ascii" && value != "cp437") {
                return "its banner border \"" + std::string(value) + "\" is not one this game draws";
            }
            header.border = value;
        }
        if (key == "seed") {
            const std::optional<std::uint32_t> seed = WholeNumber<std::uint32_t>(value);
            if (!seed) return "its seed is damaged";
            header.seed = *seed;
            seeded = true;
        }
    }
    if (!seeded) return "its header names no seed";
    return std::nullopt;
}

}  // namespace

std::string EncodeHeader(const Header& header) {
    return std::string(FormatName) + " " + std::to_string(header.formatVersion) + "\n" +
           "game " + header.gameVersion + "\n" +
           "seed " + std::to_string(header.seed) + "\n" +
           (header.border.empty() ? "" : "border " + header.border + "\n") +
           "started " + header.started + "\n\n";
}

std::string EncodeRecord(const Record& record) {
    using Kind = Record::Kind;
    std::string out;
    if (record.kind == Kind::Checkpoint) {
        out.push_back(static_cast<char>(CheckpointTag));
        for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((record.checksum >> (8 * k)) & 0xFF));
        return out;
    }
    const bool plainKey = record.kind == Kind::Key && record.code >= 0 && record.code < CheckpointTag &&
                          record.text == EchoText(record.code);
    if (plainKey) {
        out.push_back(static_cast<char>(record.code));
    } else {
        const char tags[] = {KeyTag, WordTag, 0, EndingTag, TakeBackTag};
        out.push_back(static_cast<char>(ExtendedTag));
        out.push_back(tags[static_cast<int>(record.kind)]);
        if (record.kind == Kind::Key) out.push_back(static_cast<char>(record.code));
        if (record.kind == Kind::Ending || record.kind == Kind::TakeBack) return out;
        PutNumber(out, static_cast<std::uint32_t>(record.text.size()));
        out.append(record.text);
    }
    const auto check = static_cast<std::uint32_t>(record.check & CheckMask);
    PutNumber(out, std::min(record.delay, LongestDelay) << CheckBits | check);
    return out;
}

Contents Parse(std::string_view bytes) {
    Contents contents;
    const auto damaged = [&contents](std::string why) {
        contents.fault = Fault{Fault::Kind::Damaged, std::move(why)};
        return contents;
    };
    const std::size_t headerEnd = bytes.find("\n\n");
    if (headerEnd == std::string_view::npos) {
        if (bytes.empty()) return damaged("it is empty");
        if (bytes.substr(0, FormatName.size()) != FormatName) return damaged("it is not a journal of this game");
        return damaged("its header is incomplete");
    }
    if (std::optional<std::string> why = ParseHeader(bytes.substr(0, headerEnd + 1), contents.header)) {
        return damaged(*why);
    }
    const std::size_t start = headerEnd + 2;
    RecordReader reader{bytes.substr(start)};
    contents.wholeBytes = start;
    while (reader.at < reader.bytes.size()) {
        contents.offsets.push_back(start + reader.at);
        Record record = ReadRecord(reader);
        if (reader.bad) {
            contents.faultyRecord = contents.offsets.size();
            const std::string why = "its " + DescribeRecord(contents, contents.faultyRecord - 1) + " is damaged";
            contents.offsets.pop_back();
            return damaged(why);
        }
        if (reader.cut) {
            contents.offsets.pop_back();
            break;
        }
        contents.records.push_back(std::move(record));
        contents.wholeBytes = start + reader.at;
    }
    return contents;
}

bool Finished(const Contents& contents) {
    return std::any_of(contents.records.begin(), contents.records.end(),
                       [](const Record& record) { return record.kind == Record::Kind::Ending; });
}

// Worked out from the count of seconds with no help from the C library,
// whose conversions load the time zone (and its formatting code, which a
// game starting up would map just for this): a game need not wait for either.
std::string UtcText(std::time_t time) {
    using namespace std::chrono;
    const sys_seconds moment{seconds{time}};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss<seconds> clock{moment - day};
    return Padded(static_cast<int>(date.year()), 4) + "-" + Padded(static_cast<unsigned>(date.month()), 2) + "-" +
           Padded(static_cast<unsigned>(date.day()), 2) + "T" + Padded(clock.hours().count(), 2) + ":" +
           Padded(clock.minutes().count(), 2) + ":" + Padded(clock.seconds().count(), 2) + "Z";
}

std::string BorderName(Border border) {
    switch (border) {
        case Border::Ascii: return "ascii";
        case Border::Cp437: return "cp437";
        default: return "";
    }
}

std::string DescribeRecord(const Contents& contents, std::size_t index) {
    const std::size_t offset = index < contents.offsets.size() ? contents.offsets[index] : contents.wholeBytes;
    return "record " + std::to_string(index + 1) + " (byte " + std::to_string(offset) + ")";
}

}  // namespace tg::journal
