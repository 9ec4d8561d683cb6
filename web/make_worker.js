// Writes the service worker into a built page's folder: the list of every file there and a
// version hashed from their names and contents. Run last, after every other file is in place.
// Beside it goes the worker that retires it, for whoever takes the page off a site (kept by
// no one: it is not the page's).
// Usage: node web/make_worker.js BUILD_WEB
'use strict';
const fs = require('fs');
const path = require('path');
const crypto = require('crypto');
const [dir] = process.argv.slice(2);
const kWorker = 'service-worker.js', kRetire = 'service-worker-retire.js';
fs.copyFileSync(path.join(__dirname, kRetire), path.join(dir, kRetire));
const files = fs.readdirSync(dir).filter((f) => f !== kWorker && f !== kRetire && fs.statSync(path.join(dir, f)).isFile()).sort();
if (!files.includes('index.html')) throw new Error(dir + ': no index.html');
const hash = crypto.createHash('sha256');
for (const f of files) hash.update(f + '\0').update(fs.readFileSync(path.join(dir, f)));
const source = fs.readFileSync(path.join(__dirname, kWorker), 'utf8');
if (!source.includes('/*FILES*/[]') || !source.includes("/*VERSION*/''")) throw new Error(kWorker + ': no placeholders');
fs.writeFileSync(path.join(dir, kWorker), source.replace('/*FILES*/[]', () => JSON.stringify(files))
  .replace("/*VERSION*/''", () => JSON.stringify(hash.digest('hex').slice(0, 16))));
