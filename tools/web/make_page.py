#!/usr/bin/env python3
"""Writes the page's own files: the page from its template (@VERSION@ becomes the version, @CONTROLS@ the README's
controls table), the web app manifest, the icons repacked, and the service worker with every kept file's hash.

Usage: make_page.py page TEMPLATE README VERSION OUTPUT
       make_page.py manifest OUTPUT
       make_page.py icons SOURCE_FOLDER FOLDER   (icon-SIZE.png of the asset generator, same pixels, tighter)
       make_page.py worker TEMPLATE FOLDER       (FOLDER/sw.js, after every kept file is in FOLDER)
"""
import hashlib
import html
import json
import os
import re
import struct
import sys
import zlib

ICON_SIZES = (192, 512)
# What the service worker keeps for offline play: the game, its data, and what installing the page needs. The
# replay tool and the licences are left to the network.
KEPT_FILES = ["index.html", "tavo2000.js", "tavo2000.wasm", "tavo2000.data.js", "tavo2000.data",
              "manifest.webmanifest"] + [f"icon-{size}.png" for size in ICON_SIZES]
COLOURS = "#101018"


def controls_table(readme: str) -> str:
    section = readme.split("\n## Controls\n", 1)[1].split("\n## ", 1)[0]
    rows = [line for line in section.splitlines() if line.startswith("|")]
    if len(rows) < 3:
        raise SystemExit("make_page.py: the README's Controls section has no table")

    def cells(line: str) -> list:
        return [c.strip() for c in line.strip().strip("|").split("|")]

    def inline(text: str) -> str:
        return re.sub(r"`([^`]*)`", r"<kbd>\1</kbd>", html.escape(text, quote=False))

    head = "".join(f"<th>{inline(c)}</th>" for c in cells(rows[0]))
    body = "\n".join("<tr>" + "".join(f"<td>{inline(c)}</td>" for c in cells(r)) + "</tr>" for r in rows[2:])
    return f"<table>\n<thead><tr>{head}</tr></thead>\n<tbody>\n{body}\n</tbody>\n</table>"


def write_page(template: str, readme: str, version: str, output: str) -> None:
    with open(template, encoding="utf-8") as f:
        page = f.read()
    with open(readme, encoding="utf-8") as f:
        table = controls_table(f.read())
    page = page.replace("@VERSION@", version).replace("@CONTROLS@", table)
    with open(output, "w", encoding="utf-8") as f:
        f.write(page)


def write_manifest(output: str) -> None:
    """The web app manifest: installed, the page starts full screen in landscape."""
    manifest = {
        "name": "Tavo 2000",
        "short_name": "Tavo",
        "description": "A paddle-and-ball arcade game for one or two players.",
        "start_url": "./",
        "scope": "./",
        "display": "fullscreen",
        "orientation": "landscape",
        "background_color": COLOURS,
        "theme_color": COLOURS,
        "icons": [{"src": f"icon-{size}.png", "sizes": f"{size}x{size}", "type": "image/png", "purpose": "any"}
                  for size in ICON_SIZES],
    }
    with open(output, "w", encoding="utf-8") as f:
        json.dump(manifest, f, indent=1)
        f.write("\n")


def repack_png(data: bytes) -> bytes:
    """The same PNG with its picture data deflated at zlib's tightest level (the other chunks as they were)."""
    signature = b"\x89PNG\r\n\x1a\n"
    if not data.startswith(signature):
        raise SystemExit("make_page.py: an icon is not a PNG file")
    chunks, picture, at = [], b"", len(signature)
    while at + 12 <= len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        if len(body) != length:
            raise SystemExit("make_page.py: an icon's PNG chunk runs past its end")
        if kind == b"IDAT":
            if not picture:
                chunks.append((b"IDAT", None))
            picture += body
        else:
            chunks.append((kind, body))
        at += 12 + length
    out = [signature]
    for kind, body in chunks:
        if body is None:
            body = zlib.compress(zlib.decompress(picture), 9)
        out.append(struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body)))
    return b"".join(out)


def write_icons(source: str, folder: str) -> None:
    for size in ICON_SIZES:
        name = f"icon-{size}.png"
        with open(os.path.join(source, name), "rb") as f:
            packed = repack_png(f.read())
        with open(os.path.join(folder, name), "wb") as f:
            f.write(packed)


def write_worker(template: str, folder: str) -> None:
    """FOLDER/sw.js: the worker with each kept file's SHA-256, and the version named by a hash of them all."""
    hashes = {}
    for name in KEPT_FILES:
        with open(os.path.join(folder, name), "rb") as f:
            hashes[name] = hashlib.sha256(f.read()).hexdigest()
    version = hashlib.sha256(json.dumps(hashes, sort_keys=True).encode()).hexdigest()[:16]
    with open(template, encoding="utf-8") as f:
        worker = f.read()
    worker = worker.replace("@FILES@", json.dumps(hashes, indent=1)).replace("@VERSION@", version)
    with open(os.path.join(folder, "sw.js"), "w", encoding="utf-8") as f:
        f.write(worker)


def main() -> None:
    steps = {"page": (write_page, 4), "manifest": (write_manifest, 1), "icons": (write_icons, 2),
             "worker": (write_worker, 2)}
    if len(sys.argv) < 2 or sys.argv[1] not in steps or len(sys.argv) != 2 + steps[sys.argv[1]][1]:
        raise SystemExit(__doc__)
    steps[sys.argv[1]][0](*sys.argv[2:])


if __name__ == "__main__":
    main()
