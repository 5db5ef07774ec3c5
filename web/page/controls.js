// controls.js: the picture's size on the page, the on-screen controls of touch screens and
// standard gamepads. Both controls send the game the same key events the keyboard does
// (comet-pre.js turns them into SDL's), so the game cannot tell them from keys.
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

  function fitCanvas() {
    const onTouch = touch.matches, portrait = window.innerHeight > window.innerWidth;
    document.body.classList.toggle('touch', onTouch);
    document.body.classList.toggle('portrait', portrait);
    const W = window.innerWidth - 2 * MARGIN, H = window.innerHeight - 2 * MARGIN;
    const side = onTouch && !portrait ? sideWidth() : 0;
    const lines = below.offsetHeight;
    const room = onTouch && portrait ? H * 0.55 : H - lines;  // portrait: controls below
    const scale = pictureScale(W - 2 * side, room);
    canvas.style.width = WIDTH * scale + 'px';
    canvas.style.height = HEIGHT * scale + 'px';
    if (onTouch) placeControls(portrait, side, HEIGHT * scale);
  }

  // Landscape: a column each side of the picture, the thumbs' room.
  const sideWidth = () => Math.min(200, Math.max(120, window.innerWidth * 0.2));

  function place(element, left, top, width, height) {
    Object.assign(element.style, { left: left + 'px', top: top + 'px', width: width + 'px',
                                   height: (height || width) + 'px' });
  }

  // Landscape: the pad bottom left, boost bottom right, the mode keys above the pad and
  // the round's keys above boost. Portrait: the same, below the picture.
  function placeControls(portrait, side, pictureHeight) {
    const W = window.innerWidth, H = window.innerHeight;
    const column = portrait ? W / 2 : side;
    const pad = Math.min(column - 2 * MARGIN, portrait ? (H - pictureHeight) * 0.45 : H * 0.5, 180);
    const boost = pad * 0.7, small = Math.min(52, (column - 4 * MARGIN) / 3);
    const bottom = H - MARGIN - Math.max(0, (column - pad) / 4);
    place(controls.querySelector('#dpad'), (column - pad) / 2, bottom - pad, pad);
    place(controls.querySelector('#boost'), W - column + (column - boost) / 2, bottom - pad / 2 - boost / 2, boost);
    const top = portrait ? bottom - pad - small - 2 * MARGIN : MARGIN * 2;
    const keys = [...controls.querySelectorAll('.small')];
    keys.forEach((key, i) => {
      const right = i >= 2, n = right ? i - 2 : i, count = right ? 3 : 2;
      const start = right ? W - column + (column - count * small - (count - 1) * MARGIN) / 2
        : (column - count * small - (count - 1) * MARGIN) / 2;
      place(key, start + n * (small + MARGIN), top, small);
    });
  }

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

  // ---- gamepads with the standard mapping, polled every animation frame
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
    window.requestAnimationFrame(pollPads);
  }
  window.requestAnimationFrame(pollPads);
})();
