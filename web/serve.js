// serve.js: serves a folder on 127.0.0.1 for the browser build, gzip-compressed when the
// browser accepts it (as a web server would), and prints the address. It reads the
// folder once at start: start it again after a build. Every request gets an answer
// (a bad address 400, anything else not in the folder 404) and the server stays up.
// The browser tests and measurements start it through start().
// Usage: node web/serve.js FOLDER [PORT]   (default 8480; 0 picks a free port)
//        node web/serve.js --check-port PORT   (one line and status 1 if PORT is unusable)
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.gz': 'application/gzip', '.json': 'application/json', '.webmanifest': 'application/manifest+json',
  '.png': 'image/png', '.svg': 'image/svg+xml',
};
const PACKED = new Set(['.gz', '.png']);  // compressed already: sent as they are

// Every file of the folder, read and gzip-compressed once before the first request, as
// a static server would keep them.
function readFolder(root) {
  const files = new Map();
  for (const name of fs.readdirSync(root)) {
    const file = path.join(root, name);
    if (!fs.statSync(file).isFile()) continue;
    const plain = fs.readFileSync(file), ext = path.extname(name);
    files.set('/' + name, { plain, gzip: PACKED.has(ext) ? null : zlib.gzipSync(plain, { level: 9 }),
                            type: TYPES[ext] || 'application/octet-stream' });
  }
  return files;
}

// The file a request names, or null for an address that is not one (bad %-escapes, '//').
function requestedName(url) {
  try {
    return decodeURIComponent(new URL(url, 'http://x').pathname);
  } catch {
    return null;
  }
}

// SERVED maps each file sent to its uncompressed size.
function handler(root, served = new Map()) {
  const files = readFolder(root);
  return (req, res) => {
    const name = requestedName(req.url);
    if (name === null) {
      res.writeHead(400).end('bad request');
      return;
    }
    const file = files.get(name === '/' ? '/index.html' : name);
    if (!file) {
      res.writeHead(404).end('not found');
      return;
    }
    const gzip = file.gzip && /\bgzip\b/.test(req.headers['accept-encoding'] || '');
    const body = gzip ? file.gzip : file.plain;
    const headers = { 'Content-Type': file.type, 'Cache-Control': 'no-cache', 'Content-Length': body.length };
    if (gzip) headers['Content-Encoding'] = 'gzip';
    res.writeHead(200, headers).end(body);
    served.set(file, file.plain.length);  // '/' and '/index.html' are one file
  };
}

// Resolves to { url, port, close, served } once the server listens; rejects if it cannot.
function start(folder, port) {
  const served = new Map();
  const server = http.createServer(handler(path.resolve(folder), served));
  server.on('clientError', (err, socket) => socket.end('HTTP/1.1 400 Bad Request\r\n\r\n'));
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve({
      url: `http://127.0.0.1:${server.address().port}/`, port: server.address().port, served,
      close: () => new Promise((done) => { server.close(done); server.closeAllConnections(); }),
    }));
  });
}

// A port number 1-65535 (or 0 for any free one), or null.
function parsePort(text) {
  return /^\d{1,5}$/.test(text || '') && Number(text) <= 65535 ? Number(text) : null;
}

function portTrouble(text, err) {
  if (parsePort(text) === null) return `Not a port number: '${text || ''}' (0 to 65535).`;
  return err.code === 'EADDRINUSE' ? `Port ${text} is in use: choose another with --port N.`
    : `Port ${text} cannot be used: ${err.code || err.message}.`;
}

async function main(args) {
  const checkOnly = args[0] === '--check-port';
  const [folder, portText] = checkOnly ? [null, args[1]] : [args[0] || '.', args[1] || '8480'];
  const port = parsePort(portText);
  try {
    if (port === null) throw new Error('bad port');
    if (checkOnly) {
      const probe = http.createServer();
      await new Promise((ok, fail) => probe.once('error', fail).listen(port, '127.0.0.1', ok));
      probe.close();
      return;
    }
    const s = await start(folder, port);
    console.log(`COMET DRIFTER in the browser: ${s.url}`);
  } catch (err) {
    console.error(portTrouble(portText, err));
    process.exitCode = 1;
  }
}

if (require.main === module) main(process.argv.slice(2));
module.exports = { start };
