// The browser version played as a person plays it, in Debian's Chromium:
// the intro skipped by a key, the main menu, a visor and a difficulty
// chosen and kept, a match with a hit, a miss and a pause, Escape, a reload
// that resumes the match, and five screens compared with the desktop
// game's window in the same states. Then the page around the game:
// quitting leaves an end card with a way back in, a second tab waits for
// the first, a hidden tab pauses the match, the canvas fits a phone's
// screen and a small window, and after one visit the game starts with the
// server (SERVER_PID) stopped; and a session by touch alone in a phone's
// viewport.
// Usage: node session.js URL DESKTOP_STATES_DIR SERVER_PID
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const crypto = require('crypto');
const puppeteer = require('puppeteer-core');
const { pointInTarget, targetIn, targetNear, countIn, isGreen, isRed, isMagenta } = require('./screen');
const isAmber = p => p[0] > 200 && p[1] > 140 && p[1] < 230 && p[2] < 80;
const player = require('./player');

const [url, desktopDir, serverPid] = process.argv.slice(2);
const W = 800, H = 600;
// A screen may differ from the desktop's by this share of its pixels, each
// by more than 64 in a channel, the pointer's surroundings left out.
const kMaxDifferentShare = 0.02, kChannelTolerance = 64, kPointerMargin = 50;

let passed = 0, failed = 0;
async function check(name, body) {
  try { await body(); passed++; console.log(`ok   ${name}`); }
  catch (e) { failed++; console.log(`FAIL ${name}: ${e.message}`); }
}

// Polls until `test` gives something other than false or null, or throws
// naming `what` once `seconds` have passed.
async function until(what, seconds, test) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const value = await test();
    if (value !== false && value !== null && value !== undefined) return value;
    if (Date.now() > deadline) throw new Error(`no ${what} within ${seconds} s`);
    await new Promise(r => setTimeout(r, 50));
  }
}

let page, canvasBox;
// What the player sees now: the page's canvas as RGBA bytes.
async function screen() {
  const b64 = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    const bytes = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(s);
  });
  return Buffer.from(b64, 'base64');
}
// Where the game's pixel (x, y) is on the page.
const onPage = (x, y) => [canvasBox.x + (x + 0.5) * canvasBox.width / W,
  canvasBox.y + (y + 0.5) * canvasBox.height / H];
async function pointerTo(x, y) {
  await page.mouse.move(...onPage(x, y));
}
// A player clicks on what they have seen, never in the 400 ms a screen lets
// pass before it takes clicks (the rest of a double click): clicks wait,
// when needed, until 450 ms after the last screen awaited showed.
let seenAt = 0;
async function settled(ms = 450) {
  const left = seenAt + ms - Date.now();
  if (left > 0) await player.pause(left);
}
// "Jouer", then "Nouvelle partie" clicked at x (its text spans the middle
// of the screen), from the main menu.
async function clickNewMatch(x = 400) {
  await clickAt(400, 151);
  await pointerTo(790, 590);
  await waitScreen('play menu', 10, px => menuShown(px, [255]));
  await clickAt(x, 295);
}

// The visors' dark outline, around the visor's middle.
const visorAt = (px, x, y) => countIn(px, x - 32, y - 32, 64, 64, p => p[0] === 12 && p[1] === 12 && p[2] === 16) > 50;

async function clickAt(x, y) {
  await pointerTo(x, y);
  await settled();
  await player.click(page, ...onPage(x, y));
}
// The canvas is measured again for each tap: the page refits it when the
// game opens its screen and in and out of full screen.
async function tapAt(x, y) {
  await settled();
  // A refit follows a resize or full screen by a frame or more: the box
  // counts once it holds still.
  canvasBox = await until('the canvas holding still', 5, async () => {
    const before = await (await page.$('#canvas')).boundingBox();
    await player.pause(100);
    const after = await (await page.$('#canvas')).boundingBox();
    return JSON.stringify(before) === JSON.stringify(after) ? after : null;
  });
  await player.tap(page, ...onPage(x, y));
}

const labelsAt = (px, rows) => rows.every(r => countIn(px, 0, r + 10, W, 50, isGreen) > 200);
const titleAtTop = px => countIn(px, 0, 11, W, 90, isRed) > 500;
const mainMenuShown = px => titleAtTop(px) && labelsAt(px, [111, 210, 309, 408, 507]);
const menuShown = (px, rows) => !titleAtTop(px) && labelsAt(px, rows);
const matchShown = px => px[(553 * W + 5) * 4] === 255 && px[(553 * W + 5) * 4 + 1] === 0;
const pauseShown = px => countIn(px, 100, 250, 600, 100, isMagenta) > 100;
const gameOverShown = px => countIn(px, 100, 240, 600, 120, isRed) > 300 &&
  countIn(px, 0, 200, W, 200, isMagenta) > 100;
