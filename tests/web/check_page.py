#!/usr/bin/python3
"""The page in headless Chromium, driven through its DevTools protocol: its compressed size and what installing adds,
the title menu within 10 s of load with no console error, the cover and New Game starting a match whose ball moves,
the song's level, the game held while the page is hidden, the picture's size in a desktop window and on a phone both
ways up (their screenshots in PAGE_FOLDER/phone-shots) with its Menu button, installing and playing offline from the
zip and its update to a second build, every replay scenario's trace from ?play= against the Linux one, byte for
byte, a gamepad and a finger playing, and a landscape phone played by touch alone (two players chosen, two
fingers moving both paddles, a tap serving, a tap on Quit leaving).

Usage: check_page.py PAGE_FOLDER SCENARIO_FOLDER DATA_FOLDER [--shots DIR]
Prints one line per check and "N passed, N failed" last; exits 1 when any check failed. The scenario folder is
served at /scenarios/; --shots DIR saves web_cover.png, web_menu.png and web_match.png there.
Measuring instead: --pacing SECONDS [--throttle RATE] (frame intervals in the title menu, the processor slowed
RATE times), --time-play NAME (the replay tool's time for the script NAME of the scenario folder).
"""
import argparse
import base64
import gzip
import http.server
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

import websocket

HERE = os.path.dirname(os.path.abspath(__file__))
PROBE = os.path.join(HERE, "..", "support", "screen_probe.sh")
CHROMIUM_FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--enable-unsafe-swiftshader",
                  "--autoplay-policy=no-user-gesture-required", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync", "--no-first-run",
                  "--window-size=1000,900"]


class Server:
    """Serves the page folder at / and the scenarios at /scenarios/ on 127.0.0.1, on a free port; while `down` is
    set, it answers every request with 503, as if the network were gone."""

    def __init__(self, page_folder, scenario_folder):
        page, scenarios = page_folder, scenario_folder
        self.down = False
        server = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                              ".js": "text/javascript", ".replay": "text/plain",
                              ".webmanifest": "application/manifest+json"}

            def send_head(self):
                if server.down:
                    self.send_error(503)
                    return None
                return super().send_head()

            def translate_path(self, path):
                path = path.split("?", 1)[0]
                if path.startswith("/scenarios/"):
                    return os.path.join(scenarios, os.path.basename(path))
                return os.path.join(page, path.lstrip("/") or "index.html")

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()


