#!/usr/bin/env python3
"""The rendezvous server's page (--web) against hostile and careless clients, each check PASS or FAIL: ways out of
the folder, links, hidden files, a huge header, a slow trickle of headers (closed while others are answered),
methods other than GET and HEAD, bad upgrades, HEAD, content types, gzip with ETag and 304, a WebSocket text message
and an oversized one (closed 1003 and 1009), the connection limit per address, and a relay between a UDP member
and a WebSocket member both ways. The server must still run at the end.
Usage: web_hostile.py SERVER PORT WORK"""
import gzip
import os
import shutil
import socket
import sys
import threading
import time

import web_client as wc

results = []


def check(label, condition, detail=""):
    results.append(bool(condition))
    print(f"{'PASS' if condition else 'FAIL'}: {label}" + ("" if condition else f" ({detail})"), flush=True)


def make_page(work):
    page = os.path.join(work, "page")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(os.path.join(page, "sub"))
    os.makedirs(os.path.join(page, ".git"))
    files = {
        "index.html": "<!doctype html><title>page</title>" + "<p>tavo</p>" * 300,
        "game.js": "var x = 1;\n" * 200, "game.wasm": "\0asm" + "w" * 4000, "game.data": "d" * 3000,
        "manifest.webmanifest": "{}", "icon.png": "\x89PNG" + "p" * 3000, "notes.txt": "t" * 3000,
        "bundle.zip": "PK" + "z" * 3000, "style.css": "p{}", "list.json": "[]", "match.replay": "r" * 3000,
        ".hidden": "hidden", ".git/config": "hidden", "sub/inner.txt": "inner",
    }
    for path, text in files.items():
        with open(os.path.join(page, path), "w", encoding="latin-1") as out:
            out.write(text)
    with open(os.path.join(work, "secret.txt"), "w") as out:
        out.write("SECRET")
    os.symlink(os.path.join(work, "secret.txt"), os.path.join(page, "out.txt"))
    os.symlink(work, os.path.join(page, "up"))
    return page, files


def main():
    server, port, work = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    page, files = make_page(work)
    log_path = os.path.join(work, "server.log")
    process = wc.start_server(server, port, log_path, f"--web={page}")
    try:
        run_checks(port, page, files)
        time.sleep(0.5)
        check("the server still runs", process.poll() is None)
        with open(log_path) as log:
            text = log.read()
        check("refused requests are logged, one line each", text.count("refused 127.0.0.1") >= 10, text[-500:])
    finally:
        process.terminate()
        process.wait()
    if not all(results):
        print("--- server log (last lines)")
        print("".join(open(log_path).readlines()[-20:]))
    print(f"{results.count(True)} passed, {results.count(False)} failed")
    return 0 if all(results) else 1


