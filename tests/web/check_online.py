#!/usr/bin/python3
"""Online play in the page, in headless Chromium, through a local rendezvous server that serves the page and its
WebSocket on one port: two pages meet by room code and play to the end, once over their direct channel and once
through the server's relay; a page against the desktop replay tool; a page hidden for 5 s mid-match; the Play online
panel used as a player does. Each pair's traces must be equal, and equal to the offline replay of the recorded match
by the desktop replay tool.

Usage: check_online.py PAGE_FOLDER RUN_FOLDER SERVER REPLAY [--frames N] [--measure]
(SERVER and REPLAY: the native tree's tavo2000-server and tavo_replay; RUN_FOLDER holds the game's assets.)
Prints one line per check and "N passed, N failed" last; exits 1 when any check failed. --measure instead plays
a page against a desktop peer whose link simulator delays each way by 30 ms, then 75 ms, and prints the page's
round trip and stalls.
"""
import argparse
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_page import HIDE, Browser, Checks  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
WRITE_SCRIPTS = os.path.join(HERE, "..", "online", "write_pair_scripts.sh")
# Two pages on one machine see each other's host candidates only with their addresses shown as they are (not as
# mDNS names, which nothing resolves here) and loopback allowed.
WEBRTC_FLAGS = ["--disable-features=WebRtcHideLocalIpsWithMdns", "--allow-loopback-in-peer-connection"]
# What the pages here load.
PAGE_FILES = ["index.html", "tavo2000.js", "tavo2000.wasm", "tavo2000.data.js", "tavo2000.data", "tavo_replay.js",
              "tavo_replay.wasm", "manifest.webmanifest", "icon-192.png", "icon-512.png", "sw.js"]
TRACE_DONE = "document.getElementById('trace').dataset.exit !== undefined"


def free_port():
    """A port free for both TCP and UDP."""
    while True:
        with socket.socket() as tcp:
            tcp.bind(("127.0.0.1", 0))
            port = tcp.getsockname()[1]
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as udp:
            try:
                udp.bind(("0.0.0.0", port))
                return port
            except OSError:
                continue


class RendezvousServer:
    """The native server on a free port, serving the page folder and its WebSocket."""

    def __init__(self, server, page_folder, log):
        self.port = free_port()
        self.log = open(log, "w")
        self.process = subprocess.Popen([server, f"--listen=0.0.0.0:{self.port}", f"--web={page_folder}",
                                         "--rooms-per-address=1000"], stdout=self.log, stderr=subprocess.STDOUT)
        self.url = f"http://127.0.0.1:{self.port}/"
        deadline = time.time() + 10
        while True:
            try:
                urllib.request.urlopen(self.url + "index.html", timeout=2).read()
                return
            except OSError:
                if time.time() > deadline or self.process.poll() is not None:
                    raise RuntimeError("the rendezvous server did not start")
                time.sleep(0.1)

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.log.close()


def page_url(server, script, role, scale, relay_only=False):
    """The page playing one side as the replay tool from a script of the served folder: role is "host" or
    "join=CODE". The relayed pages name the server as the desktop tools do (HOST:PORT), the others leave it to the
    page (its own site's /online)."""
    url = f"{server.url}index.html?play={script}&{role}&time-scale={scale}"
    return url + (f"&relay-only&server=127.0.0.1:{server.port}" if relay_only else "")


def room_of(browser, seconds=20):
    return browser.wait_for("document.getElementById('trace').dataset.room", seconds)


def finished(browser, seconds):
    """The page's trace, exit code, recording and online counts once it ended; None when it did not in time."""
    if not browser.wait_for(TRACE_DONE, seconds):
        print("  (the page's last lines: "
              + repr(browser.evaluate("document.getElementById('messages').textContent")) + "; errors: "
              + "; ".join(browser.console_errors())[:800] + ")", flush=True)
        return None
    return browser.evaluate("(() => { const t = document.getElementById('trace');"
                            " return {trace: t.textContent, exit: t.dataset.exit, counts: t.dataset.counts || '',"
                            " recording: window.tavoRecording || null}; })()")


