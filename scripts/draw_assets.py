#!/usr/bin/env python3
"""Draws the main window's three pictures and writes them into assets/, the two that the
window carries also compressed (LZNT1, see lznt1.py), as the program stores them.

    python3 scripts/draw_assets.py           # writes the pictures
    python3 scripts/draw_assets.py --check   # fails if assets/ differs from what it draws

- assets/background.bmp: 412 x 237, 24-bit BMP, 292,986 bytes. White title area with a red tab
  on the right, a red band, a grey-lavender bar, a white middle area beside a light grey panel
  holding a yellow smiley with an open red mouth, and a bottom strip: the maker's name
  "Brevane" on dark red, and "MESSENGER" in white over "Twinova" in red on near-black.
- assets/buttons.bmp: 65 x 26, 24-bit BMP, 5,150 bytes. Two glossy orange-red round buttons on
  white: minimise (a bar) and close (an X).
- assets/background.bmp.lznt1, assets/buttons.bmp.lznt1: the two BMP files compressed.
- assets/twinova.ico: one 74 x 66 24-bit image with an all-zero AND mask, 15,638 bytes. The
  right side of the background redrawn at icon size: the smiley above, the black strip below.

Python 3 standard library only. The output is deterministic: every pixel comes from plain
arithmetic (no randomness, clock or platform fonts), so running it twice gives the same bytes.
All art and lettering are our own; the letters come from the small bitmap font below.

The art is laid out against the controls that the window paints over it (in pixels at 15 twips
per pixel): the red title Label2 (8, 8, 129, 25) sits on white; Label6 (256, 8, 145, 25), white
text, sits on the red tab; the white link Label3 (16, 48, 161, 17) sits on a dark capsule let
into the bar, so that both its white and its hover red read; the Apply button Command1
(256, 44, 129, 25) covers only plain bar; Label7, Command2, Command3 and Label1 sit on the
white middle area. The button strip is shown at (128, 0), so its minimise button (window
x 132 to 153) lies inside the click area Label4 (128 to 160) and its close button (168 to 189)
inside Label5 (168 to 200), both within y 0 to 24.
"""

import math
import os
import struct
import sys

import lznt1

# ---------------------------------------------------------------------------------------------
# Canvas: floating-point RGB in sRGB, painted with coverage-weighted blending.


class Canvas:
    def __init__(self, width, height, color=(255, 255, 255)):
        self.width = width
        self.height = height
        self.px = [[list(map(float, color)) for _ in range(width)] for _ in range(height)]

    def blend(self, x, y, color, alpha):
        if alpha <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        alpha = min(alpha, 1.0)
        p = self.px[y][x]
        for i in range(3):
            p[i] += (color[i] - p[i]) * alpha

    def fill(self, x0, y0, x1, y1, paint):
        """Fills the pixels x0..x1-1, y0..y1-1; paint is a colour or a function (x, y) -> colour
        evaluated at the pixel's centre."""
        for y in range(max(y0, 0), min(y1, self.height)):
            for x in range(max(x0, 0), min(x1, self.width)):
                color = paint(x + 0.5, y + 0.5) if callable(paint) else paint
                self.px[y][x] = list(map(float, color))

    def shape(self, inside, bbox, paint, alpha=1.0, samples=4):
        """Paints the region where inside(x, y) holds, anti-aliased by supersampling each pixel
        on a samples x samples grid. bbox = (x0, y0, x1, y1) bounds the region in pixels."""
        x0, y0, x1, y1 = bbox
        offsets = [(i + 0.5) / samples for i in range(samples)]
        total = samples * samples
        for y in range(max(int(math.floor(y0)), 0), min(int(math.ceil(y1)), self.height)):
            for x in range(max(int(math.floor(x0)), 0), min(int(math.ceil(x1)), self.width)):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if inside(x + ox, y + oy):
                            hits += 1
                if hits:
                    color = paint(x + 0.5, y + 0.5) if callable(paint) else paint
                    a = alpha(x + 0.5, y + 0.5) if callable(alpha) else alpha
                    self.blend(x, y, color, a * hits / total)

    def rows_bgr(self):
        """The pixels as 24-bit BGR rows, top row first, each value rounded to the nearest."""
        rows = []
        for row in self.px:
            out = bytearray()
            for r, g, b in row:
                out += bytes((to_byte(b), to_byte(g), to_byte(r)))
            rows.append(bytes(out))
        return rows


