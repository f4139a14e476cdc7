// The fixture for meetings: one average person met by an average player.
#pragma once

#include <gtest/gtest.h>

#include "support/game_harness.hpp"

namespace tg::testing {

// One person and a player of equal stats (rapport 0, equal looks), at
// daytime, in Trophy Mode so replies carry no numbers.
struct MeetingTest : ::testing::Test {
    GameHarness harness;
    Person person;

    void SetUp() override {
        harness.game.hour = 8;
        harness.game.playMode = mode::Trophy;
        harness.game.player.stat.fill(50);
        person.stat.fill(50);
        person.personality.fill(50);
        person.firstName = "Ora";
        person.knownAs = "A woman of average beauty";
    }

    // Plays a meeting from the given seed; true when it ended by itself.
    bool Play(std::uint32_t seed, const std::string& keys) {
        harness.random.Seed(seed);
        harness.terminal.Type(keys);
        return harness.Run([this](Game& g) { return g.Encounter(person, true); });
    }

    const std::string& Transcript() const { return harness.terminal.Transcript(); }
    bool Shows(const std::string& text) const { return Transcript().find(text) != std::string::npos; }
};

}  // namespace tg::testing
