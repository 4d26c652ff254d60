#!/usr/bin/python3
"""Draws every image the editor embeds, the .rc that embeds them and a
contact sheet for review.

Run with Debian's python3-pil and fonts-dejavu-core:
    /usr/bin/python3 tools/artwork/generate.py [--out DIR] [--check]
The output is deterministic: textures come from seeded generators, text uses
one fixed font (no fallback), and no PNG carries a timestamp, so a second run
writes the same bytes. --check renders into a temporary folder and fails,
naming the files, where the committed images differ.
"""

import argparse
import filecmp
import math
import os
import random
import struct
import sys
import tempfile
import zlib

from PIL import Image, ImageChops, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
RESOURCES = os.path.join(ROOT, "src", "resources")
# A review output, not committed: out/ is ignored.
SHEET = os.path.join(ROOT, "out", "contact-sheet.png")

# Resource name, width, height, colour type (2 RGB, 6 RGBA), bit depth.
# The file is the lower-case resource name with ".png".
RGB, RGBA = 2, 6
IMAGES = [
    ("ABOUT-TARROW", 459, 307, RGB, 8),
    ("ACCENT-PANEL", 220, 80, RGBA, 8),
    ("BKGND-PANEL", 800, 336, RGBA, 8),
    ("BKGND-TARROW", 800, 588, RGBA, 8),
    ("BUTTON-NORMAL", 90, 27, RGBA, 8),
    ("BUTTON-PRESSED", 90, 27, RGBA, 8),
    ("CAPO", 19, 80, RGBA, 8),
    ("CAPO2", 19, 80, RGBA, 8),
    ("CAPO3", 19, 80, RGBA, 8),
    ("CE-COMBO-TRIANGLE", 18, 17, RGBA, 8),
    ("CHECK", 60, 12, RGBA, 8),
    ("COMBO-TRIANGLE", 14, 5, RGBA, 8),
    ("CT-BACKGROUND", 780, 343, RGB, 8),
    ("CT-BULBS-17X8", 17, 80, RGBA, 8),
    ("CT-BULBS-21X8", 21, 80, RGBA, 8),
    ("CT-BULBS-26X8", 26, 80, RGBA, 8),
    ("CT-BULBS-32X11", 32, 110, RGBA, 8),
    ("CT-EDIT", 27, 27, RGB, 8),
    ("CTE-DELETE-NORMAL", 25, 27, RGB, 8),
    ("CTE-DELETE-PRESSED", 25, 27, RGB, 8),
    ("CTE-MENU-NORMAL", 26, 27, RGB, 8),
    ("CTE-MENU-PRESSED", 26, 27, RGB, 8),
    ("CTE-SAVE-NORMAL", 26, 27, RGB, 8),
    ("CTE-SAVE-PRESSED", 26, 27, RGB, 8),
    ("CURVES", 120, 28, RGBA, 8),
    ("CURVESPRESSED", 120, 28, RGBA, 8),
    ("DARK-ARROWS", 52, 52, RGBA, 8),
    ("DISPLAY", 300, 112, RGBA, 8),
    ("DROP-SHADOW", 132, 132, RGBA, 8),
    ("FADE", 60, 60, RGBA, 8),
    ("FINGER", 48, 36, RGBA, 8),
    ("FINGEREDIT", 81, 60, RGBA, 8),
    ("KBD", 700, 80, RGBA, 8),
    ("KBD2", 700, 64, RGB, 8),
    ("KBD2PRESSED", 700, 64, RGBA, 8),
    ("KBDPRESSED", 700, 80, RGB, 8),
    ("KSLAMPS", 8, 16, RGBA, 8),
    ("LOGO-TARROW", 180, 30, RGBA, 8),
    ("MACROMODES-OFF", 786, 34, RGBA, 8),
    ("MACROMODES-OFF-PUSHED", 786, 34, RGBA, 8),
    ("MACROMODES-ON", 786, 34, RGBA, 8),
    ("MACROMODES-ON-PUSHED", 786, 34, RGBA, 8),
    ("CV", 98, 28, RGBA, 8),
    ("MODE-TABS", 260, 30, RGBA, 8),
    ("PLECTRUM", 18, 24, RGBA, 8),
    ("RADIO", 72, 12, RGBA, 8),
    ("SELECT-PATTERN", 360, 60, RGBA, 8),
    ("SLIDER-THUMB-SM-H", 30, 21, RGBA, 8),
    ("SLIDER-THUMB-SM-V", 30, 21, RGBA, 8),
    ("SLIDERSLOTH", 64, 19, RGBA, 8),
    ("SLIDERSLOTV", 19, 64, RGBA, 8),
    ("SLIDERTHUMBH", 30, 21, RGBA, 8),
    ("SLIDERTHUMBV", 20, 20, RGBA, 8),
    ("SM-BTN-UP-NORMAL", 19, 19, RGB, 8),
    ("SM-BTN-UP-PRESSED", 19, 19, RGB, 8),
    ("SWITCHOFF", 16, 16, RGB, 8),
    ("SWITCHON", 16, 16, RGBA, 8),
    ("TECH", 16, 16, RGBA, 8),
    ("TOP-PANEL-BG", 264, 132, RGBA, 8),
    ("TOP-TOGGLE", 72, 25, RGBA, 16),
    ("UCM-BUTTON-NORMAL", 73, 23, RGB, 8),
    ("UCM-BUTTON-PRESSED", 73, 23, RGB, 8),
    ("UCM-DELETE-DISABLED", 19, 19, RGB, 8),
    ("UCM-DELETE-NORMAL", 19, 19, RGB, 8),
    ("UCM-DELETE-PRESSED", 19, 19, RGB, 8),
    ("UCM-MENU-NORMAL", 19, 19, RGB, 8),
    ("UCM-MENU-PRESSED", 19, 19, RGB, 8),
    ("UCM-PLAY-NORMAL", 26, 27, RGB, 8),
    ("UCM-PLAY-PRESSED", 26, 27, RGB, 8),
    ("UCM-PM-NORMAL", 15, 27, RGB, 8),
    ("UCM-PM-PRESSED", 15, 27, RGB, 8),
    ("UCM-SAVE-DISABLED", 19, 19, RGB, 8),
    ("UCM-SAVE-NORMAL", 19, 19, RGB, 8),
    ("UCM-SAVE-PRESSED", 19, 19, RGB, 8),
    ("UCM-SCROLL-BG", 19, 400, RGB, 8),
    ("UCM-TARROW", 664, 442, RGB, 8),
    ("UP-DOWN-ARROWS", 14, 10, RGBA, 8),
]


def file_name(resource):
    return resource.lower() + ".png"


# ---- palette ---------------------------------------------------------------

BLACK = (8, 8, 9)
CH0 = (22, 22, 24)        # deepest recess
CH1 = (36, 36, 39)        # charcoal
CH2 = (50, 50, 54)        # panel face
CH3 = (64, 64, 69)        # raised face
FACE = (48, 48, 52)       # window face of the chord editors
HI = (112, 112, 120)      # one-pixel bevel light
LO = (14, 14, 16)         # one-pixel bevel dark
TEXT = (170, 170, 170)
TEXT_HI = (221, 221, 221)
TEXT_OFF = (89, 89, 89)
AMBER = (255, 170, 40)
AMBER_LIGHT = (255, 224, 160)
AMBER_DIM = (112, 74, 22)
AMBER_GLASS = (58, 40, 16)
NICKEL = (196, 198, 204)
NICKEL_HI = (244, 245, 248)
NICKEL_LO = (112, 114, 120)
ROSE = (78, 42, 30)
ROSE_DARK = (46, 24, 17)
PEARL = (238, 234, 224)
IVORY = (244, 241, 230)

FONT_DIR = "/usr/share/fonts/truetype/dejavu"


def font(size, bold=True):
    # No fallback: another font would change every image with text in it.
    path = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf")
    try:
        return ImageFont.truetype(path, size)
    except (OSError, ImportError) as e:
        sys.exit("generate.py: cannot load %s (%s); install fonts-dejavu-core (scripts/setup)" % (path, e))


# ---- small drawing helpers -------------------------------------------------

def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def shade(c, f):
    return tuple(max(0, min(255, int(round(v * f)))) for v in c[:3])


def canvas(w, h, fill=(0, 0, 0, 0)):
    return Image.new("RGBA", (w, h), fill if len(fill) == 4 else fill + (255,))


def vgrad(img, box, top, bottom):
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(img)
    n = max(1, y1 - y0)
    for y in range(y0, y1 + 1):
        c = mix(top, bottom, (y - y0) / n)
        d.line([(x0, y), (x1, y)], fill=c + (255,) if len(c) == 3 else c)


def bevel(img, box, light=HI, dark=LO, outline=None):
    """Crisp one-pixel bevel: light top-left, dark bottom-right."""
    d = ImageDraw.Draw(img)
    x0, y0, x1, y1 = box
    if outline is not None:
        d.rectangle(box, outline=outline)
        x0, y0, x1, y1 = x0 + 1, y0 + 1, x1 - 1, y1 - 1
    d.line([(x0, y1), (x0, y0), (x1, y0)], fill=light)
    d.line([(x1, y0 + 1), (x1, y1), (x0 + 1, y1)], fill=dark)


def inset(img, box, outline=None):
    bevel(img, box, light=LO, dark=HI, outline=outline)


def clear_corners(img, box, colour=(0, 0, 0, 0)):
    x0, y0, x1, y1 = box
    for p in ((x0, y0), (x1, y0), (x0, y1), (x1, y1)):
        img.putpixel(p, colour)


