#!/usr/bin/env python3
"""Writes the page from its template: @VERSION@ becomes the version, @CONTROLS@ the README's controls table.

Usage: make_page.py TEMPLATE README VERSION OUTPUT
"""
import html
import re
import sys


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


def main() -> None:
    template, readme, version, output = sys.argv[1:5]
    with open(template, encoding="utf-8") as f:
        page = f.read()
    with open(readme, encoding="utf-8") as f:
        table = controls_table(f.read())
    page = page.replace("@VERSION@", version).replace("@CONTROLS@", table)
    with open(output, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    main()
