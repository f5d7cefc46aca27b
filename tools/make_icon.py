#!/usr/bin/env python3
"""Draws the viewer's icon (a ranking podium under a star) and the score
files' icon (a page with the podium on it) as 16-colour PNG files and as SVG:
make_icon.py DIR [FILE_TYPE_DIR] writes DIR/rkfview-N.png for N = 16, 32, 48,
64, 128 and 256 (the window uses 16 and 32, the menu all of them) and
DIR/rkfview.svg, the same drawing at any size; with FILE_TYPE_DIR also
FILE_TYPE_DIR/rkf-score-N.png and rkf-score.svg."""

import struct
import sys
import zlib

PALETTE = [
    (0, 0, 0),        # 0 transparent
    (24, 36, 84),     # 1 navy background
    (48, 72, 150),    # 2 background light edge
    (250, 204, 40),   # 3 gold
    (180, 130, 10),   # 4 gold shade
    (220, 224, 232),  # 5 silver
    (140, 146, 160),  # 6 silver shade
    (214, 128, 62),   # 7 bronze
    (150, 80, 30),    # 8 bronze shade
    (255, 255, 255),  # 9 white
    (12, 16, 40),     # 10 outline
]


def rect(img, x0, y0, x1, y1, c):
    for y in range(y0, y1):
        for x in range(x0, x1):
            img[y][x] = c


