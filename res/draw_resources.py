#!/usr/bin/python3
"""Draws telvane's own pictures into res/art/ (run it again after changing one):

  offline.ico, online.ico    icons 100 and 101 of the notification area, 16 and 32 pixels
  about.png                  PNG 20: 493 x 464 truecolour, the about dialog's background pattern
  help_alpha.png             PNG 21: 40 x 20 truecolour with alpha
  help_256.png               PNG 22: 40 x 20 palette, 8-bit, with tRNS
  help_16.png                PNG 23: 40 x 20 palette, 4-bit, with tRNS

The help pictures are two 20 x 20 pictures side by side: 0 while the options sheet's help
panel is open (a filled disc with a question mark), 1 while it is closed (a ring).
"""
import math
import os
import struct
import zlib

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ART = os.path.join(HERE, "art")
SCALE = 8
TEAL = (63, 182, 168)
TEAL_DARK = (30, 110, 102)
SLATE = (52, 62, 76)
FONT = "/usr/share/wine/fonts/tahomabd.ttf"


def smooth(size, draw_function):
    """Draws at SCALE times the size and reduces, for soft edges."""
    big = Image.new("RGBA", (size[0] * SCALE, size[1] * SCALE), (0, 0, 0, 0))
    draw_function(ImageDraw.Draw(big), SCALE)
    return big.resize(size, Image.LANCZOS)


# ----------------------------------------------------------------------------------------
# Icons: a plug socket in a rounded square; grey while offline, teal with a signal while online.

def icon_picture(size, online):
    def draw(d, s):
        n = size * s
        face = TEAL if online else (120, 128, 138)
        edge = TEAL_DARK if online else (70, 76, 84)
        d.rounded_rectangle([s * 0.5, s * 0.5, n - s * 0.5, n - s * 0.5], radius=n * 0.22, fill=face + (255,),
                            outline=edge + (255,), width=max(s, n // 16))
        # Two curved signal bars rising from the lower left corner.
        cx, cy = n * 0.28, n * 0.74
        for i, radius in enumerate((n * 0.26, n * 0.46)):
            width = int(n * 0.09)
            colour = (255, 255, 255, 255) if online or i == 0 else (255, 255, 255, 120)
            d.arc([cx - radius, cy - radius, cx + radius, cy + radius], start=270, end=360, fill=colour, width=width)
        r = n * 0.08
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(255, 255, 255, 255))
        if not online:  # a slash: no connection
            d.line([n * 0.62, n * 0.22, n * 0.84, n * 0.44], fill=(255, 255, 255, 255), width=int(n * 0.08))
            d.line([n * 0.62, n * 0.44, n * 0.84, n * 0.22], fill=(255, 255, 255, 255), width=int(n * 0.08))

    return smooth((size, size), draw)


def write_ico(path, pictures):
    """An icon file of 32-bit device-independent pictures (with their AND masks)."""
    entries = []
    blobs = []
    for picture in pictures:
        w, h = picture.size
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = picture.getpixel((x, y))
                xor += bytes((b, g, r, a))
        mask_stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(w):
                if picture.getpixel((x, y))[3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(header + bytes(xor) + bytes(mask))
        entries.append((w, h))
    offset = 6 + 16 * len(pictures)
    out = struct.pack("<HHH", 0, 1, len(pictures))
    for (w, h), blob in zip(entries, blobs):
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


# ----------------------------------------------------------------------------------------
# The about dialog's background: a quiet tile of soft waves, seamless when repeated. The
# dialog draws its texts in white and its link in light blue straight onto it, so the tile
# stays dark throughout: even its brightest pixel keeps white text at a contrast above 7:1.

def about_picture():
    w, h = 493, 464
    picture = Image.new("RGB", (w, h))
    pixels = picture.load()
    for y in range(h):
        for x in range(w):
            # Whole periods across the tile, so that it repeats without seams.
            u = 2 * math.pi * x / w
            v = 2 * math.pi * y / h
            wave = math.sin(3 * u + 2 * math.sin(2 * v)) * 0.5 + math.sin(4 * v - u) * 0.5
            t = 0.5 + 0.5 * wave
            base = (20, 32, 44)
            tint = (28, 66, 72)
            pixels[x, y] = tuple(int(base[i] + (tint[i] - base[i]) * t) for i in range(3))
    return picture


# ----------------------------------------------------------------------------------------
# The help toggle: open (filled disc) and closed (ring), each 20 x 20.

def help_picture():
    def draw(d, s):
        font = ImageFont.truetype(FONT, 14 * s)
        for index, filled in enumerate((True, False)):
            x0 = index * 20 * s
            box = [x0 + 1.5 * s, 1.5 * s, x0 + 18.5 * s, 18.5 * s]
            if filled:
                d.ellipse(box, fill=TEAL + (255,), outline=TEAL_DARK + (255,), width=s)
                colour = (255, 255, 255, 255)
            else:
                d.ellipse(box, fill=(255, 255, 255, 255), outline=TEAL + (255,), width=int(1.6 * s))
                colour = TEAL_DARK + (255,)
            left, top, right, bottom = d.textbbox((0, 0), "?", font=font)
            d.text((x0 + 10 * s - (left + right) / 2, 10 * s - (top + bottom) / 2), "?", font=font, fill=colour)

    return smooth((40, 20), draw)


def palette_version(picture, colours):
    """The picture on a palette of `colours` entries whose entry 0 is transparent."""
    opaque = Image.new("RGB", picture.size, (255, 255, 255))
    opaque.paste(picture, (0, 0), picture)
    reduced = opaque.quantize(colors=colours - 1, method=Image.MEDIANCUT, dither=Image.NONE)
    palette = reduced.getpalette()[: 3 * (colours - 1)]
    palette += [0] * (3 * (colours - 1) - len(palette))
    result = Image.new("P", picture.size, 0)
    result.putpalette([255, 0, 255] + palette)  # entry 0: magenta, never shown
    source = reduced.load()
    target = result.load()
    alpha = picture.getchannel("A").load()
    for y in range(picture.size[1]):
        for x in range(picture.size[0]):
            target[x, y] = 0 if alpha[x, y] < 128 else source[x, y] + 1
    return result


def main():
    os.makedirs(ART, exist_ok=True)
    write_ico(os.path.join(ART, "offline.ico"), [icon_picture(16, False), icon_picture(32, False)])
    write_ico(os.path.join(ART, "online.ico"), [icon_picture(16, True), icon_picture(32, True)])
    about_picture().save(os.path.join(ART, "about.png"), optimize=True)
    helps = help_picture()
    helps.save(os.path.join(ART, "help_alpha.png"), optimize=True)
    palette_version(helps, 256).save(os.path.join(ART, "help_256.png"), bits=8, transparency=0)
    palette_version(helps, 16).save(os.path.join(ART, "help_16.png"), bits=4, transparency=0)


if __name__ == "__main__":
    main()
