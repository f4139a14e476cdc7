// The state folder's place, and its journals in the order they were last
// played.
#include "journal/state_folder.hpp"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <tuple>

namespace tg::journal {

namespace fs = std::filesystem;

Result<fs::path> StateFolder(const Environment& environment) {
    const auto variable = [&](const char* name) -> std::string {
        const char* value = environment(name);
        return value ? value : "";
    };
#ifdef _WIN32
    const std::string local = variable("LOCALAPPDATA");
    if (!local.empty()) return fs::path(local) / "tender-gamble";
    return Fault{Fault::Kind::NotFound, "LOCALAPPDATA is not set"};
#else
    const std::string state = variable("XDG_STATE_HOME");
    if (!state.empty() && state.front() == '/') return fs::path(state) / "tender-gamble";
    const std::string home = variable("HOME");
    if (!home.empty()) return fs::path(home) / ".local" / "state" / "tender-gamble";
    return Fault{Fault::Kind::NotFound, "there is no home folder (HOME is not set)"};
#endif
}

std::vector<KeptJournal> KeptJournals(const fs::path& folder) {
    std::error_code failure;
    std::vector<std::pair<fs::file_time_type, fs::path>> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, failure)) {
        if (entry.path().extension() != JournalExtension || !entry.is_regular_file(failure)) continue;
        found.emplace_back(entry.last_write_time(failure), entry.path());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a > b; });
    // The file clock's epoch differs between standard libraries: times are
    // carried over to the system clock by their distance from now.
    const auto fileNow = fs::file_time_type::clock::now();
    const auto systemNow = std::chrono::system_clock::now();
    std::vector<KeptJournal> journals;
    journals.reserve(found.size());
    for (const auto& [written, path] : found) {
        using SystemDuration = std::chrono::system_clock::duration;
        const auto when = systemNow + std::chrono::duration_cast<SystemDuration>(written - fileNow);
        journals.push_back({path, std::chrono::system_clock::to_time_t(when)});
    }
    return journals;
}

}  // namespace tg::journal