def run_checks(port, page, files):
    # Ways out of the folder: each refused, and the secret never in an answer.
    for target in ["/../secret.txt", "/%2e%2e/secret.txt", "/%2E%2E/%2e%2e/secret.txt", "/sub%2f..%2f..%2fsecret.txt",
                   "/sub/..%2f..%2fsecret.txt", "//etc/passwd", "/..\\secret.txt", "http://127.0.0.1/../secret.txt",
                   "/up/secret.txt", "/out.txt", "/sub/../../secret.txt"]:
        status, _, body = wc.request(port, f"GET {target} HTTP/1.1\r\nHost: t\r\nConnection: close\r\n\r\n")
        check(f"traversal {target} refused", status in (400, 403, 404) and b"SECRET" not in body, status)
    check("a link out of the folder is 403", wc.get(port, "/out.txt")[0] == 403)
    for target in ["/.hidden", "/.git/config", "/%2egit/config"]:
        check(f"hidden {target} is 404", wc.get(port, target)[0] == 404)

    # A huge header: 431, or the connection closed.
    status, _, _ = wc.request(port, "GET / HTTP/1.1\r\nHost: t\r\nX-Big: " + "a" * 20000 + "\r\n\r\n")
    check("a 20 kB header is refused (431 or closed)", status in (0, 431), status)

    # A slow trickle of headers is closed within 15 s, while another client is answered at once meanwhile.
    slow = wc.connect(port, timeout=20)
    slow.sendall(b"GET / HTTP/1.1\r\nHost: t\r\n")
    started = time.monotonic()
    closed_after = [None]

    def trickle():
        try:
            while time.monotonic() - started < 20:
                slow.sendall(b"X")
                slow.settimeout(1)
                try:
                    if slow.recv(100) == b"":
                        closed_after[0] = time.monotonic() - started
                        return
                except socket.timeout:
                    pass
        except OSError:
            closed_after[0] = time.monotonic() - started

    thread = threading.Thread(target=trickle)
    thread.start()
    time.sleep(2)
    asked = time.monotonic()
    status, _, _ = wc.get(port, "/")
    check("another client is answered during the trickle", status == 200 and time.monotonic() - asked < 1.0)
    thread.join()
    slow.close()
    check("the trickling client is closed within 15 s", closed_after[0] is not None and closed_after[0] < 15,
          closed_after[0])

    # Methods other than GET and HEAD.
    for method in ["POST", "PUT", "DELETE", "TRACE", "OPTIONS"]:
        status, headers, _ = wc.request(port, f"{method} / HTTP/1.1\r\nHost: t\r\nContent-Length: 0\r\n\r\n")
        check(f"{method} is 405 with Allow", status == 405 and "GET" in headers.get("allow", ""), status)
    status, headers, _ = wc.request(port, "CONNECT 127.0.0.1:443 HTTP/1.1\r\nHost: 127.0.0.1:443\r\n\r\n")
    check("CONNECT is 405", status == 405, status)
    status, _, _ = wc.request(port, "POST / HTTP/1.1\r\nHost: t\r\nContent-Length: 100000\r\n\r\n" + "x" * 1000)
    check("a POST with a body is 405 and closed", status == 405, status)

    # Bad upgrades.
    check("an upgrade off /online is 404", wc.request(port, wc.upgrade_request("/index.html"))[0] == 404)
    check("an upgrade without a key is 400", wc.request(port, wc.upgrade_request(key=""))[0] == 400)
    check("an upgrade with a bad key is 400", wc.request(port, wc.upgrade_request(key="short"))[0] == 400)
    check("an upgrade of another version is 400", wc.request(port, wc.upgrade_request(version="8"))[0] == 400)
    check("/online without an upgrade is 400", wc.get(port, "/online")[0] == 400)

    # HEAD: the headers alone; the next response on the same connection reads right after them.
    with wc.connect(port) as sock:
        sock.sendall(b"HEAD /index.html HTTP/1.1\r\nHost: t\r\n\r\nGET /style.css HTTP/1.1\r\nHost: t\r\n\r\n")
        status, headers, _ = wc.read_response(sock, head=True)
        length = int(headers.get("content-length", "0"))
        second, _, body = wc.read_response(sock)
        check("HEAD gives the length and no body", status == 200 and length == len(files["index.html"]) and
              second == 200 and body == b"p{}", (status, length, second, body[:20]))

    # Types.
    types = {"/": "text/html", "/game.js": "text/javascript", "/game.wasm": "application/wasm",
             "/game.data": "application/octet-stream", "/manifest.webmanifest": "application/manifest+json",
             "/icon.png": "image/png", "/notes.txt": "text/plain", "/bundle.zip": "application/zip",
             "/style.css": "text/css", "/list.json": "application/json", "/match.replay": "text/plain"}
    for path, wanted in types.items():
        status, headers, _ = wc.get(port, path)
        check(f"{path} is {wanted}", status == 200 and headers.get("content-type", "").startswith(wanted),
              (status, headers.get("content-type")))

    # gzip, ETag, 304, no-cache, and a changed file's new ETag.
    for path in ["/game.wasm", "/index.html"]:
        status, headers, body = wc.get(port, path, "Accept-Encoding: deflate, gzip\r\n")
        plain = files[path[1:]].encode("latin-1")
        check(f"{path} comes gzipped and whole", status == 200 and headers.get("content-encoding") == "gzip" and
              gzip.decompress(body) == plain and "accept-encoding" in headers.get("vary", "").lower() and
              headers.get("cache-control") == "no-cache", (status, headers))
        etag = headers.get("etag", "")
        status, headers, body = wc.get(port, path, f"Accept-Encoding: gzip\r\nIf-None-Match: {etag}\r\n")
        check(f"{path} with its ETag is 304", etag != "" and status == 304 and body == b"", status)
    status, headers, body = wc.get(port, "/icon.png", "Accept-Encoding: gzip\r\n")
    check("a PNG is never gzipped", status == 200 and "content-encoding" not in headers and
          body == files["icon.png"].encode("latin-1"))
    status, headers, _ = wc.get(port, "/notes.txt", "Accept-Encoding: gzip;q=0\r\n")
    check("gzip;q=0 is plain", status == 200 and "content-encoding" not in headers)
    etag = wc.get(port, "/notes.txt")[1].get("etag")
    with open(os.path.join(page, "notes.txt"), "w") as out:
        out.write("changed " * 500)
    status, headers, body = wc.get(port, "/notes.txt", f"If-None-Match: {etag}\r\n")
    check("a changed file has a new ETag and body", status == 200 and headers.get("etag") != etag and
          body.startswith(b"changed"), (status, headers.get("etag"), etag))

    # WebSocket messages the server refuses.
    sock = wc.open_web_socket(port)
    wc.send_frame(sock, wc.TEXT, b"hello")
    code = wc.close_code(sock)
    check("a WebSocket text message closes with 1003", code == 1003, code)
    sock.close()
    sock = wc.open_web_socket(port)
    wc.send_frame(sock, wc.BINARY, b"\x00" * 600)
    code = wc.close_code(sock)
    check("a 600-byte WebSocket message closes with 1009", code == 1009, code)
    sock.close()

    # At most 32 connections from one address: the 33rd and later are closed at once.
    held = [wc.connect(port) for _ in range(40)]
    time.sleep(0.5)
    alive = 0
    for sock in held:
        sock.settimeout(0.2)
        try:
            sock.sendall(b"HEAD / HTTP/1.1\r\nHost: t\r\n\r\n")
            alive += wc.read_response(sock, head=True)[0] == 200
        except OSError:
            pass
    for sock in held:
        sock.close()
    check("one address holds at most 32 connections", 0 < alive <= 32, alive)
    time.sleep(0.5)

    relay_both_ways(port)


