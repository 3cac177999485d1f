#!/usr/bin/env python3
"""A load of WebSocket clients on the rendezvous server's page (--web): CLIENTS clients in pairs, from ten loopback
addresses, for SECONDS seconds: a host opens a room, its partner joins by the code, both relay a small message each
way every half second for a few seconds, then both leave (closing their connections) and come back on new ones.
Fails when the server dies, an introduced pair does not relay every message both ways, the server's resident memory
passes 64 MB or grows after the first churn. Prints the server's memory idle, under the load and after it, and its
processor time over the run.
Usage: web_load.py SERVER PORT WORK CLIENTS SECONDS"""
import os
import random
import selectors
import struct
import sys
import time

import web_client as wc

MEMORY_LIMIT_KB = 64 * 1024
GROWTH_LIMIT_KB = 4 * 1024


class Pair:
    """Two clients and where they are: opening, joining, relaying, draining (waiting for messages in flight)."""

    def __init__(self, number):
        self.number = number
        self.source = f"127.0.1.{1 + number % 10}"
        self.socks = [None, None]
        self.buffers = [b"", b""]
        self.cycles = 0


def frames(pair, side):
    """The whole frames waiting in one side's buffer: (opcode, payload) each, removed from it."""
    out = []
    data = pair.buffers[side]
    while len(data) >= 2:
        size, at = data[1] & 0x7F, 2
        if size == 126:
            if len(data) < 4:
                break
            size, at = struct.unpack("!H", data[2:4])[0], 4
        if len(data) < at + size:
            break
        out.append((data[0] & 0x0F, data[at:at + size]))
        data = data[at + size:]
    pair.buffers[side] = data
    return out


def main():
    server, port, work, clients, seconds = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4]), \
        float(sys.argv[5])
    os.makedirs(os.path.join(work, "page"), exist_ok=True)
    with open(os.path.join(work, "page", "index.html"), "w") as out:
        out.write("<p>load</p>")
    log_path = os.path.join(work, "server.log")
    process = wc.start_server(server, port, log_path, f"--web={os.path.join(work, 'page')}",
                              "--rooms-per-address=1000")
    failures = []
    try:
        time.sleep(0.5)
        idle_kb, cpu_start = wc.memory_and_time(process.pid)
        print(f"server idle with --web: {idle_kb} kB resident", flush=True)
        counts = run_load(port, clients // 2, seconds, process, failures)
        after_kb, cpu_end = wc.memory_and_time(process.pid)
        cpu = cpu_end - cpu_start
        print(f"pairs met {counts['met']} times, relayed {counts['relayed']} messages, lost {counts['lost']}; "
              f"server resident {counts['first_kb']} kB after the first churn, at most {counts['peak_kb']} kB under "
              f"load, {after_kb} kB at the end; processor {cpu:.1f} s over {seconds:.0f} s "
              f"({100 * cpu / seconds:.1f} %)", flush=True)
        if process.poll() is not None:
            failures.append("the server died")
        if counts["met"] < clients // 2:
            failures.append(f"only {counts['met']} meetings for {clients // 2} pairs")
        if counts["lost"] != 0:
            failures.append(f"{counts['lost']} relayed messages lost")
        if counts["peak_kb"] > MEMORY_LIMIT_KB:
            failures.append(f"resident memory {counts['peak_kb']} kB passed {MEMORY_LIMIT_KB} kB")
        if after_kb > counts["first_kb"] + GROWTH_LIMIT_KB:
            failures.append(f"resident memory grew from {counts['first_kb']} to {after_kb} kB after the first churn")
    finally:
        process.terminate()
        process.wait()
    for failure in failures:
        print(f"FAIL: {failure}")
    if failures:
        print("".join(open(log_path).readlines()[-20:]))
        return 1
    print("PASS")
    return 0


def run_load(port, pairs_wanted, seconds, process, failures):
    selector = selectors.DefaultSelector()
    pairs = [Pair(i) for i in range(pairs_wanted)]
    counts = {"met": 0, "relayed": 0, "lost": 0, "first_kb": 0, "peak_kb": 0}
    rng = random.Random(2000)
    session = [1]

    def start(pair, now):
        for side in (0, 1):
            if pair.socks[side] is not None:
                selector.unregister(pair.socks[side])
                pair.socks[side].close()
            sock = wc.open_web_socket(port, pair.source)
            sock.setblocking(False)
            selector.register(sock, selectors.EVENT_READ, (pair, side))
            pair.socks[side] = sock
            pair.buffers[side] = b""
        pair.state, pair.sent, pair.received = "opening", [0, 0], [0, 0]
        pair.found = [False, False]
        pair.next_send, pair.until = now, now + 10
        session[0] += 2
        pair.sessions = (session[0], session[0] + 1)
        send(pair, 0, wc.open_room(pair.sessions[0]))

    def send(pair, side, message):
        wc.send_frame(pair.socks[side], wc.BINARY, message)

    def take(pair, side, message, now):
        kind = message[3] if len(message) > 3 else 0
        if kind == wc.ROOM_OPENED and pair.state == "opening":
            pair.state = "joining"
            send(pair, 1, wc.join_room(message[4:10].decode("ascii"), pair.sessions[1]))
        elif kind == wc.PEER_FOUND:
            pair.found[side] = True
            if all(pair.found) and pair.state == "joining":
                pair.state = "relaying"
                counts["met"] += 1
                pair.until = now + rng.uniform(2, 5)
        elif wc.relayed_counter(message) is not None:
            pair.received[side] += 1
        elif kind == wc.SERVER_REFUSE:
            failures.append(f"pair {pair.number} refused: {message[4]}")

    started = time.monotonic()
    for pair in pairs:
        start(pair, started)
    churned = False
    while True:
        now = time.monotonic()
        if now - started > seconds:
            break
        for key, _ in selector.select(timeout=0.05):
            pair, side = key.data
            try:
                data = key.fileobj.recv(65536)
            except (BlockingIOError, InterruptedError):
                continue
            if not data:
                failures.append(f"pair {pair.number} closed by the server")
                start(pair, now)
                continue
            pair.buffers[side] += data
            for opcode, payload in frames(pair, side):
                if opcode == wc.BINARY:
                    take(pair, side, payload, now)
        now = time.monotonic()
        for pair in pairs:
            if pair.state == "relaying" and now >= pair.next_send:
                pair.next_send = now + 0.5
                for side in (0, 1):
                    pair.sent[side] += 1
                    send(pair, side, wc.relay(pair.sent[side]))
                if now >= pair.until:
                    pair.state, pair.until = "draining", now + 0.5
            elif pair.state == "draining" and now >= pair.until:
                for side in (0, 1):
                    counts["relayed"] += pair.received[1 - side]
                    counts["lost"] += pair.sent[side] - pair.received[1 - side]
                pair.cycles += 1
                start(pair, now)
            elif pair.state in ("opening", "joining") and now >= pair.until:
                failures.append(f"pair {pair.number} never met")
                start(pair, now)
        if not churned and all(pair.cycles > 0 for pair in pairs):
            churned = True
            counts["first_kb"] = wc.memory_and_time(process.pid)[0]
        if int(now * 2) % 5 == 0:
            counts["peak_kb"] = max(counts["peak_kb"], wc.memory_and_time(process.pid)[0])
        if process.poll() is not None:
            failures.append("the server died")
            break
    counts["peak_kb"] = max(counts["peak_kb"], wc.memory_and_time(process.pid)[0])
    if not churned:
        failures.append("not every pair finished a meeting")
    return counts


if __name__ == "__main__":
    sys.exit(main())
