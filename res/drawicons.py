#!/usr/bin/env python3
"""Draws telvane's two tray and program icons: 100 offline (grey) and 101 online (green).

A rounded screen with a small bar chart, in 16 x 16 and 32 x 32, 32-bit with alpha.
Run from this folder: python3 drawicons.py (writes offline.ico and online.ico)."""
import struct


def pixels(size, body, bars):
    rows = []
    radius = size * 0.22
    for y in range(size):
        row = []
        for x in range(size):
            cx = min(max(x + 0.5, radius), size - radius)
            cy = min(max(y + 0.5, radius), size - radius)
            inside = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius
            if not inside:
                row.append((0, 0, 0, 0))
                continue
            colour = body
            # Three bars rising to the right, like the window's daily chart.
            unit = size / 16.0
            for index, height in enumerate((4, 7, 10)):
                left = (3 + index * 4) * unit
                if left <= x < left + 3 * unit and size - 3 * unit - height * unit <= y < size - 3 * unit:
                    colour = bars
            row.append(colour + (255,))
        rows.append(row)
    return rows


def icon_image(size, body, bars):
    image = pixels(size, body, bars)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    data = bytearray()
    for row in reversed(image):
        for r, g, b, a in row:
            data += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(image):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bits
    return header + bytes(data)


def write_icon(path, body, bars):
    images = [icon_image(size, body, bars) for size in (16, 32)]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(path, 'wb') as f:
        f.write(out)


write_icon('offline.ico', (0x70, 0x78, 0x80), (0xE8, 0xEC, 0xF0))
write_icon('online.ico', (0x1E, 0x8C, 0x3C), (0xF0, 0xFF, 0xA0))
