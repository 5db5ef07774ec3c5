// journey.js: plays COMET DRIFTER's web page in Debian's Chromium (playwright-core, no
// browser of its own) the way players would: with the keyboard (title, Mode A flown and
// crashed, r, crashed again, t, Mode B, Escape, Play again with the records kept, full
// screen), on a phone with two fingers (and a tablet's layout), with a gamepad; offline and
// after a new bundle; in two tabs at once; closing the tab right after a round; without
// storage; with a broken download. Checks the console lines, the canvas against the sprite
// sheet, the page around it, the game's frames-per-second lines, the server's answers and
// a first visit's weight. Screenshots go to OUT_DIR.
// Usage: node journey.js DIST_DIR SHEET_BMP OUT_DIR   (from the top of the repository)
'use strict';
const { launch } = require('../../web/chromium.js');
const { start } = require('../../web/serve.js');
const assert = require('assert/strict');
const { spawnSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [dist, sheetFile, outDir] = process.argv.slice(2);
const LOGO = { src: [0, 75, 422, 117], dst: [29, 80] };        // the title's logo, opaque
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
    window.cometPage.screen.getImageData(x, y, w, h).data), [dx, dy, w, h]);
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
const saves = (page) => page.lines.filter((l) => l === SAVED).length;
const held = (page) => page.evaluate(() => [...window.keysHeld].sort().join());
const shot = (page, name) => page.screenshot({ path: path.join(outDir, name + '.png') });

async function framesFromNow(page, count) {
  const start = (await pageState(page)).frames || 0;
  await page.waitForFunction((n) => window.cometPage.frames >= n || window.cometPage.ended, start + count, { timeout: 20000 });
}

// Opens the game in CONTEXT and waits for the title; page.lines holds its console lines.
// Held keys are watched in window.keysHeld, whatever sends them.
async function openGame(context, url) {
  const page = await context.newPage();
  page.lines = [];
  page.on('console', (m) => page.lines.push(m.text()));
  page.on('pageerror', (e) => page.lines.push('page error: ' + e.message));
  await page.addInitScript(() => ['keydown', 'keyup'].forEach((t, up) => addEventListener(t, (e) =>
    (window.keysHeld = window.keysHeld || new Set())[up ? 'delete' : 'add'](e.key))));
  await page.goto(url);
  await framesFromNow(page, 60);  // the logo fades in over 51 frames
  return page;
}
const reload = async (page) => { await page.reload(); await framesFromNow(page, 60); };

// Flies off the left edge (a crash), then presses KEY until the round's records are saved,
// with INPUT: the keyboard, the touch controls or a gamepad.
async function crashThenPress(page, key, input = page.keyboard) {
  const saved = saves(page);
  await framesFromNow(page, 5);  // a key held on the title is not held in the round
  await input.down('ArrowLeft');
  for (let tries = 0; saves(page) === saved; ++tries) {
    assert.ok(tries < 50, `pressing ${key} after a crash saves the records`);
    await framesFromNow(page, 6);
    await input.press(key);
  }
  await input.up('ArrowLeft');
  await page.waitForFunction(() => !window.cometPage.storing);
}

function lastRecords(lines) {
  const last = (mode) => Number(lines.filter((l) => l.startsWith(`Mode${mode} Rec: `)).pop()?.slice(11) ?? 0);
  return { a: last('A'), b: last('B') };
}

// The records a newly opened tab reads.
const recordsOfANewTab = async (context, url) => lastRecords((await openGame(context, url)).lines);

// Two fingers or more on the touch controls, through Chromium's touch events.
async function touchInput(page) {
  const cdp = await page.context().newCDPSession(page);
  const fingers = new Map();
  const freeId = () => [...Array(16).keys()].find((i) => ![...fingers.values()].some((f) => f.id === i));
  const spot = (key) => page.evaluate((k) => {
    const [fx, fy, pad] = { ArrowLeft: [0.15, 0.5, 1], ArrowRight: [0.85, 0.5, 1], ArrowUp: [0.5, 0.15, 1] }[k] || [0.5, 0.5];
    const r = document.querySelector(pad ? '#dpad' : `[data-key="${k}"]`).getBoundingClientRect();
    return { x: r.left + r.width * fx, y: r.top + r.height * fy };
  }, key);
  // Each event names the fingers that land, lift or move.
  const send = (type, key) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: [fingers.get(key)] });
  return withPress({
    async down(key) { fingers.set(key, { ...(await spot(key)), id: freeId() }); await send('touchStart', key); },
    async up(key) { await send('touchEnd', key); fingers.delete(key); },
    async slide(from, to) { fingers.set(to, { ...fingers.get(from), ...(await spot(to)) }); fingers.delete(from); await send('touchMove', to); },
  });
}
const withPress = (input) => Object.assign(input, { press: async (key) => { await input.down(key); await input.up(key); } });

