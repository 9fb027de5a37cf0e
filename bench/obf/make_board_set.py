#!/usr/bin/env python3
"""Writes a generated Open Board set (.obz) shaped like the large sets exported
by grid-based AAC programs, for the import benchmark.

Default shape: 229 boards of 5 to 40 buttons, 4,000 distinct PNG pictures of
256 px (symbols on a transparent ground), about one button in seven without a
picture (its label is drawn), some pictures used by several buttons, links
from each board to a few others. Options make the larger sets of the scale
benchmark and add the boards real sets carry that have nothing to show.

Usage: make_board_set.py OUT.obz [--boards N] [--pictures N] [--big-board N]
                         [--min-keys N] [--max-keys N] [--empty-boards N] [--seed N]
"""
import argparse
import json
import random
import struct
import zipfile
import zlib

SIDE = 256


def png(n):
    """A 256 px RGBA symbol: a shaded disc and a bar on a transparent ground."""
    rnd = random.Random(n)
    cx, cy = rnd.randint(90, 166), rnd.randint(90, 166)
    r = rnd.randint(50, 88)
    hue = [rnd.randint(0, 255) for _ in range(3)]
    bar_y = rnd.randint(20, 220)
    clear = b"\x00\x00\x00\x00"
    rows = []
    for y in range(SIDE):
        row = bytearray(clear * SIDE)
        dy = y - cy
        if abs(dy) < r:
            half = int((r * r - dy * dy) ** 0.5)
            shade = bytes([(hue[0] + y) % 256, (hue[1] + 2 * y) % 256, hue[2], 255])
            x0, x1 = max(0, cx - half), min(SIDE, cx + half)
            row[x0 * 4:x1 * 4] = shade * (x1 - x0)
        if bar_y <= y < bar_y + 14:
            x0 = (y * 3 + n) % 120
            row[x0 * 4:(x0 + 120) * 4] = b"\x20\x20\x20\xff" * 120
        rows.append(b"\x00" + bytes(row))
    raw = b"".join(rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIDE, SIDE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 6))
            + chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--boards", type=int, default=229)
    parser.add_argument("--pictures", type=int, default=4000)
    parser.add_argument("--min-keys", type=int, default=5)
    parser.add_argument("--max-keys", type=int, default=40)
    parser.add_argument("--big-board", type=int, default=0, help="buttons of one more board")
    parser.add_argument("--empty-boards", type=int, default=0)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rnd = random.Random(args.seed)

    sizes = [rnd.randint(args.min_keys, args.max_keys) for _ in range(args.boards)]
    if args.big_board:
        sizes.append(args.big_board)
    total = sum(sizes)
    with zipfile.ZipFile(args.out, "w", zipfile.ZIP_DEFLATED) as z:
        for p in range(args.pictures):
            z.writestr("images/%d.png" % p, png(p), compress_type=zipfile.ZIP_STORED)
        boards = {}
        picture = 0
        for b, size in enumerate(sizes):
            buttons, images, order, row, listed = [], [], [], [], set()
            columns = 6
            for k in range(size):
                button = {"id": str(k), "label": "parola %d-%d" % (b, k)}
                roll = rnd.random()
                if roll < 0.14:
                    pass  # no picture: its label is drawn
                else:
                    pid = picture % args.pictures if roll > 0.2 else rnd.randrange(args.pictures)
                    picture += roll > 0.2
                    button["image_id"] = "i%d" % pid
                    if pid not in listed:
                        listed.add(pid)
                        images.append({"id": "i%d" % pid, "content_type": "image/png", "width": SIDE,
                                       "height": SIDE, "path": "images/%d.png" % pid})
                if k < 3 and len(sizes) > 1:
                    target = rnd.randrange(len(sizes))
                    button["load_board"] = {"id": str(target), "path": "boards/%d.obf" % target}
                buttons.append(button)
                row.append(str(k))
                if len(row) == columns:
                    order.append(row)
                    row = []
            if row:
                order.append(row + [None] * (columns - len(row)))
            boards[str(b)] = "boards/%d.obf" % b
            z.writestr(boards[str(b)], json.dumps({
                "format": "open-board-0.1", "id": str(b), "name": "Tabella %d" % b, "locale": "it",
                "buttons": buttons, "images": images, "sounds": [],
                "grid": {"rows": len(order), "columns": columns, "order": order}}))
        for e in range(args.empty_boards):
            name = "boards/empty%d.obf" % e
            boards["empty%d" % e] = name
            z.writestr(name, json.dumps({"format": "open-board-0.1", "id": "empty%d" % e,
                                         "name": "Toolbar %d" % e, "buttons": [],
                                         "grid": {"rows": 1, "columns": 1, "order": [[None]]}}))
        z.writestr("manifest.json", json.dumps({"format": "open-board-0.1", "root": "boards/0.obf",
                                                "paths": {"boards": boards}}))
    print("%s: %d boards, %d buttons, %d pictures" % (args.out, len(sizes) + args.empty_boards, total,
                                                      args.pictures))


if __name__ == "__main__":
    main()
