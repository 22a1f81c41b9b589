"""A small W3C WebDriver client over HTTP (Python's standard library only)
for Debian's chromedriver and chromium, and a local web server for a folder.

    with Browser() as b, Server(folder) as s:
        b.get(s.url("demo.html"))
        b.script("return document.title")
"""
import http.client
import http.server
import json
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time

CHROMIUM = os.environ.get("VANTREL_CHROMIUM", "/usr/bin/chromium")
CHROMEDRIVER = os.environ.get("VANTREL_CHROMEDRIVER", "/usr/bin/chromedriver")

# Flags for a headless browser that talks to nothing but the page it is given.
CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-dev-shm-usage", "--window-size=800,600",
]

# WebDriver key values: the private-use Unicode points WebDriver gives each key.
KEYS = {"Escape": "\ue00c", "Enter": "\ue007", "ArrowLeft": "\ue012", "ArrowUp": "\ue013",
        "ArrowRight": "\ue014", "ArrowDown": "\ue015", "Space": " "}


class WebDriverError(RuntimeError):
    pass


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Browser:
    def __init__(self, timeout=30, flags=()):
        self.port = free_port()
        self.profile = tempfile.mkdtemp(prefix="vantrel-chromium-")
        self.driver = subprocess.Popen([CHROMEDRIVER, "--port=%d" % self.port],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.session = None
        deadline = time.monotonic() + timeout
        while True:
            try:
                if self._request("GET", "/status").get("ready"):
                    break
            except OSError:
                pass
            if time.monotonic() > deadline:
                self.close()
                raise WebDriverError("chromedriver did not start")
            time.sleep(0.1)
        caps = {"capabilities": {"alwaysMatch": {
            "browserName": "chrome",
            "goog:chromeOptions": {"binary": CHROMIUM,
                                   "args": CHROMIUM_FLAGS + list(flags) +
                                           ["--user-data-dir=" + self.profile]},
            "goog:loggingPrefs": {"browser": "ALL"}}}}
        self.session = self._request("POST", "/session", caps)["sessionId"]

    def _request(self, method, path, body=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=600)
        try:
            data = json.dumps(body).encode() if body is not None else None
            conn.request(method, path, data, {"Content-Type": "application/json"})
            response = conn.getresponse()
            reply = json.loads(response.read() or b"{}")
        finally:
            conn.close()
        value = reply.get("value", reply)
        if response.status >= 400 and isinstance(value, dict):
            raise WebDriverError("%s %s: %s: %s" % (method, path, value["error"],
                                                    value.get("message", "")[:500]))
        return value

    def command(self, method, path, body=None):
        return self._request(method, "/session/%s%s" % (self.session, path), body)

    def get(self, url):
        self.command("POST", "/url", {"url": url})

    def script(self, source, *args):
        return self.command("POST", "/execute/sync", {"script": source, "args": list(args)})

    def wait_for(self, source, timeout, what, interval=0.1):
        """Runs `source` until it answers something true; returns that."""
        deadline = time.monotonic() + timeout
        while True:
            value = self.script(source)
            if value:
                return value
            if time.monotonic() > deadline:
                raise WebDriverError("timed out after %gs waiting for %s" % (timeout, what))
            time.sleep(interval)

    def element(self, css):
        found = self.command("POST", "/element", {"using": "css selector", "value": css})
        return next(iter(found.values()))

    def actions(self, *sources):
        self.command("POST", "/actions", {"actions": list(sources)})
        self.command("DELETE", "/actions")

    def key_down(self, name):
        """Presses a key and keeps it down (until key_up)."""
        self.command("POST", "/actions", {"actions": [{
            "type": "key", "id": "keyboard",
            "actions": [{"type": "keyDown", "value": KEYS.get(name, name)}]}]})

    def key_up(self, name):
        self.command("POST", "/actions", {"actions": [{
            "type": "key", "id": "keyboard",
            "actions": [{"type": "keyUp", "value": KEYS.get(name, name)}]}]})

    def key(self, name, hold_ms=0):
        """Presses and releases a key through the browser's own input."""
        value = KEYS.get(name, name)
        steps = [{"type": "keyDown", "value": value}]
        if hold_ms:
            steps.append({"type": "pause", "duration": hold_ms})
        steps.append({"type": "keyUp", "value": value})
        self.actions({"type": "key", "id": "keyboard", "actions": steps})

    def pointer(self, steps):
        """Real pointer input: `steps` are W3C pointer actions."""
        self.actions({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                      "actions": steps})

    def console(self):
        try:
            return self.command("POST", "/se/log", {"type": "browser"})
        except WebDriverError:
            return []

    def close(self):
        if self.session:
            try:
                self.command("DELETE", "")
            except (WebDriverError, OSError):
                pass
            self.session = None
        if self.driver.poll() is None:
            self.driver.terminate()
            try:
                self.driver.wait(10)
            except subprocess.TimeoutExpired:
                self.driver.kill()
        shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript"})

    def log_message(self, *args):
        pass


class Server:
    """Python's http.server on 127.0.0.1, serving one folder, in a thread."""

    def __init__(self, folder):
        handler = lambda *a, **k: _QuietHandler(*a, directory=folder, **k)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def url(self, path):
        return "http://127.0.0.1:%d/%s" % (self.httpd.server_address[1], path)

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
