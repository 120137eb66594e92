// The screen: the game's display fitted to the window, the request to turn a phone sideways,
// and full screen.
'use strict';

// The game makes its display once, from the window's size when it starts; the window as it is
// now (resized, turned, full screen) shows it scaled to fit, proportions kept, centred. Clicks
// and taps are taken relative to the canvas's shown size, so they land on what is under them.
// The page's own box, not window.innerWidth: on a phone the latter grows with anything that
// overflows the page (the canvas itself once), and the game's edge would fall off the screen.
function fitCanvas(canvas) {
  var width = canvas.width, height = canvas.height;
  var page = document.documentElement;
  var scale = Math.min(page.clientWidth / width, page.clientHeight / height);
  canvas.style.width = width * scale + 'px';
  canvas.style.height = height * scale + 'px';
  canvas.style.left = (page.clientWidth - width * scale) / 2 + 'px';
  canvas.style.top = (page.clientHeight - height * scale) / 2 + 'px';
}

// The element's way to go full screen, or null where it has none (an iPhone's Safari). An
// iPad's Safari before 16.4 has only the prefixed one, which returns no promise.
function fullScreenRequest(element) {
  return element.requestFullscreen || element.webkitRequestFullscreen || null;
}

function toggleFullScreen() {
  var page = document.documentElement;
  if (document.fullscreenElement || document.webkitFullscreenElement) {
    (document.exitFullscreen || document.webkitExitFullscreen).call(document);
    return;
  }
  Promise.resolve(fullScreenRequest(page).call(page)).then(function () {
    // Where the browser lets it, a phone then keeps the game sideways however it is held.
    if (screen.orientation && screen.orientation.lock) return screen.orientation.lock('landscape');
  }).catch(function () {});
}

// A touch device held upright is asked to turn sideways: the game's layout needs a landscape
// display. The game starts only once it is turned; turned upright later, the request covers it.
var upright = window.matchMedia('(orientation: portrait) and (pointer: coarse)');
function showTurnRequest() { document.body.classList.toggle('upright', upright.matches); }
function whenSideways(then) {
  if (!upright.matches) return then();
  upright.addEventListener('change', function turned() {
    if (upright.matches) return;
    upright.removeEventListener('change', turned);
    then();
  });
}
