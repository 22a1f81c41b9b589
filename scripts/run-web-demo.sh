#!/usr/bin/env bash
# Runs the demo as a web page: installs what is missing, builds the web preset
# (the demo's page in build/web/demo/), serves that folder on 127.0.0.1 with
# Python's http.server and prints the page's address. Open it in a browser;
# Ctrl+C stops the server. VANTREL_WEB_PORT chooses the port (default 8000,
# or any free one when 8000 is taken).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset web
cmake --build --preset web --target demo
site=build/web/demo
for f in demo.html demo.js demo.wasm demo.data; do
  if [ ! -f "$site/$f" ]; then
    echo "run-web-demo: $site/$f was not built" >&2
    exit 1
  fi
done
exec python3 - "$site" "${VANTREL_WEB_PORT:-8000}" <<'PY'
import functools, http.server, sys
folder, port = sys.argv[1], int(sys.argv[2])
class Handler(http.server.SimpleHTTPRequestHandler):
    # Browsers compile a wasm file while it loads when it comes as application/wasm.
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm"})
handler = functools.partial(Handler, directory=folder)
try:
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
except OSError:
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
print("run-web-demo: the demo is at http://127.0.0.1:%d/demo.html (Ctrl+C stops)"
      % server.server_address[1], flush=True)
try:
    server.serve_forever()
except KeyboardInterrupt:
    pass
PY
