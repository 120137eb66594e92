// The platform layer's part for the browser (Emscripten), beside the POSIX part: the page stands
// in for the error box, and its hidden and closed events for a lost display connection (the
// page's side of both is packaging/web/pre.js); the page's window sizes the display, and the
// end of a tap may start the sound.
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

// JavaScript of our own, at file scope as EM_JS needs.
// The probe's context is let go at once: the display makes its own.
EM_JS(int, browserHasWebgl2, (), {
    var gl = document.createElement('canvas').getContext('webgl2');
    if (!gl) return 0;
    var lose = gl.getExtension('WEBGL_lose_context');
    if (lose) lose.loseContext();
    return 1;
});
EM_JS(int, pageWindowWidth, (), { return window.innerWidth; });
EM_JS(int, pageWindowHeight, (), { return window.innerHeight; });

// The context is SDL's, made when Allegro opens the sound; a suspended one is resumed at the
// end of every tap, since a browser may suspend it again (a phone call, another app's sound).
EM_JS(void, resumeSoundAfterTaps, (), {
    ['touchend', 'pointerup'].forEach(function (type) {
        document.addEventListener(type, function () {
            var sound = Module['SDL2'] && Module['SDL2'].audioContext;
            if (sound && sound.state === 'suspended') sound.resume();
        }, true);
    });
});

// Allegro asks for OpenGL ES 2, that is WebGL 1, which cannot make the smaller copies of a
// picture whose sides are not powers of two (the 640 x 480 map's). WebGL 2 can, and draws the
// rest the same.
bool pageWindow(PageWindow& window)
{
    window.width = pageWindowWidth();
    window.height = pageWindowHeight();
    window.glesVersion = browserHasWebgl2() ? 3 : 2;
    return true;
}

// Allegro's SDL backend drops the mouse events SDL makes of touches.
bool tapsComeAsTouches() { return true; }

void startSoundOnTaps() { resumeSoundAfterTaps(); }

void showErrorBox(const char* title, const char* heading, const char* message)
{
    EM_ASM({ Module.showErrorBox(UTF8ToString($0), UTF8ToString($1), UTF8ToString($2)); },
           title, heading, message);
}
