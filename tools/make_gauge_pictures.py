#!/usr/bin/env python3
"""Draws the progress window's small pictures as XPM files (a text image format Qt reads without plug-ins).

Run once after changing a drawing; the XPM files are kept in the repository beside the window's source.
"""
import math
import os
import sys

PALETTE = {
    '.': 'None',
    'k': '#000000',
    'y': '#F0C020',
    'Y': '#C89010',
    'w': '#FFFFFF',
    'g': '#A0A0A0',
    'b': '#3060C0',
    'B': '#1A3A80',
    'l': '#80A8E8',
    'G': '#20A040',
    'r': '#E02020',
    'R': '#801010',
}


def canvas(w, h):
    return [['.'] * w for _ in range(h)]


def rect(c, x0, y0, x1, y1, ch):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if 0 <= y < len(c) and 0 <= x < len(c[0]):
                c[y][x] = ch


def outline(c, x0, y0, x1, y1, ch):
    for x in range(x0, x1 + 1):
        c[y0][x] = ch
        c[y1][x] = ch
    for y in range(y0, y1 + 1):
        c[y][x0] = ch
        c[y][x1] = ch


def ellipse(c, cx, cy, rx, ry, ch, fill=True):
    for y in range(len(c)):
        for x in range(len(c[0])):
            d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
            if (fill and d <= 1.0) or (not fill and 0.75 <= d <= 1.0):
                c[y][x] = ch


def folder_full():
    c = canvas(32, 32)
    rect(c, 3, 8, 12, 10, 'Y')           # tab
    rect(c, 3, 10, 28, 27, 'Y')          # back
    for i, x in enumerate((7, 10, 13)):  # sheets sticking out
        rect(c, x, 5 + i, x + 14, 20, 'w')
        outline(c, x, 5 + i, x + 14, 20, 'g')
        for y in range(8 + i, 19, 2):
            rect(c, x + 2, y, x + 12, y, 'g')
    rect(c, 2, 14, 29, 28, 'y')          # front
    outline(c, 2, 14, 29, 28, 'Y')
    return c


def document():
    c = canvas(16, 16)
    rect(c, 3, 1, 12, 14, 'w')
    outline(c, 3, 1, 12, 14, 'k')
    for y in range(4, 13, 2):
        rect(c, 5, y, 10, y, 'b')
    return c


def database(filled):
    c = canvas(32, 32)
    body = 'G' if filled else 'b'
    rect(c, 5, 8, 26, 25, body)
    ellipse(c, 15.5, 25, 10.5, 3.5, body)
    for y in (13, 18):
        for x in range(5, 27):
            c[y + int(round(3 * math.sqrt(max(0.0, 1 - ((x - 15.5) / 10.5) ** 2))))][x] = 'B'
    ellipse(c, 15.5, 7, 10.5, 3.5, 'l')
    ellipse(c, 15.5, 7, 10.5, 3.5, 'B', fill=False)
    for y in range(7, 26):
        c[y][5] = 'B'
        c[y][26] = 'B'
    return c


def red_mark(step, steps=7):
    c = canvas(16, 16)
    ellipse(c, 7.5, 7.5, 7, 7, 'g', fill=False)
    angle = 2 * math.pi * step / steps - math.pi / 2
    cx = 7.5 + 4.5 * math.cos(angle)
    cy = 7.5 + 4.5 * math.sin(angle)
    ellipse(c, cx, cy, 2.6, 2.6, 'r')
    ellipse(c, cx, cy, 2.6, 2.6, 'R', fill=False)
    return c


def write_xpm(path, name, c):
    used = sorted({ch for row in c for ch in row})
    h, w = len(c), len(c[0])
    lines = ['/* XPM */', 'static const char *%s[] = {' % name, '"%d %d %d 1",' % (w, h, len(used))]
    lines += ['"%s c %s",' % (ch, PALETTE[ch]) for ch in used]
    lines += ['"%s"%s' % (''.join(row), ',' if i < h - 1 else '') for i, row in enumerate(c)]
    lines.append('};')
    with open(path, 'w') as f:
        f.write('\n'.join(lines) + '\n')


def main(out):
    os.makedirs(out, exist_ok=True)
    write_xpm(os.path.join(out, 'folder_full.xpm'), 'folder_full', folder_full())
    write_xpm(os.path.join(out, 'document.xpm'), 'document', document())
    write_xpm(os.path.join(out, 'database.xpm'), 'database', database(False))
    write_xpm(os.path.join(out, 'database_filled.xpm'), 'database_filled', database(True))
    for k in range(7):
        write_xpm(os.path.join(out, 'red_mark_%d.xpm' % k), 'red_mark_%d' % k, red_mark(k))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'src', 'engine', 'pictures'))
