// serve.js: serves a folder on 127.0.0.1 for the browser build, gzip-compressed when the
// browser accepts it (as a web server would), and prints the address. It reads the
// folder once at start: start it again after a build. The browser tests and
// measurements start it through start().
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

// Every file of the folder, read and gzip-compressed once before the first request, as
// a static server would keep them (compressing on request would add half a second to
// the first load of the 9.7 MB data file).
function readFolder(root) {
  const files = new Map();
  for (const name of fs.readdirSync(root)) {
    const file = path.join(root, name);
    if (!fs.statSync(file).isFile()) continue;
    const plain = fs.readFileSync(file);
    files.set('/' + name, { plain, gzip: zlib.gzipSync(plain, { level: 9 }),
                            type: TYPES[path.extname(name)] || 'application/octet-stream' });
  }
  return files;
}

function handler(root) {
  const files = readFolder(root);
  return (req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = files.get(name === '/' ? '/index.html' : name);
    if (!file) {
      res.writeHead(404).end('not found');
      return;
    }
    const gzip = /\bgzip\b/.test(req.headers['accept-encoding'] || '');
    const body = gzip ? file.gzip : file.plain;
    const headers = { 'Content-Type': file.type, 'Cache-Control': 'no-cache', 'Content-Length': body.length };
    if (gzip) headers['Content-Encoding'] = 'gzip';
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
