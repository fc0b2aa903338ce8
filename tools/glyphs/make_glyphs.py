#!/usr/bin/python3
"""Builds data/velm.gly, the outlines of the glyph faces "VelmAstro5a" and "VelmAstro5b".

Outlines come from free fonts installed with Debian (Symbola, Noto Sans Symbols 2, DejaVu Sans)
plus drawings of this project for symbols no font has. Every outline is brought into the em box
(y up, baseline 0, from -0.2 to 0.8 em) and written in the layout that LoadGlyphSet reads
(src/foundation/drawing/glyph_file.h).

Needs the Debian packages fonts-symbola, fonts-noto-core, fonts-dejavu-core and python3-fonttools.
Run with Debian's python3 (it has fontTools from python3-fonttools):
    /usr/bin/python3 tools/glyphs/make_glyphs.py data/velm.gly
"""
import math
import struct
import sys

from fontTools.pens.basePen import BasePen
from fontTools.ttLib import TTFont

FONT_FILES = {
    "symbola": "/usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf",
    "noto2": "/usr/share/fonts/truetype/noto/NotoSansSymbols2-Regular.ttf",
    "noto": "/usr/share/fonts/truetype/noto/NotoSansSymbols-Regular.ttf",
    "dejavu": "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
}

ASCENT, DESCENT = 0.8, 0.2
UNITS = 1000  # file units per em
VERSION = 1

# A path is a list of (kind, points): "M" / "L" one point, "Q" two, "C" three, "Z" none.


class _Collect(BasePen):
    def __init__(self, glyph_set):
        super().__init__(glyph_set)
        self.path = []

    def _moveTo(self, p):
        self.path.append(("M", [p]))

    def _lineTo(self, p):
        self.path.append(("L", [p]))

    def _qCurveToOne(self, p1, p2):
        self.path.append(("Q", [p1, p2]))

    def _curveToOne(self, p1, p2, p3):
        self.path.append(("C", [p1, p2, p3]))

    def _closePath(self):
        self.path.append(("Z", []))

    def _endPath(self):
        self.path.append(("Z", []))


_fonts = {}


def _font(key):
    if key not in _fonts:
        _fonts[key] = TTFont(FONT_FILES[key])
    return _fonts[key]


def transform(path, sx, sy, dx, dy):
    return [(k, [(x * sx + dx, y * sy + dy) for x, y in pts]) for k, pts in path]


def font_char(key, codepoint):
    """The outline of a character in em units, and its advance."""
    font = _font(key)
    name = font.getBestCmap().get(codepoint)
    if name is None:
        raise SystemExit(f"{key} has no U+{codepoint:04X}")
    glyph_set = font.getGlyphSet()
    pen = _Collect(glyph_set)
    glyph_set[name].draw(pen)
    upm = font["head"].unitsPerEm
    advance = font["hmtx"][name][0] / upm
    return transform(pen.path, 1 / upm, 1 / upm, 0, 0), advance


def font_text(key, text):
    """A run of characters set on the baseline by their advances, and its width."""
    out, x = [], 0.0
    for ch in text:
        path, adv = font_char(key, ord(ch))
        out += transform(path, 1, 1, x, 0)
        x += adv
    return out, x


def bbox(path):
    xs = [x for _, pts in path for x, _ in pts]
    ys = [y for _, pts in path for _, y in pts]
    return min(xs), min(ys), max(xs), max(ys)


def fit(path, height=0.72, width=0.86, centre_y=0.32, uniform=True, side=0.07):
    """Scales the outline into a box of `height` x at most `width`, centred on `centre_y`, with
    `side` em on either side; returns (path, advance)."""
    x0, y0, x1, y1 = bbox(path)
    sy = height / (y1 - y0)
    sx = min(sy, width / (x1 - x0)) if uniform or (x1 - x0) * sy > width else sy
    if uniform:
        sy = sx
    w = (x1 - x0) * sx
    placed = transform(path, sx, sy, side - x0 * sx, centre_y - (y0 + y1) / 2 * sy)
    return placed, w + 2 * side


def natural(key, text):
    """Characters at the font's own size and spacing (digits and marks of longitudes)."""
    return font_text(key, text)


# ---- this project's own drawings -------------------------------------------------------------

def _area(points):
    return sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]))


def polygon(points, clockwise=True):
    """A closed polygon; clockwise (y up) for filled parts, counter-clockwise for holes."""
    if (_area(points) < 0) != clockwise:
        points = points[::-1]
    return [("M", [points[0]])] + [("L", [p]) for p in points[1:]] + [("Z", [])]


def stroke(x0, y0, x1, y1, w):
    length = math.hypot(x1 - x0, y1 - y0)
    nx, ny = -(y1 - y0) / length * w / 2, (x1 - x0) / length * w / 2
    return polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])


def perigee():
    """Lunar perigee: an open crescent above a cross (the Black Moon's figure, unfilled)."""
    moon, _ = font_char("dejavu", 0x263E)
    moon, _ = fit(moon, height=0.42, width=0.5, centre_y=0.5, side=0.0)
    x0, _, x1, _ = bbox(moon)
    moon = transform(moon, 1, 1, 0.5 - (x0 + x1) / 2, 0)
    w = 0.07
    return moon + stroke(0.5, 0.3, 0.5, -0.02, w) + stroke(0.36, 0.13, 0.64, 0.13, w)


