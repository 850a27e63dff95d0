#!/usr/bin/python3
"""Draws telvane's skins: every picture and the skin.xml that places them.

Run it to make the skins again after changing a colour or a position:
    skins/draw_skins.py            writes skins/default/ and skins/paper/
    skins/draw_skins.py --preview docs/skin-default.png
                                   also composes the default skin as the window shows it

The layout is shared by both skins; the outline, colours and pictures differ. Coordinates are
window client pixels. Colours in skin.xml are GDI colour references (0x00BBGGRR), so they are
written from the RGB triples below by bgr().
"""
import argparse
import math
import os

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
SCALE = 4  # shapes are drawn four times larger and reduced, for smooth edges
WINE_FONTS = "/usr/share/wine/fonts"

WIDTH, HEIGHT = 434, 334

# name: (x, y, width, height, textalign). The Summary's column headings stand over it and its
# row names to its left; the list's column headings stand over the Log area, whose right margin
# holds the live graph's labels (LogText) and, while the list shows, its scroll bar (LogScroll).
ELEMENTS = {
    "Heading": (52, 12, 270, 18, "lc"),
    "DataText": (17, 38, 30, 58, None),
    "Data": (51, 50, 155, 44, None),
    "DataSummary": (38, 97, 168, 13, "cc"),
    "TimeText": (234, 38, 30, 58, None),
    "Time": (268, 50, 155, 44, None),
    "TimeSummary": (255, 97, 168, 13, "cc"),
    "SummaryColumns": (60, 115, 334, 12, None),
    "SummaryRows": (34, 128, 62, 39, None),
    "Summary": (60, 128, 334, 39, None),
    "LogColumns": (38, 172, 358, 12, None),
    "Log": (38, 185, 358, 116, None),
    "LogText": (396, 180, 27, 121, None),
    "LogScroll": (416, 185, 4, 116, None),
    "StatusText": (14, 310, 406, 16, "lc"),
    # The year at a glance takes the month's panels: volume and time where the month's charts
    # are (beside the panels' icons), the year's totals in the Summary's panel, and the cost chart
    # over the list's.
    "YearData": (38, 40, 168, 70, None),
    "YearTime": (255, 40, 168, 70, None),
    "YearSummary": (40, 117, 380, 46, "lc"),
    "YearCost": (40, 176, 380, 122, None),
}
BUTTONS = {
    "MenuButton": (9, 9, 28, 28),
    "TariffButton": (336, 12, 26, 18),
    "MinimizeButton": (367, 12, 26, 18),
    "CloseButton": (398, 12, 26, 18),
}
FILES = {"MenuButton": "menu", "TariffButton": "tariff", "MinimizeButton": "minimize", "CloseButton": "close"}
STATES = ("enabled", "hilight", "pressed")


def bgr(rgb):
    r, g, b = rgb
    return "%06x" % (b << 16 | g << 8 | r)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def scaled(box):
    return [v * SCALE for v in box]