// The score's last digits: the right end of its text, whose opaque box
// hides the targets rising behind the status bar.
function scoreDigest(px) {
  const hash = crypto.createHash('md5');
  for (let y = 567; y < 590; y++) hash.update(px.subarray((y * W + 730) * 4, (y * W + 780) * 4));
  return hash.digest('hex');
}

// The screen once `test` holds for it.
async function waitScreen(what, seconds, test) {
  const px = await until(what, seconds, async () => { const px = await screen(); return test(px) ? px : null; });
  seenAt = Date.now();
  return px;
}

async function skipIntro() {
  await waitScreen('intro', 20, anyDrawn);
  await pointerTo(400, 300);
  await player.key(page, 'Space');
  await pointerTo(790, 590);
  return waitScreen('main menu after the intro', 20, mainMenuShown);
}

// One file of the game's folder as IndexedDB holds it, or null.
function savedFile(name) {
  return page.evaluate(name => new Promise((resolve, reject) => {
    const open = indexedDB.open('/saves');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const db = open.result;
      if (!db.objectStoreNames.contains('FILE_DATA')) { db.close(); return resolve(null); }
      const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get('/saves/' + name);
      get.onsuccess = () => { db.close(); resolve(get.result ? String.fromCharCode(...get.result.contents) : null); };
      get.onerror = () => reject(get.error);
    };
  }), name);
}

// The message over the canvas ('' when none) once it says `text`.
const overlayText = () => page.evaluate(() => {
  const o = document.getElementById('overlay');
  return o && !o.hidden ? o.innerText : '';
});
async function notice(text) {
  let last = '';
  await until(`"${text}"`, 10, async () => (last = await overlayText()).includes(text) || null)
    .catch(e => { throw new Error(`${e.message}: the page says "${last}"`); });
}
const anyDrawn = px => countIn(px, 0, 0, W, H, p => p[0] + p[1] + p[2] > 80) > 100;
// How many times the game woke from its waits in `ms` (asyncify rewinds);
// the sound has its own thread and is not counted.
async function wakesOver(ms) {
  const count = () => page.evaluate(() => {
    if (window.wakes === undefined) {
      window.wakes = 0;
      const handleSleep = Asyncify.handleSleep;
      Asyncify.handleSleep = function(...args) { window.wakes++; return handleSleep.apply(this, args); };
    }
    return window.wakes;
  });
  const before = await count();
  await player.pause(ms);
  return (await count()) - before;
}
// "Rejouer" clicked: the page starts again, the intro first.
async function replay() {
  const box = await (await page.$('#replay')).boundingBox();
  if (!box) throw new Error('no "Rejouer" button');
  await Promise.all([page.waitForNavigation({ waitUntil: 'domcontentloaded' }),
    player.click(page, box.x + box.width / 2, box.y + box.height / 2)]);
  await waitScreen('intro after "Rejouer"', 20, anyDrawn);
  if (await overlayText()) throw new Error('the card stays over the intro');
}
// The canvas and the help line inside the viewport, 4:3 kept, no scrolling.
async function fits(when) {
  const faults = await page.evaluate(() => {
    const inside = r => r.left >= -0.5 && r.top >= -0.5 && r.right <= innerWidth + 0.5 && r.bottom <= innerHeight + 0.5;
    const c = document.getElementById('canvas').getBoundingClientRect();
    const found = [];
    if (!inside(c) || c.width < 50) found.push(`canvas ${c.width}x${c.height} at ${c.left},${c.top}`);
    if (Math.abs(c.width / c.height - 4 / 3) > 0.01) found.push(`canvas shape ${c.width}x${c.height}`);
    for (const e of document.querySelectorAll('#help span, #help button')) {
      const r = e.getBoundingClientRect();
      if (r.width > 0 && !inside(r)) found.push(`help "${e.textContent}" at ${r.left},${r.top}-${r.right},${r.bottom}`);
    }
    const root = document.scrollingElement;
    if (root.scrollWidth > innerWidth || root.scrollHeight > innerHeight) found.push('the page scrolls');
    return found.join('; ');
  });
  if (faults) throw new Error(`${when}: ${faults}`);
}

