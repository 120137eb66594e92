// Loading: the data package, its progress shown in the page's bar, the program's runtime and the
// program itself, all fetched at once; the program compiled while it arrives.
'use strict';

// This build's id, stamped in by the build. The page asks for the program and its data with it,
// so that it never runs one build's program on another's data, whatever a cache holds.
var build = '%QUENMARSH_BUILD%';
function versioned(name) { return name + '?v=' + encodeURIComponent(build); }

// The data package, the runtime and the program from the first moment; the runtime runs once
// the package is in and the device is held sideways. Should the package fail to load, the
// program starts without it and tells why, as its error box does on the desktop when the data
// folder is missing.
function start() {
  var bar = document.getElementById('loading').firstChild;
  compileProgram();
  ['quenmarsh-data.js', 'quenmarsh.js'].forEach(function (name) {
    var hint = document.createElement('link');
    hint.rel = 'preload';
    hint.as = 'script';
    hint.href = versioned(name);
    document.head.appendChild(hint);
  });
  fetch(versioned('quenmarsh.data')).then(function (response) {
    if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
    var total = Number(response.headers.get('Content-Length')) || 0, loaded = 0, chunks = [];
    var reader = response.body.getReader();
    function pump() {
      return reader.read().then(function (piece) {
        if (piece.done) return new Blob(chunks).arrayBuffer();
        chunks.push(piece.value);
        loaded += piece.value.length;
        if (total) bar.style.width = 100 * loaded / total + '%';
        return pump();
      });
    }
    return pump();
  }).then(function (data) {
    Module.getPreloadedPackage = function () { return data; };
    whenSideways(function () { load(['quenmarsh-data.js', 'quenmarsh.js']); });
  }, function (error) {
    console.warn('Quenmarsh: cannot load quenmarsh.data (' + error + ')');
    whenSideways(function () { load(['quenmarsh.js']); });
  });
}

function load(names) {
  names.forEach(function (name) {
    var script = document.createElement('script');
    script.src = versioned(name);
    script.async = false;  // in this order
    script.onerror = function () { showMessage(messages.notLoaded(name)); };
    document.body.appendChild(script);
  });
}

// The program is compiled as it downloads, which needs the server to send it as
// application/wasm; from its whole bytes otherwise. The runtime, once here, takes it from
// Module.instantiateWasm; a program that cannot be had stops the game as the runtime's own
// loading would.
function compileProgram() {
  var program = fetch(versioned('quenmarsh.wasm'), {credentials: 'same-origin'}).then(function (response) {
    if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
    var streamed = WebAssembly.compileStreaming ? WebAssembly.compileStreaming(response.clone()) : Promise.reject();
    return streamed.catch(function () {
      return response.arrayBuffer().then(function (bytes) { return WebAssembly.compile(bytes); });
    });
  });
  Module.instantiateWasm = function (imports, ready) {
    program.then(function (compiled) {
      return WebAssembly.instantiate(compiled, imports).then(function (instance) { ready(instance, compiled); });
    }).catch(function (error) { abort('cannot load quenmarsh.wasm (' + error + ')'); });
    return {};
  };
}
