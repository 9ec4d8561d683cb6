// A static file server for the page (no listing, nothing outside its folder), on 127.0.0.1.
// As a program: node web/serve.js FOLDER [PORT] serves until stopped.
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const kTypes = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
                 '.webmanifest': 'application/manifest+json', '.png': 'image/png' };

// Resolves to { server, origin } once listening; port 0 takes a free one. Not isolated: as a
// plain static host serves it.
function serve(dir, port = 0, isolated = true) {
  const headers = isolated ? { 'Cross-Origin-Opener-Policy': 'same-origin', 'Cross-Origin-Embedder-Policy': 'require-corp' } : {};
  const root = path.resolve(dir);
  const server = http.createServer((req, res) => {
    // A malformed address (a bad escape, a NUL, '//') is the client's error, never the server's end.
    let name = null;
    try { name = decodeURIComponent(new URL(req.url, 'http://x').pathname); } catch (e) { /* answered below */ }
    if (name === null || name.includes('\0')) { res.writeHead(400).end(); return; }
    const file = path.join(root, name === '/' ? 'index.html' : name);
    if (!file.startsWith(root + path.sep)) { res.writeHead(403).end(); return; }
    fs.readFile(file, (err, data) => {
      if (err) { res.writeHead(404).end(); return; }
      // Cross-origin isolated, so the page can share its sound ring with the audio thread.
      res.writeHead(200, { 'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream', ...headers });
      res.end(data);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve({ server, origin: 'http://127.0.0.1:' + server.address().port }));
  });
}

module.exports = { serve };

if (require.main === module) {
  const [dir, port] = process.argv.slice(2);
  serve(dir || 'build/web', Number(port || 8080)).then(({ origin }) => {
    console.log('Glintora Fireworks in a browser: open ' + origin + '/ (Ctrl+C stops the server)');
  }, (e) => { console.error('serve: ' + e.message); process.exit(1); });
}
