// Keeps the page's files in the browser, so that the game plays with no
// network after the first visit. Every build has a cache of its own, named
// by a digest of its files (scripts/web writes it in place of BUILD): a new
// build is fetched whole into its own cache, takes over once no tab runs
// the old one, and removes the old cache, so a page never mixes the files
// of two builds.

const Build = 'BUILD';
const CacheName = `tender-gamble-${Build}`;
const PageFiles = ['./', 'style.css', 'app.js', 'tender-gamble.wasm', 'manifest.webmanifest', 'tender-gamble.svg'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CacheName).then((cache) => cache.addAll(PageFiles)));
});

self.addEventListener('activate', (event) => {
  const others = (names) => names.filter((name) => name.startsWith('tender-gamble-') && name !== CacheName);
  event.waitUntil(caches.keys().then((names) => Promise.all(others(names).map((name) => caches.delete(name)))));
});

// The page itself whatever its address asks (?seed=...), and its files,
// from the cache; anything else from the network.
self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET') return;
  const kept = request.mode === 'navigate' ? self.registration.scope : request;
  event.respondWith(
    caches.open(CacheName)
      .then((cache) => cache.match(kept, { ignoreSearch: true }))
      .then((hit) => hit ?? fetch(request)),
  );
});