class Canvas:
    """A picture drawn at SCALE times its size and reduced when done."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.image = Image.new("RGBA", (width * SCALE, height * SCALE), fill)

    def layer(self):
        return Image.new("RGBA", self.image.size, (0, 0, 0, 0))

    def paste(self, layer):
        self.image = Image.alpha_composite(self.image, layer)

    def result(self):
        return self.image.resize((self.width, self.height), Image.LANCZOS)


def vertical_gradient(size, top, bottom):
    width, height = size
    column = Image.new("RGBA", (1, height))
    for y in range(height):
        column.putpixel((0, y), mix(top, bottom, y / max(1, height - 1)) + (255,))
    return column.resize((width, height))


def rounded_mask(size, box, radius):
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius, fill=255)
    return mask


def fill_gradient(canvas, box, radius, top, bottom, alpha=255):
    """Fills a rounded box (window pixels) with a vertical gradient."""
    box = scaled(box)
    gradient = vertical_gradient(canvas.image.size, top, bottom)
    mask = rounded_mask(canvas.image.size, box, radius * SCALE)
    if alpha != 255:
        mask = mask.point(lambda v: v * alpha // 255)
    layer = canvas.layer()
    layer.paste(gradient, (0, 0), mask)
    canvas.paste(layer)


def outline_box(canvas, box, radius, color, width=1):
    layer = canvas.layer()
    ImageDraw.Draw(layer).rounded_rectangle(scaled(box), radius=radius * SCALE, outline=color, width=width * SCALE)
    canvas.paste(layer)


def lines(canvas, segments, color, width):
    layer = canvas.layer()
    draw = ImageDraw.Draw(layer)
    for segment in segments:
        draw.line([v * SCALE for v in segment], fill=color, width=int(width * SCALE), joint="curve")
        for x, y in (segment[:2], segment[-2:]):  # round caps
            r = width * SCALE / 2
            draw.ellipse([x * SCALE - r, y * SCALE - r, x * SCALE + r, y * SCALE + r], fill=color)
    canvas.paste(layer)


def recessed_panel(canvas, box, theme):
    """A sunken panel: darker face, shadow along the top, light along the bottom."""
    x0, y0, x1, y1 = box
    fill_gradient(canvas, (x0, y0 + 1, x1, y1 + 1), 5, theme["edge_light"], theme["edge_light"])
    fill_gradient(canvas, box, 5, theme["panel_top"], theme["panel_bottom"])
    outline_box(canvas, box, 5, theme["panel_edge"] + (255,))


# ----------------------------------------------------------------------------------------
# Outlines: the shapes of the MainWindow region, and the same shapes as a picture mask.

def default_outline():
    """A rounded body with a disc at the top left that carries the menu button."""
    return [
        ("ellipse", 0, 0, 46, 46),
        ("rectangle", 18, 8, 403, HEIGHT - 9),
        ("rectangle", 6, 20, 427, HEIGHT - 33),
        ("ellipse", 6, 8, 24, 24),
        ("ellipse", 410, 8, 24, 24),
        ("ellipse", 6, HEIGHT - 24, 24, 24),
        ("ellipse", 410, HEIGHT - 24, 24, 24),
    ]


def paper_outline():
    """Chamfered corners and a tab at the bottom that holds the status line."""
    h = HEIGHT
    return [
        ("polyline", 0, 0, [14, 0, 419, 0, 433, 14, 433, h - 44, 419, h - 30, 14, h - 30, 0, h - 44, 0, 14]),
        ("polyline", 0, 0, [10, h - 36, 423, h - 36, 423, h - 10, 413, h - 1, 20, h - 1, 10, h - 10]),
        ("ellipse", 0, 0, 46, 46),
    ]


def outline_mask(shapes):
    """The pixels the shapes cover, with the coverage rules of the skin loader."""
    mask = Image.new("L", (WIDTH, HEIGHT), 0)
    draw = ImageDraw.Draw(mask)
    for shape in shapes:
        kind = shape[0]
        if kind == "rectangle":
            _, x, y, w, h = shape
            draw.rectangle([x, y, x + w, y + h], fill=255)  # both edges inside
        elif kind == "ellipse":
            _, x, y, w, h = shape
            # The elliptic region of the box, right and bottom edges excluded.
            cx, cy, rx, ry = x + w / 2, y + h / 2, w / 2, h / 2
            for py in range(y, y + h):
                for px in range(x, x + w):
                    if ((px + 0.5 - cx) / rx) ** 2 + ((py + 0.5 - cy) / ry) ** 2 <= 1.0:
                        mask.putpixel((px, py), 255)
        else:
            _, x, y, numbers = shape
            points = [(x + numbers[i], y + numbers[i + 1]) for i in range(0, len(numbers), 2)]
            # A polygon region leaves out its right and bottom edges: fill, then take them off.
            big = Image.new("L", (WIDTH * SCALE, HEIGHT * SCALE), 0)
            ImageDraw.Draw(big).polygon([(px * SCALE, py * SCALE) for px, py in points], fill=255)
            small = big.resize((WIDTH, HEIGHT), Image.BOX).point(lambda v: 255 if v >= 128 else 0)
            mask = ImageChops.lighter(mask, small)
            draw = ImageDraw.Draw(mask)
    return mask


def shrunk(mask):
    """The mask less one pixel all round; the picture's border counts as outside."""
    padded = Image.new("L", (mask.width + 2, mask.height + 2), 0)
    padded.paste(mask, (1, 1))
    return padded.filter(ImageFilter.MinFilter(3)).crop((1, 1, mask.width + 1, mask.height + 1))


def shape_xml(shape, indent="    "):
    kind = shape[0]
    if kind == "polyline":
        _, x, y, numbers = shape
        text = " ".join(str(v) for v in numbers)
        return '%s<polyline x="%d" y="%d" mode="add">%s</polyline>' % (indent, x, y, text)
    _, x, y, w, h = shape
    return '%s<%s x="%d" y="%d" width="%d" height="%d" mode="add"/>' % (indent, kind, x, y, w, h)


