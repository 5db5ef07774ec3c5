// sw.js: keeps this release's bundle so that the page plays offline. The cache is named
// after the version and a hash of the bundle (filled in by web/Makefile): a new build is a new cache, and
// the old caches are deleted once it is in place. Files come from the network while there
// is one, so a reload always plays the release on the server; the cache answers offline.
'use strict';
const CACHE = 'comet-drifter-@BUNDLE_HASH@';
const FILES = ['./', '@BUNDLE_FILES@'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('comet-drifter-') && n !== CACHE)
      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(fetch(request).catch(() => caches.open(CACHE)
    .then((cache) => cache.match(request, { ignoreSearch: true }))
    .then((kept) => kept || Response.error())));
});
