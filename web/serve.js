// serve.js: serves a folder on 127.0.0.1 for the browser build, gzip-compressed when the
// browser accepts it (as a web server would), and prints the address.
// Usage: node web/serve.js FOLDER [PORT]   (PORT 0 picks a free one)
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const root = path.resolve(process.argv[2] || '.');
const port = Number(process.argv[3] || 8480);
const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.png': 'image/png',
};
const compressed = new Map();  // file -> gzip bytes, made once

function send(req, res) {
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
}

const server = http.createServer(send).listen(port, '127.0.0.1', () => {
  console.log(`COMET DRIFTER in the browser: http://127.0.0.1:${server.address().port}/`);
});
