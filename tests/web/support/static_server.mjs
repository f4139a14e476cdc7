import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import { gzipSync } from 'node:zlib';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
};

// Serves a folder on 127.0.0.1 at a free port, under `prefix` (a path
// such as /some/path/, to show the page needs no particular place), with
// gzip (level 9) for clients that take it when `compress` is set.
// Resolves to { url, close() }.
export async function serveFolder(folder, prefix = '/', { compress = false } = {}) {
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    if (!path.startsWith(prefix)) {
      response.writeHead(404).end();
      return;
    }
    const relative = normalize(path.slice(prefix.length) || 'index.html').replace(/^(\.\.(\/|$))+/, '');
    try {
      const body = await readFile(join(folder, relative.endsWith('/') ? `${relative}index.html` : relative));
      const headers = { 'Content-Type': types[extname(relative)] ?? 'application/octet-stream' };
      if (compress && /\bgzip\b/.test(request.headers['accept-encoding'] ?? '')) {
        headers['Content-Encoding'] = 'gzip';
        response.writeHead(200, headers);
        response.end(gzipSync(body, { level: 9 }));
        return;
      }
      response.writeHead(200, headers);
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  return {
    url: `http://127.0.0.1:${port}${prefix}`,
    close: () => new Promise((resolve) => {
      server.close(resolve);
      server.closeAllConnections();
    }),
  };
}
