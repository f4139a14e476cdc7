#pragma once

#include <memory>

#include "console/platform.hpp"

namespace tg {

// The terminal this process runs in, set up for single-key play; it is put
// back as it was on every way out.
std::unique_ptr<Platform> OpenSystemTerminal();

}  // namespace tg