// A standard gamepad, faked in the page (navigator.getGamepads), polled every animation frame.
// ArrowRight is the left stick; the rest are buttons of the standard mapping.
const PAD = { ' ': 0, b: 1, a: 2, r: 3, e: 8, t: 9, ArrowUp: 12, ArrowLeft: 14 };
function padInput(page) {
  const set = (on) => (key) => page.evaluate(([i, v]) => {
    if (i === undefined) window.fakePad.axes[0] = v ? 0.9 : 0;
    else window.fakePad.buttons[i].pressed = v;
    return new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)));  // polled
  }, [PAD[key], on]);
  return withPress({ down: set(true), up: set(false) });
}

async function keyboardJourney(browser, url, sheet) {
  const page = await openGame(await browser.newContext({ viewport: { width: 1100, height: 800 } }), url);
  const lines = page.lines;

  // The title, on a page that scales it by 2 and keeps the keys from scrolling.
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
  await shot(page, 'title');

  // Mode A: fly, crash, r; crash, t.
  await page.keyboard.press('a');
  await page.keyboard.down('ArrowRight');
  await framesFromNow(page, 40);
  await page.keyboard.up('ArrowRight');
  await shot(page, 'mode-a');
  await crashThenPress(page, 'r');
  await crashThenPress(page, 't');
  await shot(page, 'game-over');
  await framesFromNow(page, 60);  // the title is up before b

  // Mode B for five seconds, then Escape: the page says the game has ended, below the picture.
  const fpsFrom = lines.length;
  await page.keyboard.press('b');
  await wait(5500);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => window.cometPage.ended && !window.cometPage.storing)
    .catch(async (e) => { console.log(await pageState(page), lines.slice(-8)); throw e; });
  const [ended, below] = await page.evaluate(() => [document.getElementById('ended').textContent,
    document.getElementById('ended').getBoundingClientRect().top - document.getElementById('screen').getBoundingClientRect().bottom]);
  assert.match(ended, /game has ended.*Play again/);
  assert.ok(below >= 0, 'the notice is below the picture');
  await shot(page, 'ended');
  const fps = lines.slice(fpsFrom).filter((l) => /^\d+FPS$/.test(l)).map((l) => parseInt(l, 10));
  console.log(`frames per second in Mode B: ${fps.join(' ')}`);
  // Only the ceiling (a report late within its frame counts 64): a busy machine may show
  // fewer; the 16 ms grid is proved on an injected clock.
  const full = fps.slice(1);
  assert.ok(full.length >= 3 && Math.max(...full) <= 64, `none of the full seconds above 64 frames: ${full.join(' ')}`);
  assert.deepEqual(lines.filter((l) => /error/i.test(l)), [], 'no error lines');

  // Play again (Enter): a new game in the same page, with the records just kept.
  const played = lastRecords(lines);
  assert.ok(played.a > 0, 'Mode A scored');
  const againFrom = lines.length;
  await page.keyboard.press('Enter');
  await framesFromNow(page, 60);
  await expectSprite(page, sheet, LOGO, 'title logo after Play again');
  const kept = lastRecords(lines.slice(againFrom));
  assert.equal(kept.a, played.a, 'the Mode A record is kept');
  assert.ok(kept.b > 0, 'the Mode B round made a record that is kept');
  console.log(`records read after Play again: Mode A ${kept.a}, Mode B ${kept.b}`);

  // Full screen: the page alone, its lines gone.
  await page.click('#full');
  await page.waitForFunction(() => document.fullscreenElement && !document.getElementById('keys').offsetHeight, null, { timeout: 5000 });
  await page.evaluate(() => document.exitFullscreen());
}

