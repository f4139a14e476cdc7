// The inputs of a journal, handed to a replayed game one by one and
// checked against what the game shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "journal/journal_format.hpp"

namespace tg::journal {

// The inputs in the order the game consumed them, with the home-menu
// checksums between them; inputs that were taken back are left out. Once
// the game has strayed from the journal nothing more is handed out.
class RecordedInputs {
public:
    explicit RecordedInputs(const Contents& contents);

    std::size_t InputCount() const { return inputCount_; }
    // Replays only the first `inputs` inputs (and the checkpoints before the next).
    void Limit(std::size_t inputs) { limit_ = inputs; }
    std::size_t Consumed() const { return consumed_; }
    // For each home menu the journal recorded, in order, how many inputs
    // come before it.
    std::vector<std::size_t> HomeMenus() const;
    bool HasInput() const;

    // The next input, which must be a key (or a word), asked for after the
    // game showed what has this checksum since the last home menu; nothing
    // when the journal recorded something else.
    const Record* Next(Record::Kind kind, std::uint32_t checksum);
    // The game is at a home menu, having shown screens with this checksum
    // since the last one. True when the journal recorded this home menu;
    // false when the journal ends here, or recorded something else.
    bool AtRest(std::uint32_t checksum);

    // Where and how the game strayed from the journal, once it has (Strays:
    // "record 12 (byte 345): what").
    const std::optional<Fault>& Divergence() const { return diverged_; }
    // The input the game had consumed `step` of, for messages.
    std::string Describe(std::size_t step) const;

private:
    void Fail(const std::string& what);

    const Contents& contents_;
    std::vector<std::size_t> steps_;  // the records replayed, by their index in the journal
    std::size_t position_ = 0;
    std::size_t inputCount_ = 0;
    std::size_t limit_ = SIZE_MAX;
    std::size_t consumed_ = 0;
    std::optional<Fault> diverged_;
};

}  // namespace tg::journal
