#!/usr/bin/env python3
"""Draws every image of the plug-in and writes them as XPM files into ui/art/.

Standard library only. Each image is drawn in a 16-unit box by a small supersampling rasteriser
(filled rectangles, rounded rectangles, ellipses, polygons and thick lines, each optionally with a
one-pixel outline) and reduced to its pixel size; a pixel is transparent ("None") when less than
half of it is covered. Run it from anywhere: python3 scripts/make-art.py
"""
import math
import os
import re

SS = 4  # subsamples per pixel along each axis
ART_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui", "art")


def rgb(text):
    return (int(text[1:3], 16), int(text[3:5], 16), int(text[5:7], 16))


def shade(colour, f):
    """Darker (f < 1) or lighter (f > 1, towards white) variant of colour."""
    if f <= 1:
        return tuple(int(v * f) for v in colour)
    t = f - 1
    return tuple(int(v + (255 - v) * t) for v in colour)


class Mask:
    """A set of subpixels: one int per row, bit x set when subpixel x is inside."""

    def __init__(self, w, h, rows=None):
        self.w, self.h = w, h
        self.rows = rows if rows is not None else [0] * h

    def __or__(self, o):
        return Mask(self.w, self.h, [a | b for a, b in zip(self.rows, o.rows)])

    def __and__(self, o):
        return Mask(self.w, self.h, [a & b for a, b in zip(self.rows, o.rows)])

    def __sub__(self, o):
        return Mask(self.w, self.h, [a & ~b for a, b in zip(self.rows, o.rows)])

    def erode(self, r):
        full = (1 << self.w) - 1
        rows = self.rows
        for _ in range(r):
            rows = [m & (m >> 1) & (m << 1) & full for m in rows]
        for _ in range(r):
            rows = [rows[y] & (rows[y - 1] if y > 0 else 0) & (rows[y + 1] if y + 1 < self.h else 0)
                    for y in range(self.h)]
        return Mask(self.w, self.h, rows)


