// The page's scripts (packaging/web/page/) that need no browser, under Node.js's test runner:
// each tab is a context of its own holding the page's scripts, with the browser's parts faked.
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const test = require('node:test');
const vm = require('node:vm');

// A context of the page's scripts `names`, with `globals` for the browser's; the context is the
// page's window unless `globals` gives one.
function page(names, globals) {
  const context = vm.createContext(Object.assign({console}, globals));
  context.window ??= context;
  for (const name of ['messages.js', ...names])
    vm.runInContext(fs.readFileSync(path.join(__dirname, '../../packaging/web/page', name), 'utf8'), context);
  return context;
}
const {messages} = page([], {});

// Tabs of one browser. What a tab posts on its channel reaches the channels open then, at
// deliver(); wait() moves the clock on half a second and runs the timers due, settle() runs them
// all. Web Locks ('locks') are granted in a later task and held until the holder's promise
// settles; 'denied' refuses them, as where site data is blocked. What a timer throws goes to its
// tab's 'error' listeners, as in a browser. The browser's storage holds one progress, `stored`.
function browser(kind) {
  const world = {now: 0, queue: [], open: new Set(), timers: [], held: new Set(), stored: 'kept', reads: 0};
  world.Channel = class {
    constructor() {  // every tab's on the one name
      if (kind === 'no channel') throw new Error('no BroadcastChannel');
      world.open.add(this);
    }
    postMessage(data) { world.queue.push({to: [...world.open].filter(other => other !== this), data}); }
    close() { world.open.delete(this); }
  };
  world.deliver = () => {
    for (let sent; (sent = world.queue.shift());)
      sent.to.filter(channel => world.open.has(channel)).forEach(channel => channel.onmessage({data: sent.data}));
  };
  world.wait = (ms = 500) => {
    world.now += ms;
    const due = world.timers.filter(t => t.at <= world.now);
    world.timers = world.timers.filter(t => t.at > world.now);
    due.forEach(t => t.run());
  };
  world.settle = () => world.wait(Math.max(0, ...world.timers.map(t => t.at - world.now)));
  world.locks = {request(name, options, granted) {
    if (kind === 'denied') return Promise.reject(new Error('The request was denied.'));
    return Promise.resolve().then(() => {
      const free = !world.held.has(name);
      world.held.add(name);
      const holding = Promise.resolve().then(() => granted(free ? {name} : null));
      holding.finally(() => free && world.held.delete(name)).catch(() => {});
      return holding;
    });
  }};
  world.localStorage = {
    getItem: (key) => key.startsWith('quenmarsh-progress:') ? (world.reads++, world.stored) : null,
    setItem: (key, text) => { if (key.startsWith('quenmarsh-progress:')) world.stored = text; },
    removeItem() {},
  };
  // A tab of the claim alone, or (`whole`) of the whole page, whose elements are faked as far as
  // its scripts reach them, and whose game starts no further than the data's fetch().
  world.openTab = (number, whole, fetch = () => new Promise(() => {})) => {
    const elements = {}, listeners = {};
    const fake = {style: {}, dataset: {}, classList: {toggle() {}}, addEventListener() {}, setAttribute() {}, focus() {},
                  appendChild() {}};
    const tab = page(whole ? ['storage.js', 'claim.js', 'carry.js', 'screen.js', 'load.js', 'page.js'] : ['claim.js'], {
      BroadcastChannel: world.Channel, world, said: [], elements,
      navigator: kind === 'locks' || kind === 'denied' ? {locks: world.locks} : {},
      setTimeout: (run, ms = 0) => world.timers.push({at: world.now + ms, run() {
        try { run(); } catch (error) { (listeners.error || []).forEach(listen => listen({message: 'Uncaught ' + error})); }
      }}),
      addEventListener: (type, listen) => (listeners[type] ||= []).push(listen),
      listeners, localStorage: world.localStorage, fetch, location: {pathname: '/'}, history: {state: null},
      matchMedia: () => ({matches: false, addEventListener() {}}), MutationObserver: class { observe() {} },
      document: {getElementById: (id) => (elements[id] ||= {...fake, style: {}, firstChild: {style: {}}}),
                 querySelectorAll: () => [], addEventListener() {}, createElement: () => ({}), head: fake, body: fake,
                 documentElement: {}},
    });
    tab.top = tab;
    vm.runInContext(`Math.random = () => ${number}; Date.now = () => world.now;` + (whole ? '' :
      `claimGame('quenmarsh:/', () => said.push('play'), () => said.push('already'), () => said.push('settled'));`), tab);
    return tab;
  };
  return world;
}

