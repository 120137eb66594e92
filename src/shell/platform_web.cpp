// The platform layer's part for the browser (Emscripten), beside the POSIX part: the page stands
// in for the error box, and its hidden and closed events for a lost display connection. The
// page's side of both is packaging/web/pre.js.
#include "shell/platform.h"

#include <emscripten.h>

namespace {

void (*pageLastSave)() = nullptr;

}  // namespace

void watchDisplayConnection(void (*lastSave)()) { pageLastSave = lastSave; }

// The page calls this whenever it is hidden or closed: the browser may end it then without
// another word, so the progress is saved as at the end of a game. The game itself goes on.
extern "C" EMSCRIPTEN_KEEPALIVE void pageHidden()
{
    if (pageLastSave) pageLastSave();
}

void showErrorBox(const char* title, const char* heading, const char* message)
{
    EM_ASM({ Module.showErrorBox(UTF8ToString($0), UTF8ToString($1), UTF8ToString($2)); },
           title, heading, message);
}