// A phone in landscape, touch alone: a round started, steered and boosted with two fingers
// at once, crashed, retried and left; the controls never over the picture.
async function touchJourney(browser, url) {
  const page = await openGame(await browser.newContext({ viewport: { width: 844, height: 390 }, deviceScaleFactor: 2,
                                                        hasTouch: true, isMobile: true }), url);
  const touch = await touchInput(page);
  const overlaps = () => page.evaluate(() => {
    const c = document.getElementById('screen').getBoundingClientRect();
    return [...document.querySelectorAll('.control')].map((e) => e.getBoundingClientRect())
      .filter((r) => r.left < c.right && r.right > c.left && r.top < c.bottom && r.bottom > c.top).length;
  });
  assert.equal(await overlaps(), 0, 'no control over the picture in landscape');
  await touch.press('a');
  await touch.down('ArrowRight');
  await touch.down(' ');
  assert.equal(await held(page), ' ,ArrowRight', 'steering and boosting at once');
  await framesFromNow(page, 20);
  await shot(page, 'phone-landscape');
  await touch.slide('ArrowRight', 'ArrowUp');
  assert.equal(await held(page), ' ,ArrowUp', 'a sliding finger changes its key');
  await touch.up(' ');
  await touch.up('ArrowUp');
  assert.equal(await held(page), '', 'letting go releases');
  await crashThenPress(page, 'r', touch);
  await crashThenPress(page, 'e', touch);
  await page.setViewportSize({ width: 390, height: 844 });
  await reload(page);
  assert.equal(await overlaps(), 0, 'no control over the picture in portrait');
  await shot(page, 'phone-portrait');
  // A 1024x768 tablet: the controls below, the picture 3 screen pixels a game pixel.
  await page.setViewportSize({ width: 1024, height: 768 });
  await page.waitForFunction(() => document.getElementById('screen').getBoundingClientRect().width === 720, null, { timeout: 5000 });
  assert.equal(await overlaps(), 0, 'no control over the picture on a tablet');
  await shot(page, 'tablet');
  await page.context().close();
}

// A standard gamepad starts, steers (stick), boosts and leaves.
async function gamepadJourney(browser, url) {
  const context = await browser.newContext();
  await context.addInitScript(() => { navigator.getGamepads = () => [window.fakePad]; window.fakePad = { index: 0,
    connected: true, mapping: 'standard', axes: [0, 0], buttons: [...Array(17)].map(() => ({ pressed: false })) }; });
  const page = await openGame(context, url);
  await page.evaluate(() => dispatchEvent(new Event('gamepadconnected')));  // what a real pad fires
  const pad = padInput(page);
  assert.match(await page.textContent('#pad'), /A boost/);
  await pad.press('a');
  await pad.down('ArrowRight');
  await pad.down(' ');
  assert.equal(await held(page), ' ,ArrowRight');
  await framesFromNow(page, 20);
  await pad.up(' ');
  await pad.up('ArrowRight');
  await crashThenPress(page, 'e', pad);
  await context.close();
}

// A first visit within 1 MB without gzip; offline after it; after a new bundle the reload
// plays it and the old cache goes; a broken one is said.
async function offlineAndNewBundle(browser) {
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'comet-bundle-'));
  fs.cpSync(dist, copy, { recursive: true });
  let server = await start(copy, 0);
  const page = await openGame(await browser.newContext(), server.url);
  const cachesAre = (names) => page.waitForFunction(async (n) => (await caches.keys()).join() === n, names);
  await cachesAre(fs.readFileSync(path.join(copy, 'sw.js'), 'utf8').match(/comet-drifter-[\w.-]+/)[0]);
  // The files a first visit fetches, the service worker's too, as a plain server sends them
  // (no gzip; the worker's copy comes from the browser's cache there).
  const plain = [...server.served.values()].reduce((sum, n) => sum + n, 0);
  console.log(`a first visit's files without gzip: ${(plain / 1e6).toFixed(2)} MB`);
  assert.ok(plain <= 1e6, 'at most 1 MB');
  await server.close();
  await reload(page);
  fs.appendFileSync(path.join(copy, 'boot.js'), '\nwindow.cometPage.bundle = "new";\n');
  const sw = path.join(copy, 'sw.js');
  fs.writeFileSync(sw, fs.readFileSync(sw, 'utf8').replace(/comet-drifter-[\w.-]+/, 'comet-drifter-new'));
  server = await start(copy, server.port);
  await reload(page);
  assert.equal((await pageState(page)).bundle, 'new', 'the reload plays the new bundle');
  await cachesAre('comet-drifter-new');
  await page.context().close();
  // A truncated comet.wasm (a new visitor: no cache): said in one line, with what to do.
  const wasm = path.join(copy, 'comet.wasm');
  fs.truncateSync(wasm, Math.floor(fs.statSync(wasm).size / 2));
  await server.close();
  server = await start(copy, server.port);
  const broken = await (await browser.newContext()).newPage();
  await broken.goto(server.url);
  await broken.waitForFunction(() => window.cometPage.failed, null, { timeout: 20000 });
  assert.match(await broken.textContent('#notice'), /could not start the game.*Reload the page, or try another browser/);
  await broken.context().close();
  await server.close();
}

