// The browser's side of the platform layer (src/shell/platform_web.cpp), run inside the game's
// script before the game starts: the progress file kept by the browser, the page's hidden and
// closed events, the window's size as the display's, and a WebGL 2 context where there is one.
// The page (index.html) sets Module's showErrorBox and onExit to show what they tell.

// Where the game keeps its progress: the parent of the settings folder, which SDL puts at
// /libsdl/<application name>/ (the game names neither application nor organisation).
var quenmarshProgressFile = '/libsdl/qmprogress.dat';
// The browser keeps it per page address, as the same nine-line text.
var quenmarshProgressKey = 'quenmarsh-progress:' + location.pathname.replace(/[^/]*$/, '');

Module['displayWidth'] = Module['displayWidth'] || window.innerWidth || 854;
Module['displayHeight'] = Module['displayHeight'] || window.innerHeight || 480;
Module['showErrorBox'] = Module['showErrorBox'] || function (title, heading, message) {
  console.warn(title + ': ' + heading + ': ' + message);
};

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  var text = null;
  try {
    text = localStorage.getItem(quenmarshProgressKey);
  } catch (e) {
    console.warn('Quenmarsh: this browser keeps no progress here (' + e + ')');
  }
  if (text !== null) {
    FS.mkdirTree(quenmarshProgressFile.replace(/[^/]*$/, ''));
    FS.writeFile(quenmarshProgressFile, text);
  }
  // Every save ends by renaming the new file onto the old: its text goes to the browser then.
  FS.trackingDelegate['onMovePath'] = function (from, to) {
    if (to !== quenmarshProgressFile) return;
    try {
      localStorage.setItem(quenmarshProgressKey, FS.readFile(to, {encoding: 'utf8'}));
    } catch (e) {
      console.warn('Quenmarsh: cannot keep the progress in this browser (' + e + ')');
    }
  };

  // Allegro asks for OpenGL ES 2, that is WebGL 1, which cannot build the smaller copies of the
  // 640 x 480 map that smooth it. WebGL 2 (OpenGL ES 3) can and draws the rest the same; a
  // browser without it gets WebGL 1.
  var createContext = GL.createContext;
  GL.createContext = function (canvas, attributes) {
    if (attributes.majorVersion === 1) {
      attributes.majorVersion = 2;
      var context = createContext(canvas, attributes);
      if (context) return context;
      attributes.majorVersion = 1;
    }
    return createContext(canvas, attributes);
  };
});

// A hidden page may be closed, or ended by the browser, without another event: save then.
function quenmarshPageHidden() {
  if (runtimeInitialized && !runtimeExited && !ABORT) Module['_pageHidden']();
}
document.addEventListener('visibilitychange', function () {
  if (document.visibilityState === 'hidden') quenmarshPageHidden();
});
window.addEventListener('pagehide', quenmarshPageHidden);
