// A game shared as a link: printed by --share, replayed from the link to the
// same cast as from its file, gone on with as a new kept game, and refused,
// storing nothing, when the link is damaged or its game does not play back.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "journal/game_link.hpp"
#include "journal_on_disk.hpp"
#include "piped_game.hpp"
#include "screen_checks.hpp"

namespace tg::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

TEST(ShareLink, TheLinkReplaysAndGoesOnAsTheFileDoes) {
    TemporaryFolder state;
    const std::vector<std::string> there = {state.StateHome()};
    const auto run = [&there](const std::vector<std::string>& arguments) {
        return RunPiped(arguments, "", milliseconds(10'000), there);
    };
    const fs::path file = state.Path() / "game.journal";
    ASSERT_TRUE(ExitedWith(RunPiped({"--seed", "4", "--save", file.string()}, "0190" "10" "x" "30").status, 0));

    const PipedResult shared = run({"--share", file.string()});
    ASSERT_TRUE(ExitedWith(shared.status, 0)) << shared.errors;
    ASSERT_EQ(shared.output.rfind("http://127.0.0.1:8000/#game=", 0), 0u) << shared.output;
    ASSERT_EQ(shared.output.find('\n'), shared.output.size() - 1) << "one line";
    const std::string link = shared.output.substr(0, shared.output.size() - 1);

    const fs::path fromFile = state.Path() / "file.cast", fromLink = state.Path() / "link.cast";
    ASSERT_TRUE(ExitedWith(run({"--replay", file.string(), "--cast", fromFile.string()}).status, 0));
    const PipedResult linkCast = run({"--replay", link, "--cast", fromLink.string()});
    ASSERT_TRUE(ExitedWith(linkCast.status, 0)) << linkCast.errors;
    EXPECT_EQ(ReadFile(fromLink), ReadFile(fromFile));

    // Refused links store nothing: one cut short, and one whose first key
    // (FreePlay) was changed to Trophy, so that it does not play back.
    std::string changed = ReadFile(file);
    changed[changed.find("\n\n") + 2] = '1';
    const std::vector<std::pair<std::string, std::string>> refusals = {
        {link.substr(0, link.size() - 8), "the link is damaged or cut short"},
        {journal::MakeLink("", changed), "cannot continue the game in the link"},
    };
    for (const auto& [refused, message] : refusals) {
        const PipedResult result = run({"--continue", refused});
        EXPECT_TRUE(ExitedWith(result.status, 1)) << result.errors;
        EXPECT_NE(result.errors.find(message), std::string::npos) << result.errors;
        EXPECT_TRUE(JournalsIn(state.Journals()).empty());
    }

    const PipedResult continued = RunPiped({"--continue", link}, "1", milliseconds(10'000), there);
    ASSERT_TRUE(ExitedWith(continued.status, 0)) << continued.errors;
    const std::vector<fs::path> kept = JournalsIn(state.Journals());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NE(kept[0].filename().string().find("-seed-4"), std::string::npos) << kept[0];
    const std::string original = ReadFile(file), goneOn = ReadFile(kept[0]);
    EXPECT_EQ(goneOn.substr(0, original.size()), original);
    EXPECT_EQ(InputCount(journal::Parse(goneOn)), InputCount(journal::Parse(original)) + 1);
}

}  // namespace
}  // namespace tg::e2e