def relay_both_ways(port):
    """A WebSocket host and a UDP joiner meet by code and relay both ways; the joiner hears of a host with no
    address (family 0), the host of the joiner's UDP address."""
    ws = wc.open_web_socket(port)
    udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    udp.settimeout(3)
    try:
        wc.send_frame(ws, wc.BINARY, wc.open_room(11))
        opcode, opened = wc.recv_frame(ws)
        check("a WebSocket client opens a room", opcode == wc.BINARY and opened[3] == wc.ROOM_OPENED, opened)
        code = opened[4:10].decode("ascii")
        udp.sendto(wc.join_room(code, 12, "Udp"), ("127.0.0.1", port))
        found, _ = udp.recvfrom(600)
        check("the UDP joiner hears of the page with no address", found[3] == wc.PEER_FOUND and found[4] == 0, found)
        opcode, found = wc.recv_frame(ws)
        udp_port = udp.getsockname()[1]
        check("the page hears of the UDP joiner at its address",
              found[3] == wc.PEER_FOUND and found[4] == 4 and found[5:9] == bytes([127, 0, 0, 1]) and
              int.from_bytes(found[9:11], "little") == udp_port, found)
        udp.sendto(wc.relay(5), ("127.0.0.1", port))
        opcode, message = wc.recv_frame(ws)
        check("UDP to WebSocket relays", wc.relayed_counter(message) == 5, message)
        wc.send_frame(ws, wc.BINARY, wc.relay(6))
        message, _ = udp.recvfrom(600)
        check("WebSocket to UDP relays", wc.relayed_counter(message) == 6, message)
    finally:
        ws.close()
        udp.close()


if __name__ == "__main__":
    sys.exit(main())
