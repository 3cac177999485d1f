#!/usr/bin/env python3
"""A light load for the rendezvous server, speaking its protocol: ROOMS rooms opened and joined by pairs of sockets
that then relay a small datagram each way every half second for SECONDS seconds, while REPLAY pairs of real headless
peers (run_online_pair.sh through the same server) play their matches among them; then a flood of joins with wrong
codes from one address, which must be slowed (answered "too many attempts", not checked), and a flood of garbage.
Reports the server's resident memory and processor time, and fails when a room's relay loses datagrams, a real pair
fails, the wrong codes are not slowed or the server's memory grows under the floods.
Usage: room_load.py ROOMS SECONDS PAIR_COMMAND...  inside with_server.sh (TAVO_SERVER, TAVO_SERVER_PID); in
PAIR_COMMAND's words PORT becomes the pair's port and WORK its own name."""
import os
import random
import selectors
import socket
import struct
import subprocess
import sys
import time

HEADER = b"TV\x01"
OPEN_ROOM, ROOM_OPENED, JOIN_ROOM, PEER_FOUND, SERVER_REFUSE, RELAY, STAY_IN_ROOM = 20, 21, 22, 23, 24, 25, 26
UNKNOWN_CODE, TOO_MANY_ATTEMPTS = 4, 5
ALPHABET = "234679ACDEFGHJKMNPQRTWXY"


def name(text):
    return bytes([len(text)]) + text.encode("ascii")


def open_room(session):
    return HEADER + bytes([OPEN_ROOM]) + struct.pack("<I", session) + name("Load")


def join_room(code, session):
    return HEADER + bytes([JOIN_ROOM]) + code.encode("ascii") + struct.pack("<I", session) + name("Load")


def relay(counter):
    ping = HEADER + b"\x07" + struct.pack("<II", counter, 0)
    return HEADER + bytes([RELAY]) + struct.pack("<H", len(ping)) + ping


def server_memory_and_time(pid):
    with open(f"/proc/{pid}/status") as status:
        fields = dict(line.split(":", 1) for line in status if ":" in line)
    with open(f"/proc/{pid}/stat") as stat:
        parts = stat.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    cpu = (int(parts[11]) + int(parts[12])) / ticks
    return int(fields["VmRSS"].split()[0]), int(fields["VmHWM"].split()[0]), cpu


def relayed_waiting(sock):
    """Reads every datagram waiting on a non-blocking socket; the number of relayed ones."""
    count = 0
    try:
        while True:
            data, _ = sock.recvfrom(600)
            if len(data) >= 4 and data[3] == RELAY:
                count += 1
    except BlockingIOError:
        return count


def ask_until(sock, datagram, server, wanted, seconds=5.0):
    """Sends datagram until an answer of kind wanted (or a refusal) comes; returns it."""
    sock.settimeout(0.2)
    end = time.time() + seconds
    while time.time() < end:
        sock.sendto(datagram, server)
        try:
            while True:
                data, _ = sock.recvfrom(600)
                if len(data) >= 4 and data[3] in (wanted, SERVER_REFUSE):
                    return data
        except socket.timeout:
            pass
    raise SystemExit(f"FAIL: no answer of kind {wanted} from the server")


