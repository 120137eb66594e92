// The page's scripts (packaging/web/page/) that need no browser, under Node.js's test runner:
// each tab is a context of its own holding the page's scripts, with the browser's parts faked.
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const test = require('node:test');
const vm = require('node:vm');

const pageDir = path.join(__dirname, '..', '..', 'packaging', 'web', 'page');

// A context of the page's scripts `names` with `globals` as the browser's.
function page(names, globals) {
  const context = vm.createContext(Object.assign({console}, globals));
  for (const name of ['messages.js', ...names])
    vm.runInContext(fs.readFileSync(path.join(pageDir, name), 'utf8'), context, {filename: name});
  return context;
}
const {messages} = page([], {});

// Tabs over one fake BroadcastChannel and one clock: what each posts waits for deliver(), and
// each tab's timer for wait(), which moves the clock on.
function browser(locks) {
  const world = {now: 0, queue: [], open: new Set(), timers: []};
  world.Channel = class {
    constructor(name) {
      if (locks === 'no channel') throw new Error('no BroadcastChannel');
      this.name = name;
      world.open.add(this);
    }
    // To the channels open now, as the browser sends it.
    postMessage(data) {
      const to = [...world.open].filter(other => other !== this && other.name === this.name);
      world.queue.push({to, data: JSON.parse(JSON.stringify(data))});
    }
    close() { world.open.delete(this); }
  };
  world.deliver = () => {
    while (world.queue.length) {
      const {to, data} = world.queue.shift();
      to.filter(channel => world.open.has(channel)).forEach(channel => channel.onmessage({data}));
    }
  };
  world.wait = () => {
    world.now += 500;
    const due = world.timers.filter(t => t.at <= world.now);
    world.timers = world.timers.filter(t => t.at > world.now);
    due.forEach(t => t.run());
  };
  // Web Locks, held until the holder's promise settles; 'denied' as where site data is blocked.
  const held = new Set();
  world.locks = {
    request(name, options, granted) {
      if (locks === 'denied') return Promise.reject(new DOMException('The request was denied.'));
      const free = !held.has(name);
      if (free) held.add(name);
      return Promise.resolve(granted(free ? {name} : null)).then(() => { if (free) held.delete(name); });
    },
  };
  return world;
}

function openTab(world, locks, number) {
  const said = [];
  const tab = page(['claim.js'], {
    BroadcastChannel: world.Channel,
    navigator: locks === 'locks' || locks === 'denied' ? {locks: world.locks} : {},
    setTimeout: (run, ms) => world.timers.push({at: world.now + ms, run}),
  });
  vm.runInContext(`Math.random = () => ${number}; Date.now = () => clock.now;`, Object.assign(tab, {clock: world}));
  tab.claimGame('quenmarsh:/', () => said.push('play'), () => said.push('already'));
  tab.said = said;
  return tab;
}

test('one tab of the browser plays, whichever way the tabs learn of each other', async (t) => {
  // Steps: "open <tab> <its number>", "deliver" what the tabs posted, "wait" half a second,
  // "end <tab>"'s game. `want` is what each tab did: played, and/or said that another plays.
  const cases = [
    {name: 'a tab alone plays once no tab answers', steps: 'open a .5, deliver, wait', want: {a: 'play'}},
    {name: 'a tab that asks is refused by the one playing',
     steps: 'open a .5, wait, open b .3, deliver, wait', want: {a: 'play', b: 'already'}},
    {name: 'of two tabs that ask at once, the lower number plays',
     steps: 'open a .7, open b .3, deliver, wait', want: {a: 'already', b: 'play'}},
    {name: 'the other way round: the first tab tells the second it did not hear of it',
     steps: 'open a .3, open b .7, deliver, wait', want: {a: 'play', b: 'already'}},
    {name: 'a late answer: the tab that began to play later gives way',
     steps: 'open a .5, wait, open b .3, wait, deliver', want: {a: 'play', b: 'play already'}},
    {name: 'two tabs that began to play at once: the lower number plays on',
     steps: 'open a .5, open b .3, wait, deliver', want: {a: 'play already', b: 'play'}},
    {name: 'once the game has ended, another tab plays',
     steps: 'open a .5, wait, end a, open b .3, deliver, wait', want: {a: 'play', b: 'play'}},
    {name: 'with no channel every tab plays', locks: 'no channel',
     steps: 'open a .5, open b .3', want: {a: 'play', b: 'play'}},
    {name: 'Web Locks: the second tab is refused, and plays once the first has ended', locks: 'locks',
     steps: 'open a .5, open b .3, end a, open c .9', want: {a: 'play', b: 'already', c: 'play'}},
    {name: 'Web Locks denied: the channel decides', locks: 'denied',
     steps: 'open a .5, deliver, wait, open b .3, deliver, wait', want: {a: 'play', b: 'already'}},
  ];
  for (const c of cases) {
    await t.test(c.name, async () => {
      const world = browser(c.locks), tabs = {};
      for (const step of c.steps.split(', ')) {
        const [verb, name, number] = step.split(' ');
        if (verb === 'open') tabs[name] = openTab(world, c.locks, number);
        else if (verb === 'end') tabs[name].claim.release();
        else world[verb]();
        await new Promise(setImmediate);  // the locks' promises
      }
      const did = Object.fromEntries(Object.entries(tabs).map(([name, tab]) => [name, tab.said.join(' ')]));
      assert.deepStrictEqual(did, c.want);
      // A tab that played and then gave way keeps nothing; one that plays on keeps its saves.
      for (const tab of Object.values(tabs))
        if (tab.said[0] === 'play') assert.strictEqual(tab.claim.gaveWay, tab.said.length > 1);
    });
  }
});

