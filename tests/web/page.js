// The page around the game, as a player meets it in Chromium: quitting
// leaves an end card with a way back in, the canvas fits a phone's screen
// and a small window, a second tab waits for the first, a hidden tab
// pauses the match, and after one visit the game starts with no server.
// Serves SITE_DIR itself, to stop the server for the offline check.
// Usage: node page.js SITE_DIR
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawn } = require('child_process');
const puppeteer = require('puppeteer-core');
const { countIn, isGreen, isRed, isMagenta } = require('./screen');
const player = require('./player');

const [siteDir] = process.argv.slice(2);
const W = 800;

let passed = 0, failed = 0;
async function check(name, body) {
  try { await body(); passed++; console.log(`ok   ${name}`); }
  catch (e) { failed++; console.log(`FAIL ${name}: ${e.message}`); }
}
async function until(what, seconds, test) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const value = await test();
    if (value !== false && value !== null && value !== undefined) return value;
    if (Date.now() > deadline) throw new Error(`no ${what} within ${seconds} s`);
    await player.pause(50);
  }
}

// Port 0: the system picks a free one, which the server prints.
function startServer() {
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', siteDir]);
  return new Promise((resolve, reject) => {
    let out = '';
    server.stdout.on('data', d => {
      out += d;
      const port = /port (\d+)/.exec(out);
      if (port) resolve({ server, url: `http://127.0.0.1:${port[1]}/` });
    });
    server.on('exit', () => reject(new Error(`the local server stopped: ${out}`)));
  });
}

// What the player sees now: the page's canvas as RGBA bytes.
async function screen(page) {
  const b64 = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    const bytes = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < bytes.length; i += 0x8000) s += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(s);
  });
  return Buffer.from(b64, 'base64');
}
const anyDrawn = px => countIn(px, 0, 0, W, 600, p => p[0] + p[1] + p[2] > 80) > 100;
const mainMenuShown = px => countIn(px, 0, 11, W, 90, isRed) > 500 &&
  [111, 210, 309, 408, 507].every(r => countIn(px, 0, r + 10, W, 50, isGreen) > 200);
const pauseShown = px => countIn(px, 100, 250, 600, 100, isMagenta) > 100;
const matchShown = px => px[(553 * W + 5) * 4] === 255 && px[(553 * W + 5) * 4 + 1] === 0;
// The status bar left of the score's digits: the countdown among the rest.
const statusBar = px => {
  const rows = [];
  for (let y = 556; y < 598; y++) rows.push(px.slice((y * W) * 4, (y * W + 720) * 4).join());
  return rows.join();
};
const overlayText = page => page.evaluate(() => {
  const o = document.getElementById('overlay');
  return o && !o.hidden && getComputedStyle(o).display !== 'none' ? o.innerText : '';
});
// The message over the canvas once it says `text`.
async function notice(page, text) {
  let last = '';
  await until(`"${text}"`, 10, async () => (last = await overlayText(page)).includes(text)).catch(e => {
    throw new Error(`${e.message}: the page says "${last}"`);
  });
}
// The screen once `test` holds for it.
const waitScreen = (page, what, test) => until(what, 20, async () => {
  const px = await screen(page);
  return test(px) ? px : null;
});

