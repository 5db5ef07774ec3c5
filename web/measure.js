// measure.js: the browser half of web/measure.sh. Serves build-web/dist, loads it in
// Debian's headless Chromium and prints the page weight as sent with gzip, the time from
// navigation (cold: a new browser) to the title's first frame and to the title fully faded
// in, the CPU of the renderer process and of all Chromium's processes (every process this
// one started) while a Mode B round plays, and the frame rate with the CPU throttled 6x.
// Usage: NODE_PATH=build-web/web-test/node_modules node web/measure.js DIST SECONDS
'use strict';
const { launch } = require('./chromium.js');
const { execFileSync } = require('child_process');
const { start } = require('./serve.js');
const fs = require('fs');
const path = require('path');

const [dist, seconds = '10'] = process.argv.slice(2);
const TICKS = Number(execFileSync('getconf', ['CLK_TCK']));

function cpuTicks(pid) {  // user + system time of one process, in clock ticks
  const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
  return Number(fields[11]) + Number(fields[12]);
}
// Every process below this one: Chromium's browser, GPU, renderer, utility and zygote
// processes, whatever their command lines.
function chromiumProcesses() {
  const parent = new Map();
  for (const pid of fs.readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    try {
      parent.set(pid, fs.readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ')[1]);
    } catch { /* gone meanwhile */ }
  }
  const below = (pid) => pid !== String(process.pid) && parent.has(pid) && (parent.get(pid) === String(process.pid) || below(parent.get(pid)));
  return [...parent.keys()].filter(below).map((pid) => {
    const cmd = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8');
    const type = /--type=([\w-]+)/.exec(cmd);
    return { pid, type: type ? type[1] : 'browser' };
  });
}

async function main() {
  const server = await start(dist, 0);
  const browser = await launch();
  try {
    const page = await browser.newPage({ viewport: { width: 1100, height: 800 } });
    const fps = [];
    page.on('console', (m) => { if (/^\d+FPS$/.test(m.text())) fps.push(m.text()); });
    const sent = {};
    page.on('response', async (r) => { sent[path.basename(new URL(r.url()).pathname) || 'index.html'] = Number(r.headers()['content-length']); });
    await page.goto(server.url);
    await page.waitForFunction(() => window.cometPage.frames >= 51);  // the logo is opaque at 51
    const t = await page.evaluate(() => ({ first: window.cometPage.titleShownAt, now: performance.now() }));
    const total = Object.values(sent).reduce((a, b) => a + b, 0);
    console.log(`page weight with gzip: ${(total / 1024).toFixed(0)} KiB (${Object.entries(sent).map(([f, n]) => `${f} ${(n / 1024).toFixed(0)}`).join(', ')})`);
    console.log(`navigation to the first title frame: ${t.first.toFixed(0)} ms; title faded in: ${t.now.toFixed(0)} ms`);

    await page.keyboard.press('b');
    await new Promise((r) => setTimeout(r, 1000));
    const procs = chromiumProcesses();
    const before = procs.map((p) => cpuTicks(p.pid));
    const startedAt = Date.now();
    await new Promise((r) => setTimeout(r, Number(seconds) * 1000));
    const wall = (Date.now() - startedAt) / 1000;
    const used = procs.map((p, i) => (cpuTicks(p.pid) - before[i]) / TICKS / wall * 100);
    const byType = {};
    used.forEach((u, i) => { byType[procs[i].type] = (byType[procs[i].type] || 0) + u; });
    const all = used.reduce((a, b) => a + b, 0);
    console.log(`the game's frames-per-second lines: ${fps.slice(-5).join(' ')}`);
    console.log(`CPU while a round plays: renderer ${byType.renderer.toFixed(1)} %, all ${procs.length} Chromium processes ${all.toFixed(1)} % of one core ` +
      `(${Object.entries(byType).map(([t, u]) => `${t} ${u.toFixed(1)}`).join(', ')})`);

    // A rough stand-in for a phone: Chromium's own CPU throttling, 6 times.
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('Emulation.setCPUThrottlingRate', { rate: 6 });
    const throttledFrom = fps.length;
    await new Promise((r) => setTimeout(r, 6000));
    console.log(`frames-per-second lines with the CPU throttled 6x: ${fps.slice(throttledFrom + 1).join(' ')}`);
  } finally {
    await browser.close();
    server.close();
  }
}
main().catch((e) => { console.error(e); process.exit(1); });
