// The terminal of the system the game runs on: a POSIX terminal, a Windows
// console or a web page, whichever this build is for.
#pragma once

#include <memory>
#include <string>

#include "console/banner_border.hpp"
#include "console/platform.hpp"

namespace tg {

// The terminal this process runs in, set up for single-key play; it is put
// back as it was when the platform is destroyed, and on every signal.
std::unique_ptr<Platform> OpenSystemTerminal();

// The banner border that terminal shows.
Border SystemTerminalBorder();

// A file whose written data must reach the disk on every way out of the
// process, signals included; -1 for none.
void SyncOnEveryExit(int fileHandle);

// A line for standard error when a signal ends the process, once the
// terminal is back as it was; empty for none. Where keys such as Ctrl-C
// reach the game as input, the game returns and has its say itself.
void SayOnSignalExit(const std::string& line);

}  // namespace tg
