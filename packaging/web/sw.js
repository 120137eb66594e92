// The game's service worker: it keeps every file of one build, so that once played the game
// opens from the home screen and plays with no network. The build stamps its id and its file
// list in here (packaging/web/stamp.py); a new build is a new worker, which takes the new files
// all at once and drops the old ones.
'use strict';
var build = '%QUENMARSH_BUILD%';
var files = %QUENMARSH_FILES%;  // beside this worker
var scope = self.registration.scope;
// Caches belong to the whole site: each copy of the game (one per folder) keeps its own.
var cachePrefix = 'quenmarsh:' + scope + ':';
var cacheName = cachePrefix + build;

// The page asks for the program and its data with ?v=<build>, so that it never runs one build's
// program on another's data; the worker keeps every file of its build under that name.
function versioned(name) {
  return new URL(name + '?v=' + encodeURIComponent(build), scope).href;
}

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(cacheName)
    .then(function (cache) { return cache.addAll(files.map(versioned)); })
    .then(function () { return self.skipWaiting(); }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys()
    .then(function (names) {
      return Promise.all(names.filter(function (name) {
        return name.indexOf(cachePrefix) === 0 && name !== cacheName;
      }).map(function (name) { return caches.delete(name); }));
    })
    .then(function () { return self.clients.claim(); }));
});

function fromCache(request, options) {
  return caches.open(cacheName).then(function (cache) { return cache.match(request, options); });
}

self.addEventListener('fetch', function (event) {
  var request = event.request;
  var url = new URL(request.url);
  if (request.method !== 'GET' || request.url.indexOf(scope) !== 0) return;
  var wanted = url.searchParams.get('v');
  var path = url.pathname.slice(new URL(scope).pathname.length);
  if (request.mode === 'navigate' && (path === '' || path === 'index.html')) {
    // The page from the network whenever there is one, so that a new build plays at the next
    // visit; this build's page without one.
    event.respondWith(fetch(request.url, {cache: 'no-cache', credentials: 'same-origin'})
      .catch(function () {
        return fromCache(versioned('index.html')).then(function (page) { return page || Response.error(); });
      }));
  } else if (wanted === build || wanted === null) {
    event.respondWith(fromCache(request, {ignoreSearch: wanted === null}).then(function (kept) {
      return kept || fetch(request);
    }));
  }
  // Another build's file (a page newer than this worker): from the network, as the page is.
});
