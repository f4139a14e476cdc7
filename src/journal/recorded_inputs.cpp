// Walks through a journal's inputs for a replay, checking each against the
// screens the game showed before it.
#include "journal/recorded_inputs.hpp"

namespace tg::journal {

namespace {
bool IsInput(const Record& record) {
    return record.kind == Record::Kind::Key || record.kind == Record::Kind::Word;
}
}  // namespace

RecordedInputs::RecordedInputs(const Contents& contents) : contents_(contents) {
    for (std::size_t index = 0; index < contents.records.size(); ++index) {
        const Record& record = contents.records[index];
        if (record.kind == Record::Kind::TakeBack) {
            // The input that ended the game is withdrawn, with any
            // checkpoint that the journal holds after it.
            while (!steps_.empty() && !IsInput(*steps_.back().record)) steps_.pop_back();
            if (!steps_.empty()) {
                steps_.pop_back();
                --inputCount_;
            }
            continue;
        }
        if (record.kind == Record::Kind::Ending) continue;
        steps_.push_back(Step{&record, index});
        if (IsInput(record)) ++inputCount_;
    }
}

std::vector<std::size_t> RecordedInputs::HomeMenus() const {
    std::vector<std::size_t> homeMenus;
    std::size_t inputs = 0;
    for (const Step& step : steps_) {
        if (IsInput(*step.record)) ++inputs;
        if (step.record->kind == Record::Kind::Checkpoint) homeMenus.push_back(inputs);
    }
    return homeMenus;
}

void RecordedInputs::Fail(std::string what) {
    if (!diverged_) diverged_ = Fault{Fault::Kind::Strays, Describe(position_) + ": " + what};
}

bool RecordedInputs::HasInput() const {
    if (diverged_ || consumed_ >= limit_) return false;
    for (std::size_t k = position_; k < steps_.size(); ++k) {
        if (IsInput(*steps_[k].record)) return true;
    }
    return false;
}

std::string RecordedInputs::Describe(std::size_t step) const {
    return DescribeRecord(contents_, step < steps_.size() ? steps_[step].index : contents_.records.size());
}

const Record* RecordedInputs::NextInput(Record::Kind kind, const char* wanted, std::uint32_t checksum) {
    if (diverged_) return nullptr;
    if (position_ < steps_.size() && steps_[position_].record->kind == kind) {
        if (steps_[position_].record->check != static_cast<int>(checksum & CheckMask)) {
            Fail("the game showed another screen before this input than the one recorded");
            return nullptr;
        }
        ++consumed_;
        return steps_[position_++].record;
    }
    const bool atHomeMenu = position_ < steps_.size() && steps_[position_].record->kind == Record::Kind::Checkpoint;
    Fail(std::string("the game asked for ") + wanted + " where the journal has " +
         (atHomeMenu ? "a home menu" : "another kind of input"));
    return nullptr;
}

const Record* RecordedInputs::NextKey(std::uint32_t checksum) { return NextInput(Record::Kind::Key, "a key", checksum); }
const Record* RecordedInputs::NextWord(std::uint32_t checksum) {
    return NextInput(Record::Kind::Word, "a word of the name", checksum);
}

bool RecordedInputs::AtRest(std::uint32_t checksum) {
    if (diverged_ || position_ >= steps_.size()) return false;
    const Record& next = *steps_[position_].record;
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