def channel_counts(browser):
    """Datagrams sent and received over the page's direct channels (0, 0 when none opened)."""
    return browser.evaluate("Object.values(Module.tavoChannels || {}).reduce((n, c) => [n[0] + c.sent,"
                            " n[1] + c.received], [0, 0])")


def count_of(counts, name):
    found = re.search(rf"\b{name}=(\d+)", counts or "")
    return int(found.group(1)) if found else None


def offline_trace(replay, run_folder, recording, work):
    path = os.path.join(work, "match.rec")
    with open(path, "w", encoding="utf-8") as f:
        f.write(recording)
    result = subprocess.run([replay, path], cwd=run_folder, capture_output=True, text=True, timeout=600)
    return result.stdout


def compare_pair(checks, label, first, second, frames, replay, run_folder, work):
    """Both sides ended well with the same trace of every frame, the same recording, and the offline replay of
    that recording gives the trace too (a difference of state would have ended the session: no desync)."""
    if first is None or second is None:
        checks.report(False, f"{label}: both sides play to the end", "no end within the time allowed")
        return False
    ended = first["exit"] == "0" and second["exit"] == "0" and first["trace"].endswith("end\n")
    played = sum(1 for line in first["trace"].splitlines() if line.startswith("f="))
    # The scripts are long enough for a match to be lost: a player's last life goes.
    over = re.search(r" lives=(0,\d+|\d+,0) ", first["trace"]) is not None
    same = ended and first["trace"] == second["trace"] and played == frames and over
    checks.report(same, f"{label}: equal traces of {frames} frames on both sides, to a game over",
                  f"exit {first['exit']} and {second['exit']}, {played} frames"
                  + ("" if first["trace"] == second["trace"] else ", the traces differ")
                  + ("" if over else ", no game over"))
    if not same:
        return False
    recordings = first["recording"] is not None and first["recording"] == second["recording"]
    offline = recordings and offline_trace(replay, run_folder, first["recording"], work) == first["trace"]
    checks.report(offline, f"{label}: the offline replay of the recorded match gives the same trace",
                  "" if recordings else "the recordings differ or are missing")
    return offline


def play_pages(server, work, checks, args, relay_only, lose_channel=False):
    """Two pages, over their channel or through the relay; with lose_channel the host page's channel is closed a
    third of the way in, and both must go on through the relay."""
    label = ("two pages through the relay" if relay_only else
             "two pages whose channel closes mid-match" if lose_channel else "two pages over their direct channel")
    host, join = Browser(WEBRTC_FLAGS), Browser(WEBRTC_FLAGS)
    path = "document.getElementById('online-path').textContent"
    try:
        host.open(page_url(server, "host.replay", "host", 1, relay_only))
        code = room_of(host)
        if not checks.report(bool(code), f"{label}: the host page gets a room code", code or "none within 20 s"):
            return
        join.open(page_url(server, "join.replay", f"join={code}", 1, relay_only))
        seconds = args.frames * 0.03 + 60
        if lose_channel:
            direct = host.wait_for(f"{path} === '(direct)' && /\\d/.test("
                                   "document.getElementById('online-trip').textContent)", 30)
            time.sleep(args.frames * 0.03 / 3)
            host.evaluate("Object.values(Module.tavoChannels || {}).forEach((c) => c.channel && c.channel.close())")
            moved = [page.wait_for(f"{path} === '(through the server)'", 5) for page in (host, join)]
            checks.report(bool(direct) and all(moved), f"{label}: play moves to the relay on both pages",
                          f"host page {host.evaluate(path)!r}, other page {join.evaluate(path)!r}")
            first, second = finished(host, seconds), finished(join, 30)
            compare_pair(checks, label, first, second, args.frames, args.replay, args.run, work)
            return
        first, second = finished(host, seconds), finished(join, 30)
        compare_pair(checks, label, first, second, args.frames, args.replay, args.run, work)
        sent, received = channel_counts(host)
        if relay_only:
            checks.report(sent == 0 and received == 0, f"{label}: nothing went over a direct channel",
                          f"{sent} sent, {received} received")
        else:
            checks.report(sent > args.frames // 2 and received > args.frames // 2,
                          f"{label}: the channel opened and carried the match",
                          f"host page: {sent} datagrams sent over it, {received} received; {first and first['counts']}")
    finally:
        host.close()
        join.close()


