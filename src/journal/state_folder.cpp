// The state folder, journal names and the search for the latest
// unfinished game.
#include "journal/state_folder.hpp"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <vector>

#include "journal/journal_file.hpp"
#include "journal/journal_format.hpp"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tg::journal {

namespace fs = std::filesystem;

namespace {

constexpr const char* Extension = ".journal";

bool CutInsideHeader(std::string_view bytes) {
    if (bytes.find("\n\n") != std::string_view::npos) return false;
    if (bytes.size() <= FormatName.size()) return FormatName.substr(0, bytes.size()) == bytes;
    return bytes.substr(0, FormatName.size()) == FormatName;
}

bool WorthContinuing(const fs::path& file) {
    if (InUse(file.string())) return false;
    std::string error;
    const std::optional<std::string> bytes = ReadWholeFile(file.string(), error);
    if (!bytes) return true;
    // A file cut off inside its header (even before its first byte: made,
    // then the game was gone) holds nothing to go on with.
    if (CutInsideHeader(*bytes)) return false;
    const Contents contents = Parse(*bytes);
    return !contents.error.empty() || !Finished(contents);
}

// The number in at least `width` digits.
std::string Padded(long long number, std::size_t width) {
    const std::string digits = std::to_string(number);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

}  // namespace

std::optional<fs::path> StateFolder(const Environment& environment, std::string& error) {
    const auto variable = [&](const char* name) -> std::string {
        const char* value = environment(name);
        return value ? value : "";
    };
#ifdef _WIN32
    const std::string local = variable("LOCALAPPDATA");
    if (!local.empty()) return fs::path(local) / "tender-gamble";
    error = "LOCALAPPDATA is not set";
    return std::nullopt;
#else
    const std::string state = variable("XDG_STATE_HOME");
    if (!state.empty() && state.front() == '/') return fs::path(state) / "tender-gamble";
    const std::string home = variable("HOME");
    if (!home.empty()) return fs::path(home) / ".local" / "state" / "tender-gamble";
    error = "there is no home folder (HOME is not set)";
    return std::nullopt;
#endif
}

bool MakeFolder(const fs::path& folder, std::string& error) {
    std::error_code failure;
    if (fs::is_directory(folder, failure)) return true;
#ifdef _WIN32
    fs::create_directories(folder, failure);
#else
    // Each folder made here is private, as the base folders of state are.
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (fs::is_directory(made, failure)) continue;
        if (mkdir(made.c_str(), 0700) != 0 && !fs::is_directory(made, failure)) {
            failure = std::error_code(errno, std::generic_category());
            break;
        }
        failure.clear();
    }
#endif
    if (fs::is_directory(folder)) return true;
    error = "cannot make " + folder.string() + ": " + (failure ? failure.message() : "not a folder");
    return false;
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

std::string JournalName(std::time_t started, std::uint32_t seed, int copy) {
    std::string stamp = UtcText(started);
    std::replace(stamp.begin(), stamp.end(), ':', '-');  // colons are not allowed in Windows names
    return stamp + "-seed-" + std::to_string(seed) + (copy > 1 ? "-" + std::to_string(copy) : "") + Extension;
}

std::optional<fs::path> LatestUnfinished(const fs::path& folder) {
    std::error_code failure;
    std::vector<std::pair<fs::file_time_type, fs::path>> journals;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, failure)) {
        if (entry.path().extension() != Extension || !entry.is_regular_file(failure)) continue;
        journals.emplace_back(entry.last_write_time(failure), entry.path());
    }
    std::sort(journals.begin(), journals.end(), [](const auto& a, const auto& b) { return a > b; });
    for (const auto& [written, path] : journals) {
        if (WorthContinuing(path)) return path;
    }
    return std::nullopt;
}

}  // namespace tg::journal