# ----------------------------------------------------------------------------------------
# Themes

DEFAULT_THEME = {
    "name": "default",
    "outline": default_outline,
    "body_top": (48, 58, 71), "body_bottom": (30, 36, 44),
    "title_top": (63, 76, 92), "title_bottom": (47, 57, 69),
    "accent": (63, 182, 168), "accent_dark": (33, 120, 112), "accent_light": (120, 222, 208),
    "panel_top": (20, 25, 31), "panel_bottom": (24, 30, 37), "panel_edge": (14, 17, 21),
    "edge_light": (70, 84, 100), "rim": (16, 19, 24),
    "grid": (40, 48, 58),
    "button_top": (74, 89, 107), "button_bottom": (58, 70, 85), "button_edge": (30, 36, 44),
    "glyph": (222, 230, 238),
    "hilight_top": (92, 112, 134), "hilight_bottom": (70, 86, 104),
    "pressed_top": (33, 40, 49), "pressed_bottom": (44, 53, 64),
    "close_hilight_top": (214, 84, 84), "close_hilight_bottom": (176, 56, 60),
    "status_top": (26, 31, 38), "status_bottom": (22, 26, 32),
    "fonts": {
        "Heading": ("Tahoma", 13, True, (255, 255, 255)),
        "Text": ("Tahoma", 10, False, (201, 211, 221)),
        "Sent": ("Tahoma", 11, True, (255, 166, 77)),
        "Received": ("Tahoma", 11, True, (77, 208, 225)),
        "Summary": ("Tahoma", 10, False, (242, 209, 107)),
        "Data": ("Tahoma", 11, True, (63, 200, 184)),
        "Time": ("Tahoma", 11, True, (154, 140, 255)),
    },
}

PAPER_THEME = {
    "name": "paper",
    "outline": paper_outline,
    "body_top": (246, 241, 231), "body_bottom": (232, 224, 210),
    "title_top": (226, 214, 194), "title_bottom": (214, 200, 178),
    "accent": (196, 92, 52), "accent_dark": (150, 64, 34), "accent_light": (230, 140, 100),
    "panel_top": (255, 252, 246), "panel_bottom": (250, 246, 238), "panel_edge": (196, 184, 164),
    "edge_light": (255, 255, 255), "rim": (150, 136, 114),
    "grid": (232, 224, 212),
    "button_top": (240, 232, 218), "button_bottom": (222, 210, 190), "button_edge": (160, 146, 124),
    "glyph": (86, 70, 52),
    "hilight_top": (252, 246, 236), "hilight_bottom": (236, 224, 204),
    "pressed_top": (200, 186, 164), "pressed_bottom": (214, 202, 182),
    "close_hilight_top": (214, 84, 70), "close_hilight_bottom": (180, 60, 48),
    "status_top": (220, 208, 188), "status_bottom": (210, 196, 174),
    "fonts": {
        "Heading": ("Tahoma", 13, True, (96, 52, 30)),
        "Text": ("Tahoma", 10, False, (70, 60, 48)),
        "Sent": ("Tahoma", 11, True, (200, 90, 30)),
        "Received": ("Tahoma", 11, True, (30, 110, 160)),
        "Summary": ("Tahoma", 10, False, (120, 70, 20)),
        "Data": ("Tahoma", 11, True, (60, 130, 90)),
        "Time": ("Tahoma", 11, True, (120, 80, 160)),
    },
}


def desaturated(theme):
    """The inactive window: the same picture with the colour taken out of the accents."""
    grey = dict(theme)
    for key in ("accent", "accent_dark", "accent_light", "title_top", "title_bottom"):
        r, g, b = theme[key]
        level = int(0.3 * r + 0.59 * g + 0.11 * b)
        grey[key] = mix((r, g, b), (level, level, level), 0.85)
    return grey


# ----------------------------------------------------------------------------------------
# Glyphs of the buttons, drawn in a box of window pixels.

def glyph_menu(canvas, box, color, offset):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2 + offset, (y0 + y1) / 2 + offset
    lines(canvas, [(cx - 6, cy + d, cx + 6, cy + d) for d in (-4, 0, 4)], color, 1.6)