def play_against_desktop(server, work, checks, args, simulation="", label="a page against the desktop replay tool"):
    """The page hosts, the desktop replay tool joins by the room code (its link simulator set by simulation)."""
    page = Browser()
    desktop = None
    try:
        page.open(page_url(server, "host.replay", "host", 1))
        code = room_of(page)
        if not checks.report(bool(code), f"{label}: the page gets a room code", code or "none within 20 s"):
            return None
        record = os.path.join(work, "desktop.rec")
        env = dict(os.environ, TAVO_NET_SIM=simulation)
        with open(os.path.join(work, "desktop.err"), "w") as err:
            desktop = subprocess.run([args.replay, f"--join={code}", f"--server=127.0.0.1:{server.port}",
                                      f"--record={record}", os.path.join(work, "join.replay")], cwd=args.run,
                                     env=env, stdout=subprocess.PIPE, stderr=err, text=True,
                                     timeout=args.frames * 0.03 + 60)
        first = finished(page, 30)
        second = {"exit": str(desktop.returncode), "trace": desktop.stdout, "counts": "",
                  "recording": open(record, encoding="utf-8").read() if os.path.exists(record) else None}
        compare_pair(checks, label, first, second, args.frames, args.replay, args.run, work)
        return first
    finally:
        page.close()


def play_with_pause(server, work, checks, args):
    """Two pages; the joiner's page hidden for 5 s mid-match: the host's panel says the other game is in the
    background, both go on after, and the traces are equal."""
    label = "a page hidden for 5 s"
    host, join = Browser(WEBRTC_FLAGS), Browser(WEBRTC_FLAGS)
    status = "document.getElementById('online-status').textContent"
    try:
        host.open(page_url(server, "host.replay", "host", 1))
        code = room_of(host)
        if not checks.report(bool(code), f"{label}: the host page gets a room code", code or "none within 20 s"):
            return
        join.open(page_url(server, "join.replay", f"join={code}", 1))
        # Mid-match (a third of the frames in), once the panel shows the round trip.
        started = host.wait_for("/\\d/.test(document.getElementById('online-trip').textContent)", 30)
        time.sleep(args.frames * 0.03 / 3)
        join.evaluate(f"{HIDE}(true)")
        paused = host.wait_for(f"{status} === \"The other player's game is in the background\"", 4)
        hidden_line = join.evaluate(status)
        time.sleep(5)
        join.evaluate(f"{HIDE}(false)")
        resumed = host.wait_for(f"{status} === 'Playing'", 4)
        checks.report(bool(started and paused and resumed) and hidden_line.startswith("Paused"),
                      f"{label}: both pause, the other page's panel saying why, and play on",
                      f"hidden page: {hidden_line!r}; other page: {'paused' if paused else 'not paused'}, then "
                      f"{'playing' if resumed else repr(host.evaluate(status))}")
        first, second = finished(host, args.frames * 0.03 + 60), finished(join, 30)
        compare_pair(checks, label, first, second, args.frames, args.replay, args.run, work)
    finally:
        host.close()
        join.close()


