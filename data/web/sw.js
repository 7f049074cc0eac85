// Keeps the page working when the school's network drops: the site is kept
// at the first visit. Each file comes from the network when it answers within
// a few seconds, and a new version then replaces the kept one; else from what
// was kept.
const site = 'pokorin-site';
const files = ['./', 'index.html', 'qtloader.js', 'pokorin.js', 'pokorin.wasm', 'pokorin.png',
  'pokorin-192.png', 'pokorin-512.png', 'manifest.webmanifest', 'licenses.html', 'mqtt.min.js'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(site).then((kept) => kept.addAll(files)).then(() => self.skipWaiting()));
});
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith((async () => {
    const kept = await caches.open(site);
    try {
      const late = new Promise((_, refuse) => setTimeout(refuse, 5000));
      const response = await Promise.race([fetch(event.request), late]);
      if (response.ok) await kept.put(event.request, response.clone());
      return response;
    } catch {
      return (await kept.match(event.request, { ignoreSearch: true })) || Response.error();
    }
  })());
});
