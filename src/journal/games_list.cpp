// The list of kept games: each journal read without a lock, replayed
// silently, and put in a table of aligned columns.
#include "journal/games_list.hpp"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <vector>

#include "journal/game_description.hpp"
#include "journal/journal_file.hpp"
#include "journal/state_folder.hpp"

namespace tg::journal {

namespace {

namespace fs = std::filesystem;

using Row = std::vector<std::string>;

std::string LocalTimeText(std::time_t time) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &time);
#else
    localtime_r(&time, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

std::string StandingWords(Standing standing) {
    switch (standing) {
        case Standing::Unfinished: return "unfinished";
        case Standing::Quit: return "left with Quit";
        case Standing::Escaped: return "left with Escape";
        case Standing::ReunionWon: return "ended: the reunion won";
        case Standing::ReunionLost: return "ended: the reunion lost";
        case Standing::Damaged: return "damaged";
    }
    return {};
}

// The cells after the number and the time: the game as it stood at its
// last home menu, and how it stands now.
Row Cells(const GameDescription& description, bool playedElsewhere) {
    const std::string standing =
        playedElsewhere ? "being played in another window" : StandingWords(description.standing);
    if (!description.rest) return {"", "", "in the opening", "", standing};
    const RestSummary& rest = *description.rest;
    const std::string closest = rest.closest.empty() ? "nobody yet" : rest.closest + " (" + rest.closestStage + ")";
    return {rest.mode, rest.player, rest.clock, closest, standing};
}

// A damaged journal's one cell: the file, so that it can be found, and why
// it does not replay.
Row DamagedCell(const fs::path& file, const std::string& why) {
    return {"damaged (" + file.filename().string() + "): " + why};
}

Row ListedRow(const GameRunner& run, const KeptJournal& journal, std::size_t number) {
    Row row{std::to_string(number), LocalTimeText(journal.lastPlayed)};
    const bool playedElsewhere = InUse(journal.path.string());
    std::string error;
    const std::optional<std::string> bytes = ReadWholeFile(journal.path.string(), error);
    Row cells;
    if (!bytes) {
        cells = playedElsewhere ? Row{"", "", "", "", "being played in another window"}
                                : DamagedCell(journal.path, "cannot be read: " + error);
    } else {
        const GameDescription description = Describe(run, *bytes);
        cells = description.standing == Standing::Damaged && !playedElsewhere
                    ? DamagedCell(journal.path, description.damage)
                    : Cells(description, playedElsewhere);
    }
    row.insert(row.end(), cells.begin(), cells.end());
    return row;
}

// The rows in aligned columns, two spaces apart; a row's last cell is not
// padded and does not widen its column. Numbers are aligned to the right.
std::string Table(const std::vector<Row>& rows) {
    std::vector<std::size_t> widths;
    for (const Row& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size());
        for (std::size_t column = 0; column + 1 < row.size(); ++column) {
            widths[column] = std::max(widths[column], row[column].size());
        }
    }
    std::string text;
    for (const Row& row : rows) {
        std::string line = std::string(widths[0] - row[0].size(), ' ') + row[0];
        for (std::size_t column = 1; column < row.size(); ++column) {
            const bool last = column + 1 == row.size();
            line += "  " + row[column] + (last ? "" : std::string(widths[column] - row[column].size(), ' '));
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        text += line + "\n";
    }
    return text;
}

std::optional<std::size_t> ListNumber(const std::string& text) {
    std::size_t number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return number;
}

}  // namespace

std::vector<std::string> DescriptionCells(const GameDescription& description) {
    if (description.standing == Standing::Damaged) return {"damaged: " + description.damage};
    return Cells(description, false);
}

std::string GamesList(const GameRunner& run, const Environment& environment) {
    std::string error;
    const std::optional<fs::path> folder = StateFolder(environment, error);
    if (!folder) return "No games are kept: " + error + ".\n";
    const std::vector<KeptJournal> journals = KeptJournals(*folder);
    if (journals.empty()) {
        return "No games kept in " + folder->string() + " yet: start one with 'tender-gamble'.\n";
    }
    std::vector<Row> rows;
    for (std::size_t index = 0; index < journals.size(); ++index) {
        rows.push_back(ListedRow(run, journals[index], index + 1));
    }
    return "Your games in " + folder->string() + ", the most recently played first:\n" + Table(rows) +
           "Go on with game N: tender-gamble --continue N; watch it again: tender-gamble --replay N\n";
}

std::optional<std::string> JournalNamed(const std::string& fileOrNumber, const Environment& environment,
                                        std::string& why) {
    const std::optional<std::size_t> number = ListNumber(fileOrNumber);
    if (!number) return fileOrNumber;
    std::string error;
    const std::optional<fs::path> folder = StateFolder(environment, error);
    const std::vector<KeptJournal> journals = folder ? KeptJournals(*folder) : std::vector<KeptJournal>{};
    if (*number >= 1 && *number <= journals.size()) return journals[*number - 1].path.string();
    why = "there is no game " + fileOrNumber + " in the list of kept games (" +
          (journals.empty() ? std::string("there are none") : "1 to " + std::to_string(journals.size())) +
          "; 'tender-gamble --games' lists them)";
    return std::nullopt;
}

}  // namespace tg::journal
