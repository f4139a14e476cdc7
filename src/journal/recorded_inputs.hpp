#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "console/platform.hpp"
#include "journal/journal_format.hpp"

namespace tg::journal {

// What is wrong when a replayed game asks for something other than what
// the journal recorded next, or shows something else at a home menu.
struct Diverged {
    std::string where;  // "record 12 (byte 345)"
    std::string what;
};

// What a message says of a journal that does not replay: where, what, and
// the likely reasons.
std::string Explain(const Diverged& diverged);

// The inputs of a journal in the order the game consumed them, with the
// home-menu checksums between them; inputs that were taken back are left
// out. A replay walks through them, checking as it goes.
class RecordedInputs {
public:
    explicit RecordedInputs(const Contents& contents);

    // What to do when the game does not replay as recorded, instead of
    // throwing Diverged (for builds that do not catch exceptions); it
    // must not come back.
    void OnDiverged(std::function<void(const Diverged&)> handler) { onDiverged_ = std::move(handler); }

    std::size_t InputCount() const { return inputCount_; }
    // The banner border the game was shown with.
    BoxCharacters Border() const;
    // Replays only the first `inputs` inputs (and the checkpoints before the next).
    void Limit(std::size_t inputs) { limit_ = inputs; }
    std::size_t Consumed() const { return consumed_; }
    bool HasInput() const;

    // The next input, which must be a key (or a word), asked for after the
    // game showed what has this checksum since the last home menu. Fails
    // (Diverged) when the journal recorded something else.
    const Record& NextKey(std::uint32_t checksum);
    const Record& NextWord(std::uint32_t checksum);
    // The game is at a home menu, having shown screens with this checksum
    // since the last one. True when the journal recorded this home menu;
    // false when the journal ends here. Fails (Diverged) when it recorded
    // something else.
    bool AtRest(std::uint32_t checksum);

    std::string Describe(std::size_t step) const;

private:
    struct Step {
        const Record* record;
        std::size_t index;  // in the journal, for messages
    };
    const Record& NextInput(Record::Kind kind, const char* wanted, std::uint32_t checksum);
    [[noreturn]] void Fail(const Diverged& diverged) const;

    const Contents& contents_;
    std::vector<Step> steps_;
    std::size_t position_ = 0;
    std::size_t inputCount_ = 0;
    std::size_t limit_ = SIZE_MAX;
    std::size_t consumed_ = 0;
    std::function<void(const Diverged&)> onDiverged_;
};

}  // namespace tg::journal
