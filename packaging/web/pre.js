// The browser's side of the platform layer (src/shell/platform_web.cpp), run inside the game's
// script before the game starts: whether the browser has WebGL (and which), where SDL hears keys,
// the page's hidden and closed events, and the sound started by a tap. The page (index.html, from
// page/page.js and page/access.js) sets Module's showErrorBox, keptProgress, keepProgress,
// gameEnded and describeScreen, which the game's platform file calls: the error box, the progress
// text the browser keeps, each save, the end with main()'s status, and what the screen shows.

Module['showErrorBox'] = Module['showErrorBox'] || function (title, heading, message) {
  console.warn(title + ': ' + heading + ': ' + message);
};
// Without a page that keeps it, the progress lasts as long as the page.
Module['keptProgress'] = Module['keptProgress'] || null;
Module['keepProgress'] = Module['keepProgress'] || function () { return 'no page keeps it'; };
Module['gameEnded'] = Module['gameEnded'] || function () {};
Module['describeScreen'] = Module['describeScreen'] || function () {};

// The game decodes its pictures and its sound itself, when it needs them: the browser need not
// decode the data package's copies as the package is unpacked.
Module['noImageDecoding'] = true;
Module['noAudioDecoding'] = true;

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  // Making a WebGL context takes a while: in a turn of its own, before the game starts.
  addRunDependency('webgl');
  setTimeout(function () {
    // Without WebGL Allegro cannot make its display, and does not live through trying: the page
    // tells what the game's box would ("Can not create the display.") and the game never starts.
    var probe = document.createElement('canvas');
    var webgl2 = probe.getContext('webgl2');
    var webgl = webgl2 || probe.getContext('webgl');
    if (!webgl) {
      Module['showErrorBox']('Error', 'Cannot run', 'Can not create the display.');
      return;  // the dependency is never met
    }
    // The game asks for OpenGL ES 3, that is WebGL 2, where the browser has it. The probe's
    // context is let go at once: the display makes its own.
    Module['glesVersion'] = webgl2 ? 3 : 2;
    var lose = webgl.getExtension('WEBGL_lose_context');
    if (lose) lose.loseContext();
    // The game starts in a turn of its own as well.
    setTimeout(function () { removeRunDependency('webgl'); });
  });
});

// SDL hears keys only on the canvas (its hint, which it reads from the environment too), not on
// the whole window, where it would cancel Tab and so keep the focus from moving between the
// page's buttons. The page passes Escape on to the canvas from anywhere (page/access.js).
Module['preRun'].push(function () {
  ENV['SDL_EMSCRIPTEN_KEYBOARD_ELEMENT'] = '#canvas';
});

// Browsers keep a page's sound off until the player acts in it. Allegro's own wake-up listens
// for a key, a click and the start of a touch, but browsers count a touch only once it ends: the
// end of every tap resumes SDL's sound as well, should it be suspended (again, perhaps, by a
// phone call or another app's sound).
['touchend', 'pointerup'].forEach(function (type) {
  document.addEventListener(type, function () {
    var sound = Module['SDL2'] && Module['SDL2'].audioContext;
    if (sound && sound.state === 'suspended') sound.resume();
  }, true);
});

// A hidden page may be closed, or ended by the browser, without another event: save then.
function quenmarshPageHidden() {
  if (runtimeInitialized && !runtimeExited && !ABORT) Module['_pageHidden']();
}
document.addEventListener('visibilitychange', function () {
  if (document.visibilityState === 'hidden') quenmarshPageHidden();
});
window.addEventListener('pagehide', quenmarshPageHidden);
