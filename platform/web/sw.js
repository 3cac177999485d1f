// The page's service worker: keeps one version's files, checked against the content hashes the build wrote in, in a
// cache of that version, answers the page from it so the game plays offline, and gives way to a newer one when asked.
"use strict";

// Each kept file and the SHA-256 of its content, and the version they make up; the build fills them in.
const FILES = @FILES@;
const CACHE = "tavo2000-@VERSION@";
const CACHE_PREFIX = "tavo2000-";

const hex = (buffer) => Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, "0")).join("");

// A file another version kept with the same content is taken from there; the rest come from the network, each
// checked against its hash, so a server that already holds a newer version makes the install fail, not mix.
async function keepFiles() {
  const cache = await caches.open(CACHE);
  const older = (await caches.keys()).filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE);
  for (const [name, hash] of Object.entries(FILES)) {
    let kept = null;
    for (const other of older) {
      const reply = await (await caches.open(other)).match(name);
      if (reply && reply.headers.get("X-Content-Hash") === hash) kept = reply;
    }
    if (!kept) {
      const reply = await fetch(name, { cache: "no-cache" });  // the browser's copy when the server says it is current
      if (!reply.ok) throw new Error(`${name}: ${reply.status} ${reply.statusText}`);
      const body = await reply.arrayBuffer();
      if (hex(await crypto.subtle.digest("SHA-256", body)) !== hash) throw new Error(`${name} is not this version's`);
      const type = reply.headers.get("Content-Type") || "application/octet-stream";
      kept = new Response(body, { headers: { "Content-Type": type, "X-Content-Hash": hash } });
    }
    await cache.put(name, kept);
  }
}

self.addEventListener("install", (event) => event.waitUntil(keepFiles()));

// Once this version is the page's, the older versions' files go.
self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys().then((names) =>
    Promise.all(names.filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE).map((name) => caches.delete(name)))));
});

// The page asks a waiting new version to take over when the player chooses to reload.
self.addEventListener("message", (event) => {
  if (event.data === "take over") self.skipWaiting();
});

// A page of the replay tool (?play=), whose files are not kept, is left to the network whole.
async function answer(event, name) {
  if (event.clientId) {
    const client = await self.clients.get(event.clientId);
    if (client && new URL(client.url).searchParams.has("play")) return fetch(event.request);
  }
  const kept = await (await caches.open(CACHE)).match(name);
  return kept || fetch(event.request);
}

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  const url = new URL(event.request.url);
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return;
  const name = url.pathname.slice(scope.pathname.length) || "index.html";
  if (!Object.prototype.hasOwnProperty.call(FILES, name) || url.searchParams.has("play")) return;
  event.respondWith(answer(event, name));
});
