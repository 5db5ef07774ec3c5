// boot.js: starts COMET DRIFTER on the page. The caves come gzip-packed (comet.data.gz),
// so that a static server that compresses nothing still sends little; they are unpacked
// here and handed, with the program's WebAssembly compiled meanwhile, to comet.js (which
// index.html has the browser fetch meanwhile too). After the first frame it registers the
// service worker (sw.js) that keeps the bundle for playing offline.
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

  function compiled(url) {
    const response = fetch(url).then((r) => { if (!r.ok) throw new Error(`${url}: ${r.status}`); return r; });
    return WebAssembly.compileStreaming ? WebAssembly.compileStreaming(response)
      : response.then((r) => r.arrayBuffer()).then((b) => WebAssembly.compile(b));
  }

  Promise.all([unpacked('comet.data.gz'), compiled('comet.wasm')]).then(([data, program]) => {
    window.Module = {
      getPreloadedPackage: () => data,
      instantiateWasm: (imports, done) => {
        WebAssembly.instantiate(program, imports).then((instance) => done(instance, program));
        return {};  // the exports come through done
      },
    };
    const script = document.createElement('script');
    script.src = 'comet.js';
    document.body.appendChild(script);
  }).catch((err) => {
    document.getElementById('notice').textContent = `The game could not be loaded (${err.message}). Reload the page to try again.`;
  });

  // Not before: on a first visit its copy of the bundle would compete with the page's.
  page.afterFirstFrame = () => {
    if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => { /* plays, only not offline */ });
  };
})();