class Browser:
    """One headless Chromium with a fresh profile (and more flags, if given), and a DevTools connection to its page."""

    def __init__(self, flags=()):
        self.profile = tempfile.mkdtemp(prefix="tavo-chromium-")
        self.process = subprocess.Popen(
            ["/usr/bin/chromium", *CHROMIUM_FLAGS, *flags, f"--user-data-dir={self.profile}",
             "--remote-debugging-port=0", "about:blank"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.time() + 30
        while not os.path.exists(port_file) or not open(port_file).read().strip():
            if time.time() > deadline or self.process.poll() is not None:
                raise RuntimeError("Chromium did not start")
            time.sleep(0.1)
        port = open(port_file).read().split()[0]
        pages = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list"))
        target = next(p for p in pages if p["type"] == "page")
        self.socket = websocket.create_connection(target["webSocketDebuggerUrl"], timeout=60)
        self.next_id = 0
        self.events = []
        self.dialogs = []
        for domain in ("Page", "Runtime", "Log"):
            self.call(f"{domain}.enable")

    def call(self, method, **params):
        self.next_id += 1
        wanted = self.next_id
        self.socket.send(json.dumps({"id": wanted, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == wanted:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})
            if "method" in message:
                self.events.append(message)
                if message["method"] == "Page.javascriptDialogOpening":
                    # A message box of the game: noted, then answered so the page goes on.
                    self.dialogs.append(message["params"].get("message", ""))
                    self.next_id += 1
                    self.socket.send(json.dumps({"id": self.next_id, "method": "Page.handleJavaScriptDialog",
                                                 "params": {"accept": True}}))

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        return result.get("result", {}).get("value")

    def open(self, url):
        self.events.clear()
        self.dialogs.clear()
        self.call("Page.navigate", url=url)

    def wait_for(self, expression, seconds):
        deadline = time.time() + seconds
        while time.time() < deadline:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.1)
        return None

    def console_errors(self):
        self.call("Runtime.evaluate", expression="0")  # collects the events sent so far
        errors = []
        for event in self.events:
            method, params = event["method"], event.get("params", {})
            if method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
                errors.append(" ".join(str(a.get("value", a.get("description", ""))) for a in params["args"]))
            elif method == "Runtime.exceptionThrown":
                errors.append(params["exceptionDetails"].get("exception", {}).get("description", "exception"))
            elif method == "Log.entryAdded" and params["entry"].get("level") == "error":
                errors.append(params["entry"].get("text", ""))
        return errors + [f"message box: {text}" for text in self.dialogs]

    def canvas_box(self):
        return self.evaluate("(() => { const r = document.getElementById('canvas').getBoundingClientRect();"
                             " return [r.left, r.top, r.width, r.height]; })()")

    def canvas_shot(self, path):
        """The canvas as shown, brought back to its own 640 x 480 pixels by taking the nearest shown pixel for each
        (the page scales it up without smoothing, so each comes back as the game drew it)."""
        left, top, width, _ = self.canvas_box()
        shot = self.call("Page.captureScreenshot", format="png",
                         clip={"x": left, "y": top, "width": width, "height": width * 3 / 4, "scale": 1})
        with open(path, "wb") as f:
            f.write(base64.b64decode(shot["data"]))
        subprocess.run(["mogrify", "-sample", "640x480!", path], check=True)

    def page_shot(self, path):
        shot = self.call("Page.captureScreenshot", format="png")
        with open(path, "wb") as f:
            f.write(base64.b64decode(shot["data"]))

    def click(self, x, y):
        """A click held as long as a person's: the game reads the button once a frame."""
        self.call("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
        self.call("Input.dispatchMouseEvent", type="mousePressed", x=x, y=y, button="left", clickCount=1)
        time.sleep(0.15)
        self.call("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y, button="left", clickCount=1)

    def close(self):
        try:
            self.socket.close()
        finally:
            self.process.terminate()
            self.process.wait(timeout=10)
            shutil.rmtree(self.profile, ignore_errors=True)


class Checks:
    def __init__(self):
        self.passed = self.failed = 0

    def report(self, ok, name, detail=""):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
        print(f"{'PASS' if ok else 'FAIL'} {name}{': ' + detail if detail else ''}", flush=True)
        return ok


def probe(what, picture, data_folder):
    return subprocess.run([PROBE, what, picture, data_folder], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def differing_pixels(first, second):
    """How many pixels differ between two pictures of one size (ImageMagick's AE count)."""
    result = subprocess.run(["compare", "-metric", "AE", first, second, "null:"], capture_output=True, text=True)
    return int(float(result.stderr.split()[0]))


GAME_FILES = ["index.html", "tavo2000.js", "tavo2000.wasm", "tavo2000.data.js", "tavo2000.data"]
ADDED_FILES = ["manifest.webmanifest", "sw.js", "icon-192.png", "icon-512.png"]


def check_transfer(page_folder, checks):
    """What a browser downloads to play, compressed as a web server would send it: at most 8 MB."""
    sizes = {}
    for name in GAME_FILES:
        with open(os.path.join(page_folder, name), "rb") as f:
            sizes[name] = len(gzip.compress(f.read(), compresslevel=6))
    total = sum(sizes.values())
    detail = ", ".join(f"{name} {size / 1e6:.2f}" for name, size in sizes.items())
    checks.report(total <= 8e6, "the game's transfer, gzip-compressed, is at most 8 MB",
                  f"{total / 1e6:.2f} MB ({detail})")
    # What installing and offline play add: the manifest, the worker and the icons, at most 50 KB.
    added = {}
    for name in ADDED_FILES:
        with open(os.path.join(page_folder, name), "rb") as f:
            added[name] = len(gzip.compress(f.read(), compresslevel=6))
    detail = ", ".join(f"{name} {size / 1e3:.1f}" for name, size in added.items())
    checks.report(sum(added.values()) <= 50e3, "installing adds at most 50 KB, gzip-compressed",
                  f"{sum(added.values()) / 1e3:.1f} KB ({detail})")


def check_play(browser, server, checks, data, work, shots):
    start = time.time()
    browser.open(server.url + "index.html")
    menu_shot = os.path.join(work, "menu.png")
    seen = None
    while time.time() - start < 10:
        if browser.evaluate("document.getElementById('cover') && !document.getElementById('cover').hidden"):
            browser.canvas_shot(menu_shot)
            if probe("menu", menu_shot, data):
                seen = time.time() - start
                break
        time.sleep(0.1)
    checks.report(seen is not None, "title menu within 10 s of load",
                  f"{seen:.2f} s" if seen is not None else "not seen")
    if seen is None:
        return
    if shots:
        browser.page_shot(os.path.join(shots, "web_cover.png"))

    # Both clicks high on the picture: wherever the game's pointer ends up from the motion the browser reports
    # (none under pointer lock, the way to this point without it) it lies in the New Game band.
    left, top, width, height = browser.canvas_box()
    x, y = left + width / 2, top + height * 0.2
    browser.click(x, y)  # the cover
    hidden = browser.wait_for("document.getElementById('cover').hidden", 2)
    checks.report(bool(hidden), "the cover goes on a click")
    if shots:
        browser.page_shot(os.path.join(shots, "web_menu.png"))
    browser.click(x, y)  # New Game
    first, second = os.path.join(work, "match1.png"), os.path.join(work, "match2.png")
    in_play = False
    deadline = time.time() + 5
    while time.time() < deadline and not in_play:
        browser.canvas_shot(first)
        in_play = probe("playfield", first, data)
    moved = 0
    if in_play:
        time.sleep(0.3)
        browser.canvas_shot(second)
        moved = differing_pixels(first, second)
    checks.report(in_play and moved > 0, "New Game starts a match and the ball moves",
                  f"{moved} pixels changed in 0.3 s" if in_play else "no playfield")
    if shots and in_play:
        browser.page_shot(os.path.join(shots, "web_match.png"))

    level = browser.wait_for("document.getElementById('audio-level').dataset.rms &&"
                             " [document.getElementById('audio-level').dataset.rms,"
                             "  document.getElementById('audio-level').dataset.peak]", 20)
    if level is None:
        checks.report(False, "the song plays", "no level reported within 20 s")
    else:
        rms, peak = (float(v) for v in level)
        checks.report(rms > -45 and peak < -0.1, "the song plays, not silent and below full scale",
                      f"RMS {rms:.1f} dBFS, peak {peak:.1f} dBFS over 10 s")
    errors = browser.console_errors()
    checks.report(not errors, "no error in the console", "; ".join(errors)[:500])


# A gamepad the page's Gamepad API hands out once testPad.show() says it was plugged in and pressed, with its
# timestamp moved on every change, as a browser's is.
FAKE_PAD = """(() => {
  const still = () => ({pressed: false, touched: false, value: 0});
  const effects = [];
  const pad = {id: "Tavo test pad", index: 0, connected: true, mapping: "standard", timestamp: 1,
               axes: [0, 0, 0, 0], buttons: Array.from({length: 17}, still),
               vibrationActuator: {type: "dual-rumble", playEffect(type, params) {
                 effects.push([type, params.duration, params.strongMagnitude, params.weakMagnitude]);
                 return Promise.resolve("complete");
               }}};
  let shown = false;
  window.testPad = {
    effects,
    show() {
      shown = true;
      const event = new Event("gamepadconnected");
      Object.defineProperty(event, "gamepad", {value: pad});
      window.dispatchEvent(event);
    },
    axis(index, value) { pad.axes[index] = value; pad.timestamp += 1; },
    button(index, down) { pad.buttons[index] = {pressed: down, touched: down, value: down ? 1 : 0}; pad.timestamp += 1; },
  };
  Object.defineProperty(navigator, "getGamepads", {value: () => [shown ? pad : null, null, null, null],
                                                   configurable: true});
})();"""


def is_cyan(red, green, blue):
    return red < 130 and green > 120 and blue > 150


def is_gold(red, green, blue):
    return red > 180 and green > 120 and blue < 120


def paddle_x(picture, rows=range(444, 453), colour=is_cyan):
    """The left end of a paddle (76 pixels wide) in a 640 x 480 shot, or None: the first run of 30 pixels of its colour
    on one of the rows given, within the playfield. By default player 1's cyan paddle (rows 445 to 452; the
    playfield's thin border is cyan too); player 2's is gold, around row 33. Several rows are tried: a picture shown
    smaller than 640 x 480 and brought back to it keeps only some of the paddle's rows, and its edges are darker."""
    for row in rows:
        result = subprocess.run(["convert", picture, "-crop", f"440x1+0+{row}", "+repage", "-depth", "8", "txt:-"],
                                capture_output=True, text=True)
        run = 0
        for line in result.stdout.splitlines()[1:]:
            place, colour_text = line.split(":", 1)
            red, green, blue = (int(float(v)) for v in colour_text.split("(", 1)[1].split(")", 1)[0].split(",")[:3])
            run = run + 1 if colour(red, green, blue) else 0
            if run == 30:
                return int(place.split(",")[0]) - 29
    return None


def serve_point_region(picture, work, name):
    """The 64 x 48 pixels around the serve point, where a held ball waits."""
    region = os.path.join(work, name)
    subprocess.run(["convert", picture, "-crop", "64x48+214+225", "+repage", region], check=True)
    return region


def check_pads(browser, server, checks, data, work):
    """A gamepad through the Gamepad API and a finger through touch emulation, in a match the mouse started."""
    browser.call("Page.addScriptToEvaluateOnNewDocument", source=FAKE_PAD)
    browser.open(server.url + "index.html")
    if not browser.wait_for("document.getElementById('cover') && !document.getElementById('cover').hidden", 20):
        checks.report(False, "the page with a gamepad reaches its cover")
        return
    asking = browser.evaluate("!document.getElementById('gamepad-note').hidden")
    left, top, width, height = browser.canvas_box()
    x, y = left + width / 2, top + height * 0.2
    browser.click(x, y)  # the cover
    browser.wait_for("document.getElementById('cover').hidden", 2)
    browser.evaluate("testPad.show()")
    answered = browser.evaluate("document.getElementById('gamepad-note').hidden")
    checks.report(asking and answered, "the page asks for a gamepad button until a pad shows")
    shot = os.path.join(work, "pad.png")
    in_play = False
    for _ in range(3):  # New Game, by the mouse (the ball then waits for the serve); again if the click was lost
        browser.click(x, y)
        deadline = time.time() + 3
        while time.time() < deadline and not in_play:
            browser.canvas_shot(shot)
            in_play = probe("playfield", shot, data)
        if in_play:
            break
    if not in_play:
        checks.report(False, "a gamepad moves player 1's paddle", "no playfield")
        return
    places = []
    for value in (-1, 1):
        browser.evaluate(f"testPad.axis(0, {value})")
        time.sleep(0.6)
        browser.canvas_shot(shot)
        places.append(paddle_x(shot))
    browser.evaluate("testPad.axis(0, 0)")
    checks.report(None not in places and places[1] - places[0] > 200, "the left stick moves player 1's paddle",
                  f"paddle at {places[0]} with the stick left, at {places[1]} with it right")
    held = []
    for name in ("held1.png", "held2.png"):
        browser.canvas_shot(shot)
        held.append(serve_point_region(shot, work, name))
        time.sleep(0.3)
    browser.evaluate("testPad.button(0, true)")
    time.sleep(0.15)
    browser.evaluate("testPad.button(0, false)")
    time.sleep(0.3)
    browser.canvas_shot(shot)
    served = serve_point_region(shot, work, "served.png")
    black = os.path.join(work, "black.png")
    subprocess.run(["convert", "-size", "64x48", "xc:black", black], check=True)
    ball, still, after = (differing_pixels(held[0], black), differing_pixels(held[0], held[1]),
                          differing_pixels(held[1], served))
    checks.report(ball > 20 and still == 0 and after > 0, "A serves the held ball",
                  f"{ball} pixels of ball at the serve point, {still} changed while held, {after} after A")
    # The served ball comes back to player 1's still paddle, hit or missed: either shakes the pad (60 ms light, or
    # 300 ms strong), through the browser's gamepad vibration.
    shaken = browser.wait_for("testPad.effects.length > 0", 10)
    effect = browser.evaluate("JSON.stringify(testPad.effects[0] || null)")
    checks.report(bool(shaken) and '"dual-rumble"' in effect and ("60" in effect or "300" in effect),
                  "a hit or a miss shakes the gamepad through the browser", f"first effect: {effect}")

    browser.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=2)
    places = []
    for fraction in (0.85, 0.15):
        point = {"x": left + width * fraction, "y": top + height * 0.9, "id": 1}
        browser.call("Input.dispatchTouchEvent", type="touchStart" if not places else "touchMove",
                      touchPoints=[point])
        time.sleep(0.6)
        browser.canvas_shot(shot)
        places.append(paddle_x(shot))
    browser.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
    browser.call("Emulation.setTouchEmulationEnabled", enabled=False)
    checks.report(None not in places and places[0] - places[1] > 200, "a finger drags the bottom paddle",
                  f"paddle at {places[0]} with the finger down on the right, at {places[1]} once dragged left")
    errors = browser.console_errors()
    checks.report(not errors, "no error in the console with a gamepad and touch", "; ".join(errors)[:500])


# A 1280 x 720 desktop window: Chromium's title, tab and address bars leave the page 1280 x 577.
DESKTOP_VIEW = (1280, 577)


def open_at_size(browser, server, width, height, touch=False, ratio=1):
    """The page opened in a view of WIDTH x HEIGHT CSS pixels, RATIO device pixels to a CSS pixel (a phone's, with
    touch, when TOUCH); True when its cover came up."""
    browser.call("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=ratio,
                 mobile=touch)
    browser.call("Emulation.setTouchEmulationEnabled", enabled=touch, maxTouchPoints=5)
    browser.open(server.url + "index.html")
    return bool(browser.wait_for("document.getElementById('cover') && !document.getElementById('cover').hidden", 20))


def check_desktop_size(browser, server, checks):
    open_at_size(browser, server, *DESKTOP_VIEW)
    _, _, width, height = browser.canvas_box()
    checks.report(width >= 640 and height >= 480, "in a 1280 x 720 window the picture is at least 640 x 480",
                  f"{width:.0f} x {height:.0f} in a {DESKTOP_VIEW[0]} x {DESKTOP_VIEW[1]} view")


def tap(browser, x, y):
    """A finger's tap held as long as a person's: the game reads the pointer once a frame."""
    browser.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
    time.sleep(0.15)
    browser.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])


def menu_shown(browser, data, work, wanted, seconds):
    """Whether within SECONDS the canvas shows the title menu (WANTED true) or something else (false). At a phone's
    size the picture is too soft for screen_probe.sh's single pixels, so the whole picture is compared with the
    menu's background: the menu lies within 0.2 of it (root mean square, full scale 1), a match far beyond."""
    shot = os.path.join(work, "phone.png")
    deadline = time.time() + seconds
    while time.time() < deadline:
        browser.canvas_shot(shot)
        result = subprocess.run(["compare", "-metric", "RMSE", shot, "bmp:" + os.path.join(data, "Backgrounds/menu.spr"),
                                 "null:"], capture_output=True, text=True)
        if (float(result.stderr.split("(")[1].split(")")[0]) < 0.2) == wanted:
            return True
        time.sleep(0.1)
    return False


def check_phone(browser, server, checks, data, work, shot_folder):
    """A phone both ways up, by touch: the start tap, the page without scrolling and the picture as large as the
    screen allows, then a match ended by a tap on the Menu button (Escape: the title menu comes back)."""
    for name, width, height in (("portrait", 390, 844), ("landscape", 844, 390), ("portrait", 360, 640)):
        label = f"phone {name} {width} x {height}"
        if not open_at_size(browser, server, width, height, touch=True, ratio=2):
            checks.report(False, f"{label}: the cover comes up", "not within 20 s")
            continue
        left, top, w, h = browser.canvas_box()
        tap(browser, left + w / 2, top + h * 0.2)
        if not checks.report(bool(browser.wait_for("document.getElementById('cover').hidden", 2)),
                             f"{label}: the cover goes on a tap"):
            continue
        time.sleep(0.5)  # the page's layout after the start (and full screen, where granted)
        left, top, w, h = browser.canvas_box()
        page_width, page_height, view_width, view_height = browser.evaluate(
            "[document.documentElement.scrollWidth, document.documentElement.scrollHeight, innerWidth, innerHeight]")
        fits = page_width <= view_width and page_height <= view_height
        if name == "landscape":
            sized = abs(h - view_height) <= 1 and left >= 0 and left + w <= view_width
        else:
            sized = abs(w - view_width) <= 1 and top + h <= view_height
        checks.report(fits and sized, f"{label}: no scrolling while playing, the picture the screen's full "
                      f"{'height' if name == 'landscape' else 'width'}",
                      f"picture {w:.0f} x {h:.0f} at ({left:.0f}, {top:.0f}), page {page_width} x {page_height}")
        browser.page_shot(os.path.join(shot_folder, f"web_phone_{width}x{height}.png"))
        # New Game by the mouse, as on a desktop (the game's own touch controls are not this page's).
        browser.click(left + w / 2, top + h * 0.2)
        in_play = menu_shown(browser, data, work, False, 5)
        menu = browser.evaluate("(() => { const r = document.getElementById('menu').getBoundingClientRect();"
                                " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
        tap(browser, *menu)
        back = in_play and menu_shown(browser, data, work, True, 3)
        checks.report(back, f"{label}: a tap on Menu gives Escape (from a match to the title menu)",
                      "" if in_play else "no match started")


def check_touch_play(browser, server, checks, data, work):
    """A landscape phone played by touch alone: taps in the title menu choose two players and start a match, two
    fingers (one in each half) move both paddles, a tap serves, and a tap on Quit leaves the game."""
    label = "touch play 844 x 390"
    if not open_at_size(browser, server, 844, 390, touch=True, ratio=2):
        checks.report(False, f"{label}: the cover comes up", "not within 20 s")
        return
    left, top, w, h = browser.canvas_box()
    at = lambda x, y: (left + w * x / 640, top + h * y / 480)  # a point of the game's picture on the page
    tap(browser, *at(320, 100))
    browser.wait_for("document.getElementById('cover').hidden", 2)
    time.sleep(0.5)
    left, top, w, h = browser.canvas_box()
    tap(browser, *at(320, 267))  # the player count: two players
    time.sleep(0.5)
    tap(browser, *at(320, 100))  # new game
    if not checks.report(menu_shown(browser, data, work, False, 5), f"{label}: taps choose two players and start"):
        return
    shot = os.path.join(work, "touch.png")
    time.sleep(0.5)
    browser.canvas_shot(shot)
    before = (paddle_x(shot), paddle_x(shot, range(31, 36), is_gold))
    if None in before:
        checks.report(False, f"{label}: two fingers move both paddles", f"paddles not found: {before}")
        return
    # Each finger drags 320 pixels away from the side its paddle is on, the bottom one at row 440, the top one at 40.
    ways = [1 if x < 200 else -1 for x in before]

    def fingers(step):
        return [{"x": at(260 + way * (step - 160), row)[0], "y": at(0, row)[1], "id": index + 1}
                for index, (way, row) in enumerate(zip(ways, (440, 40)))]

    browser.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=fingers(0))
    for step in range(40, 321, 40):
        browser.call("Input.dispatchTouchEvent", type="touchMove", touchPoints=fingers(step))
        time.sleep(0.1)
    time.sleep(1.0)
    browser.canvas_shot(shot)
    after = (paddle_x(shot), paddle_x(shot, range(31, 36), is_gold))
    browser.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
    moved = None not in after and all(way * (a - b) > 150 for way, a, b in zip(ways, after, before))
    checks.report(moved, f"{label}: two fingers move both paddles",
                  f"bottom {before[0]} -> {after[0]}, top {before[1]} -> {after[1]} (fingers dragged 320 away)")
    held = serve_point_region(shot, work, "touch_held.png")
    tap(browser, *at(320, 300))  # no drag: Space
    time.sleep(0.4)
    browser.canvas_shot(shot)
    served = differing_pixels(held, serve_point_region(shot, work, "touch_served.png"))
    checks.report(served > 0, f"{label}: a tap serves", f"{served} pixels changed at the serve point")
    menu = browser.evaluate("(() => { const r = document.getElementById('menu').getBoundingClientRect();"
                            " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
    tap(browser, *menu)
    back = menu_shown(browser, data, work, True, 3)
    tap(browser, *at(320, 360))  # quit
    ended = browser.wait_for("document.getElementById('messages').textContent.includes('The game has ended')", 5)
    checks.report(back and bool(ended), f"{label}: a tap on Quit leaves the game",
                  "" if back else "no title menu after Menu")


def frames_logged(browser):
    """How many frames the game logged since the last call (the console lines come with each answer)."""
    browser.call("Runtime.evaluate", expression="0")
    count = sum(1 for event in browser.events if event["method"] == "Runtime.consoleAPICalled"
                and str(event["params"]["args"][0].get("value", "")).startswith("frame "))
    browser.events.clear()
    return count


# Hides the page (true) or shows it (false) as the browser does: its visibility state, and the event that says so.
HIDE = ("((hidden) => { for (const [name, value] of [['hidden', hidden], ['visibilityState', hidden ? 'hidden'"
        " : 'visible']]) Object.defineProperty(document, name, { value, configurable: true });"
        " document.dispatchEvent(new Event('visibilitychange')); })")


def check_hidden(browser, server, checks):
    """A hidden page: no frame while hidden, the sound stopped, then the game going on at its own pace, the sound
    again."""
    script = browser.call("Page.addScriptToEvaluateOnNewDocument",
                          source="window.Module = { preRun: [() => { ENV.TAVO_FRAME_LOG = '1'; }] };")
    browser.open(server.url + "index.html")
    browser.wait_for("document.getElementById('cover') && !document.getElementById('cover').hidden", 20)
    left, top, width, height = browser.canvas_box()
    browser.click(left + width / 2, top + height * 0.2)
    browser.wait_for("Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state === 'running'", 5)
    time.sleep(1)  # past the menu's opening
    frames_logged(browser)
    time.sleep(1)
    before = frames_logged(browser)
    browser.evaluate(f"{HIDE}(true)")
    time.sleep(0.2)  # a frame already drawing may still be shown
    frames_logged(browser)
    time.sleep(2)
    hidden = frames_logged(browser)
    sound_hidden = browser.evaluate("Module.SDL2.audioContext.state")
    browser.evaluate(f"{HIDE}(false)")
    time.sleep(1)
    after = frames_logged(browser)
    sound_after = browser.evaluate("Module.SDL2.audioContext.state")
    browser.call("Page.removeScriptToEvaluateOnNewDocument", identifier=script["identifier"])
    # About 33 frames a second; a frame clock catching up on 2 s would show some 66 more.
    checks.report(before >= 5 and hidden == 0 and 10 <= after <= 45,
                  "a hidden page holds the game, which goes on at its pace when shown",
                  f"{before} frames in 1 s shown, {hidden} in 2 s hidden, {after} in 1 s shown again")
    checks.report(sound_hidden == "suspended" and sound_after == "running",
                  "the sound stops while the page is hidden and comes back", f"{sound_hidden}, then {sound_after}")


def check_offline(zip_path, scenario_folder, checks, data, work):
    """The shipped page (the zip, unpacked and served by itself): installable with no error; a second build with a
    changed file offers itself with the update line, and its reload brings the new version; then, with the network
    gone, a reload reaches the title menu."""
    site = os.path.join(work, "site")
    subprocess.run(["unzip", "-q", "-o", zip_path, "-d", site], check=True)
    server = Server(site, scenario_folder)
    browser = Browser()
    cover = "document.getElementById('cover') && !document.getElementById('cover').hidden"
    try:
        # Headless Chromium fetches no service worker update until its Network domain is enabled.
        browser.call("Network.enable")
        browser.open(server.url + "index.html")
        ready = browser.wait_for(cover, 20) and browser.wait_for(
            "navigator.serviceWorker.getRegistration().then((r) => !!r && !!r.active && r.active.state === 'activated')",
            30)
        errors = browser.call("Page.getInstallabilityErrors").get("installabilityErrors", [])
        checks.report(bool(ready) and not errors, "the page installs: its worker is active and Chromium finds no "
                      "installability error", "worker not active" if not ready else "; ".join(
                          e.get("errorId", "") for e in errors))

        # A second build: the page with another version text, and the worker written again over it.
        make_page = os.path.join(HERE, "..", "..", "tools", "web", "make_page.py")
        source = os.path.join(HERE, "..", "..", "platform", "web")
        subprocess.run([sys.executable, make_page, "page", os.path.join(source, "index.html"),
                        os.path.join(HERE, "..", "..", "README.md"), "second-build", os.path.join(site, "index.html")],
                       check=True)
        subprocess.run([sys.executable, make_page, "worker", os.path.join(source, "sw.js"), site], check=True)
        browser.open(server.url + "index.html")
        # The player leaves the page for a moment and comes back: the worker looks for the newer version meanwhile.
        browser.wait_for(cover, 20)
        browser.evaluate(f"{HIDE}(true)")
        time.sleep(3)
        browser.evaluate(f"{HIDE}(false)")
        offered = browser.wait_for("!document.getElementById('update').hidden &&"
                                   " document.getElementById('update').textContent", 30)
        newer = False
        if offered:
            shown = browser.evaluate("document.body.textContent.includes('Version second-build')")
            browser.evaluate("document.getElementById('update-reload').click()")
            newer = not shown and browser.wait_for(
                f"document.body.textContent.includes('Version second-build') && {cover}", 30)
        checks.report(offered == "A new version is ready: reload" and bool(newer),
                      "a second build shows the update line, and its reload plays that build", str(offered))

        browser.call("Network.emulateNetworkConditions", offline=True, latency=0, downloadThroughput=-1,
                     uploadThroughput=-1)
        server.down = True
        browser.open(server.url + "index.html")
        menu = os.path.join(work, "offline_menu.png")
        seen = False
        deadline = time.time() + 20
        while not seen and time.time() < deadline:
            if browser.evaluate(cover):
                browser.canvas_shot(menu)
                seen = probe("menu", menu, data)
            time.sleep(0.2)
        checks.report(seen, "with the network gone, a reload reaches the title menu")
    finally:
        browser.close()
        server.close()


def check_scenarios(browser, server, checks, scenario_folder):
    for name in sorted(f for f in os.listdir(scenario_folder) if f.endswith(".replay")):
        expected = open(os.path.join(scenario_folder, name[:-len(".replay")] + ".trace"), encoding="utf-8").read()
        browser.open(f"{server.url}index.html?play=/scenarios/{name}")
        done = browser.wait_for("document.getElementById('trace').dataset.exit !== undefined", 60)
        actual = browser.evaluate("document.getElementById('trace').textContent") if done else None
        same = actual == expected
        detail = ""
        if not same and actual is not None:
            a, e = actual.splitlines(), expected.splitlines()
            line = next((i for i in range(min(len(a), len(e))) if a[i] != e[i]), min(len(a), len(e)))
            detail = f"first difference at line {line + 1} ({len(a)} lines, expected {len(e)})"
        elif actual is None:
            detail = "no trace within 60 s"
        checks.report(same, f"?play={name} gives the Linux trace", detail)


def measure_pacing(browser, server, seconds, throttle=None):
    """Frame intervals of the game's own frame log over SECONDS in the title menu: median and 99th percentile, and
    the longest the browser went without drawing the page (its animation-frame callbacks run only when the program
    gives it its turn). THROTTLE slows the browser's processor that many times (DevTools' CPU throttling), so that
    frames take longer than their 30 ms: an overloaded machine."""
    browser.call("Page.addScriptToEvaluateOnNewDocument",
                 source="window.Module = { preRun: [() => { ENV.TAVO_FRAME_LOG = '1'; }] };"
                        "window.pageTurns = []; (function drawn(time) { window.pageTurns.push(time);"
                        " requestAnimationFrame(drawn); })(0);")
    browser.open(server.url + "index.html")
    browser.wait_for("document.getElementById('cover') && !document.getElementById('cover').hidden", 20)
    if throttle:
        browser.call("Emulation.setCPUThrottlingRate", rate=throttle)
    browser.call("Runtime.evaluate", expression="0")
    browser.events.clear()
    first_turn = browser.evaluate("window.pageTurns.length")
    end = time.time() + seconds
    while time.time() < end:  # the console lines are collected with each answer
        browser.call("Runtime.evaluate", expression="0")
        time.sleep(0.5)
    turns = browser.evaluate(f"window.pageTurns.slice({first_turn}).concat([performance.now()])")
    turn_gaps = [b - a for a, b in zip(turns, turns[1:])]
    times = []
    for event in browser.events:
        if event["method"] == "Runtime.consoleAPICalled":
            words = str(event["params"]["args"][0].get("value", "")).split()
            if len(words) == 2 and words[0] == "frame":
                times.append(int(words[1]))
    gaps = sorted((b - a) / 1000 for a, b in zip(times, times[1:]))
    if not gaps:
        print("pacing: no frames logged")
        return
    slowed = f", processor slowed {throttle}x" if throttle else ""
    print(f"pacing over {seconds} s{slowed}: {len(gaps)} intervals, median {statistics.median(gaps):.2f} ms, "
          f"99th percentile {gaps[int(0.99 * (len(gaps) - 1))]:.2f} ms, max {gaps[-1]:.2f} ms; "
          f"the page drawn {len(turns) - 1} times, at most {max(turn_gaps):.0f} ms apart")


def time_play(browser, server, name):
    """How long the replay tool takes in the page for one script of the scenario folder, start-up excluded."""
    browser.open(f"{server.url}index.html?play=/scenarios/{name}")
    if not browser.wait_for("document.getElementById('trace').dataset.exit !== undefined", 600):
        print(f"{name}: no trace within 600 s")
        return
    lines = browser.evaluate("document.getElementById('trace').textContent.split('\\n').length - 1")
    milliseconds = browser.evaluate("document.getElementById('trace').dataset.milliseconds")
    print(f"{name}: {lines} trace lines in {milliseconds} ms")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("page")
    parser.add_argument("scenarios")
    parser.add_argument("data")
    parser.add_argument("--shots")
    parser.add_argument("--pacing", type=float)
    parser.add_argument("--throttle", type=float)
    parser.add_argument("--time-play")
    args = parser.parse_args()
    server = Server(os.path.abspath(args.page), os.path.abspath(args.scenarios))
    checks = Checks()
    work = tempfile.mkdtemp(prefix="tavo-page-")
    browser = Browser()
    try:
        if args.pacing:
            measure_pacing(browser, server, args.pacing, args.throttle)
            return 0
        if args.time_play:
            time_play(browser, server, args.time_play)
            return 0
        check_transfer(args.page, checks)
        check_play(browser, server, checks, os.path.abspath(args.data), work, args.shots)
        sized = Browser()
        try:
            check_hidden(sized, server, checks)
            check_desktop_size(sized, server, checks)
            shot_folder = os.path.join(args.page, "phone-shots")
            os.makedirs(shot_folder, exist_ok=True)
            check_phone(sized, server, checks, os.path.abspath(args.data), work, shot_folder)
            check_touch_play(sized, server, checks, os.path.abspath(args.data), work)
        finally:
            sized.close()
        zips = [f for f in os.listdir(args.page) if f.startswith("tavo2000-") and f.endswith("-web.zip")]
        if checks.report(len(zips) == 1, "one zip of the page", ", ".join(zips)):
            check_offline(os.path.join(args.page, zips[0]), os.path.abspath(args.scenarios), checks,
                          os.path.abspath(args.data), work)
        check_scenarios(browser, server, checks, os.path.abspath(args.scenarios))
        check_pads(browser, server, checks, os.path.abspath(args.data), work)  # last: its gamepad stays installed
    finally:
        browser.close()
        server.close()
        shutil.rmtree(work, ignore_errors=True)
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
