// The browser's side of the platform layer (src/shell/platform_web.cpp), run inside the game's
// script before the game starts: the progress file kept by the browser, and the page's hidden
// and closed events.
// The page (index.html) sets Module's showErrorBox and onExit to show what they tell; onExit is
// called with main()'s status when the game ends.

// Where the game keeps its progress: the parent of the settings folder, which SDL puts at
// /libsdl/<application name>/ (the game names neither application nor organisation).
var quenmarshProgressFile = '/libsdl/qmprogress.dat';
// The browser keeps it per page address, as the same nine-line text.
var quenmarshProgressKey = 'quenmarsh-progress:' + location.pathname.replace(/[^/]*$/, '');

Module['showErrorBox'] = Module['showErrorBox'] || function (title, heading, message) {
  console.warn(title + ': ' + heading + ': ' + message);
};

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  // Without WebGL Allegro cannot make its display, and does not live through trying: the page
  // tells what the game's box would ("Can not create the display.") and the game never starts.
  var probe = document.createElement('canvas');
  var webgl = probe.getContext('webgl2') || probe.getContext('webgl');
  if (!webgl) {
    Module['showErrorBox']('Error', 'Cannot run', 'Can not create the display.');
    addRunDependency('webgl');  // never met
    return;
  }
  var lose = webgl.getExtension('WEBGL_lose_context');
  if (lose) lose.loseContext();

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
  var rename = FS.rename;
  FS.rename = function (from, to) {
    rename(from, to);
    if (PATH.normalize(to) !== quenmarshProgressFile) return;
    try {
      localStorage.setItem(quenmarshProgressKey, FS.readFile(quenmarshProgressFile, {encoding: 'utf8'}));
    } catch (e) {
      console.warn('Quenmarsh: cannot keep the progress in this browser (' + e + ')');
    }
  };

  // The game ends when main() returns. Having slept through Asyncify, it returns into the
  // browser's event loop, where Emscripten drops its status without a word: tell the page.
  var doRewind = Asyncify.doRewind;
  Asyncify.doRewind = function (data) {
    var status = doRewind(data);
    if (!Asyncify.currData && Module['onExit']) Module['onExit'](status);
    return status;
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