def glyph_tariff(canvas, box, color, offset):
    """A price tag with its hole."""
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2 + offset, (y0 + y1) / 2 + offset
    tag = [(cx - 7, cy - 4), (cx + 3, cy - 4), (cx + 7, cy), (cx + 3, cy + 4), (cx - 7, cy + 4)]
    layer = canvas.layer()
    draw = ImageDraw.Draw(layer)
    draw.polygon([(x * SCALE, y * SCALE) for x, y in tag], outline=color, width=int(1.5 * SCALE))
    r = 1.3 * SCALE
    draw.ellipse([(cx + 2.5) * SCALE - r, cy * SCALE - r, (cx + 2.5) * SCALE + r, cy * SCALE + r], fill=color)
    canvas.paste(layer)
    lines(canvas, [(cx - 4.5, cy - 1.2, cx - 0.5, cy - 1.2), (cx - 4.5, cy + 1.6, cx - 1.5, cy + 1.6)], color, 1)


def glyph_minimize(canvas, box, color, offset):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2 + offset, (y0 + y1) / 2 + offset
    lines(canvas, [(cx - 5, cy + 3, cx + 5, cy + 3)], color, 2)


def glyph_close(canvas, box, color, offset):
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2 + offset, (y0 + y1) / 2 + offset
    lines(canvas, [(cx - 4, cy - 4, cx + 4, cy + 4), (cx - 4, cy + 4, cx + 4, cy - 4)], color, 1.8)


GLYPHS = {"MenuButton": glyph_menu, "TariffButton": glyph_tariff, "MinimizeButton": glyph_minimize,
          "CloseButton": glyph_close}


def draw_button(canvas, name, state, theme):
    """One button in one state, into the canvas at its window position."""
    x, y, w, h = BUTTONS[name]
    box = (x, y, x + w - 1, y + h - 1)
    offset = 1 if state == "pressed" else 0
    if name == "MenuButton":
        top, bottom, edge = theme["accent_light"], theme["accent_dark"], theme["rim"]
        if state == "hilight":
            top, bottom = mix(theme["accent_light"], (255, 255, 255), 0.35), theme["accent"]
        elif state == "pressed":
            top, bottom = theme["accent_dark"], theme["accent"]
        layer = canvas.layer()
        gradient = vertical_gradient(canvas.image.size, top, bottom)
        mask = Image.new("L", canvas.image.size, 0)
        ImageDraw.Draw(mask).ellipse(scaled((x, y, x + w - 1, y + h - 1)), fill=255)
        layer.paste(gradient, (0, 0), mask)
        ImageDraw.Draw(layer).ellipse(scaled((x, y, x + w - 1, y + h - 1)), outline=edge + (255,), width=SCALE)
        canvas.paste(layer)
        glyph_menu(canvas, box, (255, 255, 255, 255), offset)
        return
    top, bottom = theme["button_top"], theme["button_bottom"]
    if state == "hilight":
        if name == "CloseButton":
            top, bottom = theme["close_hilight_top"], theme["close_hilight_bottom"]
        else:
            top, bottom = theme["hilight_top"], theme["hilight_bottom"]
    elif state == "pressed":
        top, bottom = theme["pressed_top"], theme["pressed_bottom"]
    fill_gradient(canvas, box, 4, top, bottom)
    outline_box(canvas, box, 4, theme["button_edge"] + (255,))
    if state != "pressed":  # a light line under the top edge makes the face stand out
        lines(canvas, [(x + 3, y + 1.2, x + w - 4, y + 1.2)], mix(top, (255, 255, 255), 0.35) + (150,), 0.8)
    glyph = theme["glyph"]
    if state == "hilight" and name == "CloseButton":
        glyph = (255, 255, 255)
    GLYPHS[name](canvas, box, glyph + (255,), offset)


# ----------------------------------------------------------------------------------------
# The background

def chart_icon_data(canvas, x, y, color):
    """Arrows down and up: traffic."""
    lines(canvas, [(x + 3, y + 1, x + 3, y + 10), (x + 0.5, y + 7.5, x + 3, y + 10), (x + 5.5, y + 7.5, x + 3, y + 10)],
          color, 1.3)
    lines(canvas, [(x + 9, y + 1, x + 9, y + 10), (x + 6.5, y + 3.5, x + 9, y + 1), (x + 11.5, y + 3.5, x + 9, y + 1)],
          color, 1.3)