def check_panel(server, checks):
    """The panel as a player uses it: a name, Create (no room asked for before the cover's click), the link of the
    room opened in another browser and its cover clicked; both panels then show the other player and a round trip."""
    label = "the Play online panel"
    first, second = Browser(WEBRTC_FLAGS), Browser(WEBRTC_FLAGS)
    cover = "document.getElementById('cover') && !document.getElementById('cover').hidden"
    playing = ("!document.getElementById('online-playing').hidden &&"
               " /\\d/.test(document.getElementById('online-trip').textContent) &&"
               " document.getElementById('online-peer').textContent")
    try:
        first.open(server.url + "index.html")
        first.wait_for(cover, 30)
        first.evaluate("(() => { document.getElementById('online-open').click();"
                       " const name = document.getElementById('online-name'); name.value = 'Ann';"
                       " name.dispatchEvent(new Event('input'));"
                       " document.getElementById('online-create').click(); })()")
        time.sleep(1)
        held = first.wait_for(f"location.search === '?host' && {cover}", 30)
        time.sleep(1)
        held = held and first.evaluate("!Module.calledRun && document.getElementById('online-room').hidden")
        left, top, width, height = first.canvas_box()
        first.click(left + width / 2, top + height / 2)
        link = first.wait_for("!document.getElementById('online-room').hidden &&"
                              " document.getElementById('online-link').textContent", 10)
        checks.report(bool(held and link), f"{label}: Create holds the game until the cover's click, then shows "
                      "the room's link", (link or "no link") if held else "the game started before the click")
        if not link:
            return
        second.open(link)
        second.wait_for(cover, 30)
        left, top, width, height = second.canvas_box()
        second.click(left + width / 2, top + height / 2)
        names = first.wait_for(playing, 20), second.wait_for(playing, 20)
        checks.report(bool(names[0]) and names[1] == "Ann",
                      f"{label}: both panels show the other player (the name given) and the round trip",
                      f"{names[0]!r} and {names[1]!r}; errors: {first.console_errors() + second.console_errors()}")
    finally:
        first.close()
        second.close()


def measure(server, work, checks, args):
    for delay in (30, 75):
        first = play_against_desktop(server, work, checks, args, f"delay={delay}",
                                     f"a page against a desktop peer delaying {delay} ms each way")
        counts = first["counts"] if first else ""
        print(f"desktop link delay {delay} ms each way: page round trip {count_of(counts, 'round_trip_ms')} ms, "
              f"stalls {count_of(counts, 'stalls')} ({count_of(counts, 'stalled_ms')} ms), "
              f"rollbacks {count_of(counts, 'rollbacks')}; {counts}", flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("page")
    parser.add_argument("run")
    parser.add_argument("server")
    parser.add_argument("replay")
    parser.add_argument("--frames", type=int, default=1500)
    parser.add_argument("--measure", action="store_true")
    args = parser.parse_args()
    args.run, args.replay = os.path.abspath(args.run), os.path.abspath(args.replay)
    work = tempfile.mkdtemp(prefix="tavo-online-")
    # The server serves one folder: the page's files, and beside them the two players' scripts.
    site = os.path.join(work, "site")
    os.makedirs(site)
    for name in PAGE_FILES:
        shutil.copy(os.path.join(args.page, name), site)
    subprocess.run([WRITE_SCRIPTS, work, str(args.frames)], check=True)
    for name in ("host.replay", "join.replay"):
        shutil.copy(os.path.join(work, name), site)
    checks = Checks()
    server = RendezvousServer(os.path.abspath(args.server), site, os.path.join(work, "server.log"))
    try:
        if args.measure:
            measure(server, work, checks, args)
            return 0
        play_pages(server, work, checks, args, relay_only=False)
        play_pages(server, work, checks, args, relay_only=True)
        play_pages(server, work, checks, args, relay_only=False, lose_channel=True)
        play_against_desktop(server, work, checks, args)
        play_with_pause(server, work, checks, args)
        check_panel(server, checks)
    finally:
        server.close()
        if checks.failed:
            print(f"(the server's log and the scripts are kept in {work})")
        else:
            shutil.rmtree(work, ignore_errors=True)
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
