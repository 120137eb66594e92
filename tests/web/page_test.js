// The page's scripts (packaging/web/page/) that need no browser, under Node.js's test runner:
// each tab is a context of its own holding the page's scripts, with the browser's parts faked.
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const test = require('node:test');
const vm = require('node:vm');

// A context of the page's scripts `names`, with `globals` for the browser's.
function page(names, globals) {
  const context = vm.createContext(Object.assign({console}, globals));
  for (const name of ['messages.js', ...names])
    vm.runInContext(fs.readFileSync(path.join(__dirname, '../../packaging/web/page', name), 'utf8'), context);
  return context;
}
const {messages} = page([], {});

// Tabs of one browser. What a tab posts on its channel reaches the channels open then, at
// deliver(); wait() moves the clock on half a second and runs the timers due. Web Locks ('locks')
// are held until the holder's promise settles; 'denied' refuses them, as where site data is blocked.
function browser(kind) {
  const world = {now: 0, queue: [], open: new Set(), timers: [], held: new Set()};
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
  world.wait = () => {
    world.now += 500;
    const due = world.timers.filter(t => t.at <= world.now);
    world.timers = world.timers.filter(t => t.at > world.now);
    due.forEach(t => t.run());
  };
  world.locks = {request(name, options, granted) {
    if (kind === 'denied') return Promise.reject(new Error('The request was denied.'));
    const free = !world.held.has(name);
    world.held.add(name);
    return Promise.resolve(granted(free ? {name} : null)).then(() => free && world.held.delete(name));
  }};
  world.openTab = (number) => {
    const tab = page(['claim.js'], {BroadcastChannel: world.Channel, world, said: [],
      navigator: kind === 'locks' || kind === 'denied' ? {locks: world.locks} : {},
      setTimeout: (run, ms) => world.timers.push({at: world.now + ms, run})});
    vm.runInContext(`Math.random = () => ${number}; Date.now = () => world.now;
      claimGame('quenmarsh:/', () => said.push('play'), () => said.push('already'));`, tab);
    return tab;
  };
  return world;
}

test('one tab of the browser plays, whichever way the tabs learn of each other', async (t) => {
  // Steps: "open <tab> <its number>", "deliver" what the tabs posted, "wait", "end <tab>"'s game.
  // `want`: what each tab did (played, and/or said that another tab plays).
  const cases = [
    ['a tab alone plays once no tab answers', '', 'open a .5, deliver, wait', {a: 'play'}],
    ['a tab that asks is refused by the one playing', '', 'open a .5, wait, open b .3, deliver, wait', {a: 'play', b: 'already'}],
    ['of two tabs that ask at once, the lower number plays', '', 'open a .7, open b .3, deliver, wait', {a: 'already', b: 'play'}],
    ['the first tells a second that missed its question', '', 'open a .3, open b .7, deliver, wait', {a: 'play', b: 'already'}],
    ['a late answer: the tab that began to play later gives way', '', 'open a .5, wait, open b .3, wait, deliver',
     {a: 'play', b: 'play already'}],
    ['two tabs that began to play at once: the lower number plays on', '', 'open a .5, open b .3, wait, deliver',
     {a: 'play already', b: 'play'}],
    ['once the game has ended, another tab plays', '', 'open a .5, wait, end a, open b .3, deliver, wait', {a: 'play', b: 'play'}],
    ['with no channel every tab plays', 'no channel', 'open a .5, open b .3', {a: 'play', b: 'play'}],
    ['Web Locks: a second tab is refused until the first has ended', 'locks', 'open a .5, open b .3, end a, open c .9',
     {a: 'play', b: 'already', c: 'play'}],
    ['Web Locks denied: the channel decides', 'denied', 'open a .5, deliver, wait, open b .3, deliver, wait',
     {a: 'play', b: 'already'}],
  ];
  for (const [name, kind, steps, want] of cases) {
    await t.test(name, async () => {
      const world = browser(kind), tabs = {};
      for (const [verb, tab, number] of steps.split(', ').map(step => step.split(' '))) {
        if (verb === 'open') tabs[tab] = world.openTab(number);
        else if (verb === 'end') tabs[tab].claim.release();
        else world[verb]();
        await new Promise(setImmediate);  // the locks' promises
      }
      const did = Object.values(tabs).map(tab => tab.said.join(' '));
      assert.deepStrictEqual(did, Object.values(want));
      // A tab that played and then gave way keeps nothing; one that plays on keeps its saves.
      Object.values(tabs).forEach((tab, i) => did[i].startsWith('play') &&
                                              assert.strictEqual(tab.claim.gaveWay, did[i] === 'play already'));
    });
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
