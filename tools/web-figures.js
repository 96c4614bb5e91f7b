// The browser version's figures, measured in Debian's headless Chromium
// (tools/figures --web): first intro frame after navigation, one match
// frame, click-to-sound latency, gaps in the sound over a 60-second match,
// and the whole browser's CPU with the idle
// main menu and with a match in a hidden tab, beside a blank page's.
// Prints "name=value" lines.
// Usage: node web-figures.js SITE_URL BENCH_URL
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const puppeteer = require('puppeteer-core');
const player = require(path.join(__dirname, '../tests/web/player.js'));

const [site, bench] = process.argv.slice(2);
const debug = m => process.env.FIGURES_DEBUG && console.error(m);
const median = xs => xs.slice().sort((a, b) => a - b)[Math.floor(xs.length / 2)];
async function until(seconds, test, what) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const value = await test();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await new Promise(r => setTimeout(r, 50));
  }
}

const kCpuWindowS = 10;
// The intro skipped, the main menu's title slides in for about four
// seconds; then the menu only waits. Needs the page to note its flips in
// window.lastFlipAt.
async function menuAtRest(page) {
  await player.key(page, 'Space');
  await until(20, () => page.evaluate(() => performance.now() - window.lastFlipAt > 1000),
              'the main menu at rest');
}

