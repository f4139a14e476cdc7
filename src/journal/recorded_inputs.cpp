// Walks through a journal's inputs for a replay, checking each against the
// screens the game showed before it.
#include "journal/recorded_inputs.hpp"

#include <algorithm>

namespace tg::journal {

namespace {
bool IsInput(const Record& record) {
    return record.kind == Record::Kind::Key || record.kind == Record::Kind::Word;
}
}  // namespace

// The input that ended the game is withdrawn by a take-back, with any
// checkpoint that the journal holds after it.
RecordedInputs::RecordedInputs(const Contents& contents) : contents_(contents) {
    for (std::size_t index = 0; index < contents.records.size(); ++index) {
        const Record::Kind kind = contents.records[index].kind;
        if (kind == Record::Kind::TakeBack) {
            while (!steps_.empty() && !IsInput(contents.records[steps_.back()])) steps_.pop_back();
            if (steps_.empty()) continue;
            steps_.pop_back();
            --inputCount_;
        } else if (kind != Record::Kind::Ending) {
            steps_.push_back(index);
            inputCount_ += IsInput(contents.records[index]) ? 1 : 0;
        }
    }
}

std::vector<std::size_t> RecordedInputs::HomeMenus() const {
    std::vector<std::size_t> homeMenus;
    std::size_t inputs = 0;
    for (const std::size_t step : steps_) {
        if (IsInput(contents_.records[step])) ++inputs;
        if (contents_.records[step].kind == Record::Kind::Checkpoint) homeMenus.push_back(inputs);
    }
    return homeMenus;
}

void RecordedInputs::Fail(const std::string& what) {
    if (!diverged_) diverged_ = Fault{Fault::Kind::Strays, Describe(position_) + ": " + what};
}

// Every input before the position was consumed, so those left are counted.
bool RecordedInputs::HasInput() const { return !diverged_ && consumed_ < std::min(limit_, inputCount_); }

std::string RecordedInputs::Describe(std::size_t step) const {
    return DescribeRecord(contents_, step < steps_.size() ? steps_[step] : contents_.records.size());
}

const Record* RecordedInputs::Next(Record::Kind kind, std::uint32_t checksum) {
    if (diverged_) return nullptr;
    const Record* next = position_ < steps_.size() ? &contents_.records[steps_[position_]] : nullptr;
    if (next && next->kind == kind) {
        if (next->check == static_cast<int>(checksum & CheckMask)) {
            ++consumed_;
            ++position_;
            return next;
        }
        Fail("the game showed another screen before this input than the one recorded");
        return nullptr;
    }
    Fail(std::string("the game asked for ") + (kind == Record::Kind::Key ? "a key" : "a word of the name") +
         " where the journal has " +
         (next && next->kind == Record::Kind::Checkpoint ? "a home menu" : "another kind of input"));
    return nullptr;
}

bool RecordedInputs::AtRest(std::uint32_t checksum) {
    if (diverged_ || position_ >= steps_.size()) return false;
    const Record& next = contents_.records[steps_[position_]];
    if (next.kind != Record::Kind::Checkpoint) {
        if (consumed_ < limit_) Fail("the game reached its home menu where the journal has an input");
        return false;
    }
    if (next.checksum != checksum) {
        Fail("the game showed other screens than the ones recorded");
        return false;
    }
    ++position_;
    return true;
}

}  // namespace tg::journal