def supersample(w, h, paint, s=4):
    """Paints at s times the size and reduces with a box filter (antialiasing)."""
    big = canvas(w * s, h * s)
    paint(ImageDraw.Draw(big), s, big)
    return big.resize((w, h), Image.BOX)


def paste(dst, src, xy=(0, 0)):
    dst.alpha_composite(src, dest=xy)


def text(img, xy, s, size, fill, bold=True, anchor="mm", shadow=(0, 0, 0), spacing=0):
    d = ImageDraw.Draw(img)
    f = font(size, bold)
    if spacing:
        # letter-spaced: centre the whole run on xy
        widths = [d.textlength(ch, font=f) for ch in s]
        total = sum(widths) + spacing * (len(s) - 1)
        x = xy[0] - total / 2 if anchor[0] == "m" else xy[0]
        for ch, wd in zip(s, widths):
            if shadow is not None:
                d.text((x + 1, xy[1] + 1), ch, font=f, fill=shadow, anchor="l" + anchor[1])
            d.text((x, xy[1]), ch, font=f, fill=fill, anchor="l" + anchor[1])
            x += wd + spacing
        return
    if shadow is not None:
        d.text((xy[0] + 1, xy[1] + 1), s, font=f, fill=shadow, anchor=anchor)
    d.text(xy, s, font=f, fill=fill, anchor=anchor)


