#!/usr/bin/env python3
"""Draws the toolbar's 16 x 16 fallback icons (src/ui/icons/*.png) from the pixel maps below.

Each map is 16 rows of 16 characters; a character picks a colour from PALETTE, "." is
transparent. Run it after changing a map: python3 scripts/make_icons.py
"""
import os
import struct
import zlib

PALETTE = {
    "k": (40, 40, 40, 255),      # outline
    "w": (255, 255, 255, 255),   # paper
    "g": (160, 160, 160, 255),   # grey
    "d": (96, 96, 96, 255),      # dark grey
    "y": (240, 200, 60, 255),    # folder
    "o": (200, 150, 30, 255),    # folder edge
    "b": (40, 90, 200, 255),     # blue
    "l": (120, 170, 240, 255),   # light blue
    "r": (210, 40, 40, 255),     # red
    "n": (30, 150, 60, 255),     # green
    "s": (200, 200, 210, 255),   # steel
}

ICONS = {
    "new": [
        "..kkkkkkkk......",
        "..kwwwwwwkk.....",
        "..kwwwwwwkwk....",
        "..kwwwwwwkkkk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kkkkkkkkkkk...",
        "................",
    ],
    "open": [
        "................",
        "................",
        "..kkkk..........",
        ".kyyyyk.........",
        "kyyyyyykkkkkk...",
        "kyyyyyyyyyyyk...",
        "kyyyyyyyyyyyk...",
        "kyykkkkkkkkkkkk.",
        "kyko ooooooooook".replace(" ", "o"),
        "kykoooooooooook.",
        "kkoooooooooook..",
        "kkooooooooook...",
        "kkkkkkkkkkkk....",
        "................",
        "................",
        "................",
    ],
    "save": [
        "kkkkkkkkkkkkkkk.",
        "kbkwwwwwwwwwkbk.",
        "kbkwwwwwwwwwkbk.",
        "kbkwwwwwwwwwkbk.",
        "kbkwwwwwwwwwkbk.",
        "kbkwwwwwwwwwkbk.",
        "kbbkkkkkkkkkbbk.",
        "kbbbbbbbbbbbbbk.",
        "kbbkkkkkkkkkbbk.",
        "kbbkssskddkkbbk.",
        "kbbkssskddkkbbk.",
        "kbbkssskddkkbbk.",
        "kbbksssssssbbbk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    "write": [
        "................",
        ".kkkkkk.........",
        ".kwwwwk.........",
        ".kwkkwk....r....",
        ".kwwwwk....rr...",
        ".kwkkwk.rrrrrr..",
        ".kwwwwk.rrrrrrr.",
        ".kkkkkk.rrrrrr..",
        "...........rr...",
        "...kkkkkkkkkr...",
        "..kgggggggggk...",
        "..kgnggggdgdk...",
        "..kgggggggggk...",
        "...kkkkkkkkk....",
        "..kk.kk.kk.kk...",
        "................",
    ],
    "table1": [
        "kkkkkkkkkkkkkkkk",
        "kllllllllllllllk",
        "kkkkkkkkkkkkkkkk",
        "kwwkwwkwwkwwkwwk",
        "kkkkkkkkkkkkkkkk",
        "kwwkwwkwwkwwkwwk",
        "kkkkkkkkkkkkkkkk",
        "kwwkwwkwwkwwkwwk",
        "kkkkkkkkkkkkkkkk",
        "..........bb....",
        ".........bbb....",
        "..........bb....",
        "..........bb....",
        "..........bb....",
        ".........bbbb...",
        "................",
    ],
    "table2": [
        "kkkkkkkkkkkkkkkk",
        "kllllllllllllllk",
        "kkkkkkkkkkkkkkkk",
        "kwwkwwkwwkwwkwwk",
        "kkkkkkkkkkkkkkkk",
        "kwwkwwkwwkwwkwwk",
        "kkkkkkkkkkkkkkkk",
        "kwwkwwkwwkwwkwwk",
        "kkkkkkkkkkkkkkkk",
        ".........bbbb...",
        "............bb..",
        "...........bb...",
        "..........bb....",
        ".........bb.....",
        ".........bbbbb..",
        "................",
    ],
    "cut": [
        "....k.....k.....",
        "....k.....k.....",
        "....k.....k.....",
        ".....k...k......",
        ".....k...k......",
        "......k.k.......",
        ".......k........",
        "......k.k.......",
        "....rrr.rrr.....",
        "...r..r.r..r....",
        "...r..r.r..r....",
        "...r..r.r..r....",
        "....rr...rr.....",
        "................",
        "................",
        "................",
    ],
    "copy": [
        "kkkkkkkk........",
        "kwwwwwwk........",
        "kwkkkkwk........",
        "kwwwwwkkkkkkkk..",
        "kwkkkkkwwwwwwk..",
        "kwwwwwkwkkkkwk..",
        "kwkkkkkwwwwwwk..",
        "kwwwwwkwkkkkwk..",
        "kkkkkkkwwwwwwk..",
        ".......wkkkkwk..".replace(".......w", "......kw"),
        "......kwwwwwwk..",
        "......kwkkkkwk..",
        "......kwwwwwwk..",
        "......kkkkkkkk..",
        "................",
        "................",
    ],
    "paste": [
        ".....kkkk.......",
        ".kkkkgssgkkkk...",
        ".kooookkooook...",
        ".koooooooooook..",
        ".kooookkkkkkkkk.",
        ".kooookwwwwwwwk.",
        ".kooookwkkkkkwk.",
        ".kooookwwwwwwwk.",
        ".kooookwkkkkkwk.",
        ".kooookwwwwwwwk.",
        ".kooookwkkkkwwk.",
        ".kooookwwwwwwwk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
        "................",
    ],
    "settings": [
        "......kkkk......",
        "...k..kssk..k...",
        "..ksk.kssk.ksk..",
        "...kskssssksk...",
        "....kssssssk....",
        "kkkksssddssskkkk",
        "ksssssd..dsssssk",
        "ksssssd..dsssssk",
        "kkkksssddssskkkk",
        "....kssssssk....",
        "...kskssssksk...",
        "..ksk.kssk.ksk..",
        "...k..kssk..k...",
        "......kkkk......",
        "................",
        "................",
    ],
    "dashboard": [
        "................",
        "....kkkkkkkk....",
        "..kkwwwwwwwwkk..",
        ".kwwnwwwwwwrwwk.",
        ".kwwwwwwwwwwwwk.",
        "kwnwwwwwwwwwwrwk",
        "kwwwwwwwwwkwwwwk",
        "kwwwwwwwwkwwwwwk",
        "kwwwwwwwkwwwwwwk",
        "kwwwwwwkkwwwwwwk",
        "kwwwwwkkkkwwwwwk",
        ".kwwwwwkkwwwwwk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
        "................",
    ],
    "print": [
        "....kkkkkkkk....",
        "....kwwwwwwk....",
        "....kwkkkkwk....",
        "....kwwwwwwk....",
        ".kkkkkkkkkkkkkk.",
        "kgggggggggggggk.",
        "kgggggggggnggggk",
        "kgggggggggggggk.",
        "kkkkkkkkkkkkkkkk",
        "kdkwwwwwwwwwwkdk",
        ".kkwkkkkkkkkwkk.",
        "...kwwwwwwwwk...",
        "...kwkkkkkkwk...",
        "...kwwwwwwwwk...",
        "...kkkkkkkkkk...",
        "................",
    ],
    "about": [
        ".....kkkkkk.....",
        "...kkbbbbbbkk...",
        "..kbbbbwwbbbbk..",
        ".kbbbbbwwbbbbbk.",
        ".kbbbbbbbbbbbbk.",
        "kbbbbbwwwbbbbbbk",
        "kbbbbbbwwbbbbbbk",
        "kbbbbbbwwbbbbbbk",
        "kbbbbbbwwbbbbbbk",
        "kbbbbbbwwbbbbbbk",
        ".kbbbbwwwwbbbbk.",
        ".kbbbbbbbbbbbbk.",
        "..kbbbbbbbbbbk..",
        "...kkbbbbbbkk...",
        ".....kkkkkk.....",
        "................",
    ],
    "contexthelp": [
        "k...............",
        "kk..............",
        "kwk.............",
        "kwwk....kkkkk...",
        "kwwwk..kbbbbbk..",
        "kwwwwk.kbk.kbk..",
        "kwwwwwk....kbk..",
        "kwwkkkk...kbk...",
        "kwkkwk...kbk....",
        "kk..kwk..kbk....",
        "k...kwk.........",
        ".....kwk.kbk....",
        ".....kk..kbk....",
        "................",
        "................",
        "................",
    ],
}


def png(rows):
    raw = b""
    for row in rows:
        row = (row + "." * 16)[:16]
        raw += b"\x00" + b"".join(bytes(PALETTE.get(c, (0, 0, 0, 0))) for c in row)
    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", 16, len(rows), 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "ui", "icons")
    os.makedirs(out, exist_ok=True)
    names = []
    for name, rows in ICONS.items():
        assert len(rows) == 16, name
        with open(os.path.join(out, name + ".png"), "wb") as f:
            f.write(png(rows))
        names.append(name)
    qrc = os.path.join(out, "..", "korvath.qrc")
    with open(qrc, "w") as f:
        f.write("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n")
        for name in sorted(names):
            f.write("  <file>icons/%s.png</file>\n" % name)
        f.write("</qresource>\n</RCC>\n")


if __name__ == "__main__":
    main()
