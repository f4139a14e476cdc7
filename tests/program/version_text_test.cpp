// What --version prints.
#include <gtest/gtest.h>

#include "program/version_text.hpp"

namespace tg {
namespace {

// A build from a git checkout names its commit; one from a tarball cannot.
TEST(VersionText, NamesTheCommitOnlyWhenKnown) {
    EXPECT_EQ(VersionText("1.0.0", "abc1234"), "tender-gamble 1.0.0 (commit abc1234)\n");
    EXPECT_EQ(VersionText("2.1.3", ""), "tender-gamble 2.1.3\n");
}

}  // namespace
}  // namespace tg
