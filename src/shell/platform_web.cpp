// The platform layer's part for the browser (Emscripten), beside the POSIX part: the page stands
// in for the error box, its hidden and closed events for a lost display connection, and its
// storage for the progress file, which lives in memory and would go with the page (the page's
// side is packaging/web/pre.js and page/page.js); the page's window sizes the display.
#include "shell/platform.h"

#include <emscripten.h>

#include "progress/progress_text.h"

namespace {

void (*pageLastSave)() = nullptr;

// Module.keptProgress is the text the page's storage held when the page opened, or null.
EM_JS(void, writeKeptProgress, (const char* path), {
    var text = Module['keptProgress'];
    if (text === null || text === undefined) return;
    var file = UTF8ToString(path);
    FS.mkdirTree(file.substring(0, file.lastIndexOf("/")));
    FS.writeFile(file, text);
});

// Module.keepProgress(text) answers '' once the page has kept the text, or why it could not.
EM_JS(int, keepInPage, (const char* text, char* refusal, int refusalSize), {
    var why = Module['keepProgress'](UTF8ToString(text));
    if (!why) return 1;
    stringToUTF8(why, refusal, refusalSize);
    return 0;
});

EM_JS(void, tellPageGameEnded, (int status), { Module['gameEnded'](status); });

// Module.progressFile holds the bytes of a file the player chose.
EM_JS(int, pageFileSize, (), { return Module['progressFile'].length; });
EM_JS(void, copyPageFile, (char* into), { HEAPU8.set(Module['progressFile'], into); });

}  // namespace

void watchDisplayConnection(void (*lastSave)()) { pageLastSave = lastSave; }

// The page calls this whenever it is hidden or closed: the browser may end it then without
// another word, so the progress is saved as at the end of a game. The game itself goes on.
// The page also calls it before it saves a copy of the progress for the player.
extern "C" EMSCRIPTEN_KEEPALIVE void pageHidden()
{
    if (pageLastSave) pageLastSave();
}

// The page refuses a bigger file without reading it.
extern "C" EMSCRIPTEN_KEEPALIVE int progressFileLimit() { return (int)maxProgressFileBytes; }

// Whether the file the page holds in Module.progressFile may replace the progress.
extern "C" EMSCRIPTEN_KEEPALIVE int isProgressFile()
{
    const int size = pageFileSize();
    if (size < 0 || (std::size_t)size > maxProgressFileBytes) return 0;
    std::string bytes((std::size_t)size, '\0');
    copyPageFile(&bytes[0]);
    return isProgressText(bytes);
}

void restoreProgressFile(const std::string& path) { writeKeptProgress(path.c_str()); }

bool progressSaved(const std::string& path, std::string& reason)
{
    std::string bytes;
    if (!readRegularFile(path, maxProgressFileBytes, bytes, reason)) return false;
    char refusal[256] = "";
    if (keepInPage(bytes.c_str(), refusal, sizeof refusal)) return true;
    reason = refusal;
    return false;
}

// Whatever the page does after this, the game saves no more.
void gameEnded(int status)
{
    pageLastSave = nullptr;
    tellPageGameEnded(status);
}

// JavaScript of our own, at file scope as EM_JS needs. Module.glesVersion is pre.js's answer.
EM_JS(int, pageGlesVersion, (), { return Module['glesVersion']; });
EM_JS(int, pageWindowWidth, (), { return document.documentElement.clientWidth; });
EM_JS(int, pageWindowHeight, (), { return document.documentElement.clientHeight; });

// Allegro asks for OpenGL ES 2, that is WebGL 1, which cannot make the smaller copies of a
// picture whose sides are not powers of two (the 640 x 480 map's). WebGL 2 can, and draws the
// rest the same.
bool pageWindow(PageWindow& window)
{
    window.width = pageWindowWidth();
    window.height = pageWindowHeight();
    window.glesVersion = pageGlesVersion();
    return true;
}

// Module.describeScreen(description) is the page's accessible copy of the screen (page/access.js).
EM_JS(void, tellPageScreen, (const char* description), { Module['describeScreen'](UTF8ToString(description)); });

void describeScreen(const std::string& description) { tellPageScreen(description.c_str()); }

// Allegro's SDL backend drops the mouse events SDL makes of touches.
bool tapsComeAsTouches() { return true; }

// A rest of no time: back to the browser's event loop, through Asyncify, and on at its next turn.
void yieldToPage() { emscripten_sleep(0); }

void showErrorBox(const char* title, const char* heading, const char* message)
{
    EM_ASM({ Module.showErrorBox(UTF8ToString($0), UTF8ToString($1), UTF8ToString($2)); },
           title, heading, message);
}