// Plays the steps in the world's tabs (of the claim alone, or `whole` pages): "open <tab> <its
// number>" (which reads no progress), "end <tab>"'s game, "store <text>" as another tab's game
// would, "save <tab> <text>" as the tab's own game does, "stored <text>" that the browser holds
// now, or one of the world's verbs ("deliver", "wait", "settle").
async function play(world, tabs, steps, whole) {
  for (const step of steps.split(', ')) {
    const [verb, tab, number] = step.split(' ');
    if (verb === 'open') {
      const reads = world.reads;
      tabs[tab] = world.openTab(number, whole);
      assert.strictEqual(world.reads, reads, `${tab} read the progress as it opened`);
    } else if (verb === 'end') tabs[tab].claim.release();
    else if (verb === 'store') world.stored = tab;
    else if (verb === 'save') tabs[tab].Module.keepProgress(number);
    else if (verb === 'stored') assert.strictEqual(world.stored, tab, `stored, after ${step}`);
    else world[verb]();
    await new Promise(setImmediate);  // the locks' promises
  }
}

test('one tab of the browser plays, whichever way the tabs learn of each other', async (t) => {
  // Steps as play() has them; `want`: what each tab did (played, settled, and/or said that another
  // tab plays).
  const cases = [
    ['a tab alone plays once no tab answers', '', 'open a .5, deliver, wait, settle', {a: 'play settled'}],
    ['a tab that asks is refused by the one playing', '', 'open a .5, wait, open b .3, deliver, wait', {a: 'play', b: 'already'}],
    ['of two tabs that ask at once, the lower number plays', '', 'open a .7, open b .3, deliver, wait', {a: 'already', b: 'play'}],
    ['the first tells a second that missed its question', '', 'open a .3, open b .7, deliver, wait', {a: 'play', b: 'already'}],
    ['a late answer: the tab that began to play later gives way, unsettled', '', 'open a .5, wait, open b .3, wait, deliver, settle',
     {a: 'play settled', b: 'play already'}],
    ['two tabs that began to play at once: the lower number plays on', '', 'open a .5, open b .3, wait, deliver',
     {a: 'play already', b: 'play'}],
    ['once the game has ended, another tab plays', '', 'open a .5, wait, end a, open b .3, deliver, wait', {a: 'play', b: 'play'}],
    ['with no channel every tab plays', 'no channel', 'open a .5, open b .3', {a: 'play settled', b: 'play settled'}],
    ['Web Locks: a second tab is refused until the first has ended', 'locks', 'open a .5, open b .3, end a, open c .9',
     {a: 'play settled', b: 'already', c: 'play settled'}],
    ['Web Locks denied: the channel decides', 'denied', 'open a .5, deliver, wait, open b .3, deliver, wait',
     {a: 'play', b: 'already'}],
  ];
  for (const [name, kind, steps, want] of cases) {
    await t.test(name, async () => {
      const world = browser(kind), tabs = {};
      await play(world, tabs, steps, false);
      const did = Object.values(tabs).map(tab => tab.said.join(' '));
      assert.deepStrictEqual(did, Object.values(want));
      // A tab that played and then gave way keeps nothing; one that plays on keeps its saves.
      Object.values(tabs).forEach((tab, i) => did[i].startsWith('play') &&
                                              assert.strictEqual(tab.claim.gaveWay, did[i].endsWith('already')));
    });
  }
});

