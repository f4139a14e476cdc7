// Journal files as the tests find them on disk.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "journal/journal_format.hpp"

namespace tg::e2e {

// A state folder of one test's own (what XDG_STATE_HOME names), removed
// with everything in it at the end.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The environment entry that points the game at this folder.
    std::string StateHome() const { return "XDG_STATE_HOME=" + path_.string(); }
    // Where the game keeps its journals under this state folder.
    std::filesystem::path Journals() const { return path_ / "tender-gamble"; }

private:
    std::filesystem::path path_;
};

// The journals in a folder, oldest name first.
std::vector<std::filesystem::path> JournalsIn(const std::filesystem::path& folder);

std::string ReadFile(const std::filesystem::path& file);
void WriteFile(const std::filesystem::path& file, const std::string& bytes);
std::size_t FileSize(const std::filesystem::path& file);

// How many inputs a journal holds once the ones taken back are left out.
std::size_t InputCount(const journal::Contents& contents);

// The records without their timing, one text line each, for comparing two
// journals of the same game.
std::vector<std::string> RecordsWithoutTiming(const journal::Contents& contents);

}  // namespace tg::e2e