const states = {};
function compareWithDesktop(state, px, pointer) {
  const desktop = fs.readFileSync(path.join(desktopDir, state + '.rgb'));
  let different = 0;
  for (let y = 0; y < H; y++) {
    for (let x = 0; x < W; x++) {
      if (Math.abs(x - pointer[0]) <= kPointerMargin && Math.abs(y - pointer[1]) <= kPointerMargin) continue;
      const i = y * W + x;
      if ([0, 1, 2].some(c => Math.abs(px[i * 4 + c] - desktop[i * 3 + c]) > kChannelTolerance)) different++;
    }
  }
  const share = `${(100 * different / (W * H)).toFixed(2)} % of its pixels differ from the desktop's`;
  if (different > kMaxDifferentShare * W * H) throw new Error(share);
  console.log(`     ${state}: ${share}`);
}

// Shoots a live target found on the canvas, in the page itself: a shot
// sent from here would arrive some 20 ms later, when a target rising 200
// px a second has moved on, and a miss costs points too. Returns once the
// score has changed.
async function hitATarget() {
  const before = scoreDigest(await screen());
  return until('hit', 20, async () => {
    const shot = await page.evaluate((source, holdMs) => {
      const targetIn = new Function('return ' + source)();
      const c = document.getElementById('canvas');
      const px = c.getContext('2d').getImageData(0, 0, 800, 600).data;
      const target = targetIn(px, 700, 60);
      if (!target || target.y < 100) return false;
      const box = c.getBoundingClientRect();
      // One frame of rise (3 px) since the canvas was drawn.
      const at = { clientX: box.left + target.x + 0.5, clientY: box.top + target.y - 3 + 0.5, button: 0, bubbles: true };
      c.dispatchEvent(new MouseEvent('mousemove', at));
      c.dispatchEvent(new MouseEvent('mousedown', at));
      setTimeout(() => c.dispatchEvent(new MouseEvent('mouseup', at)), holdMs);
      return true;
    }, targetIn.toString(), player.kHoldMs);
    if (!shot) return null;
    return until('score after a shot', 1, async () => scoreDigest(await screen()) !== before)
      .catch(() => null);
  });
}

