// Reading the game's 800x600 RGBA canvas as the desktop sessions read
// their screenshots (tests/e2e/lib.sh): the same colour tests and target
// search.
'use strict';
const W = 800;

const isGreen = p => p[1] > 178 && p[0] < 77 && p[2] < 77;
const isRed = p => p[0] > 178 && p[1] < 77 && p[2] < 77;
const isMagenta = p => p[0] > 165 && p[0] < 217 && p[1] < 38 && p[2] > 140 && p[2] < 192;

function countIn(px, x0, y0, w, h, test) {
  let n = 0;
  for (let y = y0; y < y0 + h; y++) {
    for (let x = x0; x < x0 + w; x++) {
      const i = (y * W + x) * 4;
      if (test([px[i], px[i + 1], px[i + 2]])) n++;
    }
  }
  return n;
}

// The middle of the live target lowest in a region (by default above the
// status bar), more than 40 px from (px0, py0) (the visor), or null. A hit
// target fades at once: only the targets' exact colours count.
// Self-contained: the session also runs it inside the page.
function targetIn(px, px0, py0, [x0, y0, x1, y1] = [0, 100, 800, 540]) {
  const colours = ['255,255,255', '255,255,0', '255,121,0', '255,0,0', '128,0,128',
    '0,0,255', '92,49,10', '2,2,2'];
  const top = {}, bottom = {};
  for (let y = Math.max(y0, 0); y < Math.min(y1, 553); y++) {
    for (let x = Math.max(x0, 0); x < Math.min(x1, 800); x++) {
      const i = (y * 800 + x) * 4;
      if (!colours.includes(`${px[i]},${px[i + 1]},${px[i + 2]}`)) continue;
      if ((x - px0) ** 2 < 1600 && (y - py0) ** 2 < 1600) continue;
      if (!(x in top)) top[x] = y;
      bottom[x] = y;
    }
  }
  let best = null;
  for (const x of Object.keys(top)) if (best === null || bottom[x] > bottom[best]) best = x;
  return best === null ? null : { x: Number(best), y: Math.floor((top[best] + bottom[best]) / 2) };
}

// A point of a live target with its colour 8 px either side and 16 px
// below, so still on it once the target has risen a few frames, and that
// colour (0xRRGGBB); or null.
// Self-contained like targetIn.
function pointInTarget(px, [x0, y0, x1, y1]) {
  const live = [0xffffff, 0xffff00, 0xff7900, 0xff0000, 0x800080, 0x0000ff, 0x5c310a, 0x020202];
  const at = (x, y) => { const i = (y * 800 + x) * 4; return px[i] << 16 | px[i + 1] << 8 | px[i + 2]; };
  for (let y = y0; y < y1; y += 2) {
    for (let x = x0 + 8; x < x1 - 8; x += 2) {
      const c = at(x, y);
      if (live.includes(c) && at(x - 8, y) === c && at(x + 8, y) === c && at(x, y + 16) === c) return { x, y, c };
    }
  }
  return null;
}

const targetNear = (px, x, y, r) => targetIn(px, -1e4, -1e4, [x - r, y - r, x + r, y + r]) !== null;

module.exports = { countIn, isGreen, isRed, isMagenta, pointInTarget, targetIn, targetNear };
