// Every text the page shows the player, once: the page's scripts and its tests take their words
// from here. A function fills in what varies.
'use strict';
var messages = {
  // Why the browser keeps no progress, each the end of "This browser did not keep the progress: ".
  storageFull: 'its storage for this site is full',
  storageOff: 'its storage for web pages is turned off',
  storageFramed: 'it keeps no data for a page shown inside another site',
  storageBlocked: 'site data is blocked for this site in its settings',
  // Told to the game, which says it in its log: a tab that gave way keeps nothing.
  otherTabKeeps: 'the game is open in another tab',

  // A save refused during play, at the top of the page.
  notKept: function (why) {
    return 'This browser did not keep the progress: ' + why + '. Save a copy with the button at the top to keep it.';
  },
  // Before play, where the browser keeps nothing for the page.
  keepsNothing: function (why) {
    return 'This browser does not keep progress for this page: ' + why + '. You can play, but the chip is lost ' +
           'when the page closes, unless you save a copy with the button at the top.';
  },
  // The end of the game, with why the progress was not kept ('' when it was).
  ended: function (notKeptBecause) {
    return 'Quenmarsh has ended. ' +
           (notKeptBecause ? messages.notKept(notKeptBecause) : 'Your progress is saved in this browser.') +
           ' Reload the page to play again.';
  },
  otherTab: 'Quenmarsh is already open in another tab of this browser. Play it there, or close it and reload this page.',
  couldNotStart: 'Quenmarsh could not start.',
  notLoaded: function (name) { return 'Quenmarsh could not start: ' + name + ' did not load.'; },
  stopped: function (what) { return 'Quenmarsh stopped: ' + what; },
  errorBox: function (heading, text) { return heading + ': ' + text; },

  nothingToSave: 'There is no progress to save yet.',
  notAProgressFile: 'That file is not a Quenmarsh progress file. The progress stays as it was.',
  unreadable: function (error) { return 'Quenmarsh could not read that file (' + error + '). The progress stays as it was.'; },

  // Safari in a tab (iPhone, iPad): what it erases, and, where the page cannot go full screen,
  // how to play full screen.
  erasedAfterAWeek: 'This browser erases the chip after seven days without a visit to this page. To keep it, ' +
                    'save a copy with the button at the top, or choose "Add to Home Screen" in the Share menu ' +
                    'and play from the Home Screen, where nothing is erased (load your copy there).',
  fullScreenFromHome: 'From the Home Screen the game also plays full screen.',

  // The page's own labels.
  loading: 'Loading Quenmarsh',
  turn: 'Turn your device sideways to play Quenmarsh.',
  play: 'Play',
  fullScreen: 'Full screen',
  saveCopy: 'Save a copy of the progress',
  loadFile: 'Load a progress file',
  close: 'Close',

  // The game's accessible copy (access.js): its name, the side panel's controls by the game's
  // number for them (0 the close button, 1 to 4 the care actions) and its meters, top to bottom.
  game: 'Quenmarsh',
  panelControls: ['Quit', 'Feed the chip', 'Give the chip water', 'Put wood on the fire', 'Douse the fire'],
  meters: ['Heat', 'Fire', 'Food', 'Water', 'Health'],
  // Said once a meter starts to harm the chip, and once it stops; the fire harms only through the heat.
  intoDanger: ['Too hot: the heat is hurting the chip.', '', 'No food left: the chip is starving.',
               'No water left: the chip is thirsty.', 'Health is low: the chip is crying.'],
  outOfDanger: ['The heat no longer hurts the chip.', '', 'The chip has food again.', 'The chip has water again.',
                'The chip has stopped crying.'],
};
