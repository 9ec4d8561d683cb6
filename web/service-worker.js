// Keeps the page's files so the page starts without a network. The build fills in the file list
// and a version taken from the files' contents: a new build is a new cache, and the old one goes.
// Only the page's own files are answered, and from the server whenever it answers (a 404 too):
// a rebuilt page never meets the old build's module, a page taken off its server is gone for
// returning visitors too, and other pages beside it are left alone. The kept copies serve only
// when the server cannot be reached. service-worker-retire.js, put in this file's place, ends it.
'use strict';
const kFiles = /*FILES*/[];
const kCache = 'glintora-' + /*VERSION*/'';
const kBase = new URL('./', self.location).href;
// Each kept file by its address; the folder's own address is the page.
const kOwn = new Map([[kBase, 'index.html'], ...kFiles.map((f) => [new URL(f, kBase).href, f])]);

self.addEventListener('install', (event) => {
  // 'reload' so that a file an HTTP cache kept from the last build is not taken for this one.
  event.waitUntil(caches.open(kCache)
    .then((cache) => cache.addAll(kFiles.map((f) => new Request(f, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('glintora-') && k !== kCache).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  const file = request.method === 'GET' && kOwn.get(url.origin + url.pathname);
  if (!file) return;
  event.respondWith(fetch(request).catch((offline) => caches.match(file, { cacheName: kCache })
    .then((kept) => kept || Promise.reject(offline))));
});
