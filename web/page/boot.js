// boot.js: starts COMET DRIFTER on the page. The caves come gzip-packed (comet.data.gz),
// so that a static server that compresses nothing still sends little; they are unpacked
// here and handed, with the program's WebAssembly fetched alongside, to comet.js. It also
// registers the service worker (sw.js) that keeps the bundle for playing offline.
(function () {
  'use strict';
  const page = window.cometPage = window.cometPage || {};
  page.bootAt = performance.now();

  async function fetched(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(`${url}: ${response.status}`);
    return response.arrayBuffer();
  }

  // gzip's first two bytes; a server that unpacked the file on the way already did the work.
  async function unpacked(url) {
    const packed = await fetched(url);
    const head = new Uint8Array(packed, 0, 2);
    if (head[0] !== 0x1f || head[1] !== 0x8b) return packed;
    const stream = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Response(stream).arrayBuffer();
  }

  Promise.all([unpacked('comet.data.gz'), fetched('comet.wasm')]).then(([data, wasm]) => {
    window.Module = { getPreloadedPackage: () => data, wasmBinary: wasm };
    const script = document.createElement('script');
    script.src = 'comet.js';
    document.body.appendChild(script);
  }).catch((err) => {
    document.getElementById('notice').textContent = `The game could not be loaded (${err.message}). Reload the page to try again.`;
  });

  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('sw.js').catch(() => { /* plays, only not offline */ });
  }
})();
