// The web page's side of a game's end, for the WebAssembly build's entry
// point.
#pragma once

namespace tg {

// Tells the page that this instance's game is over, with its exit status.
void EndPageGame(int status);

}  // namespace tg