test('a tab reads the progress once it has the game, and writes no save before its claim has settled', async (t) => {
  // Steps as play() has them; `want`: what each tab handed its game.
  const cases = [
    ['the progress the last tab saved as it closed, while this one asked', '', 'open a .5, store newer, wait', {a: 'newer'}],
    ['a save waits for the claim to settle', '', 'open a .5, wait, save a one, stored kept, settle, stored one', {a: 'kept'}],
    ['a tab that hears late of an earlier game writes nothing', '',
     'open a .5, wait, settle, open b .3, wait, save b two, deliver, save b three, settle, stored kept', {a: 'kept', b: 'kept'}],
    ['Web Locks: settled at once; a second tab reads nothing', 'locks', 'open a .5, open b .3, save a one, stored one',
     {a: 'kept', b: null}],
  ];
  for (const [name, kind, steps, want] of cases) {
    await t.test(name, async () => {
      const world = browser(kind), tabs = {};
      await play(world, tabs, steps, true);
      assert.deepStrictEqual(Object.values(tabs).map(tab => tab.Module.keptProgress), Object.values(want));
    });
  }
});

test('whatever stops the start or the game is said in the page, with why', async () => {
  // what fails: the page's fetch(), and what the test does once the page has the game; the reason told
  const cases = [
    ['fetch() throws inside Web Locks\' grant', () => { throw new TypeError('no fetch here'); }, () => {},
     'Uncaught TypeError: no fetch here'],
    ['a promise rejected unhandled during play', undefined,
     (tab) => (tab.listeners.unhandledrejection || []).forEach(listen => listen({reason: new Error('lost')})), 'Error: lost'],
  ];
  for (const [name, fetch, then, reason] of cases) {
    const world = browser('locks'), tab = world.openTab(.5, true, fetch);
    await new Promise(setImmediate);
    then(tab);
    world.wait();
    const {message, loading} = tab.elements;
    assert.deepStrictEqual([message.textContent, loading.style.display], [messages.stopped(reason), 'none'], name);
  }
});

test('the page\'s storage: what it finds, and why the browser keeps nothing, in the page\'s sentences', () => {
  const refuse = (name) => { throw new DOMException('refused', name); };
  const kept = {getItem: () => 'kept', setItem() {}, removeItem() {}};
  const cases = [
    // the storage, framed in another site: what the page finds
    [() => kept, false, 'kept', ''],
    [() => ({...kept, setItem: () => refuse('QuotaExceededError')}), false, 'kept', messages.storageFull],
    [() => null, false, null, messages.storageOff],
    [() => refuse('SecurityError'), false, null, messages.storageBlocked],
    [() => refuse('SecurityError'), true, null, messages.storageFramed],
  ];
  for (const [storage, framed, want, problem] of cases) {
    const found = page(['storage.js'], {window: {get localStorage() { return storage(); }}}).openStorage('key', framed);
    assert.deepStrictEqual([found.kept, found.problem], [want, problem]);
    // Each reason ends the page's sentences; the end of a game that kept nothing never says it saved.
    if (problem) assert.match(messages.notKept(problem), /^This browser did not keep the progress: [a-z][^.]*\. /);
    assert.strictEqual(/saved in this browser/.test(messages.ended(found.problem)), !problem);
  }
});

test('a Safari tab is told once of its week, and of full screen from the Home Screen where it has none', () => {
  const {weekNotice} = page(['storage.js'], {});
  const week = messages.erasedAfterAWeek, home = messages.fullScreenFromHome;
  // standalone, can go full screen, told before: the notice
  const cases = [[undefined, true, false, ''], [true, false, false, ''], [false, true, false, week],
                 [false, false, false, week + ' ' + home], [false, false, true, '']];
  for (const [standalone, fullScreen, told, want] of cases)
    assert.strictEqual(weekNotice(standalone, fullScreen, told), want, [standalone, fullScreen, told].join());
});

test('a file is read only up to the game\'s limit, and kept only as the game accepts it', async () => {
  const {readProgressFile} = page(['carry.js'], {TextDecoder, Uint8Array});
  // size (the limit is 4), the game accepts it: the text, whether the file was read
  const cases = [[3, true, 'abc', true], [4, true, 'abcd', true], [4, false, null, true], [5, true, null, false]];
  for (const [size, accepted, want, read] of cases) {
    let reads = 0;
    const file = {size, arrayBuffer: async () => (reads++, new TextEncoder().encode('abcde'.slice(0, size)).buffer)};
    const text = await readProgressFile(file, 4, (bytes) => bytes.length === size && accepted);
    assert.deepStrictEqual([text, reads], [want, read ? 1 : 0], `${size} bytes`);
  }
});
