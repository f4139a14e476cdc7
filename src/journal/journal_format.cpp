// Writes and reads the journal format: its header, its records, and the
// checksum that ties a replay to what the game showed.
#include "journal/journal_format.hpp"

#include <algorithm>
#include <charconv>
#include <chrono>

#include "console/key_decoder.hpp"

namespace tg::journal {

namespace {

// The number in at least `width` digits.
std::string Padded(long long number, std::size_t width) {
    const std::string digits = std::to_string(number);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

// The banner borders a header may name: the UTF-8 double lines (named by
// no border line at all), ASCII, and code page 437. Replays show the border
// their own terminal can, so the name is only checked.
bool KnownBorder(std::string_view name) { return name.empty() || name == "ascii" || name == "cp437"; }

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

void PutNumber(std::string& out, std::uint32_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<char>(value));
}

void PutText(std::string& out, std::string_view text) {
    PutNumber(out, static_cast<std::uint32_t>(text.size()));
    out.append(text);
}

// Reads records from the bytes after the header; each Take returns false
// when the bytes end before the record does.
class RecordReader {
public:
    explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return position_ >= bytes_.size(); }
    std::size_t Position() const { return position_; }

    bool TakeByte(unsigned char& byte) {
        if (AtEnd()) return false;
        byte = static_cast<unsigned char>(bytes_[position_++]);
        return true;
    }

    bool TakeNumber(std::uint32_t& value, bool& tooLong) {
        value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            unsigned char byte;
            if (!TakeByte(byte)) return false;
            value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80)) return true;
        }
        tooLong = true;
        return true;
    }

    bool TakeText(std::string& text, bool& tooLong) {
        std::uint32_t size;
        if (!TakeNumber(size, tooLong)) return false;
        if (tooLong) return true;
        if (bytes_.size() - position_ < size) {
            // Cut short by a crash; but a length this far beyond the end is
            // damage, not a record that was being written.
            tooLong = size > LongestText;
            return tooLong;
        }
        text.assign(bytes_.substr(position_, size));
        position_ += size;
        return true;
    }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

enum class Outcome { Whole, Cut, Bad };

// An input ends with one number: its delay, then CheckBits bits of check.
void PutTiming(std::string& out, const Record& record) {
    PutNumber(out, std::min(record.delay, LongestDelay) << CheckBits |
                       static_cast<std::uint32_t>(record.check & CheckMask));
}

Outcome TakeTiming(RecordReader& reader, Record& record, bool& tooLong) {
    std::uint32_t timing;
    if (!reader.TakeNumber(timing, tooLong)) return Outcome::Cut;
    record.delay = timing >> CheckBits;
    record.check = static_cast<int>(timing & CheckMask);
    return tooLong ? Outcome::Bad : Outcome::Whole;
}

Outcome ReadExtended(RecordReader& reader, Record& record, bool& tooLong) {
    unsigned char tag;
    if (!reader.TakeByte(tag)) return Outcome::Cut;
    switch (tag) {
        case KeyTag: {
            unsigned char code;
            if (!reader.TakeByte(code)) return Outcome::Cut;
            record.kind = Record::Kind::Key;
            record.code = code;
            if (!reader.TakeText(record.text, tooLong)) return Outcome::Cut;
            if (tooLong) return Outcome::Bad;
            break;
        }
        case WordTag:
            record.kind = Record::Kind::Word;
            if (!reader.TakeText(record.text, tooLong)) return Outcome::Cut;
            if (tooLong) return Outcome::Bad;
            break;
        case EndingTag: record.kind = Record::Kind::Ending; return Outcome::Whole;
        case TakeBackTag: record.kind = Record::Kind::TakeBack; return Outcome::Whole;
        default: return Outcome::Bad;
    }
    return TakeTiming(reader, record, tooLong);
}

Outcome ReadRecord(RecordReader& reader, Record& record) {
    unsigned char first;
    if (!reader.TakeByte(first)) return Outcome::Cut;
    bool tooLong = false;
    if (first == CheckpointTag) {
        record.kind = Record::Kind::Checkpoint;
        std::uint32_t checksum = 0;
        for (int k = 0; k < 4; ++k) {
            unsigned char byte;
            if (!reader.TakeByte(byte)) return Outcome::Cut;
            checksum |= static_cast<std::uint32_t>(byte) << (8 * k);
        }
        record.checksum = checksum;
        return Outcome::Whole;
    }
    if (first == ExtendedTag) return ReadExtended(reader, record, tooLong);
    if (first > ExtendedTag) return Outcome::Bad;
    record.kind = Record::Kind::Key;
    record.code = first;
    record.text = EchoText(first);
    return TakeTiming(reader, record, tooLong);
}

