// The page: its elements, what it tells the player, the game's runtime (Module) and the
// buttons, put together from the scripts before it.
'use strict';
var canvas = document.getElementById('canvas');
var message = document.getElementById('message');
var notice = document.getElementById('notice');
var fullscreen = document.getElementById('fullscreen');
var playButton = document.getElementById('play');
var saveCopy = document.getElementById('save-copy');
var loadFile = document.getElementById('load-file');
var progressFile = document.getElementById('progress-file');

// The page's own words, from the table.
document.querySelectorAll('[data-text]').forEach(function (element) {
  element.textContent = messages[element.dataset.text];
});
document.querySelectorAll('[data-label]').forEach(function (element) {
  element.title = messages[element.dataset.label];
  element.setAttribute('aria-label', element.title);
});
notice.title = messages.close;

// The browser keeps the progress for the page's folder.
var folder = location.pathname.replace(/[^/]*$/, '');
var progressKey = 'quenmarsh-progress:' + folder;
var toldKey = 'quenmarsh-told-week:' + folder;
var framed = window.top !== window;
// Why the browser does not keep the progress now, or ''.
var storageProblem = '';
// The progress as last saved, or as the page found it: what a saved copy holds.
var lastText = null;
// A save of the game that waits for the claim to settle.
var heldText = null;

// The progress handed to the game, read only once this tab has the game: read as the page opens,
// it could miss what the tab that had the game saved as it closed, and the game would play (and
// save over it) an older progress.
function openProgress() {
  var opened = openStorage(progressKey, framed);
  storageProblem = opened.problem;
  // A file the player loaded comes through the reload in the tab's history, which the browser
  // keeps even when it keeps nothing else.
  if (history.state && typeof history.state.quenmarshProgress === 'string') {
    opened.kept = history.state.quenmarshProgress;
    history.replaceState(null, '');
  }
  lastText = Module.keptProgress = opened.kept;
}
// Set once a loaded file waits for the reload: the running game's saves no longer count.
var fileLoaded = false;
// What the game told in its error box, shown when it ends.
var errorText = null;
// From the start of the game's runtime to the end of the game.
var running = false;

// Each save of the game (src/shell/platform_web.cpp): '' once kept, or why not. A refusal is told
// at once, unless the player already knows that this browser keeps nothing.
function keepProgress(text) {
  if (fileLoaded) return '';
  if (claim.gaveWay) return messages.otherTabKeeps;
  lastText = text;
  if (!claim.settled) {
    heldText = text;  // written once the claim settles, or never should this tab give way
    return '';
  }
  var refusal = store(progressKey, text, framed);
  if (refusal && !storageProblem) showNotice(messages.notKept(refusal), 'save');
  if (!refusal && notice.dataset.kind === 'save') hideNotice();
  storageProblem = refusal;
  if (!refusal) askToKeepStorage();
  return refusal;
}

// What the player must know while the game goes on, at the top of the page until clicked.
function showNotice(text, kind) {
  notice.textContent = text;
  notice.dataset.kind = kind || '';
  notice.style.display = 'block';
}
function hideNotice() {
  // Safari's week is told once: closed, it is not told again (unless the browser forgets that too).
  if (notice.dataset.kind === 'week') store(toldKey, 'yes', framed);
  notice.style.display = 'none';
  notice.dataset.kind = '';
}

// Instead of the game: its error, the end of a game, or another tab's game.
function showMessage(text) {
  canvas.style.display = 'none';
  document.getElementById('loading').style.display = 'none';
  fullscreen.style.display = 'none';
  message.textContent = text;
  message.style.display = 'block';
}
// The two buttons that carry the progress out and in, shown or not.
function showCarryButtons(shown) {
  saveCopy.style.display = loadFile.style.display = shown ? '' : 'none';
}
function hideMessage() {
  message.textContent = '';
  message.style.display = 'none';
  canvas.style.display = '';
  document.getElementById('loading').style.display = '';
  fullscreen.style.display = '';
}