// A phone in landscape, from a fresh profile, played by taps alone.
async function playByTouch(browser) {
  page = await (await browser.createBrowserContext()).newPage();
  await page.setViewport({ width: 844, height: 390, isMobile: true, hasTouch: true });
  await page.goto(url);
  const tapButton = async id => {
    const box = await (await page.$(id)).boundingBox();
    if (box.width < 44 || box.height < 44) throw new Error(`${id} is ${box.width}x${box.height} CSS px, under a thumb's 44`);
    await player.tap(page, box.x + box.width / 2, box.y + box.height / 2);
  };
  await check('touch: a tap skips the intro', async () => {
    await waitScreen('intro', 20, anyDrawn);
    await tapAt(400, 300);
    // Unskipped, the intro alone lasts 13.7 s; the menu's own entrance
    // after a skip took up to 8 s on a busy machine.
    await waitScreen('main menu after a tap on the intro', 11, mainMenuShown);
  });
  await check('touch: in full screen, taps open Options and choose a visor', async () => {
    await tapButton('#fullscreen');
    await until('full screen', 5, () => page.evaluate(() => document.fullscreenElement !== null));
    // A player taps on the screen seen in full screen: taps in the first
    // few hundred ms after the switch went unanswered (1.5 s later, never).
    await waitScreen('main menu in full screen', 5, mainMenuShown);
    await tapAt(400, 349);
    await waitScreen('options screen', 10, px => menuShown(px, [120, 390]));
    await tapAt(400, 160);
    await waitScreen('visor menu', 10, px => menuShown(px, [0, 100, 200, 300, 400, 500]));
    await tapAt(400, 340);
    await until('visor 3 in the saved options', 10, async () => (await savedFile('config.conf') || '')[14] === '3');
    await waitScreen('main menu after the choice', 10, mainMenuShown);
  });
  let kept = null;
  await check('touch: a tap on an empty spot of a new match draws the visor there', async () => {
    await tapAt(400, 151);
    await waitScreen('play menu', 10, px => menuShown(px, [255]));
    await tapAt(400, 295);
    const px = await waitScreen('new match', 10, px => matchShown(px) && visorAt(px, 400, 300));
    kept = scoreDigest(px);
    const [x, y] = [[150, 200], [650, 200], [150, 420], [650, 420]].find(([x, y]) => !targetNear(px, x, y, 80));
    await tapAt(x, y);
    await waitScreen(`visor at (${x}, ${y})`, 2, px => visorAt(px, x, y) && !visorAt(px, 400, 300));
  });
  await check('touch: a tap on a target raises the score', async () => {
    // At 0 a miss costs nothing: a change is a hit, the tapped target's
    // when its colour has gone from the column it rose in.
    await until('hit', 10, async () => {
      const target = await page.evaluate(source => {
        const c = document.getElementById('canvas');
        return new Function('return ' + source)()(c.getContext('2d').getImageData(0, 0, 800, 600).data, [0, 150, 800, 520]);
      }, pointInTarget.toString());
      if (!target) return null;
      await player.tap(page, ...onPage(target.x, target.y));
      const px = await until('score after a tap', 1, async () => {
        const px = await screen();
        return scoreDigest(px) !== kept ? px : null;
      }).catch(() => null);
      if (px) kept = scoreDigest(px);
      return px && matchShown(px) &&
        countIn(px, target.x - 2, target.y - 60, 5, 60, p => (p[0] << 16 | p[1] << 8 | p[2]) === target.c) === 0;
    });
    if (process.env.SCREENSHOT_DIR) await page.screenshot({ path: path.join(process.env.SCREENSHOT_DIR, 'phone.png') });
  });
  await check('touch: in full screen, "Échap" leaves the match keeping its score; "Jouer" offers "Reprendre partie"', async () => {
    if (!await page.evaluate(() => document.fullscreenElement)) throw new Error('full screen left');
    await tapButton('#escape');
    await until('a resumable save', 10, async () => /^\[ ! \] -> True/.test(await savedFile('user.saved')));
    await waitScreen('main menu after the match', 10, mainMenuShown);
    await tapAt(400, 151);
    await waitScreen('play menu with resume', 10, px => menuShown(px, [120, 390]));
    await tapAt(400, 160);
    const px = await waitScreen('resumed match', 10, matchShown);
    if (scoreDigest(px) !== kept) throw new Error('the resumed score is not the one left');
  });
  await check('touch: game over stays through a tap in its first second, a tap after it ends it', async () => {
    await waitScreen('game-over screen', 40, gameOverShown);
    await tapAt(400, 300);
    // Game over stays on screen through the 1.5 s hold before the menu.
    if (await until('main menu', 2.5, async () => mainMenuShown(await screen())).catch(() => false)) {
      throw new Error('a tap 0.5 s into game over ended it');
    }
    await tapAt(400, 300);
    await waitScreen('main menu after game over', 10, mainMenuShown);
  });
}

