// The progress carried out of the browser as a file, and in from one: byte for byte the desktop
// game's qmprogress.dat.
'use strict';

// The text of the file the player chose, once the game's own rules (isProgressFile, given its
// bytes) accept it; null for any other file. A file larger than any progress file (`limit`
// bytes) is refused unread.
function readProgressFile(file, limit, isProgressFile) {
  if (file.size > limit) return Promise.resolve(null);
  return file.arrayBuffer().then(function (buffer) {
    var bytes = new Uint8Array(buffer);
    return isProgressFile(bytes) ? new TextDecoder().decode(bytes) : null;
  });
}

// Downloads the text as qmprogress.dat.
function saveFile(text) {
  var link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([text], {type: 'application/octet-stream'}));
  link.download = 'qmprogress.dat';
  link.click();
  setTimeout(function () { URL.revokeObjectURL(link.href); }, 60000);
}
