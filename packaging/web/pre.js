// The browser's side of the platform layer (src/shell/platform_web.cpp), run inside the game's
// script before the game starts: the page's hidden and closed events, the window's size as the
// display's, and a WebGL 2 context where there is one. The page (index.html) sets Module's
// showErrorBox, keptProgress, keepProgress and gameEnded, which the game's platform file calls:
// the error box, the progress text the browser keeps, each save, and the end with main()'s status.

Module['displayWidth'] = Module['displayWidth'] || window.innerWidth || 854;
Module['displayHeight'] = Module['displayHeight'] || window.innerHeight || 480;
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

  // Allegro asks for OpenGL ES 2, that is WebGL 1, which cannot build the smaller copies of the
  // 640 x 480 map that smooth it. WebGL 2 (OpenGL ES 3) can and draws the rest the same; a
  // browser without it gets WebGL 1.
  var createContext = GL.createContext;
  GL.createContext = function (canvas, attributes) {
    var handle = 0;
    if (attributes.majorVersion === 1) {
      attributes.majorVersion = 2;
      handle = createContext(canvas, attributes);
      if (!handle) attributes.majorVersion = 1;
    }
    if (!handle) handle = createContext(canvas, attributes);
    if (handle) quenmarshAvoidFeedbackLoops(GL.contexts[handle].GLctx);
    return handle;
  };
});

// Allegro leaves the last texture it made or drew from bound to texture unit 0 when it draws
// shapes without one, since its shader does not read it then. Desktop OpenGL lets that pass;
// WebGL refuses any draw into a bitmap whose own texture is bound so ("Feedback loop formed
// between Framebuffer and active Texture") and drops it: the intro's emblem, drawn into a
// bitmap of its own, would stay empty. So the texture is unbound from unit 0 just before such
// a draw. Allegro binds a texture again whenever it draws one.
function quenmarshAvoidFeedbackLoops(gl) {
  var original = {};
  ['activeTexture', 'bindTexture', 'bindFramebuffer', 'framebufferTexture2D', 'drawArrays', 'drawElements']
    .forEach(function (name) { original[name] = gl[name].bind(gl); });
  var unit = gl.TEXTURE0, unitZero = null, framebuffer = null, attached = new Map();
  gl.activeTexture = function (which) {
    unit = which;
    original.activeTexture(which);
  };
  gl.bindTexture = function (target, texture) {
    if (target === gl.TEXTURE_2D && unit === gl.TEXTURE0) unitZero = texture;
    original.bindTexture(target, texture);
  };
  gl.bindFramebuffer = function (target, which) {
    if (target !== gl.READ_FRAMEBUFFER) framebuffer = which;
    original.bindFramebuffer(target, which);
  };
  gl.framebufferTexture2D = function (target, attachment, textarget, texture, level) {
    if (framebuffer && attachment === gl.COLOR_ATTACHMENT0) attached.set(framebuffer, texture);
    original.framebufferTexture2D(target, attachment, textarget, texture, level);
  };
  function unbindOwnTexture() {
    if (!framebuffer || !unitZero || attached.get(framebuffer) !== unitZero) return;
    if (unit !== gl.TEXTURE0) original.activeTexture(gl.TEXTURE0);
    original.bindTexture(gl.TEXTURE_2D, null);
    if (unit !== gl.TEXTURE0) original.activeTexture(unit);
    unitZero = null;
  }
  gl.drawArrays = function (mode, first, count) {
    unbindOwnTexture();
    original.drawArrays(mode, first, count);
  };
  gl.drawElements = function (mode, count, type, offset) {
    unbindOwnTexture();
    original.drawElements(mode, count, type, offset);
  };
}

// A hidden page may be closed, or ended by the browser, without another event: save then.
function quenmarshPageHidden() {
  if (runtimeInitialized && !runtimeExited && !ABORT) Module['_pageHidden']();
}
document.addEventListener('visibilitychange', function () {
  if (document.visibilityState === 'hidden') quenmarshPageHidden();
});
window.addEventListener('pagehide', quenmarshPageHidden);
