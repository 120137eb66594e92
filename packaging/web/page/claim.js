// One game per browser on the same progress: a second tab starts no game and says so.
'use strict';

// gaveWay is set when this tab gave way to another's game that it heard of late: its saves
// are refused. release() lets another tab have the game once this one's has ended.
var claim = {gaveWay: false, release: function () {}};

// Calls play() once this tab has the game named `name`, or already() when another tab has it.
function claimGame(name, play, already) {
  if (!navigator.locks) {
    claimByChannel(name, play, already);
    return;
  }
  var decided = false;
  navigator.locks.request(name, {ifAvailable: true}, function (lock) {
    decided = true;
    if (!lock) {
      already();
      return;
    }
    play();
    // Held while this page's game lives.
    return new Promise(function (resolve) { claim.release = resolve; });
  }).catch(function () {
    if (!decided) claimByChannel(name, play, already);  // refused where site data is blocked
  });
}

// Without Web Locks (a page that is not a secure context, or site data blocked), the tabs ask
// each other: a tab that plays answers every one that asks, and of two tabs asking at once the
// one with the lower number plays. A tab busy starting its game may answer late: then the tab
// that began to play later gives way, and its game, if started, goes on unseen and saves nothing.
// With no channel at all the page plays as if alone.
function claimByChannel(name, play, already) {
  var channel;
  try {
    channel = new BroadcastChannel(name);
  } catch (error) {
    play();
    return;
  }
  var mine = Math.random(), state = 'asking', since = 0;
  function giveWay() {
    state = 'refused';
    channel.close();
    claim.gaveWay = true;
    already();
  }
  channel.onmessage = function (event) {
    var other = event.data;
    if (state === 'playing') {
      if (typeof other.playing === 'number' && (other.playing < since || (other.playing === since && other.id < mine)))
        giveWay();
      else
        channel.postMessage({playing: since, id: mine});  // to one that asks, or began later
    } else if (state === 'asking') {
      if (typeof other.playing === 'number' || other.asking < mine) giveWay();
      else if (other.asking > mine) channel.postMessage({asking: mine});  // so that it hears of this tab
    }
  };
  channel.postMessage({asking: mine});
  setTimeout(function () {
    if (state !== 'asking') return;
    state = 'playing';
    since = Date.now();
    channel.postMessage({playing: since, id: mine});
    claim.release = function () { channel.close(); };
    play();
  }, 500);
}
