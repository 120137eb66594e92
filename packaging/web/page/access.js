// The game's accessible copy, for screen readers and keyboards: what the game says it shows
// (src/game/screen_report.cpp, through Module.describeScreen), as the page's own elements laid
// unseen over the canvas at the same places. A dialog's lines are read once, from a live region,
// as it appears; its answers and the side panel's controls are buttons that press the game as a
// click on the same spot would; the meters are meters, said aloud only when one starts or stops
// harming the chip; the counters are text. The game hears keys only on its canvas (pre.js), so
// Tab, Enter and Space work the page's buttons; Escape goes on to the game wherever the focus is.
'use strict';
var access = document.getElementById('access');
var accessLines = document.getElementById('access-lines');
var accessScreen = document.getElementById('access-screen');
var accessNews = document.getElementById('access-news');
// What the copy shows now: the screen's words (a new value is a new screen), its buttons, its
// meters and counters; and the meters' dangers as last said, kept under dialogs.
var accessShown = {words: null, buttons: [], meters: [], counters: []};
var accessDangers = [];

// The copy lies over the canvas, scaled as fitCanvas() scales it, and goes with it.
function fitAccess() {
  var shown = canvas.style.display !== 'none';
  access.style.display = shown ? '' : 'none';
  if (!shown || !canvas.width) return;
  var r = canvas.getBoundingClientRect();
  access.style.left = r.left + 'px';
  access.style.top = r.top + 'px';
  access.style.width = canvas.width + 'px';
  access.style.height = canvas.height + 'px';
  access.style.transform = 'scale(' + r.width / canvas.width + ')';
}

// Mouse events at the middle of a control's box (display pixels), where SDL hears the mouse:
// the game takes them as a click there.
function clickGame(box) {
  var r = canvas.getBoundingClientRect(), scale = r.width / canvas.width;
  var at = {bubbles: true, cancelable: true, view: window, button: 0,
            clientX: r.left + (box[0] + box[2]) / 2 * scale, clientY: r.top + (box[1] + box[3]) / 2 * scale};
  ['mousemove', 'mousedown', 'mouseup'].forEach(function (type) {
    canvas.dispatchEvent(new MouseEvent(type, Object.assign({buttons: type === 'mouseup' ? 0 : 1}, at)));
  });
}

function element(tag, className, text) {
  var made = document.createElement(tag);
  made.className = className;
  made.textContent = text;
  accessScreen.appendChild(made);
  return made;
}

// A new screen (another dialog, or the care screen): its elements afresh, the lines read, and
// the focus on its first button when a dialog appears or when the focus was on the last
// screen's buttons, as long as the page has the focus.
function showScreen(report) {
  var focused = accessScreen.contains(document.activeElement);
  accessScreen.textContent = '';
  accessShown.counters = (report.counters || []).map(function (text) { return element('p', 'unseen', text); });
  accessShown.meters = (report.meters || []).map(function (meter, i) {
    var shown = element('div', 'unseen', '');
    shown.setAttribute('role', 'meter');
    shown.setAttribute('aria-label', messages.meters[i]);
    shown.setAttribute('aria-valuemin', 0);
    shown.setAttribute('aria-valuemax', 100);
    return shown;
  });
  accessShown.buttons = report.controls.map(function (control) {
    var button = element('button', '', control.label || messages.panelControls[control.id]);
    var box = control.box;
    button.style.left = box[0] + 'px';
    button.style.top = box[1] + 'px';
    button.style.width = box[2] - box[0] + 'px';
    button.style.height = box[3] - box[1] + 'px';
    button.addEventListener('click', function () { clickGame(box); });
    return button;
  });
  accessLines.textContent = report.lines.join(' ');
  var first = accessShown.buttons[0];
  if (first && document.hasFocus() && (report.screen === 'dialog' || focused)) first.focus();
}

// Each description the game gives (src/shell/platform_web.cpp).
function describeScreen(text) {
  var report = JSON.parse(text);
  var words = JSON.stringify([report.screen, report.lines, report.controls.map(function (c) { return c.label; })]);
  if (words !== accessShown.words) showScreen(report);
  accessShown.words = words;
  report.controls.forEach(function (control, i) {
    accessShown.buttons[i].setAttribute('aria-disabled', control.resting);
  });
  (report.counters || []).forEach(function (text, i) {
    if (accessShown.counters[i].textContent !== text) accessShown.counters[i].textContent = text;
  });
  var news = [];
  (report.meters || []).forEach(function (meter, i) {
    accessShown.meters[i].setAttribute('aria-valuenow', meter.percent);
    accessShown.meters[i].setAttribute('aria-valuetext', meter.percent + '%');
    if (meter.danger !== !!accessDangers[i]) news.push((meter.danger ? messages.intoDanger : messages.outOfDanger)[i]);
    accessDangers[i] = meter.danger;
  });
  if (news.length) accessNews.textContent = news.join(' ');
}
Module.describeScreen = describeScreen;

window.addEventListener('resize', fitAccess);
new MutationObserver(fitAccess).observe(canvas, {attributes: true, attributeFilter: ['style', 'width', 'height']});
fitAccess();

// Escape ends the game wherever the focus is: the page hands it on to the canvas, where SDL
// hears keys. On the canvas itself Tab is kept from SDL, which would cancel it, so that the focus
// can leave it.
['keydown', 'keyup'].forEach(function (type) {
  document.addEventListener(type, function (event) {
    if (event.target === canvas && event.key === 'Tab') event.stopPropagation();
    if (event.target === canvas || event.key !== 'Escape' || !event.isTrusted) return;
    canvas.dispatchEvent(new KeyboardEvent(type, {bubbles: true, cancelable: true, key: 'Escape', code: 'Escape',
                                                  keyCode: 27, which: 27}));
  }, true);
});
// The focus shows only to those using keys: a click or a tap hides it again.
document.addEventListener('keydown', function () { document.documentElement.classList.add('keys'); }, true);
document.addEventListener('pointerdown', function (event) {
  if (event.isTrusted) document.documentElement.classList.remove('keys');
}, true);