def background(size):
    img = [[0] * size for _ in range(size)]
    r = max(2, size // 6)  # corner radius
    for y in range(size):
        for x in range(size):
            dx = max(r - x, x - (size - 1 - r), 0)
            dy = max(r - y, y - (size - 1 - r), 0)
            d2 = dx * dx + dy * dy
            if d2 <= r * r:
                edge = d2 > (r - 1) * (r - 1) or x in (0, size - 1) or y in (0, size - 1)
                img[y][x] = 10 if edge else 1
    for x in range(r, size - r):
        img[1][x] = 2
    return img


def bar(img, x0, x1, top, bottom, face, shade):
    rect(img, x0, top, x1, bottom, face)
    rect(img, x1 - max(1, (x1 - x0) // 4), top, x1, bottom, shade)
    rect(img, x0, bottom - 1, x1, bottom, shade)


def star(img, cx, cy, r):
    # A five-pointed star, filled by the even-odd test on its outline.
    import math
    pts = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        rr = r if i % 2 == 0 else r * 0.45
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    for y in range(len(img)):
        for x in range(len(img)):
            px, py = x + 0.5, y + 0.5
            inside = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                    inside = not inside
                j = i
            if inside:
                img[y][x] = 9


def icon(size):
    img = background(size)
    if size == 16:
        bar(img, 2, 6, 8, 14, 5, 6)
        bar(img, 6, 10, 5, 14, 3, 4)
        bar(img, 10, 14, 10, 14, 7, 8)
        img[2][7] = img[2][8] = img[3][7] = img[3][8] = 9
    else:
        # The 32-pixel design, scaled.
        def at(v):
            return round(v * size / 32)

        for x0, x1, top, face, shade in BARS:
            bar(img, at(x0), at(x1), at(top), at(28), face, shade)
        star(img, 16 * size / 32, 6.5 * size / 32, 5.2 * size / 32)
    return img


# The podium of the 32-pixel design: left, right, top, face and shade colours
# (bottom at 28): silver second, gold first, bronze third.
BARS = [(4, 12, 16, 5, 6), (12, 20, 11, 3, 4), (20, 28, 20, 7, 8)]


# The score file's page in the 32-pixel design: left, right, top, bottom, the
# folded corner's size, the text lines (top, left, right) and the podium bars
# (as BARS; bottom at 28).
PAGE = (5, 27, 1, 31, 7)
PAGE_LINES = [(6, 8, 19), (10, 8, 19), (14, 8, 23)]
PAGE_BARS = [(8, 13, 21, 5, 6), (13, 19, 17, 3, 4), (19, 24, 23, 7, 8)]


def file_icon(size):
    left, right, top, bottom, fold = PAGE

    def page(x, y):  # pixel centre in the page (0), its folded corner (1) or outside (None)
        u, v = (x + 0.5) * 32 / size, (y + 0.5) * 32 / size
        if not (left <= u < right and top <= v < bottom):
            return None
        corner_u, corner_v = u - (right - fold), v - top
        if corner_u >= 0 and corner_v < fold:
            return None if corner_u > corner_v else 1
        return 0

    img = [[0] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            part = page(x, y)
            if part is None:
                continue
            near = [page(x + dx, y + dy) if 0 <= x + dx < size and 0 <= y + dy < size else None
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))]
            edge = any(n is None or (part == 1 and n != 1) for n in near)
            img[y][x] = 10 if edge else (6 if part == 1 else 9)

    def at(v):
        return round(v * size / 32)

    for v, u0, u1 in PAGE_LINES:
        rect(img, at(u0), at(v), at(u1), max(at(v) + 1, at(v + 1)), 6)
    for x0, x1, top_, face, shade in PAGE_BARS:
        bar(img, at(x0), at(x1), at(top_), at(28), face, shade)
    return img


def file_svg():
    def colour(i):
        return "#%02x%02x%02x" % PALETTE[i]

    left, right, top, bottom, fold = PAGE
    corner = right - fold
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">',
        '<polygon points="%g,%g %d,%g %g,%d %g,%g %g,%g" fill="%s" stroke="%s"/>'
        % (left + 0.5, top + 0.5, corner, top + 0.5, right - 0.5, top + fold, right - 0.5, bottom - 0.5,
           left + 0.5, bottom - 0.5, colour(9), colour(10)),
        '<polygon points="%d,%g %d,%d %g,%d" fill="%s" stroke="%s"/>'
        % (corner, top + 0.5, corner, top + fold, right - 0.5, top + fold, colour(6), colour(10)),
    ]
    for v, u0, u1 in PAGE_LINES:
        parts.append('<rect x="%d" y="%d" width="%d" height="1" fill="%s"/>' % (u0, v, u1 - u0, colour(6)))
    for x0, x1, top_, face, shade in PAGE_BARS:
        edge = max(1, (x1 - x0) // 4)
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (x0, top_, x1 - x0, 28 - top_, colour(face)))
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (x1 - edge, top_, edge, 28 - top_, colour(shade)))
        parts.append('<rect x="%d" y="27" width="%d" height="1" fill="%s"/>' % (x0, x1 - x0, colour(shade)))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def svg():
    def colour(i):
        return "#%02x%02x%02x" % PALETTE[i]

    def star_points(cx, cy, r):
        import math
        pts = []
        for i in range(10):
            a = -math.pi / 2 + i * math.pi / 5
            rr = r if i % 2 == 0 else r * 0.45
            pts.append("%.3f,%.3f" % (cx + rr * math.cos(a), cy + rr * math.sin(a)))
        return " ".join(pts)

    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">',
        '<rect x="0.5" y="0.5" width="31" height="31" rx="5" fill="%s" stroke="%s"/>' % (colour(1), colour(10)),
        '<rect x="5" y="1" width="22" height="1" fill="%s"/>' % colour(2),
    ]
    for x0, x1, top, face, shade in BARS:
        edge = max(1, (x1 - x0) // 4)
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (x0, top, x1 - x0, 28 - top, colour(face)))
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (x1 - edge, top, edge, 28 - top, colour(shade)))
        parts.append('<rect x="%d" y="27" width="%d" height="1" fill="%s"/>' % (x0, x1 - x0, colour(shade)))
    parts.append('<polygon points="%s" fill="%s"/>' % (star_points(16, 6.5, 5.2), colour(9)))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def png(img):
    size = len(img)
    raw = b"".join(b"\x00" + bytes(row) for row in img)
    plte = b"".join(bytes(c) for c in PALETTE)
    trns = b"\x00" + b"\xff" * (len(PALETTE) - 1)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0)) +
            chunk(b"PLTE", plte) + chunk(b"tRNS", trns) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    for size in (16, 32, 48, 64, 128, 256):
        with open(f"{folder}/rkfview-{size}.png", "wb") as f:
            f.write(png(icon(size)))
    with open(f"{folder}/rkfview.svg", "w") as f:
        f.write(svg())
    if len(sys.argv) > 2:
        file_folder = sys.argv[2]
        for size in (16, 32, 48, 64, 128, 256):
            with open(f"{file_folder}/rkf-score-{size}.png", "wb") as f:
                f.write(png(file_icon(size)))
        with open(f"{file_folder}/rkf-score.svg", "w") as f:
            f.write(file_svg())


if __name__ == "__main__":
    main()
