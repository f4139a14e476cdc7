// The list of kept games: each journal read without a lock, replayed
// silently, and put in a table of aligned columns, one line a game in 80
// columns, cut with an ellipsis rather than wrapped.
#include "program/games_list.hpp"

#include <algorithm>
#include <ctime>
#include <vector>

#include "journal/whole_number.hpp"
#include "program/file_store.hpp"
#include "program/game_description.hpp"

namespace tg {

using namespace journal;

namespace {

namespace fs = std::filesystem;

using Row = std::vector<std::string>;

constexpr std::size_t ListWidth = 80;
constexpr std::size_t LongestPlayerName = 15;  // a longer one is cut, and widens no other row
constexpr const char* PlayedElsewhere = "in another window";

bool ContinuesACharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The columns a UTF-8 text takes: one a character.
std::size_t Columns(std::string_view text) {
    return text.size() - static_cast<std::size_t>(std::count_if(text.begin(), text.end(), ContinuesACharacter));
}

// The text cut to `width` columns, its last one an ellipsis, when it is
// wider.
std::string Shortened(const std::string& text, std::size_t width) {
    if (Columns(text) <= width) return text;
    std::size_t end = 0;
    for (std::size_t kept = 0; kept + 1 < width; ++kept) {
        do ++end;
        while (end < text.size() && ContinuesACharacter(text[end]));
    }
    while (end > 0 && text[end - 1] == ' ') --end;
    return text.substr(0, end) + "\u2026";
}

// The rows in columns two spaces apart, the first aligned to the right; a
// row's last cell is not padded and does not widen its column.
std::string Table(const std::vector<Row>& rows) {
    std::vector<std::size_t> widths;  // the widest cell of each column but the rows' last ones
    for (const Row& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size());
        for (std::size_t column = 0; column + 1 < row.size(); ++column) {
            widths[column] = std::max(widths[column], Columns(row[column]));
        }
    }
    const auto padding = [&widths](const std::string& cell, std::size_t column) {
        return std::string(widths[column] - std::min(widths[column], Columns(cell)), ' ');
    };
    std::string text;
    for (const Row& row : rows) {
        std::string line = padding(row[0], 0) + row[0];
        for (std::size_t column = 1; column < row.size(); ++column) {
            line += "  " + row[column] + (column + 1 == row.size() ? "" : padding(row[column], column));
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        text += Shortened(line, ListWidth) + "\n";
    }
    return text;
}

std::tm LocalTime(std::time_t time) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &time);
#else
    localtime_r(&time, &local);
#endif
    return local;
}

// When a game was last played, as short as tells it apart: the time for
// today, the day for this year, the whole date for an earlier year.
std::string CompactDate(std::time_t time, std::time_t now) {
    const std::tm then = LocalTime(time);
    const std::tm today = LocalTime(now);
    const bool thisYear = then.tm_year == today.tm_year;
    const char* format = !thisYear ? "%Y-%m-%d" : then.tm_yday != today.tm_yday ? "%b %d" : "%H:%M";
    char text[32];
    std::strftime(text, sizeof text, format, &then);
    std::string date = text;
    if (date.size() == 6 && date[4] == '0') date[4] = ' ';  // "Dec  5", as a calendar has it
    return date;
}

// The day and time in the game without the weekday ("Day 3, Wednesday
// 2:30pm" becomes "Day 3 2:30pm"): where a game stands, in the room there is.
std::string CompactClock(const std::string& clock) {
    const std::size_t comma = clock.find(", ");
    const std::size_t time = clock.rfind(' ');
    if (comma == std::string::npos || time == std::string::npos || time < comma) return clock;
    return clock.substr(0, comma) + clock.substr(time);
}

// How a game stands, in the few words the list has room for.
std::string ShortStanding(Standing standing) {
    switch (standing) {
        case Standing::Unfinished: return "unfinished";
        case Standing::Quit: return "left: Quit";
        case Standing::Escaped: return "left: Escape";
        case Standing::ReunionWon: return "reunion won";
        case Standing::ReunionLost: return "reunion lost";
        case Standing::Damaged: return "damaged";
    }
    return {};
}

// A game's cells in the list after its number and date: mode, player,
// day, how it stands, and the person furthest along last, the stage
// before the name, so that a line cut to fit keeps the stage.
Row ListCells(const GameDescription& description, bool playedElsewhere) {
    const std::string standing = playedElsewhere ? PlayedElsewhere : ShortStanding(description.standing);
    if (!description.rest) return {"", "", "in the opening", standing};
    const RestSummary& rest = *description.rest;
    const std::string closest = rest.closest.empty() ? "nobody yet" : rest.closestStage + ": " + rest.closest;
    return {rest.mode, Shortened(rest.player, LongestPlayerName), CompactClock(rest.clock), standing, closest};
}

// A game's cells after its number and date.
Row GameCells(const GameRunner& run, const fs::path& file) {
    // A damaged journal's one cell: why it does not replay, then the file,
    // so that it can be found.
    const auto damaged = [&file](const std::string& why) {
        return Row{"damaged: " + why + " (" + file.filename().string() + ")"};
    };
    const bool playedElsewhere = InUse(file.string());
    const Result<std::string> bytes = ReadWholeFile(file.string());
    if (!bytes && playedElsewhere) return {"", "", "", PlayedElsewhere};
    if (!bytes) return damaged("cannot be read: " + bytes.Error().detail);
    const GameDescription description = Describe(run, *bytes);
    if (description.standing == Standing::Damaged && !playedElsewhere) return damaged(description.damage);
    return ListCells(description, playedElsewhere);
}

}  // namespace

std::string GamesList(const GameRunner& run, const Environment& environment, const std::string& command) {
    const Result<fs::path> folder = StateFolder(environment);
    if (!folder) return "No games are kept: " + folder.Error().detail + ".\n";
    const std::vector<KeptJournal> journals = KeptJournals(*folder);
    if (journals.empty()) {
        return "No games kept in " + folder->string() + " yet: start one with '" + command + "'.\n";
    }
    const std::time_t now = std::time(nullptr);
    std::vector<Row> rows;
    for (std::size_t index = 0; index < journals.size(); ++index) {
        rows.push_back({std::to_string(index + 1), CompactDate(journals[index].lastPlayed, now)});
        const Row cells = GameCells(run, journals[index].path);
        rows.back().insert(rows.back().end(), cells.begin(), cells.end());
    }
    return "Your games in " + folder->string() + ", the most recently played first:\n" + Table(rows) +
           "Go on with game N: " + command + " --continue N\nWatch it again: " + command + " --replay N\n";
}

Result<std::string> JournalNamed(const std::string& fileOrNumber, const Environment& environment) {
    const std::optional<std::size_t> number = WholeNumber<std::size_t>(fileOrNumber);
    if (!number) return fileOrNumber;
    const Result<fs::path> folder = StateFolder(environment);
    const std::vector<KeptJournal> journals = folder ? KeptJournals(*folder) : std::vector<KeptJournal>{};
    if (*number >= 1 && *number <= journals.size()) return journals[*number - 1].path.string();
    return Fault{Fault::Kind::NotFound,
                 "there is no game " + fileOrNumber + " in the list of kept games (" +
                     (journals.empty() ? std::string("there are none") : "1 to " + std::to_string(journals.size())) +
                     "; 'tender-gamble --games' lists them)"};
}

}  // namespace tg
