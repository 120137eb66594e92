// The browser's side of the platform layer (src/shell/platform_web.cpp), run inside the game's
// script before the game starts: the page's hidden and closed events. The page (index.html)
// sets Module's showErrorBox, keptProgress, keepProgress and gameEnded, which the game's platform
// file calls: the error box, the progress text the browser keeps, each save, and the end with
// main()'s status.

Module['showErrorBox'] = Module['showErrorBox'] || function (title, heading, message) {
  console.warn(title + ': ' + heading + ': ' + message);
};
// Without a page that keeps it, the progress lasts as long as the page.
Module['keptProgress'] = Module['keptProgress'] || null;
Module['keepProgress'] = Module['keepProgress'] || function () { return 'no page keeps it'; };
Module['gameEnded'] = Module['gameEnded'] || function () {};

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
});

// A hidden page may be closed, or ended by the browser, without another event: save then.
function quenmarshPageHidden() {
  if (runtimeInitialized && !runtimeExited && !ABORT) Module['_pageHidden']();
}
document.addEventListener('visibilitychange', function () {
  if (document.visibilityState === 'hidden') quenmarshPageHidden();
});
window.addEventListener('pagehide', quenmarshPageHidden);
