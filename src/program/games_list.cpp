// The list of kept games: each journal read without a lock, replayed
// silently, and put in a table of aligned columns, one line a game in 80
// columns.
#include "program/games_list.hpp"

#include <algorithm>
#include <ctime>
#include <vector>

#include "program/file_store.hpp"
#include "program/game_description.hpp"
#include "program/list_table.hpp"
#include "program/whole_number.hpp"

namespace tg {

using namespace journal;

namespace {

namespace fs = std::filesystem;

using Row = std::vector<std::string>;

constexpr std::size_t ListWidth = 80;
constexpr std::size_t LongestPlayerName = 15;  // a longer one is cut, and widens no other row
constexpr const char* PlayedElsewhere = "in another window";

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

// A damaged journal's one cell: why it does not replay, then the file, so
// that it can be found.
Row DamagedCell(const fs::path& file, const std::string& why) {
    return {"damaged: " + why + " (" + file.filename().string() + ")"};
}

Row ListedRow(const GameRunner& run, const KeptJournal& journal, std::size_t number, std::time_t now) {
    Row row{std::to_string(number), CompactDate(journal.lastPlayed, now)};
    const bool playedElsewhere = InUse(journal.path.string());
    const Result<std::string> bytes = ReadWholeFile(journal.path.string());
    Row cells;
    if (!bytes) {
        cells = playedElsewhere ? Row{"", "", "", PlayedElsewhere}
                                : DamagedCell(journal.path, "cannot be read: " + bytes.Error().detail);
    } else {
        const GameDescription description = Describe(run, *bytes);
        cells = description.standing == Standing::Damaged && !playedElsewhere
                    ? DamagedCell(journal.path, description.damage)
                    : ListCells(description, playedElsewhere);
    }
    row.insert(row.end(), cells.begin(), cells.end());
    return row;
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
        rows.push_back(ListedRow(run, journals[index], index + 1, now));
    }
    return "Your games in " + folder->string() + ", the most recently played first:\n" + Table(rows, ListWidth) +
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