// User and system time of a process and all its descendants, in seconds,
// from /proc: Chromium's browser, renderer, GPU and audio processes alike.
function browserCpuSeconds(rootPid) {
  const procs = {};
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      procs[entry] = { parent: fields[1], ticks: Number(fields[11]) + Number(fields[12]) };
    } catch (e) { /* ended meanwhile */ }
  }
  let ticks = 0;
  for (const pid of Object.keys(procs)) {
    let p = pid;
    while (p && p !== String(rootPid) && procs[p]) p = procs[p].parent;
    if (p === String(rootPid)) ticks += procs[pid].ticks;
  }
  return ticks / 100;  // USER_HZ
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
      await page.setBypassServiceWorker(true);
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
      starts.push(await until(20, () => page.evaluate(() => window.firstFlipMs), 'the first frame'));
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
    // it flips the frame that follows; the first buffer the page schedules
    // after that flip carries them. From the click to that buffer's
    // scheduled start, plus the browser's own output latency.
    const game = await browser.newPage();
    await game.setViewport({ width: 800, height: 640 });
    await game.evaluateOnNewDocument(() => {
      window.watch = {};
      const drawImage = CanvasRenderingContext2D.prototype.drawImage;
      CanvasRenderingContext2D.prototype.drawImage = function(...args) {
        if (this.canvas.id !== 'canvas') return drawImage.apply(this, args);
        window.lastFlipAt = performance.now();
        if (window.watch.clickedAt !== undefined) window.watch.flipped = true;
        return drawImage.apply(this, args);
      };
    });
    await game.goto(site);
    const box = await (await game.$('#canvas')).boundingBox();
    await until(20, () => game.evaluate(() => typeof SDL !== 'undefined' && SDL.audio && SDL.screen),
                'the game');
    await game.evaluate(() => {
      const schedule = SDL.audio.schedule;
      SDL.audio.schedule = function(buffer, when) {
        const w = window.watch;
        if (w.flipped && w.heardAt === undefined) w.heardAt = when;
        return schedule.apply(this, arguments);
      };
      document.getElementById('canvas').addEventListener('mousedown', () => {
        window.watch = { clickedAt: SDL.audioContext.currentTime };
      }, { capture: true });
    });
    await game.mouse.move(box.x + 20, box.y + 20);
    await menuAtRest(game);
    const latencies = [];
    for (let i = 0; i < 7; i++) {
      await player.pause(500);  // clicks apart: no double click, each one heard
      await player.click(game, box.x + 20, box.y + 20);
      latencies.push(await until(5, () => game.evaluate(() => {
        const w = window.watch;
        if (w.heardAt === undefined) return null;
        const output = (SDL.audioContext.baseLatency || 0) + (SDL.audioContext.outputLatency || 0);
        return 1000 * (w.heardAt - w.clickedAt + output);
      }), 'the shot'));
    }
    debug(latencies);
    console.log(`click_to_sound_ms=${Math.round(median(latencies))}`);

    // Silence the page played for want of a buffer scheduled in time, over
    // a 60-second match played with the pointer moving.
    await player.click(game, box.x + 400, box.y + 151);  // "Jouer"
    await player.pause(1500);
    await player.click(game, box.x + 400, box.y + 295);  // a new match
    await player.pause(2000);
    const gapsBefore = await game.evaluate(() => SDL.audio.gaps.length);
    const matchAt = await game.evaluate(() => performance.now());
    for (let s = 0; s < 60; s++) {
      await game.mouse.move(box.x + 200 + (s % 2) * 400, box.y + 300, { steps: 5 });
      await player.pause(1000);
    }
    const gaps = (await game.evaluate(() => SDL.audio.gaps)).slice(gapsBefore);
    debug(`sound gaps at ${gaps.map(t => Math.round(t - matchAt)).join(', ')} ms into the match`);
    console.log(`match_sound_gaps=${gaps.length}`);
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }

  // The whole browser's CPU, in percent of a core: a blank page, a page
  // that only loops a sound (what any sound costs this browser), then the
  // game's idle main menu with its music, then a match in a tab hidden
  // behind a blank one; each window in a fresh browser, three rounds.
  const rounds = { blank: [], sound: [], menu: [], hidden: [] };
  for (let round = 0; round < 3; round++) {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tirevane-figures-'));
    const cpuBrowser = await puppeteer.launch({
      executablePath: '/usr/bin/chromium', userDataDir: dir,
      args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--autoplay-policy=no-user-gesture-required'],
    });
    try {
      const share = async () => {
        const pid = cpuBrowser.process().pid;
        const before = browserCpuSeconds(pid), start = Date.now();
        await player.pause(kCpuWindowS * 1000);
        return 100 * (browserCpuSeconds(pid) - before) / ((Date.now() - start) / 1000);
      };
      const blank = await cpuBrowser.newPage();
      await blank.goto('about:blank');
      await player.pause(2000);
      rounds.blank.push(await share());
      const sound = await cpuBrowser.newPage();
      await sound.goto('about:blank');
      await sound.evaluate(() => {
        const context = new AudioContext({ sampleRate: 44100, latencyHint: 'interactive' });
        const buffer = context.createBuffer(2, 4 * 44100, 44100);
        const left = buffer.getChannelData(0);
        for (let i = 0; i < left.length; i++) left[i] = 0.1 * Math.sin(i / 20);
        const source = context.createBufferSource();
        source.buffer = buffer;
        source.loop = true;
        source.connect(context.destination);
        source.start();
      });
      await player.pause(2000);
      rounds.sound.push(await share());
      await sound.close();
      const game = await cpuBrowser.newPage();
      await game.setViewport({ width: 800, height: 640 });
      await blank.close();
      await game.goto(site);
      const box = await (await game.$('#canvas')).boundingBox();
      const at = (x, y) => [box.x + x * box.width / 800, box.y + y * box.height / 600];
      await until(20, () => game.evaluate(() => typeof SDL !== 'undefined' && SDL.screen), 'the game');
      await player.pause(1000);
      await game.evaluate(() => {
        const drawImage = CanvasRenderingContext2D.prototype.drawImage;
        CanvasRenderingContext2D.prototype.drawImage = function(...args) {
          if (this.canvas.id === 'canvas') window.lastFlipAt = performance.now();
          return drawImage.apply(this, args);
        };
      });
      await game.mouse.move(...at(790, 590));
      await menuAtRest(game);  // its music playing
      await player.pause(2000);  // the sound settled in its pace at rest
      rounds.menu.push(await share());
      await player.click(game, ...at(400, 151));  // "Jouer"
      await player.pause(1500);
      await player.click(game, ...at(400, 295));  // a new match
      await player.pause(1500);
      const front = await cpuBrowser.newPage();
      await front.goto('about:blank');
      await until(5, () => game.evaluate(() => document.hidden), 'the tab hidden');
      await player.pause(1000);
      rounds.hidden.push(await share());
    } finally {
      await cpuBrowser.close();
      fs.rmSync(dir, { recursive: true, force: true });
    }
  }
  debug(rounds);
  for (const name of Object.keys(rounds)) console.log(`cpu_${name}_pct=${median(rounds[name]).toFixed(1)}`);
})().catch(e => { console.error(`web-figures: ${e.message}`); process.exit(1); });
