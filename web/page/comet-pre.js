// comet-pre.js: the page's side of COMET DRIFTER in the browser, joined to the program
// with --pre-js. It shows the frames SDL hands over (SDL_browser.c) on the canvas,
// scaled by the largest whole factor that fits; queues the keys for SDL's event pump;
// keeps Rec.dat on IndexedDB; and says so when the game has ended.
// window.cometPage tells the browser tests and measurements the frames shown (and when
// the first one was), whether records are being stored and whether the game has ended.
(function () {
  'use strict';
  const WIDTH = 480, HEIGHT = 320;
  const GAME_DIR = '/game';        // the working directory: image/ (preloaded) and Rec.dat
  const RECORDS_DIR = '/records';  // on IndexedDB; Rec.dat in GAME_DIR links here
  const page = window.cometPage = { frames: 0, storing: false, ended: null };

  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d');
  const picture = context.createImageData(WIDTH, HEIGHT);
  const notice = document.getElementById('notice');  // over the picture: loading, the end
  const trouble = document.getElementById('trouble');  // under it: records not kept

  // ---- the picture
  Module.cometPutFrame = (rgba, width, height) => {
    if (width !== WIDTH || height !== HEIGHT) return;
    picture.data.set(rgba);
    context.putImageData(picture, 0, 0);
    if (page.frames++ === 0) {
      notice.hidden = true;  // "Loading" until the first frame
      page.firstFrameAt = performance.now();
    }
  };

  // Whole factors of the screen's own pixels, so that every game pixel is a square of
  // equal size on any display (CSS pixels may be 1.25 or 1.5 of them).
  function fitCanvas() {
    const below = document.getElementById('keys').offsetHeight + 24;
    const ratio = window.devicePixelRatio || 1;
    const scale = Math.max(1, Math.floor(Math.min(window.innerWidth * ratio / WIDTH,
                                                  (window.innerHeight - below) * ratio / HEIGHT)));
    canvas.style.width = WIDTH * scale / ratio + 'px';
    canvas.style.height = HEIGHT * scale / ratio + 'px';
  }
  window.addEventListener('resize', fitCanvas);
  fitCanvas();

  // ---- the keyboard: entries (kind << 16) | SDL 1.2 key symbol, as SDL_browser.c reads them
  const KEY_UP = 1, KEY_DOWN = 2, FOCUS_LOST = 3, FOCUS_GAINED = 4;
  // Tab, Enter and the rest stay the page's: the game reads none of them.
  const NAMED_KEYS = {
    Escape: 27, ' ': 32, ArrowUp: 273, ArrowDown: 274, ArrowRight: 275, ArrowLeft: 276,
  };
  const queue = [];

  // Letters and digits by what the layout types (as SDL reads X11's key symbols).
  function sdlKey(event) {
    if (event.key in NAMED_KEYS) return NAMED_KEYS[event.key];
    return /^[a-zA-Z0-9]$/.test(event.key) ? event.key.toLowerCase().charCodeAt(0) : 0;
  }

  function onKey(event, kind) {
    if (page.ended || event.ctrlKey || event.metaKey || event.altKey) return;  // browser's own
    const sym = sdlKey(event);
    if (!sym) return;
    event.preventDefault();  // arrows and space never scroll the page
    if (!event.repeat) queue.push(kind << 16 | sym);
  }
  window.addEventListener('keydown', (e) => onKey(e, KEY_DOWN));
  window.addEventListener('keyup', (e) => onKey(e, KEY_UP));
  // Leaving the page releases held keys, as the desktop game's window does on losing focus.
  window.addEventListener('blur', () => queue.push(FOCUS_LOST << 16));
  window.addEventListener('focus', () => queue.push(FOCUS_GAINED << 16));
  canvas.addEventListener('pointerdown', () => { window.focus(); canvas.focus(); });
  Module.cometTakeInput = () => (queue.length ? queue.shift() : 0);

  // ---- the records: read from IndexedDB before main, stored again after every save
  let storeAgain = false;
  function storeRecords() {
    if (page.storing) { storeAgain = true; return; }
    page.storing = true;
    FS.syncfs(false, (err) => {
      page.storing = false;
      if (err) showTrouble('Records could not be stored in this browser: ' + err);
      if (storeAgain) { storeAgain = false; storeRecords(); }
    });
  }

  // A save writes a file and renames it over Rec.dat (or writes Rec.dat in place).
  function storeAfterEverySave() {
    const rename = FS.rename, close = FS.close;
    FS.rename = (from, to) => { rename(from, to); storeRecords(); };
    FS.close = (stream) => {
      const written = (stream.flags & 3) !== 0;  // O_WRONLY or O_RDWR
      close(stream);
      if (written) storeRecords();
    };
  }

  function setUpFolders() {
    FS.mkdirTree(GAME_DIR);
    FS.mkdir(RECORDS_DIR);
    FS.mount(IDBFS, {}, RECORDS_DIR);
    FS.symlink(RECORDS_DIR + '/Rec.dat', GAME_DIR + '/Rec.dat');
    FS.chdir(GAME_DIR);
    addRunDependency('records');
    FS.syncfs(true, (err) => {
      if (err) showTrouble('Records from earlier games could not be read: ' + err);
      storeAfterEverySave();
      removeRunDependency('records');
    });
  }
  (Module.preRun = Module.preRun || []).push(setUpFolders);

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
  function showNotice(text) {
    notice.textContent = text;
    notice.hidden = false;
  }
  function showTrouble(text) {
    trouble.textContent = text;
    trouble.hidden = false;
  }
  Module.onExit = (status) => {
    page.ended = { status };
    document.body.classList.add('ended');
    showNotice('The game has ended. Reload the page to play again.');
  };
  Module.onAbort = (what) => {
    page.ended = { status: 'abort' };
    document.body.classList.add('ended');
    showNotice('The game stopped with an error (' + what + '). Reload the page to start again.');
  };
})();
