// controls.js: the picture's size on the page, full screen, the on-screen controls of
// touch screens and standard gamepads. Both controls send the game the same key events
// the keyboard does (comet-pre.js turns them into SDL's), so the game cannot tell them
// from keys.
(function () {
  'use strict';
  const WIDTH = 480, HEIGHT = 320;
  const FILLS_MOST = 0.85;  // a whole factor is kept if it fills this much of the largest fit
  const MARGIN = 8;         // CSS pixels kept free round the page's edge
  const canvas = document.getElementById('screen');
  const below = document.getElementById('below');
  const controls = document.getElementById('controls');
  const touch = window.matchMedia('(pointer: coarse)');

  // ---- keys held by the controls, counted: two fingers (or a finger and a pad) holding
  // the same key release it only when both let go
  const held = new Map();
  function send(type, key) {
    window.dispatchEvent(new KeyboardEvent(type, { key, bubbles: true, cancelable: true }));
  }
  function press(key) {
    const count = held.get(key) || 0;
    if (count === 0) send('keydown', key);
    held.set(key, count + 1);
  }
  function release(key) {
    const count = held.get(key) || 0;
    if (count === 1) send('keyup', key);
    if (count > 0) held.set(key, count - 1);
  }

  // ---- the picture: the largest size that fits, by a whole factor of the screen's own
  // pixels when that fills most of it (every game pixel an equal square), else the largest
  // fit with nearest-neighbour pixels. The lines below cost only their own height.
  function pictureScale(width, height) {
    const ratio = window.devicePixelRatio || 1;
    const fit = Math.min(width * ratio / WIDTH, height * ratio / HEIGHT);
    const whole = Math.floor(fit);
    return (whole >= 1 && whole >= fit * FILLS_MOST ? whole : fit) / ratio;
  }

  const fullScreenElement = () => document.fullscreenElement || document.webkitFullscreenElement;

  // Touch screens: the controls beside the picture (a column each side, the thumbs' room)
  // or below it, whichever leaves the larger picture; full screen has no margin and no
  // lines but the end's.
  function fitCanvas() {
    const onTouch = touch.matches, full = Boolean(fullScreenElement());
    document.body.classList.toggle('touch', onTouch);
    document.body.classList.toggle('portrait', window.innerHeight > window.innerWidth);
    document.body.classList.toggle('full', full);
    const margin = full ? 0 : MARGIN;
    const W = window.innerWidth - 2 * margin, H = window.innerHeight - 2 * margin - below.offsetHeight;
    let scale = pictureScale(W, H), under = 0;
    if (onTouch) {
      const beside = pictureScale(W - 2 * sideWidth(), H);
      scale = pictureScale(W, H - belowHeight());
      if (beside >= scale) scale = beside;
      else under = belowHeight();
      placeControls(under > 0);
    }
    document.body.style.paddingBottom = under + 'px';  // the picture centred above them
    canvas.style.width = WIDTH * scale + 'px';
    canvas.style.height = HEIGHT * scale + 'px';
  }

  // The controls' sizes: the pad, boost and the small keys.
  const sideWidth = () => Math.min(200, Math.max(120, window.innerWidth * 0.2));
  function controlSizes(under) {
    const W = window.innerWidth, H = window.innerHeight;
    const column = under ? W / 2 : sideWidth();
    const pad = Math.min(column - 2 * MARGIN, H * (under ? 0.3 : 0.5), 180);
    const small = Math.min(52, (column - 4 * MARGIN) / 3);
    // Below the picture, the small keys go beside the pad and boost where there is room.
    const keysBeside = under && column - pad >= 3 * small + 6 * MARGIN;
    return { column, pad, boost: pad * 0.7, small, keysBeside };
  }
  function belowHeight() {
    const { pad, small, keysBeside } = controlSizes(true);
    return pad + 4 * MARGIN + (keysBeside ? 0 : small + 2 * MARGIN);
  }

  function place(element, left, top, width, height) {
    Object.assign(element.style, { left: left + 'px', top: top + 'px', width: width + 'px',
                                   height: (height || width) + 'px' });
  }

  // The pad bottom left, boost bottom right, the mode keys (a, b) on the pad's side and the
  // round's keys (r, t, e) on boost's: above them in a column beside the picture or below
  // a narrow one, beside them towards the middle below a wide one.
  function placeControls(under) {
    const W = window.innerWidth, H = window.innerHeight;
    const { column, pad, boost, small, keysBeside } = controlSizes(under);
    const edge = under ? Math.min((column - pad) / 2, 2 * MARGIN) : (column - pad) / 2;
    const bottom = H - (under ? 2 * MARGIN : MARGIN + Math.max(0, (column - pad) / 4));
    place(controls.querySelector('#dpad'), edge, bottom - pad, pad);
    place(controls.querySelector('#boost'), W - edge - pad / 2 - boost / 2, bottom - pad / 2 - boost / 2, boost);
    const keys = [...controls.querySelectorAll('.small')];
    const row = (count) => count * small + (count - 1) * MARGIN;
    keys.forEach((key, i) => {
      const right = i >= 2, n = right ? i - 2 : i, count = right ? 3 : 2;
      let start = right ? W - column + (column - row(count)) / 2 : (column - row(count)) / 2;
      let top = under ? bottom - pad - small - 2 * MARGIN : MARGIN * 2;
      if (keysBeside) {
        start = right ? W - edge - pad - 3 * MARGIN - row(count) : edge + pad + 3 * MARGIN;
        top = bottom - small;
      }
      place(key, start + n * (small + MARGIN), top, small);
    });
  }

  // ---- full screen: the whole page (the picture and the controls), landscape on phones.
  // iPhone Safari has none for a page; its installed app is standalone, and says so.
  const fullButton = document.getElementById('full');
  const canFullScreen = document.fullscreenEnabled || document.webkitFullscreenEnabled;
  const iPhoneInSafari = /iPhone|iPod/.test(navigator.userAgent) && !navigator.standalone;
  fullButton.hidden = !canFullScreen;
  document.getElementById('standalone').hidden = canFullScreen || !iPhoneInSafari;
  fullButton.addEventListener('click', async () => {
    const root = document.documentElement;
    try {
      await (root.requestFullscreen || root.webkitRequestFullscreen).call(root);
      if (touch.matches && screen.orientation && screen.orientation.lock) await screen.orientation.lock('landscape');
    } catch { /* refused, or no orientation lock (a desktop): the page as it is */ }
    canvas.focus();
  });
  document.addEventListener('fullscreenchange', fitCanvas);
  document.addEventListener('webkitfullscreenchange', fitCanvas);

  window.addEventListener('resize', fitCanvas);
  touch.addEventListener('change', fitCanvas);
  fitCanvas();

  // ---- touch: each finger tracked by its pointer id, holding the keys of where it is
  const fingers = new Map();  // pointer id -> the keys it holds
  const DEAD_ZONE = 0.25;     // of the pad's radius: the middle holds nothing

  // The pad's keys under a point: one arrow, or two in the corners between them.
  function padKeys(pad, x, y) {
    const r = pad.getBoundingClientRect();
    const dx = (x - r.left) / r.width * 2 - 1, dy = (y - r.top) / r.height * 2 - 1;
    if (Math.hypot(dx, dy) < DEAD_ZONE) return [];
    const sector = Math.round(Math.atan2(dy, dx) / (Math.PI / 4));  // -4..4, 0 = right
    const keys = [];
    if (Math.abs(sector) <= 1) keys.push('ArrowRight');
    if (Math.abs(sector) >= 3) keys.push('ArrowLeft');
    if (sector >= 1 && sector <= 3) keys.push('ArrowDown');
    if (sector <= -1 && sector >= -3) keys.push('ArrowUp');
    return keys;
  }

  function hold(id, element, keys) {
    const before = fingers.get(id) || { element, keys: [] };
    keys.filter((k) => !before.keys.includes(k)).forEach(press);
    before.keys.filter((k) => !keys.includes(k)).forEach(release);
    fingers.set(id, { element, keys });
    element.classList.toggle('held', keys.length > 0);
  }

  function letGo(id) {
    const finger = fingers.get(id);
    if (!finger) return;
    hold(id, finger.element, []);
    fingers.delete(id);
  }

  function letGoOfEverything() {
    [...fingers.keys()].forEach(letGo);
  }

  function keysAt(element, event) {
    return element.id === 'dpad' ? padKeys(element, event.clientX, event.clientY) : [element.dataset.key];
  }

  for (const element of controls.querySelectorAll('.control')) {
    element.addEventListener('pointerdown', (event) => {
      event.preventDefault();  // no mouse events after it, no focus change, no selection
      element.setPointerCapture(event.pointerId);  // a sliding finger stays this control's
      hold(event.pointerId, element, keysAt(element, event));
    });
    element.addEventListener('pointermove', (event) => {
      if (fingers.has(event.pointerId) && element.id === 'dpad') hold(event.pointerId, element, keysAt(element, event));
    });
    element.addEventListener('pointerup', (event) => letGo(event.pointerId));
    element.addEventListener('pointercancel', letGoOfEverything);
    element.addEventListener('contextmenu', (event) => event.preventDefault());  // long press
  }
  window.addEventListener('blur', letGoOfEverything);
  document.addEventListener('visibilitychange', () => { if (document.hidden) letGoOfEverything(); });

  // ---- gamepads with the standard mapping, polled every animation frame while one is
  // connected (a loop without a pad costs the page CPU for nothing)
  const PAD_BUTTONS = [  // button index (standard mapping) -> key
    [12, 'ArrowUp'], [13, 'ArrowDown'], [14, 'ArrowLeft'], [15, 'ArrowRight'],
    [0, ' '], [2, 'a'], [1, 'b'], [3, 'r'], [9, 't'], [8, 'e'],
  ];
  const STICK = 0.5;  // the left stick steers past half-way
  const PAD_LINE = 'Gamepad: <kbd>D-pad</kbd>/<kbd>left stick</kbd> steer · <kbd>A</kbd> boost · ' +
    '<kbd>X</kbd>/<kbd>B</kbd> mode A/B · <kbd>Y</kbd> again · <kbd>Start</kbd> title · <kbd>Back</kbd> leave';
  const IGNORED = 'A gamepad without the standard button layout was found; it is ignored (keys and touch still play).';
  const padHeld = new Map();  // pad index -> the keys it holds

  function wantedKeys(pad) {
    const on = (i) => pad.buttons[i] && pad.buttons[i].pressed;
    const keys = new Set(PAD_BUTTONS.filter(([i]) => on(i)).map(([, key]) => key));
    const [x = 0, y = 0] = pad.axes;
    if (x < -STICK) keys.add('ArrowLeft');
    if (x > STICK) keys.add('ArrowRight');
    if (y < -STICK) keys.add('ArrowUp');
    if (y > STICK) keys.add('ArrowDown');
    return [...keys];
  }

  function showPadLine(html) {
    const line = document.getElementById('pad');
    if (line.hidden || line.innerHTML !== html) {
      line.innerHTML = html;
      line.hidden = false;
      fitCanvas();
    }
  }

  function pollPads() {
    const pads = navigator.getGamepads ? [...navigator.getGamepads()] : [];
    const seen = new Set();
    for (const pad of pads) {
      if (!pad || !pad.connected) continue;
      if (pad.mapping !== 'standard') {
        if (!padHeld.size) showPadLine(IGNORED);
        continue;
      }
      showPadLine(PAD_LINE);
      seen.add(pad.index);
      const before = padHeld.get(pad.index) || [], keys = document.hidden ? [] : wantedKeys(pad);
      keys.filter((k) => !before.includes(k)).forEach(press);
      before.filter((k) => !keys.includes(k)).forEach(release);
      padHeld.set(pad.index, keys);
    }
    for (const [index, keys] of padHeld) {  // a pad unplugged lets go of its keys
      if (!seen.has(index)) { keys.forEach(release); padHeld.delete(index); }
    }
    polling = pads.some((pad) => pad && pad.connected);
    if (polling) window.requestAnimationFrame(pollPads);
  }
  let polling = false;
  window.addEventListener('gamepadconnected', () => {
    if (!polling) window.requestAnimationFrame(pollPads);
    polling = true;
  });
})();
