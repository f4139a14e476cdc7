#include "journal/state_folder.hpp"

#include <algorithm>
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

bool WorthContinuing(const fs::path& file) {
    if (InUse(file.string())) return false;
    std::string error;
    const std::optional<std::string> bytes = ReadWholeFile(file.string(), error);
    if (!bytes) return true;
    const Contents contents = Parse(*bytes);
    // A file cut off inside its header holds nothing to go on with.
    if (contents.errorRecord == 0 && bytes->find("\n\n") == std::string::npos &&
        bytes->rfind(FormatName, 0) == 0) {
        return false;
    }
    return !contents.error.empty() || !Finished(contents);
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

std::string UtcText(std::time_t time) {
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &time);
#else
    gmtime_r(&time, &parts);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
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