def main():
    pid, port = int(os.environ["TAVO_SERVER_PID"]), int(os.environ["TAVO_SERVER"].rsplit(":", 1)[1])
    rooms, seconds, pair_command = int(sys.argv[1]), float(sys.argv[2]), sys.argv[3:]
    server = ("127.0.0.1", port)
    rng = random.Random(port)

    # The rooms: a host socket and a joiner socket each.
    pairs = []
    for i in range(rooms):
        host, joiner = socket.socket(socket.AF_INET, socket.SOCK_DGRAM), socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        answer = ask_until(host, open_room(i + 1), server, ROOM_OPENED)
        if answer[3] != ROOM_OPENED:
            raise SystemExit(f"FAIL: room {i} refused (reason {answer[4]})")
        code = answer[4:10].decode("ascii")
        if ask_until(joiner, join_room(code, i + 1), server, PEER_FOUND)[3] != PEER_FOUND:
            raise SystemExit(f"FAIL: joining room {code} refused")
        for s in (host, joiner):
            s.setblocking(False)
        pairs.append((host, joiner))
    memory_start = server_memory_and_time(pid)
    print(f"{rooms} rooms open; server rss {memory_start[0]} KiB")

    # The real pairs, started one after another over the first half of the run.
    pair_ports = [27900 + 2 * i for i in range(5)]
    real = []
    selector = selectors.DefaultSelector()
    for host, joiner in pairs:
        selector.register(host, selectors.EVENT_READ)
        selector.register(joiner, selectors.EVENT_READ)
    sent = received = 0
    start = time.time()
    while time.time() - start < seconds:
        elapsed = time.time() - start
        if len(real) < len(pair_ports) and elapsed >= len(real) * seconds / 2 / len(pair_ports):
            pair_port = pair_ports[len(real)]
            words = [w.replace("PORT", str(pair_port)).replace("WORK", f"pair-{pair_port}") for w in pair_command]
            real.append(subprocess.Popen(words, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True))
        # Every member sends one datagram each half second, the members spread evenly over it as peers would be.
        due = int(elapsed / 0.5 * len(pairs) * 2)
        while sent < due:
            host, joiner = pairs[(sent // 2) % len(pairs)]
            (host if sent % 2 == 0 else joiner).sendto(relay(sent), server)
            if sent % 40 == 0:  # now and then a host keeps its room alive as a waiting one does
                host.sendto(HEADER + bytes([STAY_IN_ROOM]), server)
            sent += 1
        for key, _ in selector.select(timeout=0.002):
            received += relayed_waiting(key.fileobj)
    time.sleep(0.5)
    received += sum(relayed_waiting(key.fileobj) for key in selector.get_map().values())
    memory_run = server_memory_and_time(pid)
    failures = []
    for i, process in enumerate(real):
        try:
            output, _ = process.communicate(timeout=120)
        except subprocess.TimeoutExpired:
            process.kill()
            output = process.communicate()[0] + "\n(stopped: still running 2 minutes after the load)"
            process.returncode = 1
        line = output.strip().splitlines()[-1] if output.strip() else ""
        print(f"real pair {i}: {line[:160]}")
        if process.returncode != 0:
            failures.append(f"real pair {i} failed:\n{output}")
    print(f"relay: {sent} sent, {received} received over {seconds:.0f} s; server rss {memory_run[0]} KiB, "
          f"peak {memory_run[1]} KiB, cpu {memory_run[2] - memory_start[2]:.2f} s for the run")
    if received < sent * 0.99:
        failures.append(f"the relay lost {sent - received} of {sent} datagrams")

    # Wrong codes as fast as one socket sends them: the first is checked, the rest are told to wait.
    guesser = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    guesser.settimeout(0.5)
    answers = {UNKNOWN_CODE: 0, TOO_MANY_ATTEMPTS: 0}
    flood_start = time.time()
    for i in range(2000):
        code = "".join(rng.choice(ALPHABET) for _ in range(6))
        guesser.sendto(join_room(code, 99), server)
        try:
            data, _ = guesser.recvfrom(600)
            if data[3] == SERVER_REFUSE and data[4] in answers:
                answers[data[4]] += 1
        except socket.timeout:
            pass
    print(f"wrong codes: 2000 sent in {time.time() - flood_start:.2f} s: {answers[UNKNOWN_CODE]} checked, "
          f"{answers[TOO_MANY_ATTEMPTS]} told to wait")
    if answers[UNKNOWN_CODE] > 1 or answers[TOO_MANY_ATTEMPTS] < 1900:
        failures.append("the wrong codes were not slowed")

    # Garbage and new rooms churned from many ports: the server's memory must not grow with them.
    flooders = [socket.socket(socket.AF_INET, socket.SOCK_DGRAM) for _ in range(50)]
    for i in range(40000):
        s = flooders[i % len(flooders)]
        kind = i % 4
        if kind == 0:
            s.sendto(os.urandom(rng.randint(1, 512)), server)
        elif kind == 1:
            s.sendto(open_room(i), server)  # a new game from the same port each time: the old room closes
        elif kind == 2:
            s.sendto(relay(i), server)
        else:
            s.sendto(HEADER + bytes([rng.randint(0, 40)]) + os.urandom(rng.randint(0, 30)), server)
        if i % 500 == 0:
            time.sleep(0.01)
    time.sleep(1)
    memory_flood = server_memory_and_time(pid)
    print(f"after a flood of 40000 datagrams: server rss {memory_flood[0]} KiB (peak {memory_flood[1]} KiB)")
    if memory_flood[0] > memory_run[0] + 2048:
        failures.append(f"the server's memory grew by {memory_flood[0] - memory_run[0]} KiB under the flood")
    if failures:
        print("FAIL: " + "\nFAIL: ".join(failures))
        sys.exit(1)


main()