test('the browser storage: what the page finds, and why it keeps nothing in the player\'s words', () => {
  const refusal = (name) => { throw new DOMException('refused', name); };
  const kept = {getItem: () => 'kept', setItem() {}, removeItem() {}};
  const cases = [
    {name: 'kept', storage: () => kept, want: {kept: 'kept', problem: ''}},
    {name: 'full: what was kept still reads', storage: () => ({...kept, setItem: () => refusal('QuotaExceededError')}),
     want: {kept: 'kept', problem: messages.storageFull}},
    {name: 'turned off', storage: () => null, want: {kept: null, problem: messages.storageOff}},
    {name: 'blocked', storage: () => refusal('SecurityError'), want: {kept: null, problem: messages.storageBlocked}},
    {name: 'in another site\'s frame', framed: true, storage: () => refusal('SecurityError'),
     want: {kept: null, problem: messages.storageFramed}},
  ];
  for (const c of cases) {
    const window = {};
    Object.defineProperty(window, 'localStorage', {get: c.storage});
    const found = page(['storage.js'], {window}).openStorage('quenmarsh-progress:/', !!c.framed);
    assert.deepStrictEqual({...found}, c.want, c.name);
    // Each reason reads as the end of the page's sentences, never the game's own words.
    if (found.problem) {
      assert.match(messages.notKept(found.problem), /^This browser did not keep the progress: [a-z][^.]*\. /, c.name);
      assert.doesNotMatch(messages.ended(found.problem), /saved in this browser/, c.name);
    }
  }
  assert.match(messages.ended(''), /saved in this browser/);
});

test('Safari in a tab is told once of its week; full screen from the Home Screen where the page has none', () => {
  const {weekNotice} = page(['storage.js'], {});
  const cases = [
    // standalone, can go full screen, told before: the notice.
    [undefined, true, false, ''],
    [true, false, false, ''],
    [false, true, false, messages.erasedAfterAWeek],
    [false, false, false, messages.erasedAfterAWeek + ' ' + messages.fullScreenFromHome],
    [false, false, true, ''],
  ];
  for (const [standalone, fullScreen, told, want] of cases)
    assert.strictEqual(weekNotice(standalone, fullScreen, told), want, [standalone, fullScreen, told].join());
});

test('a progress file is read only below the game\'s limit, and kept only as the game accepts it', async () => {
  const {readProgressFile} = page(['carry.js'], {TextDecoder, Uint8Array});
  const cases = [
    // size, the game accepts it: the text, whether the file was read.
    [3, true, 'abc', true],
    [4, true, 'abcd', true],
    [4, false, null, true],
    [5, true, null, false],
  ];
  for (const [size, accepted, want, read] of cases) {
    let reads = 0;
    const file = {size, arrayBuffer: async () => { reads++; return new TextEncoder().encode('abcde'.slice(0, size)).buffer; }};
    const text = await readProgressFile(file, 4, (bytes) => bytes.length === size && accepted);
    assert.deepStrictEqual([text, reads === 1], [want, read], `${size} bytes`);
  }
});