(async () => {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tirevane-chromium-'));
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', userDataDir: profile,
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--autoplay-policy=no-user-gesture-required'] });
  const consoleLines = [];
  const offsite = [];
  // A tab of the same browser; the canvas at its own size by default: one
  // page pixel per game pixel.
  const open = async (viewport = { width: 800, height: 640 }) => {
    const tab = await browser.newPage();
    await tab.setViewport(viewport);
    tab.on('console', m => consoleLines.push(m.text()));
    tab.on('request', r => { if (![url, 'data:', 'blob:' + new URL(url).origin].some(p => r.url().startsWith(p))) offsite.push(r.url()); });
    await tab.goto(url, { waitUntil: 'domcontentloaded' });
    return tab;
  };
  try {
    page = await open();
    canvasBox = await (await page.$('#canvas')).boundingBox();

    await check('a key skips the intro to the main menu', async () => {
      states.menu = await skipIntro();
    });
    await check('the cursor shows without its colour key', async () => {
      await pointerTo(60, 300);
      const px = await waitScreen('cursor over the empty menu', 5, px => countIn(px, 20, 260, 80, 80, p => p[0] + p[1] + p[2] > 0) > 20);
      const keyed = countIn(px, 20, 260, 80, 80, p => p[0] === 255 && p[1] === 255 && p[2] === 0);
      if (keyed) throw new Error(`${keyed} pixels of the key colour around the pointer`);
      await pointerTo(790, 590);
    });
    await check('options: a visor chosen is kept', async () => {
      await clickAt(400, 349);
      await pointerTo(790, 590);
      states.options = await waitScreen('options screen', 10, px => menuShown(px, [120, 390]));
      await clickAt(400, 160);
      await pointerTo(790, 590);
      states.visors = await waitScreen('visor menu', 10, px => menuShown(px, [0, 100, 200, 300, 400, 500]));
      await clickAt(400, 340);  // Heavy Weapon
      await until('visor 3 in the saved options', 10, async () => (await savedFile('config.conf') || '')[14] === '3');
      await waitScreen('main menu after the choice', 10, mainMenuShown);
    });
    await check('options: a difficulty chosen is kept', async () => {
      await clickAt(400, 349);
      await waitScreen('options screen', 10, px => menuShown(px, [120, 390]));
      await clickAt(400, 430);
      await waitScreen('difficulty menu', 10, px => menuShown(px, [150, 255, 360]));
      await clickAt(400, 400);  // Insane
      await until('difficulty 2 in the saved options', 10, async () => (await savedFile('config.conf') || '').trimEnd().endsWith('2'));
      await waitScreen('main menu after the choice', 10, mainMenuShown);
    });

    await check('a save the browser refuses is told at the foot of the next screen', async () => {
      // IndexedDB refusing every write, as when the site's storage is full.
      await page.evaluate(() => {
        window.keptPut = IDBObjectStore.prototype.put;
        IDBObjectStore.prototype.put = () => { throw new DOMException('refused', 'QuotaExceededError'); };
      });
      await clickAt(400, 349);
      await waitScreen('options screen', 10, px => menuShown(px, [120, 390]));
      await clickAt(400, 430);
      await waitScreen('difficulty menu', 10, px => menuShown(px, [150, 255, 360]));
      await clickAt(400, 400);  // Insane again: the file is written all the same
      await pointerTo(790, 520);
      await waitScreen('main menu with a notice at its foot', 10,
        px => mainMenuShown(px) && countIn(px, 0, 565, W, 35, isAmber) > 100);
      await page.evaluate(() => { IDBObjectStore.prototype.put = window.keptPut; });
    });

    let scoreBeforeEscape = null;
    await check('a match: its first frame draws the visor under the pointer', async () => {
      // The left of "Nouvelle partie": a page cannot move the pointer to
      // the centre, as the desktop game does when a match starts.
      await clickNewMatch(250);
      await waitScreen('a new match, the visor where the click was', 10,
                       px => matchShown(px) && visorAt(px, 250, 295) && !visorAt(px, 400, 300));
    });
    await check('a match: a hit found on the canvas scores', async () => {
      await pointerTo(700, 60);
      states.match = await waitScreen('match with a target', 10, px => matchShown(px) && targetIn(px, 700, 60));
      await hitATarget();
    });
    await check('a match: a miss costs points', async () => {
      const before = scoreDigest(await screen());
      await until('an empty spot to miss', 10, async () => {
        const px = await screen();
        const spot = [[60, 300], [400, 300], [740, 300]].find(([x, y]) => !targetNear(px, x, y, 70));
        if (!spot) return null;
        await clickAt(spot[0], spot[1]);
        return true;
      });
      await until('score after the miss', 2, async () => scoreDigest(await screen()) !== before);
      await hitATarget();  // a score above 0 to keep
    });
    await check('the match pauses while the pointer is off the canvas', async () => {
      await page.mouse.move(canvasBox.x + 400, canvasBox.y + canvasBox.height + 15);
      await waitScreen('pause overlay', 5, pauseShown);
      await pointerTo(700, 60);
      await waitScreen('match resumed', 5, px => matchShown(px) && !pauseShown(px));
    });
    await check('the page\'s Échap button, reached with the mouse, leaves the match and keeps its score', async () => {
      scoreBeforeEscape = scoreDigest(await screen());
      // Reaching it takes the pointer off the canvas: the match pauses first.
      const button = await (await page.$('#escape')).boundingBox();
      await page.mouse.move(button.x + button.width / 2, button.y + button.height / 2);
      await waitScreen('pause overlay', 5, pauseShown);
      await player.click(page, button.x + button.width / 2, button.y + button.height / 2);
      let save = null;
      await until('a resumable save', 10, async () => {
        save = await savedFile('user.saved');
        return save !== null && save.startsWith('[ ! ] -> True') && !/GameScore=0\]/.test(save);
      }).catch(async e => {
        const px = await screen();
        throw new Error(`${e.message}: ${JSON.stringify(save)} (screen: ${matchShown(px) ? 'match' : mainMenuShown(px) ? 'main menu' : 'other'})`);
      });
      await pointerTo(790, 590);
      await waitScreen('main menu after the match', 10, mainMenuShown);
    });
    await check('a reload offers "Reprendre partie" and resumes that score', async () => {
      await page.reload();
      canvasBox = await (await page.$('#canvas')).boundingBox();
      await skipIntro();
      await clickAt(400, 151);
      await pointerTo(790, 590);
      await waitScreen('play menu with resume', 10, px => menuShown(px, [120, 390]));
      await clickAt(400, 160);
      await pointerTo(700, 60);
      const px = await waitScreen('resumed match', 10, matchShown);
      if (scoreDigest(px) !== scoreBeforeEscape) throw new Error('the resumed score is not the one left');
    });
    await check('the match runs out to the game-over screen', async () => {
      states.gameover = await waitScreen('game-over screen', 40, gameOverShown);
      await player.key(page, 'KeyA');
      await pointerTo(790, 590);
      await waitScreen('main menu after game over', 10, mainMenuShown);
    });
    const pointers = { menu: [790, 590], options: [790, 590], visors: [790, 590], match: [700, 60], gameover: [700, 60] };
    for (const state of Object.keys(pointers)) {
      await check(`${state} looks as on the desktop`, async () => {
        if (!states[state]) throw new Error('not reached');
        compareWithDesktop(state, states[state], pointers[state]);
      });
    }

    await check('the idle main menu sleeps; "Quitter" and Escape show the end card; "Rejouer" starts the intro again', async () => {
      const wakes = await wakesOver(1000);
      if (wakes > 4) throw new Error(`the idle main menu woke ${wakes} times in a second`);
      await clickAt(400, 547);  // "Quitter"
      await notice('Tirevane est fermé.');
      await replay();
      await skipIntro();
      await player.key(page, 'Escape');
      await notice('Tirevane est fermé.');
      await replay();
    });
    await check('a match in a hidden tab pauses and sleeps: no countdown, no wake-ups', async () => {
      await skipIntro();
      await clickNewMatch();
      await pointerTo(700, 60);
      await waitScreen('match', 10, matchShown);
      const front = await browser.newPage();
      try {
        await until('the game\'s tab hidden', 5, () => page.evaluate(() => document.hidden));
        const hiddenAt = await waitScreen('pause in the hidden tab', 5, pauseShown);
        const wakes = await wakesOver(2500);
        // The status bar left of the score: the countdown among the rest.
        const bar = px => px.subarray(556 * W * 4, 598 * W * 4).filter((_, i) => i % (W * 4) < 720 * 4);
        if (Buffer.compare(bar(await screen()), bar(hiddenAt))) throw new Error('the status bar changed while hidden');
        if (wakes > 4) throw new Error(`the paused match woke ${wakes} times in 2.5 s`);
      } finally {
        await front.close();
      }
    });
    await check('a second tab says the game is open elsewhere and starts when the first closes', async () => {
      const first = page;
      page = await open();
      await notice('Tirevane est déjà ouvert dans un autre onglet.');
      if (anyDrawn(await screen())) throw new Error('the second tab runs the game too');
      await first.close();
      await waitScreen('intro in the second tab', 20, anyDrawn);
    });
    await page.close();
    for (const [width, height, isMobile] of [[390, 844, true], [844, 390, true], [640, 480, false]]) {
      await check(`the canvas fits ${width}x${height}, 4:3, before and after the game starts`, async () => {
        page = await open({ width, height, isMobile, hasTouch: isMobile });
        try {
          await fits('loading');
          await waitScreen('intro', 20, anyDrawn);
          await fits('playing');
        } finally {
          await page.close();
        }
      });
    }
    await playByTouch(browser);
    await check('after one visit the game starts with no server', async () => {
      page = await open();
      await until('the page\'s files kept by its service worker', 20, () => page.evaluate(async () => {
        const names = await caches.keys();
        return !!navigator.serviceWorker.controller && names.length === 1 &&
          (await (await caches.open(names[0])).keys()).length >= 7;
      }));
      await page.close();
      process.kill(Number(serverPid));
      page = await open();
      await waitScreen('intro with the server stopped', 20, anyDrawn);
    });
    await check('nothing is fetched from elsewhere', async () => {
      if (offsite.length) throw new Error(offsite.join(', '));
    });
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  if (failed) console.log('page console:\n  ' + consoleLines.slice(-20).join('\n  '));
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
})().catch(e => {
  console.log(`FAIL the session could not run: ${e.stack}`);
  console.log(`${passed} passed, ${failed + 1} failed`);
  process.exit(1);
});