// How many times the game woke from its waits in `ms` (asyncify rewinds);
// the sound is fed by its own timers, not counted.
async function wakesOver(page, ms) {
  const count = () => page.evaluate(() => {
    if (!window.wakes) {
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

// A click on the game's 800x600 picture, wherever the page shows it.
async function clickGame(page, x, y) {
  const box = await (await page.$('#canvas')).boundingBox();
  await player.click(page, box.x + (x + 0.5) * box.width / W, box.y + (y + 0.5) * box.height / 600);
}
async function toMainMenu(page) {
  await waitScreen(page, 'intro', anyDrawn);
  await player.key(page, 'Space');
  await waitScreen(page, 'main menu', mainMenuShown);
  await player.pause(450);  // the menu takes clicks 400 ms after it shows
}
// Brought back by a player's click on "Rejouer": the intro again.
async function replay(page) {
  const button = await page.$('#replay');
  const box = await button.boundingBox();
  if (!box) throw new Error('no "Rejouer" button');
  await Promise.all([page.waitForNavigation({ waitUntil: 'domcontentloaded' }),
    player.click(page, box.x + box.width / 2, box.y + box.height / 2)]);
  await waitScreen(page, 'intro after "Rejouer"', anyDrawn);
  if (await overlayText(page)) throw new Error('the card stays over the intro');
}

// The canvas and the help line inside the viewport, 4:3 kept, no scrolling.
async function fits(page, when) {
  const bad = await page.evaluate(() => {
    const inside = r => r.left >= -0.5 && r.top >= -0.5 && r.right <= innerWidth + 0.5 && r.bottom <= innerHeight + 0.5;
    const c = document.getElementById('canvas').getBoundingClientRect();
    const faults = [];
    if (!inside(c) || c.width < 50) faults.push(`canvas ${c.width}x${c.height} at ${c.left},${c.top}`);
    if (Math.abs(c.width / c.height - 4 / 3) > 0.01) faults.push(`canvas shape ${c.width}x${c.height}`);
    for (const e of document.querySelectorAll('#help span, #help button')) {
      const r = e.getBoundingClientRect();
      if (r.width > 0 && !inside(r)) faults.push(`help "${e.textContent}" at ${r.left},${r.top}-${r.right},${r.bottom}`);
    }
    const root = document.scrollingElement;
    if (root.scrollWidth > innerWidth || root.scrollHeight > innerHeight) faults.push('the page scrolls');
    return faults.join('; ');
  });
  if (bad) throw new Error(`${when}: ${bad}`);
}

(async () => {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tirevane-page-'));
  let { server, url } = await startServer();
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', userDataDir: profile,
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--autoplay-policy=no-user-gesture-required'] });
  const consoleLines = [];
  const open = async viewport => {
    const page = await browser.newPage();
    page.on('console', m => consoleLines.push(m.text()));
    await page.setViewport(viewport || { width: 800, height: 640 });
    await page.goto(url, { waitUntil: 'domcontentloaded' });
    return page;
  };
  try {
    let page = await open();
    await check('the idle main menu sleeps; "Quitter" and Escape show the end card; "Rejouer" starts the intro again', async () => {
      await toMainMenu(page);
      const wakes = await wakesOver(page, 1000);
      if (wakes > 4) throw new Error(`the idle main menu woke ${wakes} times in a second`);
      await clickGame(page, 400, 547);
      await notice(page, 'Tirevane est fermé.');
      await replay(page);
      await toMainMenu(page);
      await player.key(page, 'Escape');
      await notice(page, 'Tirevane est fermé.');
      await replay(page);
    });
    await page.close();

    for (const [width, height, isMobile] of [[390, 844, true], [844, 390, true], [640, 480, false]]) {
      await check(`the canvas fits ${width}x${height}, 4:3, before and after the game starts`, async () => {
        const page = await open({ width, height, isMobile, hasTouch: isMobile });
        try {
          await fits(page, 'loading');
          await waitScreen(page, 'intro', anyDrawn);
          await fits(page, 'playing');
        } finally {
          await page.close();
        }
      });
    }

    page = await open();
    await check('a second tab says the game is open elsewhere and starts when the first closes', async () => {
      await waitScreen(page, 'intro', anyDrawn);
      const second = await open();
      try {
        await notice(second, 'Tirevane est déjà ouvert dans un autre onglet.');
        if (anyDrawn(await screen(second))) throw new Error('the second tab runs the game too');
        await page.close();
        page = second;
        await waitScreen(page, 'intro in the second tab', anyDrawn);
      } catch (e) {
        await second.close();
        throw e;
      }
    });

    await check('a match in a hidden tab pauses and sleeps: no countdown, no wake-ups', async () => {
      await player.key(page, 'Space');
      await waitScreen(page, 'main menu', mainMenuShown);
      await player.pause(450);
      await clickGame(page, 400, 151);
      await waitScreen(page, 'play menu', px => !mainMenuShown(px) && countIn(px, 0, 265, W, 50, isGreen) > 200);
      await player.pause(450);
      await clickGame(page, 400, 295);
      await waitScreen(page, 'match', matchShown);
      const front = await browser.newPage();
      try {
        await until('the game\'s tab hidden', 5, () => page.evaluate(() => document.hidden));
        const hiddenAt = statusBar(await waitScreen(page, 'pause in the hidden tab', pauseShown));
        const wakes = await wakesOver(page, 2500);
        if (statusBar(await screen(page)) !== hiddenAt) throw new Error('the status bar changed while hidden');
        if (wakes > 4) throw new Error(`the paused match woke ${wakes} times in 2.5 s`);
      } finally {
        await front.close();
      }
      await page.bringToFront();
    });
    await page.close();

    await check('after one visit the game starts with no server', async () => {
      page = await open();
      await until('a service worker in charge', 20, () => page.evaluate(() => !!navigator.serviceWorker.controller));
      await until('the page\'s files kept', 20, () => page.evaluate(async () => {
        const names = await caches.keys();
        if (names.length !== 1) return false;
        return (await (await caches.open(names[0])).keys()).length >= 7;
      }));
      await page.close();
      server.kill();
      await new Promise(r => server.on('exit', r));
      server = null;
      page = await open();
      await waitScreen(page, 'intro with the server stopped', anyDrawn);
      await page.close();
    });
  } finally {
    await browser.close();
    if (server) server.kill();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  if (failed) console.log('page console:\n  ' + consoleLines.filter(l => !l.startsWith('Canvas2D')).slice(-15).join('\n  '));
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
})().catch(e => {
  console.log(`FAIL the page checks could not run: ${e.stack}`);
  console.log(`${passed} passed, ${failed + 1} failed`);
  process.exit(1);
});