var Module = {
  canvas: canvas,
  print: function (text) { console.log(text); },
  printErr: function (text) { console.warn(text); },
  onRuntimeInitialized: function () {
    document.getElementById('loading').style.display = 'none';
    running = true;
    loadFile.disabled = false;
    // Once the game's files are here (and in the browser's cache), a worker keeps them for
    // playing with no network, and fetches a new build's when there is one.
    if (navigator.serviceWorker) navigator.serviceWorker.register('sw.js').catch(function (error) {
      console.warn('Quenmarsh: the game will not play offline (' + error + ')');
    });
  },
  locateFile: function (name, prefix) { return prefix + versioned(name); },
  keptProgress: null,  // openProgress()'s
  keepProgress: keepProgress,
  // The desktop's box is modal and the game ends once it is dismissed: the page shows it at once.
  showErrorBox: function (title, heading, text) {
    errorText = messages.errorBox(heading, text);
    showMessage(errorText);
  },
  gameEnded: function (status) {
    running = false;
    claim.release();
    if (claim.gaveWay) return;
    if (status !== 0 || errorText !== null) showMessage(errorText || messages.couldNotStart);
    else showMessage(messages.ended(storageProblem));
  },
  onAbort: function (what) {
    running = false;
    loadFile.disabled = true;
    showMessage(messages.stopped(what));
  },
};

window.addEventListener('resize', function () { fitCanvas(canvas); });
new MutationObserver(function () { fitCanvas(canvas); })
  .observe(canvas, {attributes: true, attributeFilter: ['width', 'height']});
upright.addEventListener('change', showTurnRequest);
showTurnRequest();
// Whatever stops the game unforeseen, or its start (the claim, the data, the program), is said in
// the page rather than left as a still picture or a loading bar: what is thrown, and what is
// rejected with nothing to take the rejection.
function showStopped(reason) {
  if (message.style.display !== 'block') showMessage(messages.stopped(reason));
}
window.addEventListener('error', function (event) { showStopped(event.message); });
window.addEventListener('unhandledrejection', function (event) { showStopped(String(event.reason)); });
document.addEventListener('contextmenu', function (event) { event.preventDefault(); });
// Where the page cannot go full screen (an iPhone), its button is not shown.
var canGoFullScreen = fullScreenRequest(document.documentElement) !== null;
fullscreen.disabled = !canGoFullScreen;
fullscreen.addEventListener('click', function () {
  toggleFullScreen();
  canvas.focus();
});

// A copy of the progress, saved first, so that it holds what the game has now.
saveCopy.addEventListener('click', function () {
  if (running) quenmarshPageHidden();
  if (lastText === null) {
    showNotice(messages.nothingToSave);
    return;
  }
  saveFile(lastText);
  canvas.focus();
});

// A progress file replaces the progress, checked by the game's own rules, and the game starts
// again on it; anything else changes nothing.
loadFile.addEventListener('click', function () {
  progressFile.value = '';
  progressFile.click();
});
function isProgressFile(bytes) {
  Module.progressFile = bytes;
  var accepted = Module._isProgressFile();
  Module.progressFile = null;
  return accepted;
}
progressFile.addEventListener('change', function () {
  var file = progressFile.files[0];
  if (!file) return;
  readProgressFile(file, Module._progressFileLimit(), isProgressFile).then(function (text) {
    if (text === null) {
      showNotice(messages.notAProgressFile);
      return;
    }
    fileLoaded = true;
    store(progressKey, text, framed);  // a refusal is told again as the page opens
    history.replaceState({quenmarshProgress: text}, '');
    location.reload();
  }, function (error) {
    showNotice(messages.unreadable(error));
  });
});
notice.addEventListener('click', hideNotice);

// Before play, the player learns that this browser keeps nothing for the page, or, in a Safari
// tab, that it keeps the chip for a week without a visit.
claimGame('quenmarsh:' + folder, function () {
  openProgress();
  if (!storageProblem) {
    var week = weekNotice(navigator.standalone, canGoFullScreen, openStorage(toldKey, framed).kept !== null);
    if (week) showNotice(week, 'week');
    start();
    return;
  }
  showCarryButtons(false);
  showMessage(messages.keepsNothing(storageProblem));
  playButton.style.display = 'block';
  playButton.addEventListener('click', function () {
    playButton.style.display = 'none';
    showCarryButtons(true);
    hideMessage();
    start();
  });
}, function () {
  playButton.style.display = 'none';
  showCarryButtons(false);
  showMessage(messages.otherTab);
}, function () {
  if (heldText !== null) keepProgress(heldText);
  heldText = null;
});
