// Keeps the page's files so the page starts without a network. The build fills in the file list
// and a version taken from the files' contents: a new build is a new cache, and the old one goes.
'use strict';
const kFiles = /*FILES*/[];
const kCache = 'glintora-' + /*VERSION*/'';

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

// The kept copy first: the files change only with a new build, which brings a new worker.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  const kept = request.mode === 'navigate' ? caches.match('index.html', { cacheName: kCache })
    : caches.match(request, { cacheName: kCache, ignoreSearch: true });
  event.respondWith(kept.then((response) => response || fetch(request)));
});
