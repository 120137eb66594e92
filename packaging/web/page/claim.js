// One game per browser on the same progress: a second tab starts no game and says so.
'use strict';

// gaveWay is set when this tab gave way to another's game that it heard of late: its saves
// are refused. settled is set once this tab keeps the game unless a tab answers later still:
// until then the page writes none of its saves. release() lets another tab have the game once
// this one's has ended.
var claim = {gaveWay: false, settled: false, release: function () {}};

// Calls play() once this tab has the game named `name`, and settled() once claim.settled is set
// (with Web Locks at once); or already() when another tab has it.
function claimGame(name, play, already, settled) {
  if (!navigator.locks) {
    claimByChannel(name, play, already, settled);
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
    settle(settled);
    // Held while this page's game lives.
    return new Promise(function (resolve) { claim.release = resolve; });
  }).catch(function (error) {
    // Refused where site data is blocked: the tabs ask each other. Once decided, the error is
    // what play() or already() threw: thrown again outside the lock's promise, where the page's
    // error listener hears it.
    if (!decided) claimByChannel(name, play, already, settled);
    else setTimeout(function () { throw error; });
  });
}

// A tab that plays by the channel may yet hear of an earlier game from a tab that was busy
// starting it, which answers once its long task is done (1.7 s the longest seen, in headless
// Chromium on a first visit): for this long the claim is not settled. An answer later still (from
// a tab the browser froze in the background) makes this tab give way all the same, after it saved.
var settleTime = 5000;

function settle(settled) {
  claim.settled = true;
  settled();
}

// Without Web Locks (a page that is not a secure context, or site data blocked), the tabs ask
// each other: a tab that plays answers every one that asks, and of two tabs asking at once the
// one with the lower number plays. A tab busy starting its game may answer late: then the tab
// that began to play later gives way, and its game, if started, goes on unseen and saves nothing.
// With no channel at all the page plays as if alone.
function claimByChannel(name, play, already, settled) {
  var channel;
  try {
    channel = new BroadcastChannel(name);
  } catch (error) {
    play();
    settle(settled);
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
    setTimeout(function () { if (state === 'playing') settle(settled); }, settleTime);
    play();
  }, 500);
}