// "key value" lines up to an empty line; why not, when they are no header
// this game reads.
std::optional<std::string> ParseHeader(std::string_view text, Header& header) {
    bool named = false, seeded = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!named) {
            const std::string prefix = std::string(FormatName) + " ";
            if (line.substr(0, prefix.size()) != prefix) {
                return "it is not a journal of this game";
            }
            const std::string_view number = line.substr(prefix.size());
            const auto [stop, failure] = std::from_chars(number.data(), number.data() + number.size(),
                                                         header.formatVersion);
            if (failure != std::errc() || stop != number.data() + number.size() || header.formatVersion < 1) {
                return "its format line is damaged";
            }
            if (header.formatVersion > FormatVersion) {
                return "it was written in journal format " + std::to_string(header.formatVersion) +
                       " by a newer version of the game; this one reads format " + std::to_string(FormatVersion);
            }
            named = true;
            continue;
        }
        const std::size_t blank = line.find(' ');
        const std::string_view key = line.substr(0, blank);
        const std::string_view value = blank == std::string_view::npos ? std::string_view{} : line.substr(blank + 1);
        if (key == "game") header.gameVersion = value;
        if (key == "border") {
            if (!KnownBorder(value)) {
                return "its banner border \"" + std::string(value) + "\" is not one this game draws";
            }
            header.border = value;
        }
        if (key == "started") header.started = value;
        if (key == "seed") {
            const auto [stop, failure] = std::from_chars(value.data(), value.data() + value.size(), header.seed);
            seeded = failure == std::errc() && stop == value.data() + value.size() && !value.empty();
            if (!seeded) {
                return "its seed is damaged";
            }
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
    std::string out;
    switch (record.kind) {
        case Record::Kind::Key:
            if (record.code >= 0 && record.code < CheckpointTag && record.text == EchoText(record.code)) {
                out.push_back(static_cast<char>(record.code));
            } else {
                out.push_back(static_cast<char>(ExtendedTag));
                out.push_back(KeyTag);
                out.push_back(static_cast<char>(record.code));
                PutText(out, record.text);
            }
            PutTiming(out, record);
            break;
        case Record::Kind::Word:
            out.push_back(static_cast<char>(ExtendedTag));
            out.push_back(WordTag);
            PutText(out, record.text);
            PutTiming(out, record);
            break;
        case Record::Kind::Checkpoint:
            out.push_back(static_cast<char>(CheckpointTag));
            for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((record.checksum >> (8 * k)) & 0xFF));
            break;
        case Record::Kind::Ending:
            out.push_back(static_cast<char>(ExtendedTag));
            out.push_back(EndingTag);
            break;
        case Record::Kind::TakeBack:
            out.push_back(static_cast<char>(ExtendedTag));
            out.push_back(TakeBackTag);
            break;
    }
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
        if (bytes.substr(0, FormatName.size()) != FormatName && !bytes.empty()) {
            return damaged("it is not a journal of this game");
        }
        return damaged(bytes.empty() ? "it is empty" : "its header is incomplete");
    }
    if (std::optional<std::string> why = ParseHeader(bytes.substr(0, headerEnd + 1), contents.header)) {
        return damaged(*why);
    }
    const std::size_t start = headerEnd + 2;
    RecordReader reader(bytes.substr(start));
    contents.wholeBytes = start;
    while (!reader.AtEnd()) {
        Record record;
        const std::size_t offset = start + reader.Position();
        const Outcome outcome = ReadRecord(reader, record);
        if (outcome == Outcome::Cut) break;
        if (outcome == Outcome::Bad) {
            contents.offsets.push_back(offset);
            contents.faultyRecord = contents.offsets.size();
            const std::string why = "its " + DescribeRecord(contents, contents.faultyRecord - 1) + " is damaged";
            contents.offsets.pop_back();
            return damaged(why);
        }
        contents.records.push_back(std::move(record));
        contents.offsets.push_back(offset);
        contents.wholeBytes = start + reader.Position();
    }
    return contents;
}

bool Finished(const Contents& contents) {
    return std::any_of(contents.records.begin(), contents.records.end(),
                       [](const Record& record) { return record.kind == Record::Kind::Ending; });
}

// Worked out from the count of seconds with no help from the C library,
// whose conversions load the time zone (and its formatting code): a game
// starting up need not wait for either.
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
