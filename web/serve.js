// serve.js: serves a folder on 127.0.0.1 for the browser build, gzip-compressed when the
// browser accepts it (as a web server would), and prints the address. The browser tests
// and measurements start it through start().
// Usage: node web/serve.js FOLDER [PORT]   (default 8480; 0 picks a free port)
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
};

function handler(root) {
  const compressed = new Map();  // file -> its gzip bytes, made once
  return (req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404).end('not found');
      return;
    }
    let body = fs.readFileSync(file);
    const headers = { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
                      'Cache-Control': 'no-cache' };
    if (/\bgzip\b/.test(req.headers['accept-encoding'] || '')) {
      if (!compressed.has(file)) compressed.set(file, zlib.gzipSync(body, { level: 9 }));
      body = compressed.get(file);
      headers['Content-Encoding'] = 'gzip';
    }
    headers['Content-Length'] = body.length;
    res.writeHead(200, headers).end(body);
  };
}

// Resolves to { url, close } once the server listens.
function start(folder, port) {
  const server = http.createServer(handler(path.resolve(folder)));
  return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve({
    url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close(),
  })));
}

if (require.main === module) {
  start(process.argv[2] || '.', Number(process.argv[3] || 8480))
    .then((s) => console.log(`COMET DRIFTER in the browser: ${s.url}`));
}
module.exports = { start };
