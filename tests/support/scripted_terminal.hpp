// A terminal for tests, benchmarks and fuzzing: keys from a script, and
// everything shown recorded with its colours.
#pragma once

#include <string>
#include <vector>

#include "console/platform.hpp"

namespace tg {

// A terminal for tests, benchmarks and fuzzing: keys come from a script of
// bytes, and everything shown is recorded with its colours.
class ScriptedTerminal : public Platform {
public:
    struct Span {
        int foreground = 7;
        int background = 0;
        std::string text;
    };

    explicit ScriptedTerminal(std::string keys = {});

    // Appends bytes to the key script.
    void Type(const std::string& keys) { keys_ += keys; }

    // The next byte of the script; EndOfInput once it is used up.
    int ReadByte(int milliseconds, Reading reading) override;
    void Write(std::string_view text) override;
    void SetColours(int foreground, int background) override;
    void Clear() override;
    void Pause(int milliseconds) override;

    // Everything written, with a form feed for every clear.
    const std::string& Transcript() const { return transcript_; }
    // What the screen shows: the text since the last clear.
    std::string Screen() const;
    // The text since the last clear, cut into runs of one colour pair.
    const std::vector<Span>& ScreenSpans() const { return spans_; }
    // The colour pair a piece of text on the current screen was written in;
    // false when the text is not there.
    bool ColoursOf(const std::string& text, int& foreground, int& background) const;

    int Clears() const { return clears_; }
    int Pauses() const { return pauses_; }
    int BytesRead() const { return static_cast<int>(position_); }
    bool KeysLeft() const { return position_ < keys_.size(); }
    int Foreground() const { return foreground_; }
    int Background() const { return background_; }

    // Keeps the transcript and screen from growing without end in long runs.
    void SetRecording(bool on) { recording_ = on; }

private:
    std::string keys_;
    std::size_t position_ = 0;
    std::string transcript_;
    std::vector<Span> spans_;
    int foreground_ = 7;
    int background_ = 0;
    int clears_ = 0;
    int pauses_ = 0;
    bool recording_ = true;
};

}  // namespace tg

namespace tg {

// A scripted terminal lent to a session, which owns the terminal it plays
// on: the test keeps the terminal itself, to read what was shown.
class LentTerminal : public Platform {
public:
    explicit LentTerminal(ScriptedTerminal& terminal) : terminal_(terminal) {}
    int ReadByte(int milliseconds, Reading reading) override { return terminal_.ReadByte(milliseconds, reading); }
    void Write(std::string_view text) override { terminal_.Write(text); }
    void SetColours(int foreground, int background) override { terminal_.SetColours(foreground, background); }
    void Clear() override { terminal_.Clear(); }
    void Pause(int milliseconds) override { terminal_.Pause(milliseconds); }
    void SetTitle(std::string_view title) override { terminal_.SetTitle(title); }

private:
    ScriptedTerminal& terminal_;
};

}  // namespace tg
