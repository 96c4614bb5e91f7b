// The browser version's figures, measured in Debian's headless Chromium
// (tools/figures --web): first intro frame after navigation, one match
// frame, click-to-sound latency. Prints "name=value" lines.
// Usage: node web-figures.js SITE_URL BENCH_URL
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [site, bench] = process.argv.slice(2);
const debug = m => process.env.FIGURES_DEBUG && console.error(m);
const median = xs => xs.slice().sort((a, b) => a - b)[Math.floor(xs.length / 2)];
async function until(seconds, test) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const value = await test();
    if (value) return value;
    if (Date.now() > deadline) throw new Error('timed out');
    await new Promise(r => setTimeout(r, 50));
  }
}

(async () => {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tirevane-figures-'));
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', userDataDir: profile,
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--autoplay-policy=no-user-gesture-required'],
  });
  try {
    // The first flip draws onto the page's canvas: its time from the start
    // of the navigation, with nothing cached.
    const starts = [];
    for (let i = 0; i < 7; i++) {
      const page = await browser.newPage();
      await page.setCacheEnabled(false);
      await page.evaluateOnNewDocument(() => {
        const drawImage = CanvasRenderingContext2D.prototype.drawImage;
        CanvasRenderingContext2D.prototype.drawImage = function(...args) {
          if (this.canvas.id === 'canvas' && window.firstFlipMs === undefined) {
            window.firstFlipMs = performance.now();
          }
          return drawImage.apply(this, args);
        };
      });
      await page.goto(site);
      starts.push(await until(20, () => page.evaluate(() => window.firstFlipMs)));
      await page.close();
    }
    debug(starts);
    console.log(`first_frame_ms=${Math.round(median(starts))}`);

    const page = await browser.newPage();
    const benchLine = new Promise(resolve => page.on('console', m => {
      if (m.text().startsWith('draw_frame_ms=')) resolve(m.text());
    }));
    await page.goto(bench);
    console.log(await benchLine);
    await page.close();

    // Click-to-sound: a click on the main menu's empty space plays a shot
    // per item. The game starts the sounds while it handles the click, before
    // it flips the frame that follows; the first buffer queued after that
    // flip carries them. From the click to that buffer's scheduled start,
    // plus the browser's own output latency.
    const game = await browser.newPage();
    await game.setViewport({ width: 800, height: 640 });
    await game.evaluateOnNewDocument(() => {
      window.watch = {};
      const drawImage = CanvasRenderingContext2D.prototype.drawImage;
      CanvasRenderingContext2D.prototype.drawImage = function(...args) {
        if (this.canvas.id === 'canvas' && window.watch.clickedAt !== undefined) window.watch.flipped = true;
        return drawImage.apply(this, args);
      };
    });
    await game.goto(site);
    const box = await (await game.$('#canvas')).boundingBox();
    await until(20, () => game.evaluate(() => typeof SDL !== 'undefined' && SDL.audio && SDL.screen));
    await game.evaluate(() => {
      const push = SDL.audio.pushAudio;
      SDL.audio.pushAudio = function(ptr, size) {
        const w = window.watch;
        if (w.flipped && w.heardAt === undefined) {
          w.heardAt = Math.max(SDL.audioContext.currentTime + SDL.audio.bufferingDelay, SDL.audio.nextPlayTime);
        }
        return push.call(this, ptr, size);
      };
      document.getElementById('canvas').addEventListener('mousedown', () => {
        window.watch = { clickedAt: SDL.audioContext.currentTime };
      }, { capture: true });
    });
    await game.keyboard.press('Space');
    await game.mouse.move(box.x + 20, box.y + 20);
    const latencies = [];
    for (let i = 0; i < 7; i++) {
      await game.mouse.down();
      await game.mouse.up();
      latencies.push(await until(5, () => game.evaluate(() => {
        const w = window.watch;
        if (w.heardAt === undefined) return null;
        const output = (SDL.audioContext.baseLatency || 0) + (SDL.audioContext.outputLatency || 0);
        return 1000 * (w.heardAt - w.clickedAt + output);
      })));
    }
    debug(latencies);
    console.log(`click_to_sound_ms=${Math.round(median(latencies))}`);
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
})().catch(e => { console.error(`web-figures: ${e.message}`); process.exit(1); });