def chart_icon_time(canvas, x, y, color):
    """A clock face: online time."""
    layer = canvas.layer()
    ImageDraw.Draw(layer).ellipse(scaled((x + 0.5, y + 0.5, x + 11.5, y + 11.5)), outline=color, width=int(1.3 * SCALE))
    canvas.paste(layer)
    lines(canvas, [(x + 6, y + 3, x + 6, y + 6.3), (x + 6, y + 6.3, x + 8.5, y + 7.8)], color, 1.2)


def chart_icon_sum(canvas, x, y, color):
    """A coin stack: the costs of the month."""
    layer = canvas.layer()
    draw = ImageDraw.Draw(layer)
    for i in range(3):
        draw.ellipse(scaled((x + 0.5, y + 7 - 3 * i, x + 11.5, y + 11 - 3 * i)), outline=color, width=int(1.2 * SCALE))
    canvas.paste(layer)


def draw_background(theme, active):
    t = theme if active else desaturated(theme)
    canvas = Canvas(WIDTH, HEIGHT)
    fill_gradient(canvas, (0, 0, WIDTH - 1, HEIGHT - 1), 0, t["body_top"], t["body_bottom"])
    # Title strip with an accent line under it.
    fill_gradient(canvas, (0, 0, WIDTH - 1, 35), 0, t["title_top"], t["title_bottom"])
    lines(canvas, [(0, 36.5, WIDTH, 36.5)], t["accent"] + (190,), 1)
    lines(canvas, [(0, 37.5, WIDTH, 37.5)], (0, 0, 0, 70), 1)

    # Chart panels with faint guide lines, and their summary icons.
    for chart, text, summary, icon in (("Data", "DataText", "DataSummary", chart_icon_data),
                                       ("Time", "TimeText", "TimeSummary", chart_icon_time)):
        cx, cy, cw, ch, _ = ELEMENTS[chart]
        tx, ty, _, _, _ = ELEMENTS[text]
        sx, sy, sw, sh, _ = ELEMENTS[summary]
        recessed_panel(canvas, (tx - 5, ty - 1, cx + cw + 4, sy + sh + 2), t)
        for i in (1, 2, 3):
            gy = cy + ch * i / 4 - 0.5
            lines(canvas, [(cx, gy, cx + cw - 1, gy)], t["grid"] + (255,), 0.6)
        lines(canvas, [(cx, cy + ch - 0.5, cx + cw - 1, cy + ch - 0.5)], mix(t["grid"], t["edge_light"], 0.6) + (255,),
              0.8)
        icon(canvas, tx + 5, sy + 1, t["accent"] + (230,))

    # The summary and the log have a sunken panel each, with a rule under their column
    # headings; the row numbers of the list stand in its left margin, the live graph's labels
    # and the list's scroll bar in its right margin.
    cx, cy, cw, ch, _ = ELEMENTS["SummaryColumns"]
    sx, sy, sw, sh, _ = ELEMENTS["Summary"]
    hx, hy, hw, hh, _ = ELEMENTS["LogColumns"]
    lx, ly, lw, lh, _ = ELEMENTS["Log"]
    recessed_panel(canvas, (12, cy - 2, WIDTH - 7, sy + sh), t)
    chart_icon_sum(canvas, 18, cy + 1, t["accent"] + (230,))
    lines(canvas, [(18, cy + ch + 0.5, cx + cw, cy + ch + 0.5)], t["grid"] + (255,), 0.8)
    recessed_panel(canvas, (12, hy - 3, WIDTH - 7, ly + lh + 2), t)
    lines(canvas, [(18, hy + hh + 0.5, lx + lw, hy + hh + 0.5)], t["grid"] + (255,), 0.8)
    for i in (1, 2, 3):
        gy = ly + lh * i / 4 - 0.5
        lines(canvas, [(lx, gy, lx + lw - 1, gy)], t["grid"] + (140,), 0.6)

    # Status strip along the bottom.
    stx, sty, stw, sth, _ = ELEMENTS["StatusText"]
    fill_gradient(canvas, (8, sty - 3, WIDTH - 9, sty + sth + 2), 4, t["status_top"], t["status_bottom"])
    lines(canvas, [(10, sty - 3.5, WIDTH - 10, sty - 3.5)], t["edge_light"] + (120,), 0.8)

    # The disc at the top left behind the menu button.
    layer = canvas.layer()
    ImageDraw.Draw(layer).ellipse(scaled((0, 0, 45, 45)), fill=t["title_top"] + (255,))
    canvas.paste(layer)
    layer = canvas.layer()
    ImageDraw.Draw(layer).ellipse(scaled((3, 3, 42, 42)), outline=t["accent"] + (160,), width=SCALE)
    canvas.paste(layer)

    for name in BUTTONS:
        draw_button(canvas, name, "enabled", t)

    picture = canvas.result()
    # A dark rim just inside the outline gives the window its edge. Everything outside the
    # outline gets the rim's colour as well: where the system's region takes a pixel more than
    # this mask (the ends of an ellipse), the edge stays dark instead of showing the body.
    mask = outline_mask(theme["outline"]())
    inner = shrunk(mask)
    picture.paste(Image.new("RGBA", picture.size, t["rim"] + (255,)), (0, 0), ImageChops.invert(inner))
    highlight = ImageChops.subtract(inner, shrunk(inner))
    top_half = Image.new("L", picture.size, 0)
    ImageDraw.Draw(top_half).rectangle([0, 0, WIDTH, 40], fill=90)
    picture.paste(Image.new("RGBA", picture.size, (255, 255, 255, 255)), (0, 0), ImageChops.multiply(highlight, top_half))
    return picture.convert("RGB")


