#!/usr/bin/env python3
"""Checks fogloom-render from the outside: its arguments, and the PNGs it writes.

    render_check.py TOOL
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def read_png(path):
    """An 8-bit RGB, non-interlaced PNG as (width, height, rows of bytes)."""
    with open(path, "rb") as f:
        data = f.read()
    check(data[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is no PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    check((depth, colour, interlace) == (8, 2, 0), f"{path}: depth {depth}, colour type {colour}")
    raw = zlib.decompress(idat)
    stride = 3 * width
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 3] if i >= 3 else 0
            up = previous[i]
            upper_left = previous[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else upper_left)) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, rows


class Rand15:
    """The classic C runtime's rand(), as the program's random values use it."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF


def run(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, text=True, timeout=60)


def main():
    tool = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "screen.png")
        canvas = os.path.join(folder, "canvas.png")

        # Bad arguments: a clear message and status 2, and no file.
        bad = [
            [], ["--kind", "squares", "--layers", "5", "--seed", "1"],
            ["--kind", "spirals", "--layers", "5", "--seed", "1", "--out", out],
            ["--kind", "squares", "--layers", "0", "--seed", "1", "--out", out],
            ["--kind", "squares", "--layers", "ten", "--seed", "1", "--out", out],
            ["--kind", "squares", "--layers", "5", "--seed", "1.5", "--out", out],
            ["--kind", "squares", "--layers", "5", "--seed", "1", "--out", out, "--colour", "red"],
            ["--kind", "squares", "--layers", "5", "--seed", "1", "--out"],
        ]
        for args in bad:
            result = run(tool, *args)
            check(result.returncode == 2, f"{args}: status {result.returncode}")
            check("usage: fogloom-render" in result.stderr, f"{args}: no usage message")
            check(not os.path.exists(out), f"{args}: wrote a picture anyway")

        # One layer of squares: the square lies where the seed's random values put it.
        seed = 20261210
        result = run(tool, "--kind", "squares", "--layers", "1", "--seed", str(seed), "--out", out,
                     "--canvas", canvas)
        check(result.returncode == 0, f"status {result.returncode}: {result.stderr}")
        width, height, screen = read_png(out)
        check((width, height) == (272, 480), f"screen PNG of {width}x{height}")
        cwidth, cheight, whole = read_png(canvas)
        check((cwidth, cheight) == (544, 960), f"canvas PNG of {cwidth}x{cheight}")
        for y in range(480):
            check(screen[y] == whole[y + 240][3 * 136:3 * 408], f"screen row {y} is not the canvas's middle")

        rand = Rand15(seed)
        rand.next()  # seeding throws the first value away
        cx = rand.next() * 272 // 32768 + 146
        cy = rand.next() * 480 // 32768 + 250
        s = rand.next() * 14 // 32768 + 6

        def level(x, y):
            r, g, b = whole[y][3 * x:3 * x + 3]
            check(r == g == b, f"canvas pixel {x},{y} is not a neutral grey")
            return r

        # The core's middle is grey all around, so the blur leaves it grey; far away is black.
        check(level(cx, cy) == 0x7F, f"the square's core at {cx},{cy} is {level(cx, cy)}")
        check(level(cx - s, cy) > 0x7F, "the square's left rim is brighter than its core")
        check(level(cx + s + 3, cy) == 0, "nothing right of the square")
        check(level(cx, cy - s - 3) == 0, "nothing above the square")
        check(level(5, 5) == 0 and level(540, 955) == 0, "the canvas corners stay black")

        # The same seed gives the same picture again, every kind.
        for kind in ["circles", "triangles", "squares", "rotated-squares", "stars", "hexagons"]:
            first, second = os.path.join(folder, f"{kind}-1.png"), os.path.join(folder, f"{kind}-2.png")
            for path in (first, second):
                result = run(tool, "--kind", kind, "--layers", "10", "--seed", "7", "--out", path)
                check(result.returncode == 0, f"{kind}: status {result.returncode}")
            check(read_png(first) == read_png(second), f"{kind}: the same seed gave another picture")
            check(any(any(row) for row in read_png(first)[2]), f"{kind}: an empty picture")
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failure as failure:
        print(f"FAILED render check: {failure}", file=sys.stderr)
        sys.exit(1)
