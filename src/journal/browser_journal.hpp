#pragma once

#include "journal/page_journal.hpp"

namespace tg::journal {

// The journal of this instance's game, kept by the web page around it
// (the WebAssembly build only; see web/stored_journal.js).
PageJournal& BrowserJournal();

}  // namespace tg::journal