def noise_image(w, h, seed, stretch_x=1, stretch_y=1):
    """Grey noise, stretched along x and/or y and smoothed by the resize."""
    rng = random.Random(seed)
    nw, nh = max(2, w // stretch_x + 2), max(2, h // stretch_y + 2)
    data = bytes(rng.randrange(256) for _ in range(nw * nh))
    small = Image.frombytes("L", (nw, nh), data)
    return small.resize((w, h), Image.BILINEAR)


def textured(w, h, base, seed, strength, stretch_x=40, stretch_y=1, fine=0.35):
    """Brushed metal (horizontal streaks); rosewood uses the same with grain."""
    streak = noise_image(w, h, seed, stretch_x, stretch_y)
    grit = noise_image(w, h, seed + 1, 1, 1)
    out = Image.new("RGB", (w, h))
    sp, gp = streak.load(), grit.load()
    op = out.load()
    for y in range(h):
        for x in range(w):
            n = (sp[x, y] - 128) / 128.0 + fine * (gp[x, y] - 128) / 128.0
            f = 1.0 + strength * n
            op[x, y] = (min(255, max(0, int(base[0] * f))), min(255, max(0, int(base[1] * f))),
                        min(255, max(0, int(base[2] * f))))
    return out.convert("RGBA")


def brushed(w, h, base, seed, strength=0.07):
    return textured(w, h, base, seed, strength, stretch_x=48, stretch_y=1, fine=0.3)


def rosewood(w, h, seed):
    img = textured(w, h, ROSE, seed, 0.22, stretch_x=30, stretch_y=2, fine=0.25)
    # darker pores and flame lines
    rng = random.Random(seed + 7)
    d = ImageDraw.Draw(img)
    for _ in range(w * h // 90):
        x, y = rng.randrange(w), rng.randrange(h)
        ln = rng.randrange(3, 14)
        d.line([(x, y), (x + ln, y)], fill=ROSE_DARK + (255,))
    return img


def mask_rounded(img, r):
    """Clears the pixels outside a rounded rectangle covering the image."""
    w, h = img.size
    m = supersample(w, h, lambda d, s, _: d.rounded_rectangle(
        (0, 0, w * s - 1, h * s - 1), r * s, fill=(255, 255, 255, 255)))
    a = img.getchannel("A")
    img.putalpha(ImageChops.multiply(a, m.getchannel("A")))
    return img


def lamp(size, lit, colour=AMBER, glass=AMBER_GLASS, bezel=True):
    """A round indicator lamp, size × size, transparent outside."""
    def paint(d, s, big):
        n = size * s
        if bezel:
            d.ellipse((0, 0, n - 1, n - 1), fill=NICKEL_LO + (255,))
            d.ellipse((s // 2, s // 2, n - 1 - s // 2, n - 1 - s // 2), fill=LO + (255,))
            g = s
        else:
            g = 0
        inner = (g, g, n - 1 - g, n - 1 - g)
        if lit:
            d.ellipse(inner, fill=shade(colour, 0.8) + (255,))
            k = (inner[2] - inner[0]) // 5
            d.ellipse((inner[0] + k, inner[1] + k, inner[2] - k, inner[3] - k),
                      fill=colour + (255,))
            c = mix(colour, (255, 255, 255), 0.6)
            d.ellipse((inner[0] + 2 * k, inner[1] + k, inner[0] + 3 * k, inner[1] + 2 * k),
                      fill=c + (255,))
        else:
            d.ellipse(inner, fill=glass + (255,))
            k = (inner[2] - inner[0]) // 4
            d.ellipse((inner[0] + k, inner[1] + k // 2, inner[0] + 2 * k, inner[1] + k + k // 2),
                      fill=mix(glass, (255, 255, 255), 0.25) + (255,))
    return supersample(size, size, paint)


# ---- buttons ---------------------------------------------------------------

def button_face(w, h, pressed, bg=None, accent=False):
    """A bevelled button; horizontally uniform between 8-px caps so it tiles."""
    img = canvas(w, h, bg + (255,) if bg else (0, 0, 0, 0))
    body = canvas(w, h)
    # Shading only in the top and bottom quarters: a taller button repeats
    # the middle rows, which therefore stay flat.
    q = max(1, h // 4)
    if pressed:
        top, mid, bottom = (26, 26, 29), (36, 36, 39), (44, 44, 48)
    else:
        top, mid, bottom = (82, 82, 88), (62, 62, 67), (46, 46, 50)
    vgrad(body, (0, 0, w - 1, q - 1), top, mid)
    vgrad(body, (0, q, w - 1, h - q - 1), mid, mid)
    vgrad(body, (0, h - q, w - 1, h - 1), mid, bottom)
    d = ImageDraw.Draw(body)
    d.rectangle((0, 0, w - 1, h - 1), outline=BLACK)
    if pressed:
        d.line([(1, h - 2), (1, 1), (w - 2, 1)], fill=(16, 16, 18))
        d.line([(2, 2), (w - 3, 2)], fill=(24, 24, 26))
        d.line([(w - 2, 2), (w - 2, h - 2), (2, h - 2)], fill=(70, 70, 76))
        if accent:
            d.line([(3, h - 3), (w - 4, h - 3)], fill=shade(AMBER, 0.85))
    else:
        d.line([(1, h - 2), (1, 1), (w - 2, 1)], fill=(128, 128, 136))
        d.line([(w - 2, 2), (w - 2, h - 2), (2, h - 2)], fill=(28, 28, 30))
    clear_corners(body, (0, 0, w - 1, h - 1))
    paste(img, body)
    return img


def glyph_button(w, h, pressed, glyph, disabled=False, bg=FACE):
    img = button_face(w, h, pressed, bg=bg)
    colour = TEXT_OFF if disabled else (AMBER_LIGHT if pressed else TEXT_HI)
    off = 1 if pressed else 0
    layer = supersample(w, h, lambda d, s, big: glyph(d, s, w, h, colour, off))
    paste(img, layer)
    return img


def g_up(d, s, w, h, c, o):
    cx, cy = w / 2 + o, h / 2 + o
    d.polygon([((cx - 4.5) * s, (cy + 2.5) * s), ((cx + 4.5) * s, (cy + 2.5) * s),
               (cx * s, (cy - 3.5) * s)], fill=c + (255,))
    d.rectangle(((cx - 4.5) * s, (cy + 3.5) * s, (cx + 4.5) * s, (cy + 4.5) * s), fill=c + (255,))


def g_menu(d, s, w, h, c, o):
    cx, cy = w / 2 + o, h / 2 + o
    for k in (-3, 0, 3):
        d.rectangle(((cx - 4.5) * s, (cy + k - 0.5) * s, (cx + 4.5) * s, (cy + k + 0.5) * s),
                    fill=c + (255,))


def g_save(d, s, w, h, c, o):
    """A diskette: darker body, a shutter at the top, a bright label below."""
    cx, cy = w / 2 + o, h / 2 + o
    d.rectangle(((cx - 5) * s, (cy - 5) * s, (cx + 5) * s, (cy + 5) * s), fill=shade(c, 0.62) + (255,))
    d.rectangle(((cx - 2.5) * s, (cy - 5) * s, (cx + 3) * s, (cy - 1.5) * s), fill=(24, 24, 27, 255))
    d.rectangle(((cx + 0.5) * s, (cy - 4.5) * s, (cx + 2) * s, (cy - 2) * s), fill=shade(c, 0.62) + (255,))
    d.rectangle(((cx - 3.5) * s, (cy + 0.5) * s, (cx + 3.5) * s, (cy + 5) * s), fill=c + (255,))


def g_delete(d, s, w, h, c, o):
    cx, cy = w / 2 + o, h / 2 + o
    r = 4
    d.line([((cx - r) * s, (cy - r) * s), ((cx + r) * s, (cy + r) * s)], fill=c + (255,),
           width=int(2 * s))
    d.line([((cx - r) * s, (cy + r) * s), ((cx + r) * s, (cy - r) * s)], fill=c + (255,),
           width=int(2 * s))


def g_play(d, s, w, h, c, o):
    cx, cy = w / 2 + o + 1, h / 2 + o
    d.polygon([((cx - 4) * s, (cy - 6) * s), ((cx + 5) * s, cy * s), ((cx - 4) * s, (cy + 6) * s)],
              fill=c + (255,))


def g_pencil(d, s, w, h, c, o):
    cx, cy = w / 2 + o, h / 2 + o
    a = [(-6, 6), (-6, 3), (3, -6), (6, -3), (-3, 6)]
    d.polygon([((cx + x) * s, (cy + y) * s) for x, y in a], fill=AMBER + (255,))
    d.polygon([((cx + x) * s, (cy + y) * s) for x, y in [(-6, 6), (-6, 3), (-3, 6)]],
              fill=c + (255,))
    d.line([((cx + 3) * s, (cy - 6) * s), ((cx + 6) * s, (cy - 3) * s)], fill=(200, 90, 80, 255),
           width=int(2 * s))


def pm_toggle(pressed):
    """Narrow auto-play toggle: a lamp over a small 'A'."""
    w, h = 15, 27
    img = button_face(w, h, pressed, bg=FACE)
    paste(img, lamp(9, pressed, bezel=True), (3, 5 + (1 if pressed else 0)))
    text(img, (7 + (1 if pressed else 0), 20 + (1 if pressed else 0)), "A", 8,
         AMBER_LIGHT if pressed else TEXT, shadow=None)
    return img


# ---- the neck --------------------------------------------------------------

def draw_neck(img, origin, fret_x, y_nut, y_body, board_top, board_bottom, end_x, seed,
              nut_w=4, string_start=0, string_end=None, inlays=True):
    """Rosewood board, nickel frets, pearl inlays and six strings.

    fret_x[0] is the nut; y_nut / y_body are the string ends at fret_x[0] and
    fret_x[-1] (pane coordinates); board_top / board_bottom give the board's
    edge at the nut and at the last fret as (nut, body) pairs."""
    ox, oy = origin
    w, h = img.size
    x0, xl = fret_x[0], fret_x[-1]
    string_end = end_x if string_end is None else string_end

    def at(nut, body, x):
        return nut + (body - nut) * (x - x0) / float(xl - x0)

    s = 4
    wood = rosewood(w, h, seed)
    board_mask = supersample(w, h, lambda d, k, _: d.polygon(
        [((ox + x0) * k, (oy + board_top[0]) * k), ((ox + end_x) * k, (oy + at(*board_top, end_x)) * k),
         ((ox + end_x) * k, (oy + at(*board_bottom, end_x)) * k),
         ((ox + x0) * k, (oy + board_bottom[0]) * k)], fill=(255, 255, 255, 255)), s)
    wood.putalpha(board_mask.getchannel("A"))
    paste(img, wood)
    # binding: a pale edge line along both board edges
    def binding(d2, k):
        for edge, dy in ((board_top, 0.5), (board_bottom, -0.5)):
            d2.line([((ox + x0) * k, (oy + edge[0] + dy) * k),
                     ((ox + end_x) * k, (oy + at(*edge, end_x) + dy) * k)],
                    fill=(160, 128, 96, 255), width=k)
    paste(img, supersample(w, h, lambda d2, k, _: binding(d2, k), s))

    def pearl(d2, k):
        def dot(cx, cy, r):
            d2.ellipse(((cx - r) * k, (cy - r) * k, (cx + r) * k, (cy + r) * k), fill=PEARL + (255,))
            d2.ellipse(((cx - r + 0.8) * k, (cy - r + 0.6) * k, (cx) * k, (cy) * k),
                       fill=(255, 252, 246, 255))
        for n in (3, 5, 7, 9, 15, 17, 19, 21):
            if n < len(fret_x):
                cx = ox + (fret_x[n - 1] + fret_x[n]) / 2.0
                cy = oy + (at(y_nut[2], y_body[2], cx - ox) + at(y_nut[3], y_body[3], cx - ox)) / 2.0
                dot(cx, cy, max(2.5, min(4.0, (fret_x[n] - fret_x[n - 1]) / 5.0)))
        if len(fret_x) > 12:
            cx = ox + (fret_x[11] + fret_x[12]) / 2.0
            for a, b in ((1, 2), (3, 4)):
                cy = oy + (at(y_nut[a], y_body[a], cx - ox) + at(y_nut[b], y_body[b], cx - ox)) / 2.0
                dot(cx, cy, 3.0)

    if inlays:
        paste(img, supersample(w, h, lambda d2, k, _: pearl(d2, k), s))
    d = ImageDraw.Draw(img)
    # frets: a dark seat, a nickel crown with a bright highlight
    for fx in fret_x[1:]:
        t, b = oy + at(*board_top, fx), oy + at(*board_bottom, fx)
        x = ox + fx
        d.line([(x - 1, t + 1), (x - 1, b - 1)], fill=NICKEL_LO + (255,))
        d.line([(x, t), (x, b)], fill=NICKEL_HI + (255,))
        d.line([(x + 1, t + 1), (x + 1, b - 1)], fill=(30, 18, 12, 255))
    # nut: bone
    t, b = oy + board_top[0], oy + board_bottom[0]
    d.rectangle((ox + x0 - nut_w, t - 1, ox + x0 - 1, b + 1), fill=(226, 218, 196, 255))
    d.line([(ox + x0 - nut_w, t - 1), (ox + x0 - nut_w, b + 1)], fill=(250, 246, 236, 255))
    d.line([(ox + x0, t - 1), (ox + x0, b + 1)], fill=(90, 80, 64, 255))

    # strings: plain top three, wound bottom three
    gauges = [1.0, 1.2, 1.5, 1.8, 2.2, 2.6]

    def strings(d2, k):
        for i in range(6):
            xa, xb = string_start, string_end
            ya = at(y_nut[i], y_body[i], xa)
            yb = at(y_nut[i], y_body[i], xb)
            g = gauges[i]
            # shadow on the board, then the string, then its highlight
            d2.line([((ox + xa) * k, (oy + ya + 1.2) * k), ((ox + xb) * k, (oy + yb + 1.2) * k)],
                    fill=(0, 0, 0, 120), width=int(g * k))
            col = (206, 208, 214) if i < 3 else (176, 160, 130)
            d2.line([((ox + xa) * k, (oy + ya) * k), ((ox + xb) * k, (oy + yb) * k)],
                    fill=col + (255,), width=int(g * k))
            d2.line([((ox + xa) * k, (oy + ya - g * 0.25) * k), ((ox + xb) * k, (oy + yb - g * 0.25) * k)],
                    fill=(255, 255, 255, 150), width=max(1, int(0.35 * k)))
    paste(img, supersample(w, h, lambda d2, k, _: strings(d2, k), s))


MAIN_FRETS = [25, 74, 122, 166, 208, 248, 285, 321, 355, 385, 415, 443, 470, 495, 519, 541,
              561, 582, 600, 618, 635, 650, 666]
MAIN_NUT_Y = [22, 32, 42, 52, 62, 72]
MAIN_BODY_Y = [14, 28, 42, 56, 69, 84]
UCM_FRETS = [20, 64, 110, 154, 196, 235, 272, 306, 339, 370, 399, 426, 453, 477, 500, 522,
             542, 562, 580, 597, 614, 629, 645]
UCM_STRING_Y = [60, 73, 87, 100, 114, 127]


# ---- images ----------------------------------------------------------------

def close_glyph(img, box):
    """A small framed cross for the close buttons, which draw nothing themselves."""
    x, y, w, h = box
    face = button_face(w, h, False)
    paste(img, face, (x, y))
    paste(img, supersample(w, h, lambda d, s, _: g_delete(d, s, w, h, TEXT_HI, 0)), (x, y))


def bkgnd_tarrow():
    W, H = 800, 588
    img = brushed(W, H, CH1, 11, 0.08)
    d = ImageDraw.Draw(img)
    # top bar behind the two tab switches
    bar = brushed(W, 25, (30, 30, 33), 12, 0.05)
    paste(img, bar, (0, 0))
    d.line([(0, 25), (W, 25)], fill=LO)
    d.line([(0, 26), (W, 26)], fill=(70, 70, 76))
    # nameplate under the logo and the maker mark
    plate = brushed(212, 60, (74, 74, 80), 13, 0.09)
    bevel(plate, (0, 0, 211, 59), light=(150, 150, 158), dark=LO, outline=BLACK)
    plate = mask_rounded(plate, 4)
    paste(img, plate, (294, 1))
    # recess under the accent panel and a matching grille on the right
    for x in (16, 564):
        inset(img, (x, 51, x + 227, 138), outline=None)
    grille = canvas(220, 80, (26, 26, 28, 255))
    gd = ImageDraw.Draw(grille)
    for gy in range(6, 76, 7):
        for gx in range(7 + (gy // 7 % 2) * 3, 214, 7):
            gd.ellipse((gx - 2, gy - 2, gx + 2, gy + 2), fill=(8, 8, 9, 255))
            gd.point((gx - 1, gy - 1), fill=(60, 60, 64, 255))
    bevel(grille, (0, 0, 219, 79), light=(90, 90, 96), dark=LO)
    paste(img, grille, (568, 55))
    text(img, (678, 146), "TARROW", 9, (120, 120, 128), spacing=3)
    # separation groove above the neck
    d = ImageDraw.Draw(img)
    d.line([(0, 158), (W, 158)], fill=LO)
    d.line([(0, 159), (W, 159)], fill=(80, 80, 86))
    # neck zone: dark body wood, the fingerboard on it
    vgrad(img, (0, 160, W - 1, 257), (24, 20, 18), (16, 13, 12))
    draw_neck(img, (0, 161), MAIN_FRETS, MAIN_NUT_Y, MAIN_BODY_Y, (13, 5), (81, 93), 684, 21,
              string_end=690)
    d = ImageDraw.Draw(img)
    # string anchor block at the end of the board
    d.rectangle((684, 164, 691, 256), fill=(58, 58, 62, 255))
    bevel(img, (684, 164, 691, 256), light=NICKEL, dark=LO)
    # pick-position plate (the line-drawn slider sits at 691..791, 165..189)
    plate = brushed(104, 88, (40, 40, 44), 14, 0.06)
    inset(plate, (0, 0, 103, 87))
    pd = ImageDraw.Draw(plate)
    for i in range(6):   # pickup pole pieces under the slider
        pd.ellipse((20 + i * 12, 52, 26 + i * 12, 58), fill=NICKEL_LO + (255,), outline=LO)
    pd.rounded_rectangle((12, 46, 91, 64), 4, outline=(90, 90, 96))
    paste(img, plate, (693, 163))
    text(img, (745, 238), "PICK POSITION", 8, TEXT, bold=True)
    return img


def bkgnd_panel():
    W, H = 800, 336
    img = canvas(W, H)
    body = brushed(W, H - 4, (28, 28, 31), 31, 0.06)
    paste(img, body, (0, 4))
    d = ImageDraw.Draw(img)
    d.line([(0, 4), (W, 4)], fill=(80, 80, 86))
    # channel of the macromode strip (strip at panel y 6..39)
    d.rectangle((5, 5, 794, 41), fill=CH0)
    inset(img, (5, 5, 794, 41))
    # container area: nearly black, with a faint amber pinstripe at its top
    d.rectangle((0, 42, W - 1, 249), fill=(17, 17, 17, 255))
    d.line([(0, 42), (W, 42)], fill=AMBER_DIM)
    # keyboard bed: rosewood cheeks at both sides, black felt under the keys
    cheeks = rosewood(W, 86, 33)
    paste(img, cheeks.crop((0, 0, 33, 86)), (17, 250))
    paste(img, cheeks.crop((40, 0, 73, 86)), (750, 250))
    d.rectangle((49, 250, 750, 333), fill=(10, 10, 11, 255))
    d.line([(49, 251), (750, 251)], fill=shade(AMBER, 0.55))
    for x in (17, 750):
        bevel(img, (x, 250, x + 32, 333), light=(150, 100, 70), dark=LO)
    return img


def button_normal():
    return button_face(90, 27, False)


def button_pressed():
    return button_face(90, 27, True, accent=True)


def macromodes(on_index_lit, pushed):
    """All five slices in one state; a slice is 157 wide (the last 158)."""
    W, H = 786, 34
    img = canvas(W, H)
    labels = ["MIDI", "PATTERN", "JOYSTICK", "GUITAR", "DIRECT"]
    for i, label in enumerate(labels):
        x = 157 * i
        w = 158 if i == 4 else 157
        face = button_face(w, H, pushed, accent=on_index_lit)
        if on_index_lit and not pushed:
            # lit slices glow faintly amber along the top
            ImageDraw.Draw(face).line([(2, 2), (w - 3, 2)], fill=shade(AMBER, 0.7))
        o = 1 if pushed else 0
        paste(face, lamp(10, on_index_lit), (12 + o, 12 + o))
        colour = AMBER_LIGHT if on_index_lit else TEXT
        text(face, (w // 2 + 8 + o, H // 2 + o), label, 12, colour)
        paste(img, face, (x, 0))
    return img


def display():
    W, H = 300, 112
    img = brushed(W, H, (70, 70, 76), 41, 0.08)
    bevel(img, (0, 0, W - 1, H - 1), light=(150, 150, 158), dark=LO, outline=BLACK)
    d = ImageDraw.Draw(img)
    d.rectangle((8, 8, W - 9, H - 9), fill=(12, 13, 14, 255))
    inset(img, (7, 7, W - 8, H - 8))
    glass = canvas(W - 18, H - 18)
    vgrad(glass, (0, 0, W - 19, H - 19), (34, 28, 18), (12, 12, 13))
    glass.putalpha(170)
    paste(img, glass, (9, 9))
    d = ImageDraw.Draw(img)
    for y in (37, 74):
        d.line([(16, y), (W - 17, y)], fill=(64, 46, 18, 255))
    d.line([(10, 10), (W - 11, 10)], fill=(60, 60, 62, 255))   # reflection on the glass
    return mask_rounded(img, 5)


def logo_tarrow():
    W, H = 180, 30
    img = canvas(W, H)
    big = canvas(W, H)
    text(big, (W // 2, H // 2), "TARROW", 22, (255, 255, 255), spacing=4, shadow=None)
    # nickel face with an amber lower edge, black drop shadow
    face = canvas(W, H)
    vgrad(face, (0, 0, W - 1, H - 1), NICKEL_HI, (150, 152, 160))
    for y in range(20, H):
        ImageDraw.Draw(face).line([(0, y), (W - 1, y)], fill=mix(AMBER_LIGHT, AMBER, (y - 20) / 9.0) + (255,))
    face.putalpha(big.getchannel("A"))
    sh = canvas(W, H)
    sh_mask = canvas(W, H)
    paste(sh_mask, big, (1, 1))
    sh.putalpha(sh_mask.getchannel("A"))
    paste(img, sh)
    paste(img, face)
    return img


def cv_logo():
    W, H = 98, 28
    img = canvas(W, H)
    text(img, (W // 2, 11), "CORVELL", 11, AMBER, spacing=2)
    d = ImageDraw.Draw(img)
    d.line([(14, 21), (W - 15, 21)], fill=shade(AMBER, 0.6) + (255,))
    return img


def about():
    W, H = 459, 307
    img = brushed(W, H, (40, 40, 44), 51, 0.08)
    bevel(img, (0, 0, W - 1, H - 1), light=(130, 130, 138), dark=LO, outline=BLACK)
    strip = canvas(W - 40, 70)
    vgrad(strip, (0, 0, W - 41, 69), (20, 16, 14), (12, 10, 9))
    frets = [10 + int(400 * (1 - 2 ** (-n / 12.0)) * 1.35) for n in range(0, 17)]
    frets = [f for f in frets if f < W - 50]
    draw_neck(strip, (0, 0), frets, [14, 22, 30, 38, 46, 54], [12, 21, 30, 39, 48, 57],
              (8, 6), (60, 64), W - 44, 52, string_end=W - 40)
    paste(img, strip, (20, 130))
    inset(img, (19, 129, W - 20, 200))
    logo = logo_tarrow().resize((360, 60), Image.LANCZOS)
    paste(img, logo, ((W - 360) // 2, 30))
    text(img, (W // 2, 104), "SAMPLED ELECTRIC GUITAR \u00b7 EDITOR", 12, TEXT, spacing=1)
    text(img, (W // 2, 236), "Play on the neck, shape the tone on the panel.", 11, TEXT, bold=False)
    paste(img, cv_logo(), ((W - 98) // 2, 262))
    return img.convert("RGB")


def accent_panel():
    W, H = 220, 80
    img = brushed(W, H, (44, 44, 48), 61, 0.07)
    d = ImageDraw.Draw(img)
    d.rectangle((1, 1, W - 2, 21), fill=(34, 34, 37, 255))
    d.line([(2, 22), (W - 3, 22)], fill=shade(AMBER, 0.6) + (255,))
    bevel(img, (0, 0, W - 1, H - 1), light=(100, 100, 108), dark=LO, outline=BLACK)
    return mask_rounded(img, 4)


def top_panel_bg():
    W, H = 264, 132
    img = brushed(W, H, (50, 50, 54), 71, 0.07)
    d = ImageDraw.Draw(img)
    bevel(img, (0, 0, W - 1, H - 1), light=(110, 110, 118), dark=LO, outline=BLACK)
    d.line([(2, H - 5), (W - 3, H - 5)], fill=shade(AMBER, 0.45) + (255,))
    # screws in the corners of the visible area
    for x, y in ((12, 8), (W - 13, 8), (12, H - 12), (W - 13, H - 12)):
        paste(img, supersample(7, 7, lambda dd, s, _: (
            dd.ellipse((0, 0, 7 * s - 1, 7 * s - 1), fill=NICKEL_LO + (255,)),
            dd.line([(1.5 * s, 1.5 * s), (5.5 * s, 5.5 * s)], fill=LO + (255,), width=s))), (x - 3, y - 3))
    return img


def mode_tabs():
    W, H = 260, 30
    img = canvas(W, H)
    for half, on in ((0, True), (1, False)):
        t = canvas(130, H)
        if on:
            vgrad(t, (0, 0, 129, H - 1), (78, 78, 84), (50, 50, 54))
        else:
            vgrad(t, (0, 2, 129, H - 1), (44, 44, 48), (30, 30, 33))
        d = ImageDraw.Draw(t)
        top = 0 if on else 2
        d.rounded_rectangle((0, top, 129, H + 4), 4, outline=BLACK)
        d.line([(2, top + 1), (127, top + 1)], fill=(140, 140, 148) if on else (70, 70, 76))
        d.line([(1, top + 2), (1, H - 1)], fill=(110, 110, 118) if on else (58, 58, 62))
        d.line([(128, top + 2), (128, H - 1)], fill=(24, 24, 26))
        if on:
            d.line([(6, top + 2), (123, top + 2)], fill=AMBER + (255,))
            d.line([(6, top + 3), (123, top + 3)], fill=shade(AMBER, 0.5) + (255,))
        else:
            d.line([(1, H - 6), (128, H - 6)], fill=LO + (255,))
        # keep the rounded corners transparent
        m = canvas(130, H)
        ImageDraw.Draw(m).rounded_rectangle((0, top, 129, H + 4), 4, fill=(255, 255, 255, 255))
        t.putalpha(ImageChops.multiply(t.getchannel("A"), m.getchannel("A")))
        paste(img, t, (130 * half, 0))
    return img


def radio():
    img = canvas(72, 12)
    # 0 off, 1 off held, 2 off disabled, 3 on, 4 on held, 5 on disabled
    for i in range(6):
        on, held, dis = i >= 3, i % 3 == 1, i % 3 == 2

        def paint(d, s, _):
            n = 12 * s
            ring = (60, 60, 64) if dis else ((150, 150, 158) if held else (120, 120, 128))
            d.ellipse((s // 2, s // 2, n - 1 - s // 2, n - 1 - s // 2), fill=BLACK + (255,))
            d.ellipse((1.2 * s, 1.2 * s, n - 1.2 * s, n - 1.2 * s), fill=ring + (255,))
            well = (14, 14, 16) if held else ((36, 36, 38) if dis else (24, 24, 26))
            d.ellipse((2.2 * s, 2.2 * s, n - 2.2 * s, n - 2.2 * s), fill=well + (255,))
            if on:
                dot = TEXT_OFF if dis else (AMBER if held else AMBER_LIGHT)
                d.ellipse((3.8 * s, 3.8 * s, n - 3.8 * s, n - 3.8 * s), fill=dot + (255,))
        paste(img, supersample(12, 12, paint), (12 * i, 0))
    return img


def check():
    img = canvas(60, 12)
    # 0 off, 1 on, 2 held, 3 disabled off, 4 disabled on; box in columns 1..10
    for i in range(5):
        on = i in (1, 4)
        held = i == 2
        dis = i >= 3
        f = canvas(12, 12)
        d = ImageDraw.Draw(f)
        d.rectangle((1, 1, 10, 10), fill=BLACK + (255,))
        well = (12, 12, 14) if held else ((40, 40, 42) if dis else (26, 26, 28))
        d.rectangle((2, 2, 9, 9), fill=well + (255,))
        edge = (70, 70, 74) if dis else ((160, 160, 168) if held else (120, 120, 128))
        d.line([(2, 10), (10, 10), (10, 2)], fill=edge + (255,))
        d.line([(2, 2), (9, 2)], fill=(6, 6, 7, 255))
        if on:
            tick = TEXT_OFF if dis else AMBER_LIGHT
            paste(f, supersample(12, 12, lambda dd, s, _: dd.line(
                [(3.2 * s, 6.0 * s), (5.0 * s, 8.0 * s), (8.8 * s, 3.2 * s)],
                fill=tick + (255,), width=int(1.7 * s), joint="curve")))
        paste(img, f, (12 * i, 0))
    return img


def fader_cap(w, h, vertical_line, hot):
    """A fader cap; the line across it shows the value position."""
    def paint(d, s, _):
        d.rounded_rectangle((0.5 * s, 0, (w - 0.5) * s - 1, h * s - 1), 2 * s, fill=BLACK + (255,))
        top = (190, 190, 198) if hot else (160, 160, 168)
        bot = (96, 96, 104) if hot else (72, 72, 78)
        for y in range(s, h * s - s):
            c = mix(top, bot, y / float(h * s))
            d.line([(1.5 * s, y), ((w - 1.5) * s - 1, y)], fill=c + (255,))
        line = AMBER if hot else (250, 250, 250)
        if vertical_line:
            cx = w / 2.0
            d.rectangle(((cx - 0.5) * s, 2 * s, (cx + 0.5) * s - 1, (h - 2) * s - 1), fill=line + (255,))
        else:
            cy = h / 2.0
            d.rectangle((2 * s, (cy - 0.5) * s, (w - 2) * s - 1, (cy + 0.5) * s - 1), fill=line + (255,))
        # grip grooves
        for k in (-3, 3):
            if vertical_line:
                x = (w / 2.0 + k) * s
                d.line([(x, 3 * s), (x, (h - 3) * s)], fill=(50, 50, 56, 255), width=max(1, s // 2))
            else:
                y = (h / 2.0 + k) * s
                d.line([(3 * s, y), ((w - 3) * s, y)], fill=(50, 50, 56, 255), width=max(1, s // 2))
    return supersample(w, h, paint)


def thumb_pair(vertical_line):
    img = canvas(30, 21)
    paste(img, fader_cap(15, 21, vertical_line, False), (0, 0))
    paste(img, fader_cap(15, 21, vertical_line, True), (15, 0))
    return img


def slot_h():
    W, H = 64, 19
    img = canvas(W, H)
    d = ImageDraw.Draw(img)
    # groove rows 7..11; caps only in the outer thirds, the middle is uniform
    d.rectangle((2, 7, W - 3, 11), fill=BLACK + (255,))
    d.rectangle((3, 8, W - 4, 10), fill=(4, 4, 5, 255))
    d.line([(3, 12), (W - 4, 12)], fill=(92, 92, 98, 255))
    d.line([(3, 6), (W - 4, 6)], fill=(10, 10, 12, 255))
    for x in (2, W - 3):
        d.point((x, 7), fill=(0, 0, 0, 0))
        d.point((x, 11), fill=(0, 0, 0, 0))
    return img


def slot_v():
    return slot_h().transpose(Image.Transpose.TRANSPOSE)


def combo_triangle():
    img = canvas(14, 5)
    d = ImageDraw.Draw(img)
    for i, c in enumerate((TEXT, TEXT_OFF)):
        for r in range(4):
            d.line([(7 * i + r, r), (7 * i + 6 - r, r)], fill=c + (255,))
    return img


def ce_combo_triangle():
    img = canvas(18, 17)
    d = ImageDraw.Draw(img)
    for i, c in enumerate((TEXT_HI, TEXT_OFF)):
        x = 9 * i
        d.line([(x, 2), (x, 14)], fill=(16, 16, 18, 255))
        d.line([(x + 1, 2), (x + 1, 14)], fill=(90, 90, 96, 255))
        for r in range(4):
            d.line([(x + 2 + r, 7 + r), (x + 8 - r, 7 + r)], fill=c + (255,))
    return img


def up_down_arrows():
    img = canvas(14, 10)
    d = ImageDraw.Draw(img)
    # cells 7 × 5: top row up, bottom row down; left can act, right cannot
    for col, c in enumerate((TEXT, TEXT_OFF)):
        x = 7 * col
        for r in range(4):
            d.line([(x + 3 - r, 1 + r), (x + 3 + r, 1 + r)], fill=c + (255,))
            d.line([(x + 3 - r, 8 - r), (x + 3 + r, 8 - r)], fill=c + (255,))
    return img


def dark_arrows():
    """4 × 4 cells of 13 × 13: x = column (0 normal, 2 selected; 1 and 3
    repeat them), y = animation frame 0..3 from pointing right to pointing down."""
    img = canvas(52, 52)
    for col in range(4):
        colour = (218, 218, 218) if col >= 2 else (140, 140, 140)
        for frame in range(4):
            ang = math.radians(30 * frame)

            def paint(d, s, _):
                pts = [(-3.0, -2.6), (5.0, 0.0), (-3.0, 2.6)]
                rot = [(6.5 + x * math.cos(ang) - y * math.sin(ang),
                        6.5 + x * math.sin(ang) + y * math.cos(ang)) for x, y in pts]
                d.polygon([((x + 0.6) * s, (y + 0.6) * s) for x, y in rot], fill=(0, 0, 0, 200))
                d.polygon([(x * s, y * s) for x, y in rot], fill=colour + (255,))
            paste(img, supersample(13, 13, paint), (13 * col, 13 * frame))
    return img


def drop_shadow():
    """Alpha ramps over the outer 8 px and is flat inside, so that any of the
    three-part or nine-part tilings joins without seams."""
    W = 132
    img = canvas(W, W)
    px = img.load()
    peak = 120
    for y in range(W):
        for x in range(W):
            e = min(x, y, W - 1 - x, W - 1 - y)
            t = min(1.0, (e + 0.5) / 8.0)
            px[x, y] = (0, 0, 0, int(round(peak * t * t)))
    return img


def fade():
    img = canvas(60, 60)
    px = img.load()
    for y in range(60):
        for x in range(60):
            a = 170 if x >= 6 else 170 * (x + 1) // 7
            px[x, y] = (10, 9, 8, a)
    return img


FINGER_COLOURS = [AMBER, (90, 200, 120), (110, 160, 255)]


def finger(w, h):
    """3 × 3 cells: rows = note kinds, columns = fresh, faded, held."""
    cw, ch = w // 3, h // 3
    img = canvas(w, h)
    for row in range(3):
        for col in range(3):
            base = FINGER_COLOURS[row]
            if col == 1:
                base = mix(base, (40, 40, 40), 0.55)
            held = col == 2

            def paint(d, s, _):
                box = (0.5 * s, 0.5 * s, (cw - 0.5) * s, (ch - 0.5) * s)
                d.ellipse(box, fill=BLACK + (230,))
                inner = (1.3 * s, 1.3 * s, (cw - 1.3) * s, (ch - 1.3) * s)
                d.ellipse(inner, fill=(PEARL if held else base) + (255,))
                if held:
                    d.ellipse((2.6 * s, 2.6 * s, (cw - 2.6) * s, (ch - 2.6) * s),
                              outline=base + (255,), width=int(1.2 * s))
                hl = (2.5 * s, 1.8 * s, (cw * 0.55) * s, (ch * 0.38) * s)
                d.ellipse(hl, fill=(255, 255, 255, 70))
            paste(img, supersample(cw, ch, paint), (col * cw, row * ch))
    return img


def capo(body, pad, accent):
    W, H = 19, 80

    def paint(d, s, _):
        # rubber pad across the strings, a metal clamp bar on it
        d.rounded_rectangle((3 * s, 1 * s, 16 * s - 1, 79 * s - 1), 4 * s, fill=BLACK + (255,))
        d.rounded_rectangle((4 * s, 2 * s, 15 * s - 1, 78 * s - 1), 3 * s, fill=pad + (255,))
        d.rounded_rectangle((6 * s, 0, 13 * s - 1, 80 * s - 1), 3 * s, fill=BLACK + (255,))
        d.rounded_rectangle((7 * s, 1 * s, 12 * s - 1, 79 * s - 1), 2 * s, fill=body + (255,))
        d.line([(8 * s, 3 * s), (8 * s, 77 * s)], fill=mix(body, (255, 255, 255), 0.6) + (255,),
               width=s)
        if accent:
            d.rectangle((7 * s, 36 * s, 12 * s - 1, 44 * s - 1), fill=accent + (255,))
        for y in (6, 74):   # screws
            d.ellipse((7.5 * s, (y - 2) * s, 11.5 * s, (y + 2) * s), fill=NICKEL_LO + (255,),
                      outline=BLACK + (255,))
    return supersample(W, H, paint)


def plectrum():
    W, H = 18, 24

    def paint(d, s, big):
        pts = [(1, 5), (3, 1.5), (9, 0.5), (15, 1.5), (17, 5), (15, 12), (11, 20), (9, 23.5), (7, 20),
               (3, 12)]
        d.polygon([(x * s, y * s) for x, y in pts], fill=(40, 20, 6, 255))
        inner = [(2, 5.2), (3.6, 2.4), (9, 1.6), (14.4, 2.4), (16, 5.2), (14.2, 11.6), (10.4, 19.4),
                 (9, 22), (7.6, 19.4), (3.8, 11.6)]
        d.polygon([(x * s, y * s) for x, y in inner], fill=AMBER + (255,))
        rng = random.Random(81)
        for _ in range(14):   # tortoiseshell mottling
            x, y = rng.uniform(3, 15), rng.uniform(3, 14)
            r = rng.uniform(0.8, 1.8)
            d.ellipse(((x - r) * s, (y - r) * s, (x + r) * s, (y + r) * s), fill=(150, 70, 16, 200))
        d.ellipse((5 * s, 3 * s, 9 * s, 6 * s), fill=(255, 240, 200, 150))
    img = supersample(W, H, paint)
    # the mottling may spill over the rim: clip to the outline
    m = supersample(W, H, lambda d, s, _: d.polygon(
        [(x * s, y * s) for x, y in [(1, 5), (3, 1.5), (9, 0.5), (15, 1.5), (17, 5), (15, 12),
                                      (11, 20), (9, 23.5), (7, 20), (3, 12)]], fill=(255, 255, 255, 255)))
    img.putalpha(ImageChops.multiply(img.getchannel("A"), m.getchannel("A")))
    return img


def kslamps():
    img = canvas(8, 16)
    paste(img, lamp(8, False), (0, 0))
    paste(img, lamp(8, True), (0, 8))
    return img


def switch_img(on):
    if on:
        img = canvas(16, 16)
    else:
        img = canvas(16, 16, (50, 50, 54, 255))
    paste(img, lamp(16, on))
    return img


def tech():
    def paint(d, s, _):
        c = 8 * s
        for k in range(8):
            a = math.radians(45 * k)
            x, y = c + math.cos(a) * 6 * s, c + math.sin(a) * 6 * s
            d.ellipse((x - 1.8 * s, y - 1.8 * s, x + 1.8 * s, y + 1.8 * s), fill=NICKEL + (255,))
        d.ellipse((c - 5.5 * s, c - 5.5 * s, c + 5.5 * s, c + 5.5 * s), fill=NICKEL + (255,))
        d.ellipse((c - 2.5 * s, c - 2.5 * s, c + 2.5 * s, c + 2.5 * s), fill=AMBER + (255,))
    return supersample(16, 16, paint)


def curves(pressed):
    W, H = 120, 28
    img = canvas(W, H)
    fns = [lambda t: t, lambda t: 1 - (1 - t) ** 2.2, lambda t: t ** 2.2,
           lambda t: 0.5 - 0.5 * math.cos(math.pi * t)]
    for i, fn in enumerate(fns):
        x = 2 + 30 * i
        d = ImageDraw.Draw(img)
        if pressed:
            d.rectangle((x - 1, 0, x + 26, 27), outline=AMBER + (255,))
        d.rectangle((x, 1, x + 25, 26), fill=((34, 26, 14) if pressed else (16, 16, 18)) + (255,))
        inset(img, (x, 1, x + 25, 26))
        colour = AMBER_LIGHT if pressed else TEXT

        def paint(dd, s, _, fn=fn):
            pts = []
            for k in range(41):
                t = k / 40.0
                pts.append(((4 + 18 * t) * s, (22 - 18 * fn(t)) * s))
            dd.line(pts, fill=colour + (255,), width=int(1.6 * s), joint="curve")
        paste(img, supersample(26, 26, paint), (x, 1))
    return img


def select_pattern():
    W, H = 360, 60
    img = canvas(W, H)
    ink = (96, 70, 30)

    def paint(d, s, _):
        # an arrow up and to the left, towards the library button
        d.line([(30 * s, 46 * s), (30 * s, 16 * s), (14 * s, 16 * s)], fill=ink + (255,),
               width=int(3 * s), joint="curve")
        d.polygon([(6 * s, 16 * s), (16 * s, 9 * s), (16 * s, 23 * s)], fill=ink + (255,))
    paste(img, supersample(W, H, paint))
    text(img, (46, 22), "No pattern loaded", 17, ink, anchor="lm", shadow=None)
    text(img, (46, 43), "Open the library with the arrow button to choose one.", 11, ink,
         bold=False, anchor="lm", shadow=None)
    return img


def ct_bulbs(fw, fh):
    img = canvas(fw, fh * 10)
    lit = {0: AMBER, 4: (0, 200, 100), 5: (224, 0, 0), 6: (255, 255, 0), 7: (128, 160, 255),
           8: (255, 128, 0)}
    for f in range(10):
        def paint(d, s, _):
            box = (0.5 * s, 0.5 * s, (fw - 0.5) * s, (fh - 0.5) * s)
            r = (fh - 1) * s / 2.0
            d.rounded_rectangle(box, r, fill=BLACK + (255,))
            inner = (1.5 * s, 1.5 * s, (fw - 1.5) * s, (fh - 1.5) * s)
            ri = (fh - 3) * s / 2.0
            if f in lit:
                c = lit[f]
                d.rounded_rectangle(inner, ri, fill=c + (255,))
                d.rounded_rectangle((2.5 * s, 2 * s, (fw - 2.5) * s, (fh / 2.0) * s), ri / 2,
                                    fill=mix(c, (255, 255, 255), 0.55) + (255,))
            else:
                c = {1: (40, 34, 28), 2: (120, 108, 86), 3: (54, 54, 56), 9: (86, 80, 72)}[f]
                d.rounded_rectangle(inner, ri, fill=c + (255,))
                d.line([(2.5 * s, 2.2 * s), ((fw - 2.5) * s, 2.2 * s)],
                       fill=mix(c, (255, 255, 255), 0.2) + (255,), width=s)
        paste(img, supersample(fw, fh, paint), (0, f * fh))
    return img


def face_window(W, H, seed, title):
    img = brushed(W, H, FACE, seed, 0.06)
    d = ImageDraw.Draw(img)
    d.rectangle((1, 1, W - 2, 28), fill=(30, 30, 33, 255))
    d.line([(1, 29), (W - 2, 29)], fill=shade(AMBER, 0.6) + (255,))
    d.line([(1, 30), (W - 2, 30)], fill=LO + (255,))
    bevel(img, (0, 0, W - 1, H - 1), light=(110, 110, 118), dark=LO, outline=BLACK)
    text(img, (14, 15), title, 11, TEXT_HI, anchor="lm", spacing=0)
    return img


def ct_background():
    W, H = 780, 343
    img = face_window(W, H, 91, "CHORD TABS")
    d = ImageDraw.Draw(img)
    # under the controls row, and a tray under the cells
    d.line([(6, 70), (616, 70)], fill=LO + (255,))
    d.line([(6, 71), (616, 71)], fill=(80, 80, 86, 255))
    close_glyph(img, (754, 3, 22, 22))
    return img.convert("RGB")


def ucm_background():
    W, H = 664, 442
    img = face_window(W, H, 101, "USER CHORD MAPS")
    # the fingering neck (view coordinates)
    neck = canvas(655, 82)
    vgrad(neck, (0, 0, 654, 81), (24, 20, 18), (16, 13, 12))
    frets = [x - 4 for x in UCM_FRETS]
    ys = [y - 53 for y in UCM_STRING_Y]
    draw_neck(neck, (0, 0), frets, ys, ys, (2, 2), (79, 79), 652, 111, string_end=655)
    paste(img, neck, (4, 53))
    inset(img, (3, 52, 659, 135))
    d = ImageDraw.Draw(img)
    # list wells
    for x, y, w, h, label in ((39, 245, 278, 174, None), (348, 162, 278, 257, "LIBRARY")):
        d.rectangle((x, y, x + w - 1, y + h - 1), fill=(68, 68, 68, 255))
        inset(img, (x - 1, y - 1, x + w, y + h))
        if label:
            text(img, (x, y - 9), label, 9, TEXT, anchor="lm")
    text(img, (40, 152), "CHORD", 9, TEXT, anchor="lm")
    text(img, (40, 44), "FINGERING", 9, TEXT, anchor="lm")
    close_glyph(img, (640, 2, 24, 24))
    return img.convert("RGB")


def scroll_bg():
    W, H = 19, 400
    img = canvas(W, H, (66, 66, 70, 255))
    d = ImageDraw.Draw(img)
    cols = [28, 40, 52, 60, 64, 67, 69, 70, 70, 70, 70, 69, 67, 65, 62, 58, 54, 70, 36]
    for x, v in enumerate(cols):
        d.line([(x, 0), (x, H - 1)], fill=(v, v, v + 3, 255))
    rng = random.Random(121)
    px = img.load()
    for y in range(H):
        for x in range(2, 16):
            r, g, b, a = px[x, y]
            n = rng.randrange(-2, 3)
            px[x, y] = (r + n, g + n, b + n, a)
    return img.convert("RGB")


def keyboard(A, pressed_whites, rgb):
    """85 keys, 50 white keys of 14 px; black keys span x1+3 .. x1+12."""
    W, w = 700, 14
    img = canvas(W, A, (10, 10, 11, 255))
    d = ImageDraw.Draw(img)
    B = 48 if A > 64 else 38
    for i in range(50):
        x = i * w
        if pressed_whites:
            vgrad(img, (x + 1, 0, x + w - 1, A - 3), (196, 192, 182), (226, 222, 212))
            d.rectangle((x + 1, 0, x + w - 1, 5), fill=(120, 116, 108, 255))
            d.line([(x + 1, A - 3), (x + w - 1, A - 3)], fill=(200, 196, 186, 255))
        else:
            vgrad(img, (x + 1, 0, x + w - 1, A - 5), (226, 223, 212), IVORY)
            d.rectangle((x + 1, 0, x + w - 1, 2), fill=(150, 146, 138, 255))
            d.line([(x + 1, A - 5), (x + w - 1, A - 5)], fill=(255, 255, 252, 255))
            vgrad(img, (x + 1, A - 4, x + w - 1, A - 2), (208, 204, 194), (170, 166, 158))
        d.line([(x, 0), (x, A - 1)], fill=(60, 58, 54, 255))
        d.line([(x + 1, 3), (x + 1, A - 6)], fill=(255, 255, 255, 255))
    d.line([(0, A - 1), (W - 1, A - 1)], fill=(10, 10, 11, 255))
    d.line([(W - 1, 0), (W - 1, A - 1)], fill=(60, 58, 54, 255))
    for k in range(84):
        o, deg = k // 12, k % 12
        if deg not in (1, 3, 6, 8, 10):
            continue
        x0 = w * (7 * o + (deg + 1) // 2)
        s = w // 2 if deg > 5 else -(w // 2)
        x1 = x0 + s
        bx0, bx1 = x1 + 3, x1 + 12
        d.rectangle((bx0, 0, bx1, B + 1), fill=(8, 8, 9, 255))
        vgrad(img, (bx0 + 1, 0, bx1 - 1, B - 3), (34, 34, 38), (18, 18, 20))
        d.rectangle((bx0 + 1, B - 3, bx1 - 1, B), fill=(52, 52, 58, 255))
        d.line([(bx0 + 2, 2), (bx0 + 2, B - 5)], fill=(78, 78, 86, 255))
    img = img if not rgb else img.convert("RGB")
    return img


def top_toggle_16():
    """Two 36 × 25 frames, off and on, returned as 16-bit RGBA rows."""
    W, H, s = 72, 25, 4
    big = canvas(W * s, H * s)
    d = ImageDraw.Draw(big)
    for i, on in enumerate((False, True)):
        ox = 36 * i * s
        d.rounded_rectangle((ox + 2 * s, 4 * s, ox + 34 * s - 1, 21 * s - 1), 8 * s, fill=BLACK + (255,))
        track = shade(AMBER, 0.75) if on else (30, 30, 33)
        d.rounded_rectangle((ox + 3 * s, 5 * s, ox + 33 * s - 1, 20 * s - 1), 7 * s, fill=track + (255,))
        kx = ox + (19 if on else 3) * s
        d.ellipse((kx, 3 * s, kx + 15 * s - 1, 22 * s - 1), fill=BLACK + (255,))
        d.ellipse((kx + s, 4 * s, kx + 14 * s - 1, 21 * s - 1), fill=NICKEL + (255,))
        d.ellipse((kx + 3 * s, 6 * s, kx + 9 * s, 11 * s), fill=NICKEL_HI + (255,))
    # box-filter to 16 bits per sample, premultiplied while averaging
    px = big.load()
    rows = []
    for y in range(H):
        row = []
        for x in range(W):
            acc = [0, 0, 0, 0]
            for yy in range(y * s, y * s + s):
                for xx in range(x * s, x * s + s):
                    r, g, b, a = px[xx, yy]
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = s * s
            if acc[3]:
                rgb = [c * 65535 // (acc[3] * 255) for c in acc[:3]]
            else:
                rgb = [0, 0, 0]
            row.append(tuple(rgb) + (acc[3] * 65535 // (255 * n),))
        rows.append(row)
    return rows


# ---- PNG output ------------------------------------------------------------

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def write_png16_rgba(path, rows):
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw += struct.pack(">HHHH", *px)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 16, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def read_ihdr(path):
    with open(path, "rb") as f:
        head = f.read(33)
    assert head[:8] == b"\x89PNG\r\n\x1a\n", path
    assert head[12:16] == b"IHDR", path
    w, h, depth, ctype, comp, filt, inter = struct.unpack(">IIBBBBB", head[16:29])
    return w, h, depth, ctype, inter


def save(out, name, img_or_rows, w, h, ctype, depth):
    path = os.path.join(out, file_name(name))
    if depth == 16:
        write_png16_rgba(path, img_or_rows)
    else:
        img = img_or_rows
        assert img.size == (w, h), (name, img.size)
        img = img.convert("RGB" if ctype == RGB else "RGBA")
        img.save(path, format="PNG", optimize=False, compress_level=9)
    got = read_ihdr(path)
    want = (w, h, depth, ctype, 0)
    if got != want:
        sys.exit("%s: wrote %r, expected %r" % (path, got, want))


def write_rc(out):
    lines = ["// Every image the editor draws, embedded as a \"PNG\" resource.",
             "// Written by tools/artwork/generate.py; names are upper case and the",
             "// loader's lookup ignores case.", ""]
    for name, *_ in IMAGES:
        lines.append('%-24s PNG "%s"' % (name, file_name(name)))
    with open(os.path.join(out, "images.rc"), "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


# ---- contact sheet ---------------------------------------------------------

def checker(w, h):
    img = Image.new("RGBA", (w, h), (150, 150, 150, 255))
    d = ImageDraw.Draw(img)
    for y in range(0, h, 8):
        for x in range((y // 8 % 2) * 8, w, 16):
            d.rectangle((x, y, x + 7, y + 7), fill=(120, 120, 120, 255))
    return img


def main_view_preview(images):
    """The main view's fixed images at their places, for a first look."""
    v = canvas(800, 588)
    paste(v, images["BKGND-TARROW"])
    paste(v, images["BKGND-PANEL"], (0, 252))
    paste(v, images["LOGO-TARROW"], (310, 4))
    paste(v, images["CV"], (351, 34))
    paste(v, images["ACCENT-PANEL"], (20, 55))
    paste(v, images["DISPLAY"], (250, 60))
    paste(v, images["BUTTON-NORMAL"].crop((0, 0, 25, 27)), (200, 136))
    paste(v, images["BUTTON-NORMAL"].crop((65, 0, 90, 27)), (225, 136))
    paste(v, images["BUTTON-PRESSED"].crop((0, 0, 25, 27)), (549, 136))
    paste(v, images["BUTTON-PRESSED"].crop((65, 0, 90, 27)), (574, 136))
    tabs = images["MODE-TABS"]
    for x, on in ((-1, False), (82, True), (165, False)):
        half = tabs.crop((0, 0, 130, 30)) if on else tabs.crop((130, 0, 260, 30))
        v.alpha_composite(half.crop((0, 0, 86, 25)), dest=(max(0, x), 0))
    for i in range(4):
        x = 548 + 62 * i + (1 if i else -1)
        v.alpha_composite(tabs.crop((130, 0, 260, 30)).crop((0, 0, 65, 25)), dest=(x, 0))
    on, off = images["MACROMODES-ON"], images["MACROMODES-OFF"]
    strip = off.copy()
    strip.paste(on.crop((157, 0, 314, 34)), (157, 0))
    paste(v, strip, (7, 258))
    paste(v, images["CAPO2"], (1, 161))
    fing = images["FINGER"]
    for (fx, st, cell) in ((3, 1, (0, 0)), (5, 3, (1, 0)), (7, 4, (2, 0)), (2, 2, (0, 1))):
        cx = (MAIN_FRETS[fx - 1] + MAIN_FRETS[fx] - 16) // 2
        cy = (MAIN_BODY_Y[st] - MAIN_NUT_Y[st]) * (MAIN_FRETS[fx] - 25) // 641 + MAIN_NUT_Y[st] - 6
        paste(v, fing.crop((cell[0] * 16, cell[1] * 12, cell[0] * 16 + 16, cell[1] * 12 + 12)),
              (cx, 161 + cy))
    paste(v, images["KBD"], (50, 503))
    d = ImageDraw.Draw(v)
    d.rectangle((49, 502, 750, 583), outline=(17, 17, 17, 255))
    d.rectangle((17, 502, 782, 583), outline=(17, 17, 17, 255))
    d.rectangle((16, 501, 783, 584), outline=(68, 68, 68, 255))
    return v


def contact_sheet(images, path):
    label_font = font(11, True)
    pad, width = 14, 1640
    tiles = []
    preview = main_view_preview(images)
    tiles.append(("main view (composite preview)", preview))
    for name, w, h, ctype, depth in IMAGES:
        tiles.append(("%s  %d\u00d7%d %s%s" % (name, w, h, "RGB" if ctype == RGB else "RGBA",
                                                " 16-bit" if depth == 16 else ""), images[name]))
    # shelf packing in list order
    placed, x, y, shelf = [], pad, pad, 0
    for label, img in tiles:
        tw = max(img.width, int(ImageDraw.Draw(Image.new("L", (1, 1))).textlength(label, font=label_font)))
        th = img.height + 18
        if x + tw > width - pad:
            x, y, shelf = pad, y + shelf + pad, 0
        placed.append((label, img, x, y))
        x += tw + pad
        shelf = max(shelf, th)
    sheet = Image.new("RGBA", (width, y + shelf + pad), (28, 28, 30, 255))
    d = ImageDraw.Draw(sheet)
    for label, img, x, y in placed:
        d.text((x, y), label, font=label_font, fill=(230, 230, 230, 255))
        bg = checker(img.width, img.height)
        bg.alpha_composite(img.convert("RGBA"))
        sheet.paste(bg, (x, y + 16))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    sheet.convert("RGB").save(path, format="PNG", optimize=False, compress_level=9)


def from16(rows):
    img = canvas(len(rows[0]), len(rows))
    px = img.load()
    for y, row in enumerate(rows):
        for x, (r, g, b, a) in enumerate(row):
            px[x, y] = (r >> 8, g >> 8, b >> 8, a >> 8)
    return img


def build():
    return {
        "ABOUT-TARROW": about(),
        "ACCENT-PANEL": accent_panel(),
        "BKGND-PANEL": bkgnd_panel(),
        "BKGND-TARROW": bkgnd_tarrow(),
        "BUTTON-NORMAL": button_normal(),
        "BUTTON-PRESSED": button_pressed(),
        "CAPO": capo((150, 152, 160), (26, 26, 28), None),
        "CAPO2": capo(NICKEL, (30, 26, 22), AMBER),
        "CAPO3": capo((120, 100, 70), (26, 26, 28), AMBER_DIM),
        "CE-COMBO-TRIANGLE": ce_combo_triangle(),
        "CHECK": check(),
        "COMBO-TRIANGLE": combo_triangle(),
        "CT-BACKGROUND": ct_background(),
        "CT-BULBS-17X8": ct_bulbs(17, 8),
        "CT-BULBS-21X8": ct_bulbs(21, 8),
        "CT-BULBS-26X8": ct_bulbs(26, 8),
        "CT-BULBS-32X11": ct_bulbs(32, 11),
        "CT-EDIT": glyph_button(27, 27, False, g_pencil).convert("RGB"),
        "CTE-DELETE-NORMAL": glyph_button(25, 27, False, g_delete),
        "CTE-DELETE-PRESSED": glyph_button(25, 27, True, g_delete),
        "CTE-MENU-NORMAL": glyph_button(26, 27, False, g_menu),
        "CTE-MENU-PRESSED": glyph_button(26, 27, True, g_menu),
        "CTE-SAVE-NORMAL": glyph_button(26, 27, False, g_save),
        "CTE-SAVE-PRESSED": glyph_button(26, 27, True, g_save),
        "CURVES": curves(False),
        "CURVESPRESSED": curves(True),
        "DARK-ARROWS": dark_arrows(),
        "DISPLAY": display(),
        "DROP-SHADOW": drop_shadow(),
        "FADE": fade(),
        "FINGER": finger(48, 36),
        "FINGEREDIT": finger(81, 60),
        "KBD": keyboard(80, False, False),
        "KBD2": keyboard(64, False, True),
        "KBD2PRESSED": keyboard(64, True, False),
        "KBDPRESSED": keyboard(80, True, True),
        "KSLAMPS": kslamps(),
        "LOGO-TARROW": logo_tarrow(),
        "MACROMODES-OFF": macromodes(False, False),
        "MACROMODES-OFF-PUSHED": macromodes(False, True),
        "MACROMODES-ON": macromodes(True, False),
        "MACROMODES-ON-PUSHED": macromodes(True, True),
        "CV": cv_logo(),
        "MODE-TABS": mode_tabs(),
        "PLECTRUM": plectrum(),
        "RADIO": radio(),
        "SELECT-PATTERN": select_pattern(),
        "SLIDER-THUMB-SM-H": thumb_pair(True),
        "SLIDER-THUMB-SM-V": thumb_pair(False),
        "SLIDERSLOTH": slot_h(),
        "SLIDERSLOTV": slot_v(),
        "SLIDERTHUMBH": fader_cap(30, 21, True, False),
        "SLIDERTHUMBV": fader_cap(20, 20, False, False),
        "SM-BTN-UP-NORMAL": glyph_button(19, 19, False, g_up),
        "SM-BTN-UP-PRESSED": glyph_button(19, 19, True, g_up),
        "SWITCHOFF": switch_img(False),
        "SWITCHON": switch_img(True),
        "TECH": tech(),
        "TOP-PANEL-BG": top_panel_bg(),
        "TOP-TOGGLE": top_toggle_16(),
        "UCM-BUTTON-NORMAL": button_face(73, 23, False, bg=FACE),
        "UCM-BUTTON-PRESSED": button_face(73, 23, True, bg=FACE, accent=True),
        "UCM-DELETE-DISABLED": glyph_button(19, 19, False, g_delete, disabled=True),
        "UCM-DELETE-NORMAL": glyph_button(19, 19, False, g_delete),
        "UCM-DELETE-PRESSED": glyph_button(19, 19, True, g_delete),
        "UCM-MENU-NORMAL": glyph_button(19, 19, False, g_menu),
        "UCM-MENU-PRESSED": glyph_button(19, 19, True, g_menu),
        "UCM-PLAY-NORMAL": glyph_button(26, 27, False, g_play),
        "UCM-PLAY-PRESSED": glyph_button(26, 27, True, g_play),
        "UCM-PM-NORMAL": pm_toggle(False),
        "UCM-PM-PRESSED": pm_toggle(True),
        "UCM-SAVE-DISABLED": glyph_button(19, 19, False, g_save, disabled=True),
        "UCM-SAVE-NORMAL": glyph_button(19, 19, False, g_save),
        "UCM-SAVE-PRESSED": glyph_button(19, 19, True, g_save),
        "UCM-SCROLL-BG": scroll_bg(),
        "UCM-TARROW": ucm_background(),
        "UP-DOWN-ARROWS": up_down_arrows(),
    }


def generate(out, sheet=None):
    """Writes the images and images.rc into out, and the contact sheet to
    sheet unless it is None; the names of the files written into out."""
    assert len(IMAGES) == 77 and len({n for n, *_ in IMAGES}) == 77
    os.makedirs(out, exist_ok=True)
    images = build()
    assert set(images) == {n for n, *_ in IMAGES}
    for name, w, h, ctype, depth in IMAGES:
        save(out, name, images[name], w, h, ctype, depth)
        if depth == 16:
            images[name] = from16(images[name])
    write_rc(out)
    if sheet:
        contact_sheet(images, sheet)
    return [file_name(n) for n, *_ in IMAGES] + ["images.rc"]


def check_committed(committed):
    """0 when committed holds exactly what the script makes, byte for byte."""
    if not os.path.isdir(committed):
        print("artwork: no folder %s" % committed, file=sys.stderr)
        return 1
    with tempfile.TemporaryDirectory(prefix="artwork-") as tmp:
        made = generate(tmp)
        differ = [n for n in made
                  if not os.path.isfile(os.path.join(committed, n))
                  or not filecmp.cmp(os.path.join(tmp, n), os.path.join(committed, n), shallow=False)]
    # The folder may hold other resources; only stray images are ours.
    stray = sorted(n for n in os.listdir(committed) if n.endswith(".png") and n not in made)
    where = os.path.relpath(committed, ROOT)
    for n in differ:
        print("artwork: %s/%s differs from what tools/artwork/generate.py makes" % (where, n), file=sys.stderr)
    for n in stray:
        print("artwork: %s/%s is not made by tools/artwork/generate.py" % (where, n), file=sys.stderr)
    if differ or stray:
        print("artwork: %d of %d files differ, %d stray; regenerate with /usr/bin/python3 tools/artwork/generate.py"
              % (len(differ), len(made), len(stray)), file=sys.stderr)
        return 1
    print("artwork: the %d images and images.rc in %s match the script" % (len(made) - 1, where))
    return 0


def main(argv):
    parser = argparse.ArgumentParser(description="Draws the editor's images and the .rc that embeds them.")
    parser.add_argument("--out", metavar="DIR", default=RESOURCES,
                        help="folder for the images and images.rc (default: src/resources)")
    parser.add_argument("--check", action="store_true",
                        help="write nothing; fail when the images in DIR differ from what the script makes")
    args = parser.parse_args(argv)
    out = os.path.abspath(args.out)
    if args.check:
        return check_committed(out)
    generate(out, SHEET)
    print("wrote %d images and images.rc into %s, and %s" % (len(IMAGES), os.path.relpath(out, ROOT),
                                                            os.path.relpath(SHEET, ROOT)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
