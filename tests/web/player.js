// Input as a hand makes it: a click is a press, a hold and a release, a
// double click two of them apart, a key held briefly, a tap a finger
// touching and lifting. Puppeteer's own click() and press() queue both
// halves at once, which no hand does, and hid a press the game took twice.
'use strict';
const kHoldMs = 110;      // a click's or a key's hold: 80 to 150 ms by hand
const kDoubleGapMs = 120; // between the two clicks of a double click

const pause = ms => new Promise(r => setTimeout(r, ms));

async function click(page, x, y) {
  await page.mouse.move(x, y);
  await page.mouse.down();
  await pause(kHoldMs);
  await page.mouse.up();
}

async function doubleClick(page, x, y) {
  await click(page, x, y);
  await pause(kDoubleGapMs);
  await click(page, x, y);
}

async function key(page, name) {
  await page.keyboard.down(name);
  await pause(kHoldMs);
  await page.keyboard.up(name);
}

// A finger's tap through Chromium's touch emulation: no mouse event at all.
const touchSessions = new WeakMap();
async function tap(page, x, y) {
  if (!touchSessions.has(page)) touchSessions.set(page, await page.createCDPSession());
  const cdp = touchSessions.get(page);
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x, y }] });
  await pause(kHoldMs);
  await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
}

module.exports = { kHoldMs, click, doubleClick, key, pause, tap };
