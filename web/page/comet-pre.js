// comet-pre.js: the page's side of COMET DRIFTER in the browser, joined to the program
// with --pre-js. It shows the frames SDL hands over (SDL_browser.c) on the canvas; queues
// the keys for SDL's event pump; keeps Rec.dat in IndexedDB (the higher record of each
// mode wins, so two tabs never lower one another's); ends the round as Escape does when
// the tab closes; and says so when the game has ended, offering to play again (boot.js
// calls cometProgram again: a fresh program). The canvas's size and the touch and gamepad
// controls are controls.js's.
// window.cometPage tells the browser tests and measurements the frames shown (and when
// the title's first one was), the canvas's context (page.screen), how many stores are
// under way and whether the game has ended.
(function () {
  'use strict';
  const WIDTH = 480, HEIGHT = 320;
  const GAME_DIR = '/game';        // the working directory: image/ (preloaded) and Rec.dat
  const RECORD_FILE = GAME_DIR + '/Rec.dat';
  const page = window.cometPage = window.cometPage || {};
  Object.assign(page, { frames: page.frames || 0, storing: page.storing || 0, ended: null });  // counted across programs
  // This program's listeners on the page go when it ends: a new one adds its own.
  const running = new AbortController();
  const listening = { signal: running.signal };

  const canvas = document.getElementById('screen');
  // Drawn through an OffscreenCanvas without alpha where the browser has one: about a
  // third less CPU (no compositing of a transparent canvas). Made once: a canvas hands
  // over its control only once, and the next program draws on the same context.
  page.screen = page.screen || (canvas.transferControlToOffscreen
    ? canvas.transferControlToOffscreen().getContext('2d', { alpha: false }) : canvas.getContext('2d'));
  const context = page.screen;
  const picture = context.createImageData(WIDTH, HEIGHT);
  const notice = document.getElementById('notice');  // over the picture until the title shows
  const trouble = document.getElementById('trouble');  // under it: records not kept

  // ---- the picture
  // SDL's mode setup shows a black frame first; the title is the first frame with colour.
  let titleShown = false;
  const hasColour = (rgba) => new Uint32Array(rgba.buffer, rgba.byteOffset, rgba.length / 4)
    .some((pixel) => (pixel & 0xffffff) !== 0);
  Module.cometPutFrame = (rgba, width, height) => {
    if (width !== WIDTH || height !== HEIGHT) return;
    picture.data.set(rgba);
    context.putImageData(picture, 0, 0);
    page.frames++;
    if (!titleShown && hasColour(rgba)) {
      titleShown = true;
      notice.hidden = true;  // "Loading" until the title
      page.titleShownAt = page.titleShownAt || performance.now();
      if (page.afterFirstFrame) page.afterFirstFrame();
    }
  };

  // ---- the keyboard: entries (kind << 16) | SDL 1.2 key symbol, as SDL_browser.c reads them
  const KEY_UP = 1, KEY_DOWN = 2, FOCUS_LOST = 3, FOCUS_GAINED = 4;
  const SDLK_ESCAPE = 27;
  // Tab, Enter and the rest stay the page's: the game reads none of them.
  const NAMED_KEYS = {
    Escape: SDLK_ESCAPE, ' ': 32, ArrowUp: 273, ArrowDown: 274, ArrowRight: 275, ArrowLeft: 276,
  };
  const queue = [];

  // Letters and digits by what the layout types (as SDL reads X11's key symbols).
  function sdlKey(event) {
    if (event.key in NAMED_KEYS) return NAMED_KEYS[event.key];
    return /^[a-zA-Z0-9]$/.test(event.key) ? event.key.toLowerCase().charCodeAt(0) : 0;
  }

  // The touch and gamepad controls (controls.js) send these same events.
  function onKey(event, kind) {
    if (page.ended || event.ctrlKey || event.metaKey || event.altKey) return;  // browser's own
    const sym = sdlKey(event);
    if (!sym) return;
    event.preventDefault();  // arrows and space never scroll the page
    if (!event.repeat) queue.push(kind << 16 | sym);
  }
  window.addEventListener('keydown', (e) => onKey(e, KEY_DOWN), listening);
  window.addEventListener('keyup', (e) => onKey(e, KEY_UP), listening);
  // Leaving the page releases held keys, as the desktop game's window does on losing focus.
  window.addEventListener('blur', () => queue.push(FOCUS_LOST << 16), listening);
  window.addEventListener('focus', () => queue.push(FOCUS_GAINED << 16), listening);
  canvas.addEventListener('pointerdown', () => { window.focus(); canvas.focus(); }, listening);
  Module.cometTakeInput = () => (queue.length ? queue.shift() : 0);

  // ---- messages under the picture: each said once, none replacing another
  const said = new Set();
  function showTrouble(text) {
    if (said.has(text)) return;
    said.add(text);
    trouble.textContent = [...said].join(' ');
    trouble.hidden = false;
    window.dispatchEvent(new Event('resize'));
  }

  // ---- the records: Rec.dat's two lines, per mode the higher of two copies
  // Read and merged by the game's own code (web/records/higher_records.cpp), so every copy
  // reads here exactly as the game reads it.
  const RECORD_READ_LIMIT = 64 * 1024;  // the game reads no further into a record file
  const MERGED_MAX = 32;                // two numbers and their line feeds

  const asText = (bytes) => String.fromCharCode(...bytes);  // byte for byte (Latin-1)
  const asBytes = (text) => Uint8Array.from(text, (c) => c.charCodeAt(0));
  const asArray = (bytes) => (bytes instanceof Uint8Array ? bytes : new Uint8Array(bytes));

  // The game's bytes, unless the other copy holds a higher record for a mode: then both
  // higher records in the game's own format.
  function higherRecords(own, other) {
    if (!other) return own;
    const mine = asArray(own).subarray(0, RECORD_READ_LIMIT), theirs = asArray(other).subarray(0, RECORD_READ_LIMIT);
    const at = _malloc(mine.length + theirs.length + MERGED_MAX);
    try {
      HEAPU8.set(mine, at);
      HEAPU8.set(theirs, at + mine.length);
      const out = at + mine.length + theirs.length;
      const length = _comet_higher_records(at, mine.length, at + mine.length, theirs.length, out, MERGED_MAX);
      return length ? HEAPU8.slice(out, out + length) : own;
    } finally {
      _free(at);
    }
  }

  // A copy in localStorage, written at once at every save: what a tab closed before its
  // IndexedDB store finished leaves for the next start.
  const MIRROR_KEY = 'comet-drifter Rec.dat';
  function readMirror() {
    try {
      const text = localStorage.getItem(MIRROR_KEY);
      return text === null ? null : asBytes(text);
    } catch { return null; }  // storage disabled
  }
  function writeMirror(bytes) {
    try {
      localStorage.setItem(MIRROR_KEY, asText(higherRecords(bytes, readMirror())));
    } catch { /* storage disabled: IndexedDB is the store that counts */ }
  }

  // IndexedDB as the browser build's earlier file system mount left it, so that records
  // kept before are read: database '/records', store FILE_DATA, one entry per file.
  const DB_NAME = '/records', DB_VERSION = 21, DB_STORE = 'FILE_DATA', DB_KEY = '/records/Rec.dat';
  const STALL_MS = 4000;  // an open that has not answered by then (another tab deleting it)
  const NOT_KEPT = 'Records may not be kept: this browser did not let the page store them.';
  let database = null;

  // Resolves to the database or null (no IndexedDB, refused, or no answer in time).
  function openDatabase() {
    return new Promise((resolve) => {
      let request;
      try {
        request = window.indexedDB.open(DB_NAME, DB_VERSION);
      } catch { resolve(null); return; }  // indexedDB missing or disabled
      let late = false;
      const timer = setTimeout(() => { late = true; resolve(null); }, STALL_MS);
      request.onupgradeneeded = () => {
        const db = request.result;
        const store = db.objectStoreNames.contains(DB_STORE) ? request.transaction.objectStore(DB_STORE)
          : db.createObjectStore(DB_STORE);
        if (!store.indexNames.contains('timestamp')) store.createIndex('timestamp', 'timestamp', { unique: false });
      };
      request.onerror = () => { clearTimeout(timer); resolve(null); };
      request.onsuccess = () => {
        clearTimeout(timer);
        const db = request.result;
        if (late) { db.close(); return; }  // the game went on without it
        // Never block another tab's upgrade or delete: close, and open again at the next save.
        db.onversionchange = () => { db.close(); if (database === db) database = null; };
        resolve(db);
      };
    });
  }

  // One transaction: read what is stored, keep per mode the higher record, write that.
  function storeInDatabase(db, bytes) {
    return new Promise((resolve, reject) => {
      const tx = db.transaction(DB_STORE, 'readwrite');
      const store = tx.objectStore(DB_STORE);
      store.get(DB_KEY).onsuccess = (e) => {
        const stored = e.target.result && e.target.result.contents;
        const contents = higherRecords(bytes, stored);
        store.put({ timestamp: new Date(), mode: 0o100644, contents }, DB_KEY);
      };
      tx.oncomplete = resolve;
      tx.onerror = tx.onabort = () => reject(tx.error);
    });
  }

  // What is stored, or null: a read that fails or throws leaves the mirror to be read.
  function readDatabase(db) {
    return new Promise((resolve) => {
      try {
        const get = db.transaction(DB_STORE).objectStore(DB_STORE).get(DB_KEY);
        get.onsuccess = () => resolve(get.result ? get.result.contents : null);
        get.onerror = () => resolve(null);
      } catch { resolve(null); }
    });
  }

  function gameRecords() {
    try { return FS.readFile(RECORD_FILE); } catch { return null; }
  }

  // After every save: the mirror at once, then IndexedDB.
  async function storeRecords() {
    const bytes = gameRecords();
    if (!bytes) return;
    writeMirror(bytes);
    page.storing++;
    try {
      database = database || await openDatabase();
      if (!database) throw new Error('no answer');
      await storeInDatabase(database, bytes);
    } catch (err) {
      showTrouble(database ? 'Records could not be stored in this browser: ' + err + '.' : NOT_KEPT);
    } finally {
      page.storing--;
    }
  }

  // The game reads Rec.dat at start (and a game that reads it again before saving would
  // take what is there): a tab that comes back to the front takes in the records other
  // tabs stored meanwhile. Only over a Rec.dat the game has: one it had found missing it
  // appends to.
  let refreshing = false;
  async function refreshRecords() {
    const own = gameRecords();
    if (!own || !database || page.ended) return;
    const bytes = higherRecords(own, await readDatabase(database).catch(() => null));
    if (bytes === own || !gameRecords()) return;
    refreshing = true;
    try { FS.writeFile(RECORD_FILE, bytes); } finally { refreshing = false; }
  }
  document.addEventListener('visibilitychange', () => { if (!document.hidden) refreshRecords(); }, listening);
  window.addEventListener('focus', refreshRecords, listening);

  // A save writes Rec.dat.tmp and renames it over Rec.dat (or writes Rec.dat in place).
  function storeAfterEverySave() {
    const rename = FS.rename, close = FS.close;
    FS.rename = (from, to) => {
      rename(from, to);
      if (/(^|\/)Rec\.dat$/.test(to)) storeRecords();
    };
    FS.close = (stream) => {
      const written = (stream.flags & 3) !== 0 && /\/Rec\.dat$/.test(stream.path || '') && !refreshing;
      close(stream);
      if (written) storeRecords();
    };
  }

  // Before main: Rec.dat from IndexedDB and the mirror, the higher record of each; no
  // Rec.dat when neither has one, as on a first start.
  async function loadRecords() {
    database = await openDatabase();
    if (!database) showTrouble(NOT_KEPT);
    const stored = database && await readDatabase(database);
    const mirror = readMirror();
    const bytes = stored ? higherRecords(stored, mirror) : mirror;
    if (bytes) FS.writeFile(RECORD_FILE, bytes);
    if (bytes && database && bytes !== stored) await storeInDatabase(database, bytes).catch(() => {});
  }

  function setUpFolders() {
    FS.mkdirTree(GAME_DIR);
    FS.chdir(GAME_DIR);
    trackSleeps();
    addRunDependency('records');
    loadRecords().catch((err) => showTrouble('Records from earlier games could not be read: ' + err + '.'))
      .finally(() => {
        storeAfterEverySave();
        removeRunDependency('records');
      });
  }
  (Module.preRun = Module.preRun || []).push(setUpFolders);

  // Asking the browser never to clear the records; a refusal is said quietly, on the
  // first visit only.
  const PERSIST_SAID_KEY = 'comet-drifter persistence refused';
  if (navigator.storage && navigator.storage.persist) {
    navigator.storage.persisted().then((kept) => kept || navigator.storage.persist()).then((kept) => {
      if (kept || localStorage.getItem(PERSIST_SAID_KEY)) return;
      localStorage.setItem(PERSIST_SAID_KEY, '1');
      const note = document.getElementById('note');
      note.textContent = 'This browser may clear the records after a while unless the page is installed.';
      note.hidden = false;
      window.dispatchEvent(new Event('resize'));
    }).catch(() => {});  // storage disabled: said already
  }

  // ---- closing the tab
  // The game sleeps between frames (ASYNCIFY); a closing page gets no more timers. So the
  // page wakes it at once, with Escape queued (what the window's close button does on the
  // desktop): the round ends and is saved now, the mirror written before the page goes.
  let wakeNow = null;
  function trackSleeps() {
    const handleSleep = Asyncify.handleSleep;
    Asyncify.handleSleep = (startAsync) => handleSleep((wakeUp) => {
      let woken = false;
      const once = (value) => {
        if (woken) return;
        woken = true;
        if (wakeNow === once) wakeNow = null;
        wakeUp(value);
      };
      wakeNow = once;
      startAsync(once);
    });
  }
  const MAX_SLEEPS_TO_THE_SAVE = 8;  // a frame sleeps once; a few more for safety
  function endRoundNow() {
    if (page.ended || !page.frames) return;
    queue.push(KEY_DOWN << 16 | SDLK_ESCAPE, KEY_UP << 16 | SDLK_ESCAPE);
    for (let i = 0; i < MAX_SLEEPS_TO_THE_SAVE && wakeNow && !page.ended; ++i) wakeNow();
  }
  window.addEventListener('pagehide', endRoundNow, listening);
  window.addEventListener('pageshow', (e) => { if (e.persisted && page.ended) location.reload(); }, listening);

  // ---- the end
  // With ASYNCIFY main first returns to the page when it first sleeps; the program ends
  // when main really returns, and then it exits as a desktop program does.
  (Module.postRun = Module.postRun || []).push(() => {
    if (!Asyncify.currData) return;
    Asyncify.whenDone().then((status) => {
      try {
        exit(status);
      } catch (e) {
        if (!(e instanceof ExitStatus)) throw e;  // how exit stops the program on a page
      }
    });
  });
  // Under the picture, never over the game-over text of the last frame; with the button
  // that starts the game again (boot.js's page.playAgain; Enter does it too).
  function showEnd(status, text) {
    running.abort();
    page.ended = { status };
    document.body.classList.add('ended');
    notice.hidden = true;
    document.getElementById('keys').hidden = true;
    document.getElementById('ended-text').textContent = text;
    document.getElementById('ended').hidden = false;
    window.dispatchEvent(new Event('resize'));  // controls.js fits the picture again
  }
  Module.onExit = (status) => showEnd(status, 'The game has ended.');
  Module.onAbort = (what) => showEnd('abort', 'The game stopped with an error (' + what + ').');
})();
