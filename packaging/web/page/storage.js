// The progress the browser keeps for the page's folder, as the nine-line text of the desktop
// game's qmprogress.dat; why the browser keeps nothing, where it does not; and Safari's week.
'use strict';

// The page's storage; throws when the browser gives it none.
function browserStorage() {
  var storage = window.localStorage;  // a SecurityError where site data is blocked
  if (!storage) throw {name: 'NoStorage'};
  return storage;
}

// Why the browser did not keep the progress, in the player's words; `framed` when the page is
// shown inside another page.
function storageRefusal(error, framed) {
  if (error.name === 'QuotaExceededError') return messages.storageFull;
  if (error.name === 'NoStorage') return messages.storageOff;
  if (error.name === 'SecurityError') return framed ? messages.storageFramed : messages.storageBlocked;
  return String(error);
}

// What the browser kept under `key` as the page opens, and whether it keeps anything now: ''
// when it does, or why not.
function openStorage(key, framed) {
  var found = {kept: null, problem: ''};
  try {
    found.kept = browserStorage().getItem(key);
    browserStorage().setItem('quenmarsh-probe', '');
    browserStorage().removeItem('quenmarsh-probe');
  } catch (error) {
    found.problem = storageRefusal(error, framed);
  }
  return found;
}

// Stores the text under `key`: '' once kept, or why not.
function store(key, text, framed) {
  try {
    browserStorage().setItem(key, text);
  } catch (error) {
    return storageRefusal(error, framed);
  }
  return '';
}

// Browsers may clear a site's storage when the disk runs short, unless asked to keep it; asked
// once there is a chip to keep. What the browser answers changes nothing in the page.
var persistenceAsked = false;
function askToKeepStorage() {
  if (persistenceAsked || !navigator.storage || !navigator.storage.persist) return;
  persistenceAsked = true;
  navigator.storage.persisted().then(function (kept) { return kept || navigator.storage.persist(); })
    .then(function (kept) {
      console.log('Quenmarsh: the browser ' + (kept ? 'keeps' : 'may clear') + ' this site\'s storage when short of space');
    }, function () {});
}

// Safari erases what a site stored after seven days of use without a visit, but not for a
// Home Screen web app. Its navigator.standalone tells the two apart on iPhones and iPads (false
// in a tab); other browsers, a Mac's Safari among them, have none. What the player is to be
// told, or '': in a Safari tab until told once (`told`), with, where the page cannot go full
// screen (an iPhone), the way that can.
function weekNotice(standalone, canGoFullScreen, told) {
  if (standalone !== false || told) return '';
  return canGoFullScreen ? messages.erasedAfterAWeek : messages.erasedAfterAWeek + ' ' + messages.fullScreenFromHome;
}
