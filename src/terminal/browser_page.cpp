// The web page as the WebAssembly build of the game sees it. The page puts
// its side on the module object as `tenderPage` (see web/game_session.js):
//   takeKeys(most)          -> Uint8Array of at most `most` typed bytes
//   waitForKeys(ms)         -> Promise, settled when keys wait or time is up
//   show(bytes)             the game's output for the terminal
//   editingLine(editing)    a line of text (a name) starts or stops being typed
//   endGame(status)         the game is over
// The waits are real waits on the browser: the game's stack is set aside
// (Asyncify) until the promise settles.

#include <emscripten.h>

#include "terminal/system_terminal.hpp"
#include "terminal/browser_page.hpp"
#include "terminal/web_terminal.hpp"

EM_JS(int, tender_take_keys, (char* buffer, int most), {
    const bytes = Module["tenderPage"]["takeKeys"](most);
    HEAPU8.set(bytes, buffer);
    return bytes.length;
});

EM_ASYNC_JS(void, tender_wait_for_keys, (int milliseconds), {
    await Module["tenderPage"]["waitForKeys"](milliseconds);
});

EM_JS(void, tender_show, (const char* bytes, int length), {
    Module["tenderPage"]["show"](HEAPU8.slice(bytes, bytes + length));
});

EM_JS(void, tender_editing_line, (int editing), { Module["tenderPage"]["editingLine"](editing !== 0); });

EM_JS(void, tender_end_game, (int status), { Module["tenderPage"]["endGame"](status); });

namespace tg {

namespace {

class BrowserPage : public WebPage {
public:
    std::string TakeKeys(std::size_t most) override {
        std::string keys(most, '\0');
        keys.resize(static_cast<std::size_t>(tender_take_keys(keys.data(), static_cast<int>(most))));
        return keys;
    }
    void WaitForKeys(int milliseconds) override { tender_wait_for_keys(milliseconds); }
    void Show(std::string_view bytes) override { tender_show(bytes.data(), static_cast<int>(bytes.size())); }
    void Sleep(int milliseconds) override { emscripten_sleep(static_cast<unsigned>(milliseconds)); }
    void EditingLine(bool editing) override { tender_editing_line(editing ? 1 : 0); }
};

}  // namespace

std::unique_ptr<Platform> OpenSystemTerminal() {
    static BrowserPage page;  // one game per instance of the module
    return std::make_unique<WebTerminal>(page);
}

Border SystemTerminalBorder() { return Border::DoubleLines; }

// The page's storage is written out by the browser on its own.
void SyncOnEveryExit(int) {}

void SayOnSignalExit(const std::string&) {}

void EndPageGame(int status) { tender_end_game(status); }

}  // namespace tg