def crown():
    """The ruler mark: a small crown."""
    return polygon([(0.0, 0.0), (0.0, 0.5), (0.18, 0.28), (0.35, 0.62), (0.52, 0.28),
                    (0.7, 0.5), (0.7, 0.0)])


def roman(n):
    digits = ["I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"][n]
    path, _ = font_text("dejavu", digits)
    return fit(path, height=0.6, width=0.9, centre_y=0.3, uniform=False, side=0.05)


# ---- the faces -------------------------------------------------------------------------------

def symbol(key, codepoint, **kw):
    path, _ = font_char(key, codepoint)
    return fit(path, **kw)


def text_symbol(text, **kw):
    path, _ = font_text("dejavu", text)
    return fit(path, **kw)


def face_a():
    g = {}
    points = [
        ("symbola", 0x2609), ("symbola", 0x263D), ("symbola", 0x263F), ("symbola", 0x2640),
        ("symbola", 0x2642), ("symbola", 0x2643), ("symbola", 0x2644), ("symbola", 0x2645),
        ("symbola", 0x2646), ("noto2", 0x2BD3), ("symbola", 0x26B7), ("symbola", 0x26B6),
        ("symbola", 0x26B3), ("symbola", 0x26B4), ("symbola", 0x26B5), ("dejavu", 0x03C8),
        ("symbola", 0x260A), ("symbola", 0x260B), ("symbola", 0x26B8), None,
        ("noto2", 0x2BD8), ("noto2", 0x2BDD),
    ] + [("noto2", cp) for cp in range(0x2BE0, 0x2BE8)] + [
        ("dejavu", 0x2297),  # 30 Part of Fortune
        ("dejavu", 0x2720),  # 31 cross of misfortune
        "EP",                # 32 East point
        "Vx",                # 33 Vertex
    ]
    for n, source in enumerate(points):
        code = ord("M") + n
        if source is None:
            g[code] = fit(perigee())
        elif isinstance(source, str):
            g[code] = text_symbol(source, height=0.6)
        else:
            g[code] = symbol(*source)
    for s in range(12):
        g[ord("A") + s] = symbol("symbola", 0x2648 + s)
    for h in range(12):
        g[ord("o") + h] = roman(h)
    g[ord("@")] = symbol("dejavu", 0x211E)
    ornament = {"?": 0x2619, ";": 0x2726, "<": 0x263C, "=": 0x2726, ">": 0x2767}
    for ch, cp in ornament.items():
        g[ord(ch)] = symbol("dejavu", cp, height=0.7 if ch in "?<>" else 0.4)
    for ch in "0123456789+-.:'\"":
        g[ord(ch)] = natural("dejavu", ch)
    g[0xB0] = natural("dejavu", "\u00B0")
    return g


def face_b():
    g = {}
    aspects = [
        ("symbola", 0x260C), ("symbola", 0x260D), ("dejavu", 0x25A1), ("dejavu", 0x25B3),
        ("symbola", 0x26B9), ("symbola", 0x26BB), ("symbola", 0x26BA), ("dejavu", 0x2220),
        ("symbola", 0x26BC), ("noto2", 0x2BF5), ("dejavu", 0x22A5), ("noto2", 0x2BF8),
        "bQ", ("noto2", 0x2BF4), ("noto2", 0x2BF6), ("noto2", 0x2BF3), ("noto2", 0x2BF7),
        "1/7", "2/7", "3/7",
    ]
    for k, source in enumerate(aspects):
        code = ord("0") + k
        if isinstance(source, str):
            g[code] = text_symbol(source, height=0.55)
        else:
            g[code] = symbol(*source)
    g[ord("a")] = symbol("dejavu", 0x25B7, height=0.5)
    g[ord("b")] = symbol("dejavu", 0x25C6, height=0.5)
    g[ord("c")] = symbol("dejavu", 0x25C1, height=0.5)
    g[ord("+")] = natural("dejavu", "+")
    g[ord("r")] = fit(crown(), height=0.5)
    return g


# ---- output ----------------------------------------------------------------------------------

KINDS = {"M": 0, "L": 1, "Q": 2, "C": 3, "Z": 4}


def check(face, code, path, advance):
    x0, y0, x1, y1 = bbox(path)
    if x0 < -1e-6 or x1 > advance + 1e-6 or y0 < -DESCENT - 1e-6 or y1 > ASCENT + 1e-6:
        raise SystemExit(f"face {face} code {code:#x} leaves its box: {x0, y0, x1, y1} {advance}")


def q(v):
    return int(round(v * UNITS))


def write(path_out, faces):
    out = bytearray(b"VGLY")
    out += struct.pack("<HH", VERSION, len(faces))
    for index, face in enumerate(faces):
        out += struct.pack("<H", len(face))
        for code in sorted(face):
            path, advance = face[code]
            check(index, code, path, advance)
            out += struct.pack("<BhH", code, q(advance), len(path))
            for kind, pts in path:
                out += struct.pack("<B", KINDS[kind])
                for x, y in pts:
                    out += struct.pack("<hh", q(x), q(y))
    with open(path_out, "wb") as f:
        f.write(out)


def main():
    if len(sys.argv) != 2:
        raise SystemExit("usage: make_glyphs.py OUTPUT.gly")
    write(sys.argv[1], [face_a(), face_b()])


if __name__ == "__main__":
    main()
