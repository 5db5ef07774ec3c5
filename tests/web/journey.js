// journey.js: plays COMET DRIFTER's web page in Debian's Chromium (playwright-core, no
// browser of its own) the way a player would: the title, Mode A flown and crashed, r,
// crashed again, t, Mode B for a few seconds, Escape; then reloads and finds the records.
// Checks the console lines, the canvas against the sprite sheet, the page around it and
// the game's own frames-per-second lines. Screenshots go to OUT_DIR.
// Usage: node journey.js DIST_DIR SHEET_BMP OUT_DIR
'use strict';
const { chromium } = require('playwright-core');
const { start } = require('../../web/serve.js');
const assert = require('assert/strict');
const fs = require('fs');
const path = require('path');

const [dist, sheetFile, outDir] = process.argv.slice(2);
const CHROMIUM_FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const LOGO = { src: [0, 75, 422, 117], dst: [29, 80] };        // the title's logo, opaque
const HUD_TOP = { src: [102, 0, 104, 12], dst: [10, 0] };     // top of the HUD frame
const SAVED = 'OK: RecordFile was successfully loaded.';

// The sprite sheet as the game reads it: a 24-bit BMP, rows bottom-up, BGR.
function readBmp(file) {
  const b = fs.readFileSync(file);
  const start = b.readUInt32LE(10), w = b.readInt32LE(18), h = b.readInt32LE(22);
  assert.equal(b.readUInt16LE(28), 24, 'the sheet is 24-bit');
  const stride = (w * 3 + 3) & ~3;
  return (x, y) => {
    const i = start + (h - 1 - y) * stride + x * 3;
    return [b[i + 2], b[i + 1], b[i]];
  };
}

// Every pixel a sprite does not key out (black) must be on the canvas exactly.
async function expectSprite(page, sheet, { src: [sx, sy, w, h], dst: [dx, dy] }, what) {
  const shown = await page.evaluate(([x, y, w, h]) => Array.from(
    document.getElementById('screen').getContext('2d').getImageData(x, y, w, h).data), [dx, dy, w, h]);
  let compared = 0, wrong = 0;
  for (let y = 0; y < h; ++y) {
    for (let x = 0; x < w; ++x) {
      const want = sheet(sx + x, sy + y);
      if (want.every((c) => c === 0)) continue;
      const i = (y * w + x) * 4;
      compared++;
      if (want.some((c, k) => c !== shown[i + k])) wrong++;
    }
  }
  assert.ok(compared > 100, `${what}: the sheet has pixels to compare`);
  assert.equal(wrong, 0, `${what}: ${wrong} of ${compared} pixels differ from the sheet`);
}

const wait = (ms) => new Promise((r) => setTimeout(r, ms));
const pageState = (page) => page.evaluate(() => window.cometPage);

async function framesFromNow(page, count) {
  const start = (await pageState(page)).frames;
  await page.waitForFunction((n) => window.cometPage.frames >= n, start + count, { timeout: 20000 });
}

// Flies off the left edge (a crash), then presses KEY until the round's records are saved.
async function crashThenPress(page, lines, key) {
  const saved = lines.filter((l) => l === SAVED).length;
  await page.keyboard.down('ArrowLeft');
  for (let tries = 0; lines.filter((l) => l === SAVED).length === saved; ++tries) {
    assert.ok(tries < 50, `pressing ${key} after a crash saves the records`);
    await framesFromNow(page, 6);
    await page.keyboard.press(key);
  }
  await page.keyboard.up('ArrowLeft');
}

function lastRecords(lines) {
  const last = (mode) => Number(lines.filter((l) => l.startsWith(`Mode${mode} Rec: `)).pop()?.slice(11));
  return { a: last('A'), b: last('B') };
}

async function main() {
  const sheet = readBmp(sheetFile);
  const server = await start(dist, 0);
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: CHROMIUM_FLAGS });
  try {
    const page = await browser.newPage({ viewport: { width: 1100, height: 800 } });
    const lines = [];
    page.on('console', (m) => lines.push(m.text()));
    page.on('pageerror', (e) => lines.push('page error: ' + e.message));
    const shot = (name) => page.screenshot({ path: path.join(outDir, name + '.png') });

    // The title, on a page that scales it by 2 and keeps the keys from scrolling.
    await page.goto(server.url);
    await framesFromNow(page, 60);  // the logo fades in over 51 frames
    await expectSprite(page, sheet, LOGO, 'title logo');
    assert.ok(lines.includes('OK: MaterialFile was successfully loaded.'), 'the start-up line');
    const look = await page.evaluate(() => {
      const c = document.getElementById('screen');
      const arrow = new KeyboardEvent('keydown', { key: 'ArrowDown', cancelable: true });
      return { width: c.getBoundingClientRect().width, rendering: getComputedStyle(c).imageRendering,
               scrolls: window.dispatchEvent(arrow) };
    });
    await page.keyboard.up('ArrowDown');
    assert.deepEqual(look, { width: 960, rendering: 'pixelated', scrolls: false });
    await shot('title');

    // Mode A: fly, crash, r; crash, t.
    await page.keyboard.press('a');
    await page.keyboard.down('ArrowRight');
    await framesFromNow(page, 40);
    await page.keyboard.up('ArrowRight');
    await expectSprite(page, sheet, HUD_TOP, 'HUD');
    await shot('mode-a');
    await crashThenPress(page, lines, 'r');
    await crashThenPress(page, lines, 't');
    await shot('game-over');
    await framesFromNow(page, 60);
    await expectSprite(page, sheet, LOGO, 'title logo again');

    // Mode B for five seconds, then Escape: the page says the game has ended.
    const fpsFrom = lines.length;
    await page.keyboard.press('b');
    await wait(5500);
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => window.cometPage.ended && !window.cometPage.storing)
      .catch(async (e) => { console.log(await pageState(page), lines.slice(-8)); throw e; });
    const notice = await page.textContent('#notice');
    assert.match(notice, /game has ended.*Reload/);
    await shot('ended');
    const fps = lines.slice(fpsFrom).filter((l) => /^\d+FPS$/.test(l)).map((l) => parseInt(l, 10));
    console.log(`frames per second in Mode B: ${fps.join(' ')}`);
    assert.ok(fps.length >= 4, 'four or more frames-per-second lines in five seconds');
    for (const f of fps.slice(1)) assert.ok(f >= 61 && f <= 63, `${f} frames per second`);
    assert.deepEqual(lines.filter((l) => /error/i.test(l)), [], 'no error lines');

    // The records survive a reload.
    const played = lastRecords(lines);
    assert.ok(played.a > 0, 'Mode A scored');
    lines.length = 0;
    await page.reload();
    await framesFromNow(page, 60);
    assert.ok(lines.includes(SAVED), 'Rec.dat is read after the reload');
    const kept = lastRecords(lines);
    assert.equal(kept.a, played.a, 'the Mode A record is kept');
    assert.ok(kept.b > 0, 'the Mode B round made a record that is kept');
    console.log(`records after the reload: Mode A ${kept.a}, Mode B ${kept.b}`);
  } finally {
    await browser.close();
    server.close();
  }
}

main().catch((e) => { console.error(e); process.exit(1); });
