// The journal format: the record of one game, read back and written.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/banner_border.hpp"
#include "journal/fault.hpp"

namespace tg::journal {

// A journal is the record of one game: a text header, then the game's
// inputs in the order it consumed them, each with the milliseconds since
// the input before it. The seed and the inputs decide every byte the game
// shows, so they are all a continue or a replay needs. The format is
// described in docs/journal.md.
inline constexpr int FormatVersion = 1;
inline constexpr std::string_view FormatName = "tender-gamble journal";

// Delays are kept up to about twelve days; longer ones are cut to that.
inline constexpr std::uint32_t LongestDelay = (1u << 30) - 1;

// Every input carries the low bits of the checksum of what the game showed
// before it: two bits keep an input at a player's pace (up to 4 s) at three
// bytes, and a replay that drifts is caught within a few inputs.
inline constexpr int CheckBits = 2;
inline constexpr int CheckMask = (1 << CheckBits) - 1;

struct Header {
    int formatVersion = FormatVersion;
    std::string gameVersion;
    std::uint32_t seed = 0;
    std::string started;  // UTC, as YYYY-MM-DDTHH:MM:SSZ
    std::string border;   // the banner border the game was shown with (BorderName); empty for UTF-8
};

struct Record {
    enum class Kind {
        Key,         // one key code, with the text it was echoed as
        Word,        // one word of name entry
        Checkpoint,  // the game at its home menu, with a checksum of what it showed since the last one
        Ending,      // the game reached one of its endings
        TakeBack,    // the input before this one is withdrawn
    };
    Kind kind = Kind::Key;
    int code = 0;
    std::string text;            // a key's echo, or a word
    std::uint32_t delay = 0;     // milliseconds since the input before (up to LongestDelay)
    int check = 0;               // of an input: CheckBits bits of the checksum of what was shown before it
    std::uint32_t checksum = 0;  // of a checkpoint
};

std::string EncodeHeader(const Header& header);
std::string EncodeRecord(const Record& record);

// A journal as read back. Reading stops at the last whole record: a record
// cut short by a crash or a power loss is left out, and `wholeBytes` tells
// where it began.
struct Contents {
    Header header;
    std::vector<Record> records;
    std::vector<std::size_t> offsets;  // where each record starts
    std::size_t wholeBytes = 0;
    std::optional<Fault> fault;  // Damaged: why the bytes are not a journal this game reads
    std::size_t faultyRecord = 0;  // 1-based; 0 when the header is at fault
};

Contents Parse(std::string_view bytes);

// Whether the journal holds the record of one of the game's endings: a
// finished game is replayed, never continued.
bool Finished(const Contents& contents);

// The time as a header writes it: UTC, as YYYY-MM-DDTHH:MM:SSZ.
std::string UtcText(std::time_t time);

// The banner border's name in a header: empty for the UTF-8 double lines.
std::string BorderName(Border border);

// What a record is called in messages: "record 12 (byte 345)".
std::string DescribeRecord(const Contents& contents, std::size_t index);

}  // namespace tg::journal