class Canvas:
    """A w x h pixel image drawn in units; `unit` pixels per unit (a 16 px icon has unit 1)."""

    def __init__(self, w, h, unit):
        self.w, self.h = w, h
        self.W, self.H = w * SS, h * SS
        self.k = unit * SS
        self.px = 1.0 / unit  # one pixel, in units
        self.big = unit >= 2
        self.buf = [None] * (self.W * self.H)
        self.tf = (0.0, 0.0, 1.0)
        self.stack = []

    # Transforms: marks and small copies of icons are drawn through them.
    def push(self, ox, oy, s):
        self.stack.append(self.tf)
        x, y, t = self.tf
        self.tf = (x + ox * t, y + oy * t, t * s)

    def pop(self):
        self.tf = self.stack.pop()

    def _pt(self, x, y):
        ox, oy, s = self.tf
        return ox + x * s, oy + y * s

    def _len(self, v):
        return v * self.tf[2]

    # Shapes: each returns a Mask.
    def _mask(self, spans, y0, y1):
        rows = [0] * self.H
        k = self.k
        j0 = max(0, int(math.floor(y0 * k)))
        j1 = min(self.H, int(math.ceil(y1 * k)) + 1)
        for j in range(j0, j1):
            yc = (j + 0.5) / k
            for xa, xb in spans(yc):
                i0 = max(0, math.ceil(xa * k - 0.5))
                i1 = min(self.W, math.ceil(xb * k - 0.5))
                if i1 > i0:
                    rows[j] |= ((1 << i1) - 1) ^ ((1 << i0) - 1)
        return Mask(self.W, self.H, rows)

    def poly(self, pts):
        p = [self._pt(x, y) for x, y in pts]
        edges = list(zip(p, p[1:] + p[:1]))

        def spans(yc):
            xs = []
            for (xa, ya), (xb, yb) in edges:
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            return list(zip(xs[0::2], xs[1::2]))

        ys = [y for _, y in p]
        return self._mask(spans, min(ys), max(ys))

    def rect(self, x0, y0, x1, y1):
        return self.poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])

    def ellipse(self, cx, cy, rx, ry=None):
        ry = rx if ry is None else ry
        cx, cy = self._pt(cx, cy)
        rx, ry = self._len(rx), self._len(ry)

        def spans(yc):
            d = (yc - cy) / ry
            if abs(d) >= 1:
                return []
            hw = rx * math.sqrt(1 - d * d)
            return [(cx - hw, cx + hw)]

        return self._mask(spans, cy - ry, cy + ry)

    def rrect(self, x0, y0, x1, y1, r):
        x0, y0 = self._pt(x0, y0)
        x1, y1 = self._pt(x1, y1)
        r = self._len(r)

        def spans(yc):
            if not y0 <= yc < y1:
                return []
            d = max(y0 + r - yc, yc - (y1 - r), 0)
            inset = r - math.sqrt(max(0.0, r * r - d * d))
            return [(x0 + inset, x1 - inset)]

        return self._mask(spans, y0, y1)

    def line(self, x0, y0, x1, y1, w):
        dx, dy = x1 - x0, y1 - y0
        n = math.hypot(dx, dy) or 1
        nx, ny = -dy / n * w / 2, dx / n * w / 2
        m = self.poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])
        return m | self.ellipse(x0, y0, w / 2) | self.ellipse(x1, y1, w / 2)

    def polyline(self, pts, w):
        m = self.empty()
        for a, b in zip(pts, pts[1:]):
            m = m | self.line(a[0], a[1], b[0], b[1], w)
        return m

    def ring(self, cx, cy, r, w, ry=None):
        ry = r if ry is None else ry
        return self.ellipse(cx, cy, r, ry) - self.ellipse(cx, cy, r - w, ry - w)

    def star(self, cx, cy, r_out, r_in, n=5):
        pts = []
        for i in range(2 * n):
            a = math.pi * i / n - math.pi / 2
            r = r_out if i % 2 == 0 else r_in
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        return self.poly(pts)

    def empty(self):
        return Mask(self.W, self.H)

    def glyph(self, rows, x, y, cell):
        """A pixel glyph: rows of '#' and '.', each cell `cell` units square, top left at x, y."""
        m = self.empty()
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch == "#":
                    m = m | self.rect(x + i * cell, y + j * cell, x + (i + 1) * cell, y + (j + 1) * cell)
        return m

    # Painting.
    def paint(self, mask, colour):
        for y, m in enumerate(mask.rows):
            if not m:
                continue
            base = y * self.W
            for run in re.finditer("1+", bin(m)[2:][::-1]):
                a, b = run.span()
                self.buf[base + a:base + b] = [colour] * (b - a)

    def fill(self, mask, colour, outline=True):
        """Fills mask with colour; with a one-pixel outline (a darker shade unless given)."""
        colour = rgb(colour) if isinstance(colour, str) else colour
        if outline:
            edge = shade(colour, 0.5) if outline is True else (rgb(outline) if isinstance(outline, str)
                                                                 else outline)
            self.paint(mask, edge)
            mask = mask.erode(SS)
        self.paint(mask, colour)

    def solid(self, mask, colour):
        self.fill(mask, colour, outline=False)

    def erase(self, mask):
        self.paint(mask, None)

    def pixels(self):
        """Rows of pixels, each an (r, g, b) tuple or None for a transparent pixel."""
        out = []
        half = SS * SS / 2
        for y in range(self.h):
            row = []
            for x in range(self.w):
                cols = []
                for sy in range(SS):
                    base = (y * SS + sy) * self.W + x * SS
                    cols.extend(c for c in self.buf[base:base + SS] if c is not None)
                if len(cols) < half:
                    row.append(None)
                else:
                    n = len(cols)
                    row.append(tuple((sum(c[i] for c in cols) + n // 2) // n for i in range(3)))
            out.append(row)
        return out


# ---------------------------------------------------------------------------------------------
# Shared parts.

WHITE = "#ffffff"
INK = "#2b2f36"
GOLD = "#f2c230"

QUESTION = [".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."]
QUESTION_BIG = [".####.", "##..##", "....##", "...##.", "..##..", "......", "..##.."]


def card(c, colour):
    c.fill(c.rrect(0.5, 3, 15.5, 13, 1.5), colour)


def chip(c, x, y, colour=GOLD):
    c.fill(c.rrect(x, y, x + 3.5, y + 3, 0.5), colour)


def doc(c, x0=2.5, x1=13.5, y1=15.5):
    y0 = 0.5
    fold = 3.5
    page = c.poly([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    c.fill(page, WHITE, "#6b7380")
    c.fill(c.poly([(x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)]), "#d5dae2", "#6b7380")


def doc_lines(c, x0, x1, ys, colour="#8a94a3"):
    for y in ys:
        c.solid(c.rect(x0, y, x1, y + 1), colour)


def folder(c, colour, x0=0.5, y0=2.5, x1=15.5, y1=14.5):
    back = c.poly([(x0, y0), (x0 + 5.5, y0), (x0 + 7, y0 + 2), (x1, y0 + 2), (x1, y1), (x0, y1)])
    c.fill(back, shade(colour, 0.85))
    c.fill(c.rect(x0, y0 + 4, x1, y1), colour)


def person(c, cx, base, scale, shirt, skin="#f1c27d"):
    c.fill(c.ellipse(cx, base - 9.5 * scale, 2.8 * scale), skin)
    body = c.ellipse(cx, base, 5.5 * scale, 5.5 * scale) & c.rect(0, 0, 16, base)
    c.fill(body, shirt)


def padlock(c, body=GOLD, x0=3, x1=13, top=7.5, bottom=15.5):
    cx = (x0 + x1) / 2
    r = (x1 - x0) / 2 - 1.5
    arc = top - 2
    shackle = c.ring(cx, arc, r, 2) & c.rect(0, 0, 16, arc)
    for x in (cx - r, cx + r - 2):
        shackle = shackle | c.rect(x, arc - 0.1, x + 2, top + 1)
    c.fill(shackle, "#9aa3ad")
    c.fill(c.rrect(x0, top, x1, bottom, 1.5), body)
    hole = c.ellipse(cx, top + (bottom - top) * 0.4, 1.3) | c.rect(cx - 0.6, top + (bottom - top) * 0.4,
                                                                   cx + 0.6, bottom - 2)
    c.solid(hole, shade(rgb(body) if isinstance(body, str) else body, 0.35))


def key(c, colour=GOLD):
    bow = c.ellipse(4.5, 8, 3.8)
    shaft = c.rect(7.5, 7, 15.5, 9.5)
    teeth = c.rect(11.5, 9, 13, 12) | c.rect(13.5, 9, 15.5, 11.5)
    c.fill(bow | shaft | teeth, colour)
    c.erase(c.ellipse(3.5, 8, 1.3))


def globe(c, sea="#3a8ee6", land="#56b85a"):
    ball = c.ellipse(8, 8, 7.3)
    c.fill(ball, sea)
    inner = ball.erode(SS)
    land_mask = c.ellipse(5.5, 5.5, 3.2, 2.6) | c.ellipse(10.5, 11, 2.8, 2.2) | c.ellipse(12, 4.5, 1.6)
    c.solid(inner & land_mask, land)
    lines = c.ring(8, 8, 3.2, 1, 7.3) | c.rect(0, 7.5, 16, 8.5)
    c.solid(lines & inner, "#d9ecff")


def envelope(c, colour="#fbfbf4"):
    c.fill(c.rect(0.5, 3.5, 15.5, 12.5), colour, "#4a6fa5")
    c.solid(c.polyline([(1, 4), (8, 9.5), (15, 4)], 1.2), "#4a6fa5")


def house(c):
    c.fill(c.rect(2.5, 7.5, 13.5, 15.5), "#f3dfb5")
    c.fill(c.poly([(0.3, 8.5), (8, 0.8), (15.7, 8.5)]), "#d8452f")
    c.fill(c.rect(6.5, 10.5, 9.5, 15.5), "#8a5a2e")


def star(c, colour=GOLD, cx=8, cy=8.6, r=7.6):
    c.fill(c.star(cx, cy, r, r * 0.45), colour)


def heart(c, colour="#e0284a"):
    m = c.ellipse(4.6, 5.8, 4.1) | c.ellipse(11.4, 5.8, 4.1) | c.poly([(0.8, 7.3), (15.2, 7.3), (8, 15)])
    c.fill(m, colour)


def bank(c):
    colour = "#c9ced6"
    c.fill(c.poly([(0.5, 5.5), (8, 0.5), (15.5, 5.5)]), colour)
    for x in (2.5, 6.5, 10.5):
        c.fill(c.rect(x, 5.5, x + 3, 12.5), WHITE, "#6b7380")
    c.fill(c.rect(0.5, 12.5, 15.5, 15.5), colour)


def car(c, body="#2d6bd1"):
    cabin = c.poly([(3.5, 7.5), (5.5, 3), (11, 3), (13, 7.5)])
    c.fill(cabin, body)
    c.solid(c.poly([(5, 7), (6.3, 4.2), (10.3, 4.2), (11.6, 7)]) & cabin.erode(SS), "#cfe8ff")
    c.fill(c.rrect(0.5, 6.5, 15.5, 12.5, 2), body)
    for x in (4.5, 11.5):
        c.fill(c.ellipse(x, 12.5, 2.4), "#30343a")
        c.solid(c.ellipse(x, 12.5, 0.9), "#b9bec6")


def phone(c, body="#30343a", screen="#7cc6f2"):
    c.fill(c.rrect(3.5, 0.5, 12.5, 15.5, 1.5), body)
    c.solid(c.rect(5, 2.5, 11, 12.5), screen)
    c.solid(c.ellipse(8, 14, 0.8), "#9aa3ad")


def person_icon(c, shirt="#3b7dd8"):
    person(c, 8, 15.5, 1.35, shirt)


def wallet(c):
    c.fill(c.rrect(2.5, 1.5, 12.5, 8, 1), "#3a8ee6")  # a card peeking out
    c.fill(c.rrect(0.5, 4.5, 15.5, 15, 2), "#8b5a2e")
    c.fill(c.rrect(8.5, 7.5, 15.5, 12, 1.2), "#a8733f")
    c.solid(c.ellipse(11.5, 9.75, 1.1), GOLD)


def archive(c):
    c.fill(c.rect(1.5, 5.5, 14.5, 15.5), "#c8903e")
    c.fill(c.rect(0.5, 2.5, 15.5, 6.5), "#a8733f")
    c.fill(c.rect(5.5, 8.5, 10.5, 11), "#f7ecd5", "#6d4a22")


def question_badge(c):
    c.fill(c.ellipse(8, 8, 7.5), "#2f7ed8")
    if c.big:
        c.solid(c.glyph(QUESTION_BIG, 5, 3.5, 1.0), WHITE)
    else:
        c.solid(c.glyph(QUESTION, 5.5, 4.5, 1.0), WHITE)


def magnifier(c):
    c.fill(c.line(10, 10, 14.5, 14.5, 3), "#6b4a2a")
    c.fill(c.ellipse(6.5, 6.5, 5.5), "#dff1ff", "#39414d")
    c.solid(c.ring(6.5, 6.5, 5.5, 1.5), "#7f8b99")


# ---------------------------------------------------------------------------------------------
# Group 0: cards.

def card_credit(c):
    card(c, "#2f6fd6")
    c.solid(c.rect(1, 5, 15, 7.5), "#17233f")
    c.solid(c.rect(2.5, 9.5, 9.5, 10.5), "#cfe0ff")


def card_gold(c):
    card(c, "#e8b730")
    chip(c, 2.5, 5.5, "#d9dde3")
    for x in (8.5, 10.5, 12.5):
        c.solid(c.rect(x, 9.5, x + 1, 10.5), "#7a5a10")


def card_debit(c):
    card(c, "#2e9b4f")
    chip(c, 2.5, 5.5)
    wave = c.empty()
    for r in (2, 4):
        wave = wave | c.ring(9.5, 8, r, 1)
    c.solid(wave & c.rect(10, 3, 16, 13), WHITE)


def card_loyalty(c):
    card(c, "#f08a24")
    c.fill(c.star(8, 8.3, 4.6, 2.0), "#fff6d0", "#a14f00")


def card_id(c):
    card(c, "#dfe7f0")
    c.fill(c.rect(2.5, 5, 7.5, 11.5), "#7fb2e5", "#4a6fa5")
    c.solid(c.ellipse(5, 7, 1.1) | (c.ellipse(5, 11, 2, 2) & c.rect(0, 0, 16, 11)), "#2d4f80")
    doc_lines(c, 9, 14, (6, 9), "#4a5563")


def card_member(c):
    card(c, "#7b4fc9")
    c.fill(c.ellipse(8, 8, 3.5), "#ffd54a")
    c.solid(c.ellipse(8, 8, 1.4), "#7b4fc9")


def card_gift(c):
    card(c, "#d83a3a")
    c.solid(c.rect(5, 3.5, 7, 12.5) | c.rect(1, 7, 15, 9), "#ffd54a")
    c.fill(c.ellipse(4.3, 6, 1.8, 1.3) | c.ellipse(7.7, 6, 1.8, 1.3), "#ffd54a", "#a06a00")


def card_business(c):
    card(c, "#fbfbfb")
    c.fill(c.rect(2.5, 5, 6, 8.5), "#2f6fd6")
    doc_lines(c, 7.5, 13.5, (5.5, 7.5), "#4a5563")
    doc_lines(c, 2.5, 11, (10,), "#9aa3ad")


def card_stack(c):
    c.fill(c.rrect(3.5, 1, 15.5, 10, 1.5), "#9aa3ad")
    c.fill(c.rrect(0.5, 5.5, 12.5, 14.5, 1.5), "#17a2a2")
    c.solid(c.rect(1, 7.5, 12, 9.5), "#0b4f4f")


CARDS = [card_credit, card_gold, card_debit, card_loyalty, card_id, card_member, card_gift, card_business,
         card_stack]


# ---------------------------------------------------------------------------------------------
# Group 1: computer.

def comp_monitor(c):
    c.fill(c.rect(6.5, 11.5, 9.5, 14), "#6b7380")
    c.fill(c.rect(3.5, 13.5, 12.5, 15.5), "#6b7380")
    c.fill(c.rrect(0.5, 1.5, 15.5, 12.5, 1), "#4a4f57")
    c.solid(c.rect(2, 3, 14, 11), "#4fa3e0")


def comp_laptop(c):
    c.fill(c.rrect(2.5, 2.5, 13.5, 11.5, 1), "#4a4f57")
    c.solid(c.rect(4, 4, 12, 10), "#46c2a8")
    c.fill(c.poly([(2.5, 11), (13.5, 11), (15.7, 14.5), (0.3, 14.5)]), "#c3c8cf")


def comp_server(c):
    for y in (0.5, 5.5, 10.5):
        c.fill(c.rect(2.5, y, 13.5, y + 5), "#8d96a0")
        c.solid(c.rect(4, y + 2, 8, y + 3), "#3d434b")
        c.solid(c.ellipse(11, y + 2.5, 1), "#3ed13e")


def comp_wifi(c):
    waves = c.ellipse(8, 10.5, 1.5)
    for r in (4.5, 8):
        waves = waves | c.ring(8, 10.5, r, 2)
    c.solid(waves & c.poly([(8, 10.5), (0, 2), (16, 2)]), "#f07a14")
    c.fill(c.rect(1.5, 10.5, 14.5, 15), "#3b6fc4")
    c.solid(c.ellipse(4.5, 12.75, 0.9) | c.ellipse(7.5, 12.75, 0.9), "#8cf08c")


def comp_key(c):
    key(c)


def comp_mail(c):
    envelope(c)


def comp_globe(c):
    globe(c)


def comp_database(c):
    colour = "#d07a2a"
    c.fill(c.rect(2, 3, 14, 13) | c.ellipse(8, 13, 6, 2.5), colour)
    band = c.ring(8, 8, 6, 1 * c.px, 2.5) & c.rect(0, 8, 16, 16)
    c.solid(band & c.rect(2.5, 0, 13.5, 16), shade(rgb(colour), 0.5))
    c.fill(c.ellipse(8, 3, 6, 2.5), "#f0a75c")


def comp_shield(c):
    m = c.poly([(8, 0.5), (15, 3), (14.3, 9), (8, 15.5), (1.7, 9), (1, 3)])
    c.fill(m, "#2a9d8f")
    c.solid(c.polyline([(4.5, 8), (7, 10.5), (11.5, 5)], 1.8), WHITE)


def comp_phone(c):
    phone(c)


COMPUTER = [comp_monitor, comp_laptop, comp_server, comp_wifi, comp_key, comp_mail, comp_globe,
            comp_database, comp_shield, comp_phone]


# ---------------------------------------------------------------------------------------------
# Group 2: personal.

def pers_passport(c):
    c.fill(c.rrect(2.5, 0.5, 13.5, 15.5, 1), "#8a1c2b")
    c.solid(c.ring(8, 7, 3, 1), GOLD)
    c.solid(c.rect(5, 12, 11, 13), GOLD)


def pers_medical(c):
    c.fill(c.ellipse(8, 8, 7.5), WHITE, "#b0202c")
    c.solid(c.rect(6.5, 3, 9.5, 13) | c.rect(3, 6.5, 13, 9.5), "#e0283a")


def pers_plane(c):
    m = c.rrect(6.5, 0.5, 9.5, 15, 1.5)
    m = m | c.poly([(0.5, 9.5), (6.5, 5), (9.5, 5), (15.5, 9.5), (15.5, 11), (9.5, 9), (6.5, 9), (0.5, 11)])
    m = m | c.poly([(4.5, 14.5), (6.5, 12.5), (9.5, 12.5), (11.5, 14.5), (11.5, 15.5), (4.5, 15.5)])
    c.fill(m, "#5b8fd9")


def pers_cart(c):
    c.fill(c.poly([(3, 3.5), (15.5, 3.5), (13.5, 10), (5, 10)]), "#3c9a6a")
    c.solid(c.polyline([(0.5, 1.5), (2.5, 1.5), (5, 10), (5, 12), (14, 12)], 1.3), "#30343a")
    c.solid(c.ellipse(6, 14, 1.6) | c.ellipse(13, 14, 1.6), "#30343a")


def pers_gift(c):
    c.fill(c.rect(1.5, 7.5, 14.5, 15.5), "#c2379b")
    c.fill(c.rect(0.5, 4.5, 15.5, 8), "#d955b3")
    c.solid(c.rect(6.8, 4.5, 9.2, 15.5), GOLD)
    c.fill(c.ellipse(5, 2.8, 2.5, 1.8) | c.ellipse(11, 2.8, 2.5, 1.8), GOLD, "#9a6d00")


def pers_music(c):
    colour = "#5b3fa0"
    c.solid(c.rect(5.5, 3, 7, 13) | c.rect(12.5, 1.5, 14, 11.5), colour)
    c.solid(c.poly([(5.5, 2.5), (14, 0.5), (14, 4), (5.5, 6)]), colour)
    c.fill(c.ellipse(4, 12.8, 3, 2.3) | c.ellipse(11, 11.3, 3, 2.3), colour)


def pers_camera(c):
    c.fill(c.rect(4.5, 1.5, 9.5, 4.5), "#4a4f57")
    c.fill(c.rrect(0.5, 3.5, 15.5, 14.5, 1.5), "#4a4f57")
    c.fill(c.ellipse(8, 9, 4.3), "#9dd3ff", "#1d2128")
    c.solid(c.ellipse(8, 9, 1.6), "#1d4f80")
    c.solid(c.rect(12, 5, 14, 6.5), "#ffe066")


def pers_book(c):
    c.fill(c.rrect(2.5, 0.5, 14, 15.5, 1), "#2f7d6d")
    c.solid(c.rect(11.5, 1.5, 13, 14.5), "#f6f2e4")
    c.solid(c.rect(3, 1, 5, 15), "#1d5247")
    c.solid(c.rect(6.5, 4, 10, 6), GOLD)


def pers_person(c):
    person_icon(c)


def pers_family(c):
    person(c, 5.5, 15.5, 1.0, "#3b7dd8")
    person(c, 12, 15.5, 0.7, "#4caf50")


def pers_paw(c):
    colour = "#8b5a2b"
    c.fill(c.ellipse(8, 11.8, 4.2, 3.5), colour)
    for x, y in ((2.5, 6.5), (6, 3), (10, 3), (13.5, 6.5)):
        c.fill(c.ellipse(x, y, 1.7, 2.1), colour)


def pers_cup(c):
    colour = "#22a5b5"
    c.fill(c.ring(12, 9.5, 3, 1.6), colour)
    c.fill(c.rrect(1.5, 5.5, 12.5, 15.5, 1.5), colour)
    c.solid(c.rect(3, 5.5 + c.px, 11, 7.5), "#6b3e1f")
    c.solid(c.line(5, 1, 5, 3.5, 1) | c.line(8.5, 1, 8.5, 3.5, 1), "#9aa3ad")


def pers_gamepad(c):
    body = c.rrect(0.5, 4.5, 15.5, 11.5, 3) | c.ellipse(3.5, 11.5, 3, 3) | c.ellipse(12.5, 11.5, 3, 3)
    c.fill(body, "#555c66")
    c.solid(c.rect(2.5, 7.5, 6.5, 8.5) | c.rect(4, 6, 5, 10), WHITE)
    c.solid(c.ellipse(11, 9, 1.1), "#ff4d4d")
    c.solid(c.ellipse(13, 7, 1.1), "#4dd964")


def pers_ticket(c):
    m = c.rect(0.5, 3.5, 15.5, 12.5) - c.ellipse(0.5, 8, 2) - c.ellipse(15.5, 8, 2)
    c.fill(m, "#f4a300")
    for y in (4.5, 7, 9.5):
        c.solid(c.rect(10.5, y, 11.5, y + 1.5), "#9a5a00")
    c.solid(c.star(5.8, 8, 2.8, 1.2), "#fff4c0")


def pers_umbrella(c):
    canopy = c.ellipse(8, 8, 7.5, 7) & c.rect(0, 0, 16, 8)
    for x in (3.8, 8, 12.2):
        canopy = canopy - c.ellipse(x, 8.3, 1.9, 1.4)
    c.solid(c.line(8, 6, 8, 13.5, 1.4) | (c.ring(6, 13.5, 2, 1.4) & c.rect(0, 13.5, 16, 16)), "#30343a")
    c.fill(canopy, "#3656d6")


def pers_calendar(c):
    c.fill(c.rect(0.5, 2.5, 15.5, 15.5), WHITE, "#6b7380")
    c.fill(c.rect(0.5, 2.5, 15.5, 6), "#e0283a")
    c.solid(c.rect(3.5, 0.5, 5, 4) | c.rect(11, 0.5, 12.5, 4), "#30343a")
    for y in (8, 11):
        for x in (3, 6.5, 10):
            c.solid(c.rect(x, y, x + 2, y + 2), "#5a6472")
    c.solid(c.rect(10, 11, 12, 13), "#e0283a")


def pers_lock(c):
    padlock(c)


PERSONAL = [house, car, heart, bank, pers_passport, pers_medical, pers_plane, pers_cart, pers_gift,
            pers_music, pers_camera, pers_book, star, pers_person, pers_family, pers_paw, pers_cup,
            pers_gamepad, pers_ticket, pers_umbrella, pers_calendar, pers_lock]


# ---------------------------------------------------------------------------------------------
# Group 3: work.

def work_briefcase(c):
    c.fill(c.ring(8, 4.5, 3.5, 1.6, 3) & c.rect(0, 0, 16, 5), "#5a3a1c")
    c.fill(c.rrect(0.5, 4.5, 15.5, 14.5, 1.5), "#8a5a2e")
    c.solid(c.rect(1, 8.5, 15, 9.5), "#5a3a1c")
    c.fill(c.rect(6.5, 7.5, 9.5, 10.5), GOLD)


def work_building(c):
    c.fill(c.rect(2.5, 0.5, 13.5, 15.5), "#7890a8")
    for y in (2.5, 5.5, 8.5):
        for x in (4.5, 9.5):
            c.solid(c.rect(x, y, x + 2, y + 2), "#fff2a8")
    c.solid(c.rect(6.5, 11.5, 9.5, 15), "#3e4f63")


def work_chart(c):
    c.solid(c.rect(0.5, 14.5, 15.5, 15.5) | c.rect(0.5, 0.5, 1.5, 15.5), "#30343a")
    c.fill(c.rect(2.5, 8.5, 6, 14.5), "#e0443a")
    c.fill(c.rect(6.5, 4.5, 10, 14.5), "#3aa356")
    c.fill(c.rect(10.5, 1.5, 14, 14.5), "#3a7ee0")


def work_folder(c):
    c.fill(c.poly([(0.5, 2.5), (6, 2.5), (7.5, 4.5), (15.5, 4.5), (15.5, 14.5), (0.5, 14.5)]), "#c99a4a")
    c.fill(c.rect(2.5, 3.5, 13.5, 10), WHITE, "#6b7380")
    c.fill(c.poly([(0.5, 7.5), (15.5, 7.5), (15.5, 14.5), (0.5, 14.5)]), "#e9c46a")


def work_printer(c):
    c.fill(c.rect(3.5, 0.5, 12.5, 6), WHITE, "#6b7380")
    c.fill(c.rrect(0.5, 5.5, 15.5, 12.5, 1.5), "#9aa3ad")
    c.solid(c.ellipse(13, 7.7, 0.9), "#3ed13e")
    c.fill(c.rect(3.5, 9.5, 12.5, 15.5), WHITE, "#6b7380")
    doc_lines(c, 5, 11, (11.5, 13.5))


def work_badge(c):
    c.fill(c.rrect(2.5, 2.5, 13.5, 15.5, 1.5), "#e8f1fb", "#2f5f9e")
    c.fill(c.rect(6, 0.5, 10, 4), "#2f5f9e")
    c.fill(c.ellipse(8, 7.7, 2.2), "#f1c27d", "#8a6a3a")
    c.solid(c.rect(4.5, 11, 11.5, 12) | c.rect(5.5, 13, 10.5, 14), "#2f5f9e")


def work_calculator(c):
    c.fill(c.rrect(2.5, 0.5, 13.5, 15.5, 1.5), "#3d434b")
    c.solid(c.rect(4, 2, 12, 5), "#b6e3a0")
    for y in (6.5, 9.5, 12.5):
        for x in (4, 7, 10):
            c.solid(c.rect(x, y, x + 2, y + 2), "#ff9f43" if (x, y) == (10, 12.5) else "#dde1e6")


def work_clipboard(c):
    c.fill(c.rrect(1.5, 1.5, 14.5, 15.5, 1.5), "#a8733f")
    c.fill(c.rect(3.5, 3.5, 12.5, 14), WHITE, "#6b7380")
    c.fill(c.rrect(5.5, 0.5, 10.5, 4, 1), "#c3c8cf")
    c.solid(c.polyline([(5, 8), (6.5, 9.5), (9, 6.5)], 1.2), "#2e9b4f")
    doc_lines(c, 5, 11, (11.5,))


WORK = [work_briefcase, work_building, work_chart, work_folder, work_printer, work_badge,
        work_calculator, work_clipboard]


# ---------------------------------------------------------------------------------------------
# Group 4: other.

def other_note(c):
    c.fill(c.poly([(1.5, 1.5), (14.5, 1.5), (14.5, 10.5), (10.5, 14.5), (1.5, 14.5)]), "#ffe45c", "#a08a10")
    c.fill(c.poly([(14.5, 10.5), (10.5, 14.5), (10.5, 10.5)]), "#e0c02a", "#a08a10")
    doc_lines(c, 4, 12, (4.5, 7.5), "#a08a10")


def other_flag(c):
    c.solid(c.rect(2, 0.5, 3.5, 15.5), "#5a3a1c")
    c.fill(c.poly([(3.5, 1.5), (9, 2.5), (15.5, 1.5), (15.5, 9.5), (9, 10.5), (3.5, 9.5)]), "#e0283a")


def other_bell(c):
    body = c.poly([(8, 1.5), (11.5, 3.5), (12.5, 10), (15, 12.5), (1, 12.5), (3.5, 10), (4.5, 3.5)])
    c.fill(c.ellipse(8, 13.5, 2), "#a06a00")
    c.fill(body | c.ellipse(8, 4, 3.5, 3), "#f2b705")


def other_pin(c):
    m = c.ellipse(8, 6, 5.5) | c.poly([(3.3, 8.5), (12.7, 8.5), (8, 15.5)])
    c.fill(m, "#e0443a")
    c.solid(c.ellipse(8, 6, 2), WHITE)


def other_bulb(c):
    bulb = c.ellipse(8, 6.2, 5.7) | c.poly([(4.5, 9), (11.5, 9), (10.5, 12), (5.5, 12)])
    c.fill(bulb, "#ffe04a", "#a08000")
    c.fill(c.rect(5.5, 11.5, 10.5, 15), "#9aa3ad")
    c.solid(c.rect(5.5, 13, 10.5, 13 + c.px), "#5a6472")


def other_puzzle(c):
    m = c.rect(1.5, 4.5, 11.5, 14.5) | c.ellipse(6.5, 3.2, 2.3) | c.ellipse(12.8, 9.5, 2.3)
    m = m - c.ellipse(1.5, 9.5, 1.8)
    c.fill(m, "#4caf50")


def other_clock(c):
    c.fill(c.ellipse(8, 8, 7.5), WHITE, "#30343a")
    c.solid(c.line(8, 8, 8, 3.5, 1.2) | c.line(8, 8, 11.5, 9.5, 1.2), "#30343a")
    c.solid(c.ellipse(8, 8, 0.9), "#e0283a")


def other_question(c):
    question_badge(c)


OTHER = [other_note, other_flag, other_bell, other_pin, other_bulb, other_puzzle, other_clock, other_question]


# ---------------------------------------------------------------------------------------------
# Group 5: categories (coloured folders and tags).

def plain_folder(colour):
    return lambda c: folder(c, rgb(colour))


def tag(colour):
    def draw(c):
        m = c.poly([(8.5, 0.5), (15.5, 0.5), (15.5, 7.5), (7.5, 15.5), (0.5, 8.5)])
        c.fill(m, colour)
        c.erase(c.ellipse(12, 4, 1.4))
    return draw


CATEGORIES = [plain_folder("#f2c14e"), plain_folder("#4a90d9"), plain_folder("#5cb85c"),
              plain_folder("#d9534f"), plain_folder("#9b59b6"),
              tag("#f0883e"), tag("#1abc9c"), tag("#e86fb0"), tag("#8e9aa6")]


# ---------------------------------------------------------------------------------------------
# Group 6: templates (a page with a mark in the lower right corner).

def template(mark):
    def draw(c):
        doc(c, x0=1.5, x1=12.5)
        doc_lines(c, 3, 7 if mark else 11, (4.5, 7) if mark else (4, 6.5, 9, 11.5))
        if mark:
            c.push(5, 5, 11 / 16)
            mark(c)
            c.pop()
    return draw


def form_mark(c):
    doc_lines(c, 3, 11, (3,), "#8a94a3")
    for y in (6, 10):
        c.fill(c.rect(3, y, 5.5, y + 2.5), WHITE, "#30343a")
        c.solid(c.rect(7, y + 0.5, 11, y + 1.5), "#8a94a3")
    c.solid(c.polyline([(3.2, 7.2), (4.2, 8.2), (6, 5.5)], 0.9), "#2e9b4f")


def form(c):
    doc(c, x0=1.5, x1=12.5)
    c.push(1, 1, 1)
    form_mark(c)
    c.pop()


TEMPLATES = [template(None), template(card_credit), template(comp_key), template(comp_globe),
             template(comp_mail), template(comp_shield), template(pers_person), template(comp_phone),
             template(pers_lock), template(star), template(heart), template(car), template(house), form]

GROUPS = [("cards", CARDS), ("computer", COMPUTER), ("personal", PERSONAL), ("work", WORK), ("other", OTHER),
          ("categories", CATEGORIES), ("templates", TEMPLATES)]


# ---------------------------------------------------------------------------------------------
# Other images: the navigation tree, the plug-in, the backup list, the toolbar, login and progress.

def pda(c):
    c.fill(c.rrect(2.5, 0.5, 13.5, 15.5, 2), "#c3c8cf", "#4a4f57")
    c.fill(c.rect(4, 2, 12, 10), "#a8d8a0", "#4a4f57")
    c.solid(c.ellipse(5.5, 12.8, 1) | c.ellipse(10.5, 12.8, 1), "#4a4f57")
    c.solid(c.rect(7, 12.2, 9, 13.4), "#4a4f57")


def tree_templates(c):
    doc(c)
    doc_lines(c, 4.5, 11.5, (5, 7.5, 10, 12.5))


def tree_categories(c):
    folder(c, rgb("#4a90d9"))
    c.push(7, 7, 9 / 16)
    tag("#f0883e")(c)
    c.pop()


def phone_folder(c):
    folder(c, rgb("#f2c14e"))
    c.push(6.5, 5.5, 10 / 16)
    phone(c, "#30343a", "#7cc6f2")
    c.pop()


def tool_new(c):
    doc(c, x0=1.5, x1=12.5, y1=14.5)
    c.fill(c.rect(10, 6.5, 12, 14.5) | c.rect(7, 9.5, 15, 11.5), "#2e9b4f", "#1a5c2e")


def tool_delete(c):
    c.fill(c.line(3, 2.5, 13, 12.5, 3) | c.line(13, 2.5, 3, 12.5, 3), "#e0283a", "#8a1020")


def tool_backup(c):
    archive(c)
    c.fill(c.poly([(8, 6.5), (12, 10.5), (9.5, 10.5), (9.5, 14.5), (6.5, 14.5), (6.5, 10.5), (4, 10.5)]),
           "#2e9b4f", "#1a5c2e")


def tool_lock(c):
    padlock(c, top=6.5, bottom=14.5)


def key_cell(c):
    c.push(0, 2, 1)
    key(c)
    c.pop()


def login_picture(c):
    padlock(c, x0=1.5, x1=12.5, top=6.5)
    c.push(6, 8, 0.6)
    key(c, "#dfe3e8")
    c.pop()


def wallet_picture(c):
    wallet(c)
    c.push(7.5, 7.5, 0.5)
    comp_shield(c)
    c.pop()


def progress_track(c):
    c.solid(c.ellipse(8, 8, 3.5), "#b9c0ca")


def progress_marker(c):
    c.fill(c.ellipse(8, 8, 5.5), "#2f9be8")
    c.solid(c.ellipse(6.5, 6.5, 1.5), "#bfe3ff")


# ---------------------------------------------------------------------------------------------
# Output.

def render(draw, size, height=None):
    c = Canvas(size, height or size, size / 16.0)
    draw(c)
    return c.pixels()


def strip(draws, size, height=None):
    rows = [[] for _ in range(height or size)]
    for draw in draws:
        for row, part in zip(rows, render(draw, size, height)):
            row.extend(part)
    return rows


KEY_CHARS = [ch for ch in map(chr, range(35, 127)) if ch not in '"\\?']  # no trigraphs


def xpm_text(name, rows):
    colours = []
    index = {}
    for row in rows:
        for p in row:
            if p is not None and p not in index:
                index[p] = len(colours)
                colours.append(p)
    cpp = 1 if len(colours) < len(KEY_CHARS) else 2
    n = len(KEY_CHARS)

    def key(i):
        return KEY_CHARS[i] if cpp == 1 else KEY_CHARS[i // n] + KEY_CHARS[i % n]

    keys = {p: key(i + 1) for p, i in index.items()}
    blank = " " * cpp
    lines = ['"%d %d %d %d",' % (len(rows[0]), len(rows), len(colours) + 1, cpp), '"%s c None",' % blank]
    lines += ['"%s c #%02x%02x%02x",' % (keys[p], *p) for p in colours]
    lines += ['"%s",' % "".join(blank if p is None else keys[p] for p in row) for row in rows]
    return "/* XPM */\nstatic const char* const %s_xpm[] = {\n%s\n};\n" % (name, "\n".join(lines))


def write(name, rows):
    with open(os.path.join(ART_DIR, name + ".xpm"), "w") as f:
        f.write(xpm_text(name, rows))


def main():
    os.makedirs(ART_DIR, exist_ok=True)
    for name, draws in GROUPS:
        write("small_" + name, strip(draws, 16))
        write("large_" + name, strip(draws, 32))
    write("backup_file", render(archive, 16))
    write("backup_folder", render(phone_folder, 16))
    write("tree_root", render(pda, 16))
    tree = [wallet, card_stack, tree_templates, tree_categories, archive, question_badge]
    write("tree_images", strip(tree, 16))
    write("plugin", render(wallet, 32))
    write("toolbar", strip([tool_new, tool_delete, tool_backup, magnifier, tool_lock], 16, 15))
    write("login_icons", strip([padlock, key_cell], 24))
    write("login_picture", render(login_picture, 48))
    write("wallet_picture", render(wallet_picture, 48))
    write("progress_track", strip([progress_track] * 9, 24))
    write("progress_marker", render(progress_marker, 24))


if __name__ == "__main__":
    main()
