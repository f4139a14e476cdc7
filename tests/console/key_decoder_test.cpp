// Terminal bytes decoded into the game's key codes and echoes, and the words of a typed name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/key_decoder.hpp"
#include "console/terminal_input.hpp"
#include "support/scripted_terminal.hpp"

namespace tg {
namespace {

// Bytes handed out one at a time; a gap marks where the sender paused
// longer than the Escape wait.
class Bytes : public ByteSource {
public:
    explicit Bytes(std::string bytes, std::size_t gapAt = std::string::npos)
        : bytes_(std::move(bytes)), gapAt_(gapAt) {}

    int ReadByte() override {
        if (position_ >= bytes_.size()) return EndOfInput;
        return static_cast<unsigned char>(bytes_[position_++]);
    }
    int ReadByteWithin(int) override {
        if (position_ == gapAt_) {
            gapAt_ = std::string::npos;
            return NothingYet;
        }
        return ReadByte();
    }

private:
    std::string bytes_;
    std::size_t gapAt_;
    std::size_t position_ = 0;
};

std::vector<int> Codes(const std::string& bytes, std::size_t gapAt = std::string::npos) {
    Bytes source(bytes, gapAt);
    KeyDecoder decoder(source);
    std::vector<int> codes;
    for (Key key = decoder.Next(); key.code >= 0; key = decoder.Next()) codes.push_back(key.code);
    return codes;
}

TEST(KeyDecoder, NavigationKeysBecomePrefixAndScanCode) {
    EXPECT_EQ(Codes("\x1b[A\x1b[B\x1b[C\x1b[D"), (std::vector<int>{224, 72, 224, 80, 224, 77, 224, 75}));
    EXPECT_EQ(Codes("\x1b[H\x1b[F\x1bOH\x1bOF"), (std::vector<int>{224, 71, 224, 79, 224, 71, 224, 79}));
    EXPECT_EQ(Codes("\x1b[1~\x1b[4~\x1b[3~\x1b[5~\x1b[6~\x1b[2~"),
              (std::vector<int>{224, 71, 224, 79, 224, 83, 224, 73, 224, 81, 224, 82}));
    EXPECT_EQ(Codes("\x1bOA"), (std::vector<int>{224, 72}));  // application cursor mode
}

TEST(KeyDecoder, FunctionKeysBecomeZeroPrefixOrExtended) {
    EXPECT_EQ(Codes("\x1bOP\x1bOS\x1b[15~\x1b[21~"), (std::vector<int>{0, 59, 0, 62, 0, 63, 0, 68}));
    EXPECT_EQ(Codes("\x1b[23~\x1b[24~"), (std::vector<int>{224, 133, 224, 134}));
}

TEST(KeyDecoder, ModifiedKeysMapLikeTheirPlainKey) {
    EXPECT_EQ(Codes("\x1b[1;5A\x1b[3;2~"), (std::vector<int>{224, 72, 224, 83}));
}

TEST(KeyDecoder, UnknownSequencesAreStillTwoCodesNeverEscape) {
    const std::vector<int> codes = Codes("\x1b[99z1");
    ASSERT_EQ(codes.size(), 3u);
    EXPECT_EQ(codes[0], 224);
    EXPECT_NE(codes[1], 27);
    EXPECT_EQ(codes[2], '1');
}

TEST(KeyDecoder, LoneEscapeIsEscape) {
    EXPECT_EQ(Codes("\x1b"), (std::vector<int>{27}));
    EXPECT_EQ(Codes("\x1b" "1"), (std::vector<int>{27, '1'}));
    EXPECT_EQ(Codes("\x1b\x1b"), (std::vector<int>{27, 27}));
    // Escape, a pause, then '[': two separate keys.
    EXPECT_EQ(Codes("\x1b[", 1), (std::vector<int>{27, '['}));
}

TEST(KeyDecoder, BracketedPasteMarkersAreDroppedAndThePasteIsKeys) {
    EXPECT_EQ(Codes("\x1b[200~12\x1b[201~3"), (std::vector<int>{'1', '2', '3'}));
}

TEST(KeyDecoder, EndlessSequenceIsCutOffWithoutSwallowingEverything) {
    const std::string junk = "\x1b[" + std::string(1000, '1') + "A";
    const std::vector<int> codes = Codes(junk);
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[0], 224);
    EXPECT_EQ(codes.back(), 'A');
}

TEST(KeyDecoder, RawBytesPassThrough) {
    EXPECT_EQ(Codes(std::string("\0\x80\xff", 3)), (std::vector<int>{0, 128, 255}));
}

TEST(KeyDecoder, EchoShowsControlBytesAsVisibleStandIns) {
    EXPECT_EQ(EchoText('7'), "7");
    EXPECT_EQ(EchoText(27), "^[");
    EXPECT_EQ(EchoText(0), "^@");
    EXPECT_EQ(EchoText(13), "^M");
    EXPECT_EQ(EchoText(127), "^?");
    EXPECT_EQ(EchoText(0xE0), "M-`");
    EXPECT_EQ(EchoText(0x9B), "M-^[");
}

TEST(KeyDecoder, SecondCodeOfATwoCodeKeyIsNotEchoed) {
    Bytes source("\x1b[A");
    KeyDecoder decoder(source);
    EXPECT_EQ(decoder.Next().echo, "^[");
    EXPECT_EQ(decoder.Next().echo, "");
}

// The words of a typed name, read from a terminal's bytes: lines edited
// and echoed as they are typed, then read word by word.
struct Words {
    explicit Words(std::string bytes) : terminal(std::move(bytes)), input(terminal) {}
    ScriptedTerminal terminal;
    TerminalInput input;
};

TEST(TerminalInput, WordsSkipLeadingBlanksAndEmptyLines) {
    Words words("  \n\t Ann\n\n  Lee  \n");
    EXPECT_EQ(words.input.ReadWord(), "Ann");
    EXPECT_EQ(words.input.ReadWord(), "Lee");
}

TEST(TerminalInput, TheLineIsEchoedAsTypedWithItsCorrections) {
    Words words("Am\x7fnn Lee\r\n");
    EXPECT_EQ(words.input.ReadWord(), "Ann");
    EXPECT_EQ(words.input.ReadWord(), "Lee");
    EXPECT_EQ(words.terminal.Transcript(), "Am\b \bnn Lee\n");
}

TEST(TerminalInput, RestOfTheNameLineIsDiscarded) {
    Words words("r Lee\n1");
    EXPECT_EQ(words.input.ReadWord(), "r");
    words.input.DiscardLine();
    EXPECT_EQ(words.input.ReadKey().code, '1');
}

TEST(TerminalInput, TheNewlineOfACarriageReturnEnterIsNoKey) {
    Words words("Ann Lee\r\n2");
    words.input.ReadWord();
    words.input.ReadWord();
    words.input.DiscardLine();
    EXPECT_EQ(words.input.ReadKey().code, '2');
}

TEST(TerminalInput, EndOfInputBeforeAWord) {
    Words words("   \n  ");
    EXPECT_EQ(words.input.ReadWord(), std::nullopt);
}

TEST(TerminalInput, ByteReadAheadAfterEscapeIsNotLost) {
    Words words("\x1bZed Lee\n");
    EXPECT_EQ(words.input.ReadKey().code, 27);
    EXPECT_EQ(words.input.ReadWord(), "Zed");
}

}  // namespace
}  // namespace tg
