// Journal files as the tests find them on disk: temporary state folders,
// the journals in a folder, their bytes and records.
#include "journal_on_disk.hpp"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "journal/recorded_inputs.hpp"

namespace tg::e2e {

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder() {
    char pattern[] = "/tmp/tender-gamble-journal-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::vector<fs::path> JournalsIn(const fs::path& folder) {
    std::vector<fs::path> journals;
    std::error_code failure;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, failure)) {
        if (entry.path().extension() == ".journal") journals.push_back(entry.path());
    }
    std::sort(journals.begin(), journals.end());
    return journals;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void WriteFile(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::size_t FileSize(const fs::path& file) {
    std::error_code failure;
    const auto size = fs::file_size(file, failure);
    return failure ? 0 : static_cast<std::size_t>(size);
}

std::size_t InputCount(const journal::Contents& contents) { return journal::RecordedInputs(contents).InputCount(); }

std::vector<std::string> RecordsWithoutTiming(const journal::Contents& contents) {
    using Kind = journal::Record::Kind;
    std::vector<std::string> lines;
    for (const journal::Record& record : contents.records) {
        switch (record.kind) {
            case Kind::Key: lines.push_back("key " + std::to_string(record.code) + " " + record.text); break;
            case Kind::Word: lines.push_back("word " + record.text); break;
            case Kind::Checkpoint: lines.push_back("home menu " + std::to_string(record.checksum)); break;
            case Kind::Ending: lines.push_back("ending"); break;
            case Kind::TakeBack: lines.push_back("take back"); break;
        }
    }
    return lines;
}

}  // namespace tg::e2e