def button_picture(theme, name, state):
    """A button's picture: the size of its element, the background under it included."""
    background = draw_background(theme, True)
    x, y, w, h = BUTTONS[name]
    canvas = Canvas(WIDTH, HEIGHT)
    canvas.image = background.convert("RGBA").resize((WIDTH * SCALE, HEIGHT * SCALE), Image.NEAREST)
    draw_button(canvas, name, state, theme)
    return canvas.result().crop((x, y, x + w, y + h)).convert("RGB")


# ----------------------------------------------------------------------------------------
# skin.xml

def skin_xml(theme):
    out = ['<?xml version="1.0" encoding="ISO-8859-1"?>',
           "<skin>",
           "  <!-- Made by skins/draw_skins.py: change the script and run it again. -->",
           '  <region type="MainWindow" x="0" y="0" width="%d" height="%d">' % (WIDTH, HEIGHT)]
    out += [shape_xml(shape) for shape in theme["outline"]()]
    out += ['    <image type="enabled" name="background.png"/>',
            '    <image type="disabled" name="background_inactive.png"/>',
            "  </region>"]
    for name, (x, y, w, h, align) in ELEMENTS.items():
        extra = ' textalign="%s"' % align if align else ""
        out.append('  <region type="%s" x="%d" y="%d" width="%d" height="%d"%s/>' % (name, x, y, w, h, extra))
    for name, (x, y, w, h) in BUTTONS.items():
        out.append('  <region type="%s" x="%d" y="%d" width="%d" height="%d">' % (name, x, y, w, h))
        if name == "MenuButton":
            out.append('    <ellipse x="0" y="0" width="%d" height="%d" mode="add"/>' % (w, h))
        for state in STATES:
            out.append('    <image type="%s" name="%s_%s.png"/>' % (state, FILES[name], state))
        out.append("  </region>")
    out.append("  <fonts>")
    for slot, (face, size, bold, color) in theme["fonts"].items():
        out.append('    <font type="%s" face="%s" size="%d" bold="%s" color="%s"/>'
                   % (slot, face, size, "true" if bold else "false", bgr(color)))
    out.append("  </fonts>")
    out.append("</skin>")
    return "\r\n".join(out) + "\r\n"


def write_skin(theme, folder):
    os.makedirs(folder, exist_ok=True)
    draw_background(theme, True).save(os.path.join(folder, "background.png"), optimize=True)
    draw_background(theme, False).save(os.path.join(folder, "background_inactive.png"), optimize=True)
    for name in BUTTONS:
        for state in STATES:
            button_picture(theme, name, state).save(os.path.join(folder, "%s_%s.png" % (FILES[name], state)),
                                                    optimize=True)
    with open(os.path.join(folder, "skin.xml"), "w", newline="") as f:
        f.write(skin_xml(theme))


# ----------------------------------------------------------------------------------------
# A preview of the window as it appears: the outline cut from the background on a desktop,
# one button lit and one pressed, and sample figures in the skin's fonts.

