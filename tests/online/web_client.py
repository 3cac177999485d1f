"""Raw HTTP and WebSocket clients for the rendezvous server's page (--web), shared by its tests: a request on a
socket and its response read back, the WebSocket handshake, frames masked as a client must, and the protocol's
messages the server takes; nothing beyond the standard library, so every byte on the wire is the test's own."""
import base64
import os
import socket
import struct
import subprocess
import time

HEADER = b"TV\x01"
OPEN_ROOM, ROOM_OPENED, JOIN_ROOM, PEER_FOUND, SERVER_REFUSE, RELAY, STAY_IN_ROOM = 20, 21, 22, 23, 24, 25, 26
TEXT, BINARY, CLOSE, PING, PONG = 1, 2, 8, 9, 10


def name(text):
    return bytes([len(text)]) + text.encode("ascii")


def open_room(session, who="Page"):
    return HEADER + bytes([OPEN_ROOM]) + struct.pack("<I", session) + name(who)


def join_room(code, session, who="Page"):
    return HEADER + bytes([JOIN_ROOM]) + code.encode("ascii") + struct.pack("<I", session) + name(who)


def relay(counter):
    ping = HEADER + b"\x07" + struct.pack("<II", counter, 0)
    return HEADER + bytes([RELAY]) + struct.pack("<H", len(ping)) + ping


def relayed_counter(message):
    """The counter of a relayed ping made by relay(), or None for any other message."""
    if len(message) == 18 and message[3] == RELAY and message[6:10] == HEADER + b"\x07":
        return struct.unpack("<I", message[10:14])[0]
    return None


def start_server(server, port, log_path, *options):
    log = open(log_path, "w")
    process = subprocess.Popen([server, f"--listen=0.0.0.0:{port}", *options], stdout=log, stderr=subprocess.STDOUT)
    for _ in range(100):
        with open(log_path) as text:
            if "listening" in text.read():
                return process
        if process.poll() is not None:
            break
        time.sleep(0.05)
    raise SystemExit(f"FAIL: the server did not start:\n{open(log_path).read()}")


def connect(port, source="127.0.0.1", timeout=5):
    sock = socket.create_connection(("127.0.0.1", port), timeout=timeout, source_address=(source, 0))
    return sock


def read_response(sock, head=False):
    """One response: (status, headers with lower-case names, body); status 0 when the connection closed first."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(65536)
        if not chunk:
            return 0, {}, data
        data += chunk
    head_bytes, rest = data.split(b"\r\n\r\n", 1)
    lines = head_bytes.decode("latin-1").split("\r\n")
    status = int(lines[0].split()[1])
    headers = {}
    for line in lines[1:]:
        key, value = line.split(":", 1)
        headers[key.strip().lower()] = value.strip()
    length = 0 if head or status == 304 else int(headers.get("content-length", "0"))
    while len(rest) < length:
        chunk = sock.recv(65536)
        if not chunk:
            break
        rest += chunk
    return status, headers, rest[:length]


def request(port, text, head=False):
    """Sends one raw request on a new connection; its response as read_response gives it."""
    with connect(port) as sock:
        sock.sendall(text.encode("latin-1") if isinstance(text, str) else text)
        try:
            return read_response(sock, head)
        except (ConnectionResetError, socket.timeout):
            return 0, {}, b""


def get(port, path, extra=""):
    return request(port, f"GET {path} HTTP/1.1\r\nHost: test\r\n{extra}Connection: close\r\n\r\n")


def upgrade_request(path="/online", key=None, version="13"):
    key = key if key is not None else base64.b64encode(os.urandom(16)).decode()
    lines = [f"GET {path} HTTP/1.1", "Host: test", "Upgrade: websocket", "Connection: Upgrade"]
    if key:
        lines.append(f"Sec-WebSocket-Key: {key}")
    if version:
        lines.append(f"Sec-WebSocket-Version: {version}")
    return "\r\n".join(lines) + "\r\n\r\n"


def open_web_socket(port, source="127.0.0.1", timeout=5):
    """A WebSocket connection to /online after its handshake; raises when the server refuses it."""
    sock = connect(port, source, timeout)
    sock.sendall(upgrade_request().encode())
    status, _, _ = read_response(sock)
    if status != 101:
        sock.close()
        raise ConnectionError(f"upgrade answered {status}")
    return sock


def send_frame(sock, opcode, payload):
    mask = os.urandom(4)
    size = len(payload)
    if size < 126:
        head = struct.pack("!BB", 0x80 | opcode, 0x80 | size)
    elif size < 65536:
        head = struct.pack("!BBH", 0x80 | opcode, 0x80 | 126, size)
    else:
        head = struct.pack("!BBQ", 0x80 | opcode, 0x80 | 127, size)
    masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
    sock.sendall(head + mask + masked)


def recv_exact(sock, count):
    data = b""
    while len(data) < count:
        chunk = sock.recv(count - len(data))
        if not chunk:
            raise ConnectionError("closed")
        data += chunk
    return data


def recv_frame(sock):
    """(opcode, payload) of the next frame from the server (which never masks)."""
    first, second = recv_exact(sock, 2)
    size = second & 0x7F
    if size == 126:
        size = struct.unpack("!H", recv_exact(sock, 2))[0]
    elif size == 127:
        size = struct.unpack("!Q", recv_exact(sock, 8))[0]
    return first & 0x0F, recv_exact(sock, size)


def close_code(sock):
    """The code of the close frame the server sends next (skipping other frames), or None when none comes."""
    try:
        for _ in range(100):
            opcode, payload = recv_frame(sock)
            if opcode == CLOSE:
                return struct.unpack("!H", payload[:2])[0] if len(payload) >= 2 else 1005
    except (ConnectionError, OSError):
        return None
    return None


def memory_and_time(pid):
    """The process's resident memory (kB) and processor time (s), from /proc."""
    with open(f"/proc/{pid}/status") as status:
        fields = dict(line.split(":", 1) for line in status if ":" in line)
    with open(f"/proc/{pid}/stat") as stat:
        parts = stat.read().rsplit(")", 1)[1].split()
    return int(fields["VmRSS"].split()[0]), (int(parts[11]) + int(parts[12])) / os.sysconf("SC_CLK_TCK")
