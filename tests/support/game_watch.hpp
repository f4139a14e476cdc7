// Tools for watching a whole game from outside while it plays: a terminal
// that hands control to the harness before every byte it waits for, and the checks of
// the game state that must hold between any two keys. Shared by the soak
// test and the fuzz target.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "shell/game.hpp"
#include "support/scripted_terminal.hpp"

namespace tg::watch {

// A scripted terminal that calls a hook before each byte the game waits
// for, and keeps the end of the text written since the last clear (bounded,
// so that long runs need no recording).
class WatchedTerminal : public ScriptedTerminal {
public:
    static constexpr std::size_t TailLimit = 512;

    explicit WatchedTerminal(std::string keys = {}) : ScriptedTerminal(std::move(keys)) {
        SetRecording(false);
    }

    enum class Read { Key, Word };

    // Runs before every byte read for a key or a word of the name; it may
    // type more keys.
    void SetBeforeRead(std::function<void(Read)> hook) { beforeRead_ = std::move(hook); }

    int ReadByte(int milliseconds, Reading reading) override {
        if (milliseconds < 0 && beforeRead_) beforeRead_(reading == Reading::Line ? Read::Word : Read::Key);
        const int byte = ScriptedTerminal::ReadByte(milliseconds, reading);
        if (reading == Reading::Keys) Remember(" <key>");
        return byte;
    }
    void Write(std::string_view text) override {
        Remember(text);
        ScriptedTerminal::Write(text);
    }
    void Clear() override {
        tail_.clear();
        ScriptedTerminal::Clear();
    }

    // The last few hundred characters written since the last clear; every
    // key read shows as " <key>", so a tail that ends in a menu line is a
    // prompt still waiting for its first key.
    const std::string& Tail() const { return tail_; }
    bool TailEndsWith(std::string_view text) const { return std::string_view(tail_).ends_with(text); }

private:
    void Remember(std::string_view text) {
        tail_ += text;
        if (tail_.size() > 2 * TailLimit) tail_.erase(0, tail_.size() - TailLimit);
    }

    std::function<void(Read)> beforeRead_;
    std::string tail_;
};

// The rules a game keeps between any two keys. Construct it with the Game
// before the first key (PlayGame's watch is the place) and call Check before
// every read: it compares the state with the one seen at the previous read.
class InvariantChecker {
public:
    static constexpr int AllocationBudget = 450;
    static constexpr int AllocationCeiling = 100;
    static constexpr int TrainingCeiling = 150;
    static constexpr int FreePlayStat = 50;
    // No single key can cost more than a day: the longest action takes
    // three hours, and a night's sleep ends at eight in the morning.
    static constexpr int MaxHoursPerKey = 24;

    explicit InvariantChecker(const Game& game) : game_(game), placeholders_(game.contacts) {
        Remember();
    }

    // An empty string when every rule holds; otherwise what is broken.
    std::string Check() {
        std::string broken = CheckNow();
        Remember();
        return broken;
    }

    int Checks() const { return checks_; }

private:
    std::string CheckNow() {
        ++checks_;
        const Game& g = game_;
        if (g.contactCount < 0 || g.contactCount > BookSize) return "contactCount " + std::to_string(g.contactCount);
        if (g.tick < 0 || g.tick > 5) return "tick " + std::to_string(g.tick);
        if (g.hour < lastHour_) return "hour went back from " + std::to_string(lastHour_) + " to " + std::to_string(g.hour);
        if (g.hour == lastHour_ && g.tick < lastTick_) return "tick went back within hour " + std::to_string(g.hour);
        if (g.hour - lastHour_ > MaxHoursPerKey) {
            return "one key took " + std::to_string(g.hour - lastHour_) + " hours";
        }
        if (g.playMode < mode::FreePlay || g.playMode > mode::TrophyWithoutIntroduction) {
            return "playMode " + std::to_string(g.playMode);
        }
        if (std::string broken = CheckBook(); !broken.empty()) return broken;

        // The clock first moves on entering the home menu: until then the
        // game is in its opening (play mode, character creation, stats).
        const bool opening = g.hour == 0 && g.tick == 0;
        if (opening) return CheckOpening();
        if (std::string broken = CheckPlaying(); !broken.empty()) return broken;
        return {};
    }

