// What the browser build answers in place of Emscripten's own functions (linked with
// --js-library): the "monitor" the game asks about is the browser window.
mergeInto(LibraryManager.library, {
  // SDL2's own JavaScript calls these two, which nothing else pulls in; SDL asks for the screen
  // size once, at start-up, so they come along with it.
  emscripten_get_screen_size__deps: ['$dynCall', '$autoResumeAudioContext'],
  // The display is as large as the window was when the page opened (pre.js reads it once, as
  // the desktop game reads its monitor's size once); later resizes only scale the picture.
  emscripten_get_screen_size: function (width, height) {
    HEAP32[width >> 2] = Module['displayWidth'];
    HEAP32[height >> 2] = Module['displayHeight'];
  },
  // The game asks for a full-screen display; in the browser that is the canvas filling the
  // window. Going truly full screen is the player's choice, by the page's own button: turned
  // down here, SDL would do it at the first click of the game.
  emscripten_request_fullscreen_strategy: function (target, deferUntilInEventHandler, strategy) {
    return -1;  // EMSCRIPTEN_RESULT_NOT_SUPPORTED
  },
});