// Two tabs with interleaved rounds of both modes: each save keeps the other tab's record.
async function twoTabs(browser, url) {
  const context = await browser.newContext();
  const tabs = [await openGame(context, url), await openGame(context, url)];
  let best = { a: 0, b: 0 };
  for (const [tab, mode] of [[0, 'a'], [1, 'b'], [0, 'b'], [1, 'a']]) {
    await tabs[tab].bringToFront();
    await tabs[tab].keyboard.press(mode);
    await crashThenPress(tabs[tab], 't');
    const now = await recordsOfANewTab(context, url);
    assert.ok(now.a >= best.a && now.b >= best.b && now[mode] > 0, `tab ${tab} Mode ${mode}: ${JSON.stringify(now)}`);
    best = now;
  }
  // A tab deleting the database (or upgrading it) is never blocked by the games open.
  assert.equal(await tabs[0].evaluate(() => new Promise((resolve) => Object.assign(indexedDB.deleteDatabase('/records'),
    { onsuccess: () => resolve('deleted'), onblocked: () => resolve('blocked') }))), 'deleted');
  await context.close();
}

// Closing the tab within 0 to 25 ms of Escape ending a round: the round's record is kept.
async function closeRightAfterTheRound(browser, url) {
  for (const ms of [0, 5, 12, 25]) {
    const context = await browser.newContext();
    const page = await openGame(context, url);
    await page.keyboard.press('a');
    await framesFromNow(page, 30);
    await page.keyboard.press('Escape');
    await wait(ms);
    await page.close();
    assert.ok((await recordsOfANewTab(context, url)).a > 0, `closed ${ms} ms after Escape: the record is kept`);
    await context.close();
  }
}

// No IndexedDB, or one whose open never answers: the game plays, and says once that
// records may not be kept. One whose reads throw: the records come from the mirror.
async function withoutStorage(browser, url) {
  for (const trouble of ['delete window.indexedDB', 'indexedDB.open = () => ({})',
    'IDBObjectStore.prototype.get = () => { throw new DOMException("read failed"); }']) {
    const context = await browser.newContext();
    await context.addInitScript(trouble);
    const page = await openGame(context, url);
    await page.keyboard.press('a');
    await crashThenPress(page, 't');
    assert.deepEqual(page.lines.filter((l) => /error/i.test(l)), [], `${trouble}: no error lines`);
    if (trouble.includes('throw')) {
      const played = lastRecords(page.lines).a;
      assert.ok(played > 0 && (await recordsOfANewTab(context, url)).a === played, 'a failed read falls back to the mirror');
    } else {
      assert.equal((await page.textContent('#trouble')).split('may not be kept').length, 2, `${trouble}: said once`);
    }
    await context.close();
  }
}

// Every request answered, the server still up; web.sh refuses a bad or busy port at once.
async function serverAnswers(server) {
  for (const [target, status] of [['/%ff', 400], ['/nothing', 404]]) {
    assert.equal((await fetch(server.url.slice(0, -1) + target)).status, status, `GET ${target}`);
  }
  const run = spawnSync('./web.sh', ['--port', String(server.port)], { encoding: 'utf8' });
  const out = (run.stdout + run.stderr).trim().split('\n');
  assert.ok(run.status === 2 && out.length === 1 && /in use/.test(out[0]), `web.sh --port busy: ${out}`);
}

async function main() {
  const sheet = readBmp(sheetFile);
  const server = await start(dist, 0);
  const browser = await launch();
  try {
    await serverAnswers(server);
    await keyboardJourney(browser, server.url, sheet);
    await touchJourney(browser, server.url);
    await gamepadJourney(browser, server.url);
    await twoTabs(browser, server.url);
    await closeRightAfterTheRound(browser, server.url);
    await withoutStorage(browser, server.url);
    await offlineAndNewBundle(browser);
  } finally {
    await browser.close();
    await server.close();
  }
}

main().catch((e) => { console.error(e); process.exit(1); });
