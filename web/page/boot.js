// boot.js: starts COMET DRIFTER on the page. The caves come gzip-packed (comet.data.gz),
// so that a static server that compresses nothing still sends little; they are unpacked
// here and handed, with the program's WebAssembly compiled meanwhile, to comet.js (fetched
// meanwhile too; index.html's preload links start all three at once). After the title
// shows it registers the service worker (sw.js) that keeps the bundle for playing offline.
// comet.js holds the program as a function of its Module (cometProgram), so that each run
// is a fresh program with its own variables: when the game has ended, "Play again" (or Enter, or a tap on the
// picture) runs it again with the same data and compiled program, without a reload, and
// the records it reads are the ones just stored. What stops the game from loading is said
// over the picture in one line, with what to do. It runs from the page's head, so that the
// unpacking and compiling start before the page's first layout; the page's elements are
// looked up once they are there.
(function () {
  'use strict';
  const page = window.cometPage = window.cometPage || {};
  page.bootAt = performance.now();

  class Download extends Error {}  // the network's or the server's fault, not the browser's

  async function fetched(url) {
    let response;
    try {
      response = await fetch(url);
    } catch (err) { throw new Download(`${url}: ${err.message}`); }
    if (!response.ok) throw new Download(`${url}: ${response.status}`);
    return response;
  }

  // gzip's first two bytes; a server that unpacked the file on the way already did the work.
  async function unpacked(url) {
    const packed = await (await fetched(url)).arrayBuffer();
    const head = new Uint8Array(packed, 0, 2);
    if (head[0] !== 0x1f || head[1] !== 0x8b) return packed;
    // Into one buffer of the size gzip's last four bytes give: twice as fast as a Response
    // gathering the pieces.
    const bytes = new Uint8Array(new DataView(packed).getUint32(packed.byteLength - 4, true));
    const reader = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip')).getReader();
    let at = 0;
    try {
      for (let piece = await reader.read(); !piece.done; piece = await reader.read()) {
        bytes.set(piece.value, at);
        at += piece.value.length;
      }
    } catch (err) { throw new Download(`${url} damaged: ${err.message}`); }
    return bytes.buffer;
  }

  function compiled(url) {
    const response = fetched(url);
    return WebAssembly.compileStreaming ? WebAssembly.compileStreaming(response)
      : response.then((r) => r.arrayBuffer()).then((b) => WebAssembly.compile(b));
  }

  function fail(err) {
    page.failed = err instanceof Download
      ? `The game could not be downloaded (${err.message}). Reload the page to try again.`
      : `This browser could not start the game (${err.message || err}). Reload the page, or try another browser.`;
    const show = () => Object.assign(document.getElementById('notice'), { textContent: page.failed, hidden: false });
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', show);
    else show();
  }

  let start = null;  // runs comet.js once the data and the program are here
  const code = new Promise((resolve, reject) => {
    const script = Object.assign(document.createElement('script'), { src: 'comet.js', onload: resolve });
    script.onerror = () => reject(new Download('comet.js'));
    document.head.appendChild(script);
  });
  Promise.all([unpacked('comet.data.gz'), compiled('comet.wasm'), code]).then(([data, program]) => {
    start = () => {
      try {
        window.cometProgram({
          getPreloadedPackage: () => data,
          instantiateWasm: (imports, done) => {
            WebAssembly.instantiate(program, imports).then((instance) => done(instance, program)).catch(fail);
            return {};  // the exports come through done
          },
        });
      } catch (err) { fail(err); }
    };
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
    else start();
  }).catch(fail);

  page.playAgain = () => {
    if (!page.ended || !start) return;
    page.ended = null;  // once: a click and its Enter start one game
    document.body.classList.remove('ended');
    document.getElementById('ended').hidden = true;
    document.getElementById('keys').hidden = false;
    window.dispatchEvent(new Event('resize'));  // controls.js fits the picture again
    start();
  };
  document.addEventListener('DOMContentLoaded', () => {
    document.getElementById('again').addEventListener('click', page.playAgain);
    document.getElementById('screen').addEventListener('pointerdown', page.playAgain);
  });
  window.addEventListener('keydown', (e) => { if (e.key === 'Enter' && !e.repeat) page.playAgain(); });

  // Not before: on a first visit its copy of the bundle would compete with the page's.
  page.afterFirstFrame = () => {
    if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => { /* plays, only not offline */ });
  };
})();