def preview(theme, path):
    folder = os.path.join(HERE, theme["name"])
    window = Image.open(os.path.join(folder, "background.png")).convert("RGBA")
    for name, state in (("TariffButton", "hilight"), ("CloseButton", "pressed")):
        x, y, w, h = BUTTONS[name]
        window.paste(Image.open(os.path.join(folder, "%s_%s.png" % (FILES[name], state))), (x, y))
    draw = ImageDraw.Draw(window)

    def font(slot):
        face, size, bold, color = theme["fonts"][slot]
        # Tahoma's em is taller than its character height: a size-11 character height is
        # roughly a 13-pixel em.
        f = ImageFont.truetype(os.path.join(WINE_FONTS, "tahomabd.ttf" if bold else "tahoma.ttf"),
                               int(round(size * 1.2)))
        return f, color + (255,)

    def text(element, value, slot, align=None):
        x, y, w, h, element_align = ELEMENTS[element]
        f, color = font(slot)
        align = align or element_align or "lt"
        left, top, right, bottom = draw.textbbox((0, 0), value, font=f)
        tx = x if align[0] == "l" else x + (w - right) // 2 if align[0] == "c" else x + w - right
        ty = y if align[1:] in ("", "t") else y + (h - bottom) // 2 if align[1] == "c" else y + h - bottom
        draw.text((tx, ty), value, font=f, fill=color)

    text("Heading", "Statistik für Dezember 2026", "Heading")
    for chart, slot, days, unit, total in (("Data", "Data", [3, 0, 8, 5, 12, 2, 0, 9, 14, 6, 4, 7], "MB", "96.4 MB"),
                                           ("Time", "Time", [40, 0, 75, 30, 95, 20, 0, 60, 110, 45, 35, 50], "h:mm",
                                            "9:30:00")):
        x, y, w, h, _ = ELEMENTS[chart]
        pitch = (w + 1) // 31
        peak = max(days)
        _, color = font(slot)
        for d, v in enumerate(days):
            if v:
                draw.rectangle([x + d * pitch, y + h - round(v * h / peak), x + d * pitch + pitch - 2, y + h - 1],
                               fill=color)
        text(chart + "Text", unit, "Text", "ct")
        text(chart + "Summary", total, "Text")
    f, color = font("Summary")
    sx, sy, sw, sh, _ = ELEMENTS["Summary"]
    rows = [("96.4 MB", "+46.4 MB", "", "9,64 €"), ("", "", "", ""), ("", "", "", "14,59 €")]
    for r, row in enumerate(rows):
        for k, cell in enumerate(row):
            if cell:
                right = draw.textbbox((0, 0), cell, font=f)[2]
                draw.text((sx + (k + 1) * (sw // 4) - right, sy + r * 13), cell, font=f, fill=color)
    lx, ly, lw, lh, _ = ELEMENTS["Log"]
    for i, row in enumerate(["01.12.2026    08:14:10    0:12:30    3.21 MB", "02.12.2026    19:02:44    1:03:00    18.7 MB"]):
        draw.text((lx + 4, ly + 2 + 13 * i), row, font=f, fill=color)
        right = draw.textbbox((0, 0), "%d." % (i + 1), font=f)[2]
        draw.text((lx - 3 - right, ly + 2 + 13 * i), "%d." % (i + 1), font=f, fill=color)
    text("StatusText", "Provider (10.0.0.1)", "Text")

    mask = outline_mask(theme["outline"]())
    desk = Image.new("RGBA", (WIDTH + 48, HEIGHT + 48), (58, 110, 165, 255))
    shadow = Image.new("RGBA", desk.size, (0, 0, 0, 0))
    shadow.paste(Image.new("RGBA", (WIDTH, HEIGHT), (0, 0, 0, 110)), (28, 30), mask)
    desk = Image.alpha_composite(desk, shadow.filter(ImageFilter.GaussianBlur(5)))
    desk.paste(window, (24, 24), mask)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    desk.convert("RGB").save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=HERE, help="folder that receives the skin folders")
    parser.add_argument("--preview", help="also write a preview of the default skin to this PNG")
    parser.add_argument("--preview-paper", help="also write a preview of the paper skin to this PNG")
    args = parser.parse_args()
    for theme in (DEFAULT_THEME, PAPER_THEME):
        write_skin(theme, os.path.join(args.out, theme["name"]))
    if args.preview:
        preview(DEFAULT_THEME, args.preview)
    if args.preview_paper:
        preview(PAPER_THEME, args.preview_paper)


if __name__ == "__main__":
    main()