    std::string CheckOpening() const {
        const Game& g = game_;
        if (g.playMode == mode::FreePlay) {
            // Still on the play-mode screen: nothing is set up yet.
            if (g.statPoints != 0) return "statPoints " + std::to_string(g.statPoints) + " before a mode";
            for (int s = 0; s < StatCount; ++s) {
                if (g.player.stat[s] != 0) return "stat " + std::to_string(s) + " set before a mode";
            }
            return {};
        }
        if (g.hourLimit != Game::TrophyHourLimit) return "hourLimit " + std::to_string(g.hourLimit) + " in Trophy Mode";
        if (g.statPoints < 0 || g.statPoints > AllocationBudget) {
            return "statPoints " + std::to_string(g.statPoints) + " during allocation";
        }
        int sum = g.statPoints;
        for (int s = 0; s < StatCount; ++s) {
            const int value = g.player.stat[s];
            if (value < 0 || value > AllocationCeiling || value % 10 != 0) {
                return "stat " + std::to_string(s) + " is " + std::to_string(value) + " during allocation";
            }
            sum += value;
        }
        if (sum != AllocationBudget) return "stats plus points are " + std::to_string(sum) + " during allocation";
        return {};
    }

    std::string CheckPlaying() const {
        const Game& g = game_;
        const int limit = g.playMode == mode::FreePlay ? Game::FreePlayHourLimit : Game::TrophyHourLimit;
        if (g.hourLimit != limit) return "hourLimit " + std::to_string(g.hourLimit);
        int raised = 0;
        for (int s = 0; s < StatCount; ++s) {
            const int value = g.player.stat[s];
            if (value < 0 || value > TrainingCeiling) return "stat " + std::to_string(s) + " is " + std::to_string(value);
            if (!lastOpening_ && value < lastStats_[s]) return "stat " + std::to_string(s) + " went down";
            if (!lastOpening_) raised += value - lastStats_[s];
        }
        if (lastOpening_) {
            // Entering the home menu: FreePlay sets every stat to 50, Trophy
            // keeps the allocation, and the points are frozen from here on.
            for (int s = 0; s < StatCount; ++s) {
                const int expected = g.playMode == mode::FreePlay ? FreePlayStat : lastStats_[s];
                if (g.player.stat[s] != expected) return "stat " + std::to_string(s) + " changed on entering play";
            }
            if (g.statPoints != lastStatPoints_) return "statPoints changed on entering play";
            return {};
        }
        if (g.statPoints != lastStatPoints_) return "statPoints changed during play";
        if (raised > 1) return "one key trained " + std::to_string(raised) + " points";
        if (raised == 1 && g.hour == lastHour_) return "a training point cost no time";
        return {};
    }

    std::string CheckBook() const {
        const Game& g = game_;
        if (g.contactCount < lastContactCount_) return "contactCount went down";
        if (g.contactCount > lastContactCount_ + 1) return "two numbers on one key";
        for (int k = 0; k < BookSize; ++k) {
            const Person& person = g.contacts[k];
            if (k >= g.contactCount) {
                if (!SameRecord(person, placeholders_[k])) return "unused book slot " + std::to_string(k) + " was written";
                continue;
            }
            if (person.stage < stage::WrittenOff) {
                return "book slot " + std::to_string(k) + " at stage " + std::to_string(person.stage);
            }
            if (k >= lastContactCount_ && person.stage != stage::NumberGiven) {
                return "new book slot " + std::to_string(k) + " at stage " + std::to_string(person.stage);
            }
        }
        return {};
    }

    static bool SameRecord(const Person& a, const Person& b) {
        return a.firstName == b.firstName && a.lastName == b.lastName && a.knownAs == b.knownAs && a.male == b.male &&
               a.stat == b.stat && a.personality == b.personality && a.interest == b.interest && a.stage == b.stage;
    }

    void Remember() {
        lastHour_ = game_.hour;
        lastTick_ = game_.tick;
        lastStats_ = game_.player.stat;
        lastStatPoints_ = game_.statPoints;
        lastContactCount_ = game_.contactCount;
        lastOpening_ = game_.hour == 0 && game_.tick == 0;
    }

    const Game& game_;
    const std::array<Person, BookSize> placeholders_;
    int lastHour_ = 0;
    int lastTick_ = 0;
    std::array<int, StatCount> lastStats_{};
    int lastStatPoints_ = 0;
    int lastContactCount_ = 0;
    bool lastOpening_ = true;
    int checks_ = 0;
};

}  // namespace tg::watch
