// Retires the page's offline worker: served in place of service-worker.js (same name, same
// folder), each returning visitor's browser fetches it on the next visit to the folder, and it
// deletes the kept files, unregisters and reloads open pages from the server.
'use strict';
self.addEventListener('install', () => self.skipWaiting());

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('glintora-')).map((k) => caches.delete(k))))
    .then(() => self.registration.unregister())
    .then(() => self.clients.matchAll({ type: 'window' }))
    .then((clients) => Promise.all(clients.map((c) => c.navigate(c.url).catch(() => null)))));
});
