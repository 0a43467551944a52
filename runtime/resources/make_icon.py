#!/usr/bin/env python3
"""Writes setup.ico beside this script: the setup program's icon, a blue
tile with a white "V", at 16x16 and 32x32 pixels with a 16-colour palette.
"""
import os
import struct

PALETTE = [(0, 0, 0), (255, 255, 255), (38, 99, 189), (20, 52, 112)]  # RGB


def pixel(x, y, size):
    """Palette index of pixel (x, y), y from the top; None is transparent."""
    edge = size // 16  # border width
    if x < edge or y < edge or x >= size - edge or y >= size - edge:
        return None
    if x < 2 * edge or y < 2 * edge or x >= size - 2 * edge or y >= size - 2 * edge:
        return 3
    # The "V": two strokes from the top corners meeting at the bottom centre.
    top, bottom = 4 * edge, size - 4 * edge
    if top <= y < bottom:
        t = (y - top) / (bottom - top)
        left = 4 * edge + t * (size / 2 - 4 * edge)
        right = size - 4 * edge - t * (size / 2 - 4 * edge)
        stroke = 2.2 * edge
        if abs(x + 0.5 - left) < stroke or abs(x + 0.5 - right) < stroke:
            return 1
    return 2


def image(size):
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE + [(0, 0, 0)] * 12)
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):  # bottom-up rows
        indices = [pixel(x, y, size) for x in range(size)]
        nibbles = [0 if i is None else i for i in indices]
        row = bytes((nibbles[x] << 4) | nibbles[x + 1] for x in range(0, size, 2))
        xor_rows.append(row + b"\0" * (-len(row) % 4))
        mask = 0
        for x, i in enumerate(indices):
            mask = (mask << 1) | (1 if i is None else 0)
        row = mask.to_bytes(size // 8, "big")
        and_rows.append(row + b"\0" * (-len(row) % 4))
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, 0, 0, 0, 16, 0)
    return header + colours + b"".join(xor_rows) + b"".join(and_rows)


def main():
    sizes = [16, 32]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "setup.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
