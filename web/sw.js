// The page's own files, kept on the first visit so that the game starts
// and plays with no server. tools/web-build writes the build's version
// below: a new build is a new service worker, whose cache replaces the old.
'use strict';
const cacheName = 'tirevane-@VERSION@';
const files = ['./', 'tirevane.js', 'tirevane.wasm', 'tirevane.data',
  'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];

self.addEventListener('install', event => {
  // Revalidated with the server: the browser's HTTP cache may still hold
  // the previous build's files.
  event.waitUntil(caches.open(cacheName)
    .then(cache => cache.addAll(files.map(f => new Request(f, { cache: 'no-cache' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(keys => Promise.all(keys.filter(k => k.startsWith('tirevane-') && k !== cacheName)
      .map(k => caches.delete(k))))
    .then(() => self.clients.claim()));
});

// The kept copy first; what it lacks from the server.
self.addEventListener('fetch', event => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  event.respondWith(caches.open(cacheName).then(cache =>
    cache.match(request.mode === 'navigate' ? './' : request, { ignoreSearch: true })
      .then(kept => kept || fetch(request))));
});