def to_byte(v):
    return max(0, min(255, int(math.floor(v + 0.5))))


# ---------------------------------------------------------------------------------------------
# Small helpers: colour mixing and shapes.


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def smoothstep(t):
    t = min(max(t, 0.0), 1.0)
    return t * t * (3.0 - 2.0 * t)


def vertical(top_y, bottom_y, top, bottom):
    """A vertical gradient: top colour at the centre of row top_y, bottom at row bottom_y."""
    span = float(bottom_y - top_y) or 1.0
    return lambda x, y: mix(top, bottom, (y - 0.5 - top_y) / span)


def circle(cx, cy, r):
    r2 = r * r
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r2


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def rounded_rect(x0, y0, x1, y1, r):
    """The rectangle [x0, x1] x [y0, y1] in continuous coordinates with corners of radius r."""

    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        dx = max(x0 + r - x, 0.0, x - (x1 - r))
        dy = max(y0 + r - y, 0.0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r

    return inside


def segment_distance2(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return qx * qx + qy * qy


def capsules(segments, radius):
    """The union of round-ended strokes of the given radius along segments ((ax, ay), (bx, by))."""
    r2 = radius * radius

    def inside(x, y):
        for (ax, ay), (bx, by) in segments:
            if segment_distance2(x, y, ax, ay, bx, by) <= r2:
                return True
        return False

    return inside


# ---------------------------------------------------------------------------------------------
# The bitmap font: 5 x 7 cells, '#' on. Lower case uses rows 2 to 6 (no descenders needed).

FONT = {
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "w": [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
}


def glyph_cells(ch):
    rows = FONT[ch]
    return {(i, j) for j, row in enumerate(rows) for i, c in enumerate(row) if c == "#"}


def glyph_columns(ch):
    cols = [i for i, _ in glyph_cells(ch)]
    return min(cols), max(cols)


def glyph_strokes(ch, x0, y0, cx, cy):
    """The glyph as strokes between the centres of neighbouring cells: orthogonal neighbours
    always, diagonal ones where neither shared orthogonal cell is on (so corners stay sharp
    and diagonals come out smooth). Cell (i, j) is centred at (x0 + i*cx, y0 + j*cy)."""
    cells = glyph_cells(ch)
    at = lambda i, j: (x0 + i * cx, y0 + j * cy)
    segments = []
    for i, j in sorted(cells):
        segments.append((at(i, j), at(i, j)))
        for di, dj in ((1, 0), (0, 1)):
            if (i + di, j + dj) in cells:
                segments.append((at(i, j), at(i + di, j + dj)))
        for di in (1, -1):
            if (i + di, j + 1) in cells and (i + di, j) not in cells and (i, j + 1) not in cells:
                segments.append((at(i, j), at(i + di, j + 1)))
    return segments


def stroked_text_width(text, cx, pen, gap):
    width = 0.0
    for k, ch in enumerate(text):
        lo, hi = glyph_columns(ch)
        width += (hi - lo) * cx + 2 * pen + (gap if k else 0.0)
    return width


def draw_stroked_text(canvas, text, left, top, cx, cy, pen, gap, paint, shadow=None):
    """Draws text with round strokes of radius pen through the font's cells; left and top are
    the outer edges of the ink (cap height = 6*cy + 2*pen). shadow = (dx, dy, colour, alpha)."""
    x = left
    for ch in text:
        lo, hi = glyph_columns(ch)
        origin_x = x + pen - lo * cx
        strokes = glyph_strokes(ch, origin_x, top + pen, cx, cy)
        bbox = (x - 1, top - 1, x + (hi - lo) * cx + 2 * pen + 1, top + 6 * cy + 2 * pen + 1)
        if shadow:
            dx, dy, color, alpha = shadow
            moved = [((ax + dx, ay + dy), (bx + dx, by + dy)) for (ax, ay), (bx, by) in strokes]
            canvas.shape(capsules(moved, pen), (bbox[0] + dx, bbox[1] + dy, bbox[2] + dx,
                                                bbox[3] + dy), color, alpha, samples=5)
        canvas.shape(capsules(strokes, pen), bbox, paint, samples=5)
        x += (hi - lo) * cx + 2 * pen + gap


def draw_pixel_text(canvas, text, left, top, color):
    """Draws text crisply, one font cell per pixel, one blank column between letters."""
    x = left
    for ch in text:
        lo, hi = glyph_columns(ch)
        for i, j in glyph_cells(ch):
            canvas.blend(x + i - lo, top + j, color, 1.0)
        x += hi - lo + 2


def pixel_text_width(text):
    return sum(hi - lo + 1 for lo, hi in map(glyph_columns, text)) + len(text) - 1


# ---------------------------------------------------------------------------------------------
# The palette.

WHITE = (255, 255, 255)
TAB_TOP = (236, 65, 39)
TAB_BOTTOM = (221, 44, 20)
BAND = (216, 45, 19)
BAR_TOP = (202, 202, 219)
BAR_BOTTOM = (142, 142, 170)
LINK_TOP = (70, 70, 102)
LINK_BOTTOM = (40, 40, 62)
PANEL = (243, 243, 243)
STRIP_TOP = (150, 26, 16)
STRIP_BOTTOM = (92, 10, 6)
BLACK_TOP = (30, 30, 34)
BLACK_BOTTOM = (10, 10, 12)
BUTTON = (250, 103, 36)
BUTTON_LIGHT = (255, 168, 110)
BUTTON_DARK = (206, 62, 14)
BUTTON_RIM = (172, 48, 12)
FACE_LIGHT = (255, 241, 120)
FACE = (255, 207, 24)
FACE_EDGE = (236, 160, 0)
FACE_OUTLINE = (150, 92, 0)
EYE = (48, 30, 8)
MOUTH = (168, 16, 16)
MOUTH_DEEP = (110, 6, 10)
TONGUE = (238, 78, 70)
TEXT_RED = (236, 65, 39)


# ---------------------------------------------------------------------------------------------
# The smiley, drawn at any centre and radius (the background and the icon share it).


def draw_smiley(canvas, cx, cy, r, samples=4, shadow=True):
    s = r / 45.0  # the design below is at radius 45
    box = lambda rx, ry, w, h: (rx - w, ry - h, rx + w + 1, ry + h + 1)
    if shadow:
        # A soft contact shadow: a few nested ellipses of low opacity.
        for k in range(6):
            grow = (6 - k) * 1.6 * s
            canvas.shape(ellipse(cx + 2 * s, cy + 40 * s, 34 * s + grow, 7 * s + grow * 0.45),
                         box(cx + 2 * s, cy + 40 * s, 48 * s, 14 * s), (90, 90, 96), 0.05,
                         samples)
    # Outline ring and face with a radial gradient lit from the upper left.
    canvas.shape(circle(cx, cy, r), box(cx, cy, r, r), FACE_OUTLINE, 1.0, samples)
    lx, ly = cx - 14 * s, cy - 18 * s

    def face(x, y):
        d = math.sqrt((x - lx) ** 2 + (y - ly) ** 2) / (r * 1.45)
        if d < 0.45:
            return mix(FACE_LIGHT, FACE, d / 0.45)
        return mix(FACE, FACE_EDGE, (d - 0.45) / 0.55)

    canvas.shape(circle(cx, cy, r - 1.8 * s), box(cx, cy, r, r), face, 1.0, samples)
    # Eyes: upright ovals with a small catch-light each.
    for ex in (-15.0, 15.0):
        canvas.shape(ellipse(cx + ex * s, cy - 13 * s, 5.6 * s, 9.5 * s),
                     box(cx + ex * s, cy - 13 * s, 6 * s, 10 * s), EYE, 1.0, samples)
        canvas.shape(circle(cx + (ex - 1.8) * s, cy - 17 * s, 1.9 * s),
                     box(cx + (ex - 1.8) * s, cy - 17 * s, 2 * s, 2 * s), WHITE, 0.9, samples)
    # The open mouth: the lower half of a disc under a gently curved upper lip.
    mx, my, mr = cx, cy + 2 * s, 29 * s
    lip = lambda x: my + 4 * s + 5 * s * ((x - mx) / mr) ** 2
    disc, inner_disc = circle(mx, my, mr), circle(mx, my, mr - 2.2 * s)
    mouth = lambda x, y: y >= lip(x) and disc(x, y)
    inner = lambda x, y: y >= lip(x) + 2.2 * s and inner_disc(x, y)
    canvas.shape(mouth, box(mx, my + mr / 2, mr, mr / 2 + 2), FACE_OUTLINE, 1.0, samples)
    canvas.shape(inner, box(mx, my + mr / 2, mr, mr / 2 + 2),
                 vertical(my + 6 * s, my + mr, MOUTH_DEEP, MOUTH), 1.0, samples)
    tongue_oval = ellipse(mx, my + mr, 17 * s, 13 * s)
    tongue = lambda x, y: inner(x, y) and tongue_oval(x, y)
    canvas.shape(tongue, box(mx, my + mr - 6 * s, 18 * s, 10 * s), TONGUE, 1.0, samples)
    # Gloss: a pale crescent of light on the upper left of the face.
    gloss_oval = ellipse(cx - 12 * s, cy - 27 * s, 24 * s, 12 * s)
    face_inner = circle(cx, cy, r - 4 * s)
    gloss = lambda x, y: gloss_oval(x, y) and face_inner(x, y)
    canvas.shape(gloss, box(cx - 12 * s, cy - 27 * s, 25 * s, 13 * s), WHITE,
                 lambda x, y: 0.55 * (1.0 - smoothstep((y - (cy - 38 * s)) / (22 * s))), samples)


# ---------------------------------------------------------------------------------------------
# The background picture, 412 x 237.

W, H = 412, 237


def tab_edge(y):
    """The red tab's left edge at height y: an S-curve from x 225 at the top to 204 at y 28, then
    a round fillet of radius 4 into the red band at y 32."""
    if y <= 28.0:
        return 225.0 - 21.0 * smoothstep(y / 28.0)
    r = 4.0
    dy = min(y, 32.0) - (32.0 - r)
    return 204.0 - r + math.sqrt(max(r * r - dy * dy, 0.0))


def draw_background():
    c = Canvas(W, H)
    # y 0 to 31: white, with the red tab on the right.
    tab = vertical(0, 31, TAB_TOP, TAB_BOTTOM)
    c.shape(lambda x, y: x >= tab_edge(y) or y >= 32.0, (195, 0, W, 32), tab, samples=8)
    # y 32 to 37: the red band; y 38: a white line.
    c.fill(0, 32, W, 38, BAND)
    c.fill(0, 38, W, 39, WHITE)
    # y 72 to 192: white on the left, the light grey panel on the right with a soft glow where
    # the smiley sits. Painted before the bar so that the bar's rounded corners blend into it.
    c.fill(0, 72, 232, 193, WHITE)

    def panel(x, y):
        d = math.sqrt(((x - 320) / 110.0) ** 2 + ((y - 138) / 75.0) ** 2)
        return mix((249, 249, 249), (240, 240, 241), d)

    c.fill(232, 39, W, 193, panel)
    c.fill(0, 39, 232, 72, WHITE)
    # y 39 to 71: the grey-lavender bar with slightly rounded lower corners and a light top edge.
    bar = vertical(39, 71, BAR_TOP, BAR_BOTTOM)
    c.shape(lambda x, y: y <= 66.0 or rounded_rect(0.0, 39.0, W, 72.0, 6.0)(x, y),
            (0, 39, W, 72), bar, samples=8)
    c.fill(0, 39, W, 40, mix(BAR_TOP, WHITE, 0.35))
    # The link's capsule on the bar, under Label3 (16, 48, 161, 17), with a 1-pixel bevel.
    link = rounded_rect(8.0, 45.0, 185.0, 67.0, 10.0)
    c.shape(rounded_rect(8.0, 46.0, 185.0, 68.0, 10.0), (7, 44, 187, 70), WHITE, 0.45, samples=8)
    c.shape(link, (7, 44, 187, 69), (36, 36, 56), samples=8)
    c.shape(rounded_rect(9.0, 46.0, 184.0, 66.0, 9.0), (7, 44, 187, 69),
            vertical(46, 66, LINK_TOP, LINK_BOTTOM), samples=8)
    # The smiley mascot, x 275 to 364, y 93 to 182.
    draw_smiley(c, 320.0, 138.0, 45.0)
    # y 193 to 236: the bottom strip. Dark red on the left with the maker's name ...
    c.fill(0, 193, 231, H, vertical(194, 236, STRIP_TOP, STRIP_BOTTOM))
    c.fill(0, 193, 231, 194, mix(STRIP_TOP, TAB_TOP, 0.5))
    name_width = stroked_text_width("Brevane", 3.5, 2.5, 2.0)
    draw_stroked_text(c, "Brevane", round(115.5 - name_width / 2), 204, 3.5, 3.5, 2.5, 2.0,
                      WHITE, shadow=(1.0, 1.5, (40, 0, 0), 0.55))
    # ... a black line, and the near-black panel with "MESSENGER" and "Twinova".
    c.fill(231, 193, 232, H, (0, 0, 0))
    c.fill(232, 193, W, H, vertical(193, 236, BLACK_TOP, BLACK_BOTTOM))
    logo_width = stroked_text_width("MESSENGER", 3.2, 1.0, 2.3)
    draw_stroked_text(c, "MESSENGER", round(312 - logo_width / 2), 208, 3.2, 1.85, 1.0, 2.3, WHITE)
    word_width = stroked_text_width("Twinova", 1.25, 0.85, 1.0)
    draw_stroked_text(c, "Twinova", round(315 - word_width / 2), 223, 1.25, 1.4, 0.85, 1.0,
                      TEXT_RED)
    return c


# ---------------------------------------------------------------------------------------------
# The button strip, 65 x 26: minimise (x 4 to 25) and close (x 40 to 61), y 2 to 23.


def draw_round_button(c, cx, cy, r, samples=8):
    box = (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1)
    c.shape(circle(cx, cy, r), box, BUTTON_RIM, samples=samples)

    def body(x, y):
        # Lit from above: darker towards the lower rim, with a faint glow of reflected light
        # along the bottom.
        d = math.sqrt((x - cx) ** 2 + (y - (cy - r * 0.2)) ** 2) / r
        color = mix(BUTTON, BUTTON_DARK, smoothstep((d - 0.35) / 0.75))
        glow = 1.0 - smoothstep(math.sqrt((x - cx) ** 2 + (y - (cy + r)) ** 2) / (r * 0.75))
        return mix(color, BUTTON_LIGHT, 0.55 * glow)

    c.shape(circle(cx, cy, r - 1.0), box, body, samples=samples)
    # A glossy cap of light over the upper half, fading downwards.
    cap = ellipse(cx, cy - r * 0.42, r * 0.72, r * 0.48)
    c.shape(cap, box, WHITE,
            lambda x, y: 0.62 * (1.0 - smoothstep((y - (cy - r)) / (r * 0.95))), samples)


def draw_buttons():
    c = Canvas(65, 26)
    for cx in (15.0, 51.0):
        draw_round_button(c, cx, 13.0, 11.0)
    shade = (150, 40, 8)
    # Minimise: a short white bar, a little below the middle like a window's minimise glyph.
    bar = lambda dx, dy: capsules([((10.5 + dx, 15.0 + dy), (19.5 + dx, 15.0 + dy))], 1.35)
    c.shape(bar(0.0, 0.8), (8, 13, 23, 19), shade, 0.45, samples=8)
    c.shape(bar(0.0, 0.0), (8, 12, 23, 18), WHITE, samples=8)
    # Close: a white X.
    x_mark = lambda dx, dy: capsules([((47.0 + dx, 9.0 + dy), (55.0 + dx, 17.0 + dy)),
                                      ((55.0 + dx, 9.0 + dy), (47.0 + dx, 17.0 + dy))], 1.35)
    c.shape(x_mark(0.0, 0.8), (44, 6, 59, 21), shade, 0.45, samples=8)
    c.shape(x_mark(0.0, 0.0), (44, 6, 59, 20), WHITE, samples=8)
    return c


# ---------------------------------------------------------------------------------------------
# The icon, 74 x 66: the background's right side redrawn at this size.


def draw_icon():
    c = Canvas(74, 66)

    def panel(x, y):
        d = math.sqrt(((x - 37) / 46.0) ** 2 + ((y - 23) / 30.0) ** 2)
        return mix((249, 249, 249), (236, 236, 238), d)

    c.fill(0, 0, 74, 47, panel)
    draw_smiley(c, 37.0, 23.5, 21.0, samples=8, shadow=False)
    c.fill(0, 47, 74, 66, vertical(47, 65, BLACK_TOP, BLACK_BOTTOM))
    draw_pixel_text(c, "MESSENGER", 37 - pixel_text_width("MESSENGER") // 2, 49, WHITE)
    draw_pixel_text(c, "Twinova", 37 - pixel_text_width("Twinova") // 2, 57, TEXT_RED)
    return c


# ---------------------------------------------------------------------------------------------
# File formats.


def padded_rows(canvas):
    """Bottom row first, each row padded to a multiple of 4 bytes."""
    out = bytearray()
    for row in reversed(canvas.rows_bgr()):
        out += row + b"\0" * (-len(row) % 4)
    return bytes(out)


def bmp_file(canvas):
    pixels = padded_rows(canvas)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(pixels),
                       0, 0, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def ico_file(canvas):
    colour = padded_rows(canvas)
    mask_row = (canvas.width + 31) // 32 * 4
    mask = b"\0" * (mask_row * canvas.height)  # all zero: every pixel opaque
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, 2 * canvas.height, 1, 24, 0, 0, 0, 0,
                       0, 0)
    image = info + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", canvas.width, canvas.height, 0, 0, 1, 24, len(image), 22)
    return directory + entry + image


def main():
    check = sys.argv[1:] == ["--check"]
    assets = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets")
    outputs = {
        "background.bmp": bmp_file(draw_background()),
        "buttons.bmp": bmp_file(draw_buttons()),
        "twinova.ico": ico_file(draw_icon()),
    }
    for name, size in (("background.bmp", 292986), ("buttons.bmp", 5150), ("twinova.ico", 15638)):
        assert len(outputs[name]) == size, f"{name}: {len(outputs[name])} bytes, expected {size}"
    for name in ("background.bmp", "buttons.bmp"):
        outputs[name + ".lznt1"] = lznt1.compress(outputs[name])
    differing = []
    for name, data in outputs.items():
        path = os.path.join(assets, name)
        if check:
            with open(path, "rb") as f:
                if f.read() != data:
                    differing.append(f"assets/{name}")
            continue
        with open(path, "wb") as f:
            f.write(data)
        print(f"assets/{name}: {len(data)} bytes")
    if differing:
        sys.exit("not what scripts/draw_assets.py draws: " + ", ".join(differing))


if __name__ == "__main__":
    main()
