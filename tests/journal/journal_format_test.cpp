// The journal format: records written and read back, torn tails and files it cannot read.
#include <gtest/gtest.h>

#include "journal/journal_format.hpp"

namespace tg::journal {
namespace {

Record KeyRecord(int code, std::string echo, std::uint32_t delay, int check = 2) {
    Record record;
    record.check = check;
    record.code = code;
    record.text = std::move(echo);
    record.delay = delay;
    return record;
}

Record Marker(Record::Kind kind, std::uint32_t checksum = 0) {
    Record record;
    record.kind = kind;
    record.checksum = checksum;
    return record;
}

Header SomeHeader() {
    Header header;
    header.gameVersion = "1.0.0";
    header.seed = 4294967295u;
    header.started = "2026-12-09T14:46:04Z";
    return header;
}

// One record of every kind, with the awkward values: a code that collides
// with the tags, a key shown without echo, a long idle gap, a word.
std::vector<Record> EveryKind() {
    Record word;
    word.kind = Record::Kind::Word;
    word.text = "Ann";
    word.delay = 70000;
    word.check = 3;
    return {KeyRecord('1', "1", 0),         KeyRecord(224, "^[", 5),   KeyRecord(72, "", 0),
            KeyRecord(0xFD, "M-}", 127),     KeyRecord(27, "^[", 128),  word,
            Marker(Record::Kind::Checkpoint, 0xDEADBEEF), KeyRecord('0', "0", LongestDelay, 0),
            Marker(Record::Kind::TakeBack),   Marker(Record::Kind::Ending)};
}

std::string Journal(const std::vector<Record>& records) {
    std::string bytes = EncodeHeader(SomeHeader());
    for (const Record& record : records) bytes += EncodeRecord(record);
    return bytes;
}

void ExpectSame(const Record& read, const Record& written) {
    EXPECT_EQ(read.kind, written.kind);
    EXPECT_EQ(read.code, written.code);
    EXPECT_EQ(read.text, written.text);
    EXPECT_EQ(read.delay, written.delay);
    EXPECT_EQ(read.checksum, written.checksum);
    EXPECT_EQ(read.check, written.check);
}

TEST(JournalFormat, EveryRecordReadsBackAsWritten) {
    const std::vector<Record> written = EveryKind();
    const Contents contents = Parse(Journal(written));
    ASSERT_FALSE(contents.fault);
    EXPECT_EQ(contents.header.seed, 4294967295u);
    EXPECT_EQ(contents.header.gameVersion, "1.0.0");
    EXPECT_EQ(contents.header.started, "2026-12-09T14:46:04Z");
    ASSERT_EQ(contents.records.size(), written.size());
    for (std::size_t k = 0; k < written.size(); ++k) ExpectSame(contents.records[k], written[k]);
}

TEST(JournalFormat, AKeyPressedWithinFourSecondsTakesThreeBytes) {
    EXPECT_EQ(EncodeRecord(KeyRecord('3', "3", 4095)).size(), 3u);
    EXPECT_EQ(EncodeRecord(KeyRecord('3', "3", 4096)).size(), 4u);
    EXPECT_EQ(EncodeRecord(Marker(Record::Kind::Checkpoint, 7)).size(), 5u);
}

// A write cut short anywhere in the last records loses only the record it
// cut: everything before it reads back, and nothing is taken for an error.
TEST(JournalFormat, ATornTailLosesOnlyTheRecordItCut) {
    const std::vector<Record> written = EveryKind();
    const std::string whole = Journal(written);
    const Contents full = Parse(whole);
    const std::size_t headerSize = EncodeHeader(SomeHeader()).size();
    for (std::size_t size = headerSize; size <= whole.size(); ++size) {
        const Contents cut = Parse(whole.substr(0, size));
        ASSERT_FALSE(cut.fault) << size;
        std::size_t wholeRecords = 0;
        while (wholeRecords < full.offsets.size() &&
               (wholeRecords + 1 < full.offsets.size() ? full.offsets[wholeRecords + 1] : whole.size()) <= size) {
            ++wholeRecords;
        }
        ASSERT_EQ(cut.records.size(), wholeRecords) << size;
        EXPECT_EQ(cut.wholeBytes, wholeRecords < full.offsets.size() ? full.offsets[wholeRecords] : whole.size());
        for (std::size_t k = 0; k < wholeRecords; ++k) ExpectSame(cut.records[k], written[k]);
    }
}

TEST(JournalFormat, ATornHeaderHoldsNoGame) {
    const std::string header = EncodeHeader(SomeHeader());
    for (std::size_t size = 0; size < header.size(); ++size) {
        EXPECT_TRUE(Parse(header.substr(0, size)).fault) << size;
    }
}

TEST(JournalFormat, FilesItCannotReadSayWhy) {
    std::string future = Journal({});
    future.replace(future.find(" 1\n"), 3, " 2\n");
    EXPECT_NE(Parse(future).fault->detail.find("format 2"), std::string::npos) << Parse(future).fault->detail;

    EXPECT_NE(Parse("#!/bin/sh\n\necho hi\n").fault->detail.find("not a journal"), std::string::npos);

    std::string seed = Journal({});
    seed.replace(seed.find("seed "), 6, "seed x");
    EXPECT_NE(Parse(seed).fault->detail.find("seed"), std::string::npos);

    // A byte no record starts with, after two whole records.
    const std::string damaged = Journal({KeyRecord('1', "1", 3), KeyRecord('2', "2", 3)}) + "\xFF" "12";
    const Contents contents = Parse(damaged);
    EXPECT_EQ(contents.faultyRecord, 3u);
    EXPECT_NE(contents.fault->detail.find("record 3"), std::string::npos);
}

}  // namespace
}  // namespace tg::journal
