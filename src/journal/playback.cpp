#include "journal/playback.hpp"

#include <cstdlib>
#include <fstream>
#include <iostream>

#include "journal/cast_platform.hpp"
#include "journal/journal_file.hpp"
#include "journal/playback_platform.hpp"
#include "journal/recorded_inputs.hpp"
#include "journal/recording_platform.hpp"

namespace tg::journal {

namespace {

constexpr int Failed = 1;

std::optional<Contents> Load(const std::string& file, std::string& error) {
    const std::optional<std::string> bytes = ReadWholeFile(file, error);
    if (!bytes) return std::nullopt;
    Contents contents = Parse(*bytes);
    if (!contents.error.empty()) {
        error = contents.error;
        return std::nullopt;
    }
    return contents;
}

int Refuse(const std::string& message) {
    std::cerr << "tender-gamble: " << message << "\n";
    return Failed;
}

std::string DivergedText(const std::string& file, const Diverged& diverged) {
    return "cannot replay " + file + ": " + Explain(diverged);
}

}  // namespace

int Replay(const GameRunner& run, const TerminalOpener& open, const std::string& file, double speed) {
    std::string error;
    const std::optional<Contents> contents = Load(file, error);
    if (!contents) return Refuse("cannot replay " + file + ": " + error);
    const std::unique_ptr<Platform> terminal = open();
    try {
        PlayBack(run, *terminal, *contents, speed);
    } catch (const Diverged& diverged) {
        ReportAtExit(DivergedText(file, diverged));
        terminal->Exit(Failed);
    }
    std::abort();  // a platform's Exit never comes back
}

void PlayBack(const GameRunner& run, Platform& terminal, const Contents& contents, double speed,
              const std::function<void(const Diverged&)>& diverged) {
    RecordedInputs inputs(contents);
    if (diverged) inputs.OnDiverged(diverged);
    PlaybackPlatform playback(inputs, terminal, speed);
    run(playback, contents.header.seed);
    terminal.Exit(0);
    std::abort();  // a platform's Exit never comes back
}

int WriteCast(const GameRunner& run, const std::string& file, const std::string& castFile, double speed) {
    std::string error;
    const std::optional<Contents> contents = Load(file, error);
    if (!contents) return Refuse("cannot replay " + file + ": " + error);
    RecordedInputs inputs(*contents);
    CastPlatform cast(inputs, speed);
    try {
        run(cast, contents->header.seed);
    } catch (const CastPlatform::Finished&) {
    } catch (const Diverged& diverged) {
        return Refuse(DivergedText(file, diverged));
    }
    std::ofstream out(castFile, std::ios::binary | std::ios::trunc);
    out << cast.Recording("Tender Gamble! (seed " + std::to_string(contents->header.seed) + ")");
    out.close();
    if (!out) return Refuse("cannot write " + castFile);
    return 0;
}

}  // namespace tg::journal
