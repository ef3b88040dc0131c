#!/usr/bin/env python3
"""Draws the host resource store's pictures, colours and layout lists.

The pictures are simple procedural drawings of a dark-grey control panel;
run again after changing a drawing and commit the files it writes.
"""
import os
import struct
import sys
import zlib

PANEL = (64, 64, 64)
GROOVE_DARK = (24, 24, 24)
GROOVE_LIGHT = (110, 110, 110)
TICK = (150, 150, 150)

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")


class Picture:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[tuple(fill) if len(fill) == 4 else tuple(fill) + (255,) for _ in range(w)] for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = tuple(c) if len(c) == 4 else tuple(c) + (255,)

    def rect(self, l, t, r, b, c):
        for y in range(t, b):
            for x in range(l, r):
                self.set(x, y, c)

    def save(self, name):
        raw = b"".join(b"\x00" + b"".join(struct.pack("BBBB", *p) for p in row) for row in self.px)

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

        data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
        data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(data)


def shade(c, d):
    return tuple(max(0, min(255, v + d)) for v in c[:3])


def panel(w, h):
    p = Picture(w, h, PANEL)
    p.rect(0, 0, w, 1, shade(PANEL, 18))
    p.rect(0, h - 1, w, h, shade(PANEL, -22))
    return p


def groove(p, left, right, y):
    p.rect(left, y, right + 1, y + 1, GROOVE_DARK)
    p.rect(left, y + 1, right + 1, y + 2, GROOVE_LIGHT)


def ticks(p, left, right, y, count, length=2):
    for i in range(count):
        x = left + (right - left) * i // (count - 1)
        p.rect(x, y, x + 1, y + length, TICK)


def thumb(w, h, body):
    p = Picture(w, h)
    for y in range(h):
        for x in range(w):
            edge = x in (0, w - 1) or y in (0, h - 1)
            corner = (x in (0, w - 1)) and (y in (0, h - 1))
            if corner:
                continue
            if edge:
                p.set(x, y, (20, 20, 20, 255))
            else:
                light = 30 if y < h // 2 else 0
                p.set(x, y, shade(body, light - 4 * abs(x - w // 2)) + (255,))
    # soft corners: half-transparent outline pixels
    for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        p.set(x, y, (20, 20, 20, 96))
    return p


def strip(w, h, c):
    p = Picture(w, h)
    p.rect(0, 0, w, h, c)
    p.rect(0, 0, w, 1, shade(c, 40))
    p.rect(0, h - 1, w, h, shade(c, -40))
    return p


def arrow(w, h, left):
    p = Picture(w, h, shade(PANEL, 20))
    p.rect(0, 0, w, 1, shade(PANEL, 60))
    p.rect(0, 0, 1, h, shade(PANEL, 60))
    p.rect(0, h - 1, w, h, GROOVE_DARK)
    p.rect(w - 1, 0, w, h, GROOVE_DARK)
    cy = h // 2
    for i in range(4):
        x = (w // 2 - 2 + i) if left else (w // 2 + 1 - i)
        p.rect(x, cy - i, x + 1, cy + i + 1, (220, 220, 220))
    return p


def wheel(w, h, period=6):
    """The thumb wheel's ridges, a loop as wide as the wheel: each period a dark
    groove and a lit edge, half transparent over the shaded drum below, and
    fainter towards the top and bottom where the drum turns away."""
    p = Picture(w, h)
    for y in range(h):
        fade = 1 - abs(2 * y / (h - 1) - 1) ** 2 * 0.6
        for x in range(w):
            k = x % period
            if k == 0:
                p.set(x, y, (0, 0, 0, int(170 * fade)))
            elif k == 1:
                p.set(x, y, (255, 255, 255, int(80 * fade)))
            elif k == period - 1:
                p.set(x, y, (0, 0, 0, int(50 * fade)))
    return p


def wheel_background(w, h, left, top, right, bottom):
    """The panel with a sunken slot for the wheel and its arrow buttons, and
    the drum, lit in the middle and dark at its ends, under the ridges."""
    import math
    p = panel(w, h)
    p.rect(3, top - 1, right + 15, top, GROOVE_DARK)
    p.rect(3, top - 1, 4, bottom, GROOVE_DARK)
    p.rect(3, bottom, right + 15, bottom + 1, GROOVE_LIGHT)
    for x in range(left, right):
        t = (x - left + 0.5) / (right - left)
        drum = math.sin(math.pi * t)
        for y in range(top, bottom):
            u = (y - top + 0.5) / (bottom - top)
            v = int(30 + 150 * drum ** 0.7 * (1 - 0.5 * abs(2 * u - 1) ** 2))
            p.set(x, y, (v, v, min(255, v + 6)))
    return p


def folder_icon(size):
    """A small open-folder icon on a transparent ground, for browse buttons."""
    p = Picture(size, size)
    edge, back, front = (120, 88, 20), (214, 168, 60), (246, 204, 96)
    p.rect(1, 3, 7, 5, back)
    p.rect(1, 4, size - 2, size - 3, back)
    for x in range(1, 7):
        p.set(x, 2, edge)
    for y in range(3, size - 3):
        p.set(0, y, edge)
        p.set(size - 2, y, edge)
    for x in range(0, size - 1):
        p.set(x, size - 3, edge)
    for y in range(7, size - 3):
        inset = (size - 3 - y) // 2
        p.rect(2 + inset, y, size - 1 - inset // 2, y + 1, front)
    p.rect(2, 7, size - 1, 8, edge)
    return p


def write_colour(rid, text, background):
    with open(os.path.join(OUT, f"{rid}.colour"), "w") as f:
        f.write("%d %d %d\n%d %d %d\n" % (text + background))


def write_tags(rid, items):
    with open(os.path.join(OUT, f"{rid}.tags"), "w") as f:
        for tag, value in items:
            f.write("0x%08x %d\n" % (tag, value))


def sample_picture(w, h):
    """A landscape for the viewer: sky, sun, hills and a faint grid."""
    p = Picture(w, h)
    horizon = h * 5 // 8
    for y in range(h):
        for x in range(w):
            if y < horizon:
                t = y / horizon
                c = (int(40 + 90 * t), int(80 + 100 * t), int(160 + 70 * t))
            else:
                t = (y - horizon) / (h - horizon)
                c = (int(60 - 30 * t), int(120 - 50 * t), int(50 - 20 * t))
            p.set(x, y, c)
    sx, sy, r = w * 3 // 4, h // 4, h // 10
    for y in range(sy - r, sy + r + 1):
        for x in range(sx - r, sx + r + 1):
            if (x - sx) ** 2 + (y - sy) ** 2 <= r * r:
                p.set(x, y, (250, 180, 70))
    for x in range(w):
        top = horizon - int(18 + 14 * abs(((x * 2 / w) % 1.0) - 0.5) * 2)
        for y in range(top, horizon):
            p.set(x, y, (50, 100, 60))
    for x in range(0, w, 40):
        for y in range(h):
            r0, g0, b0, _ = p.px[y][x]
            p.set(x, y, (min(255, r0 + 24), min(255, g0 + 24), min(255, b0 + 24)))
    for y in range(0, h, 40):
        for x in range(w):
            r0, g0, b0, _ = p.px[y][x]
            p.set(x, y, (min(255, r0 + 24), min(255, g0 + 24), min(255, b0 + 24)))
    return p


def main():
    os.makedirs(OUT, exist_ok=True)
    # Slider: thumb and background (track 24..201, thumb row 3..14).
    thumb(11, 12, (190, 190, 190)).save("100000")
    bg = panel(276, 32)
    groove(bg, 24, 201, 8)
    ticks(bg, 24, 201, 12, 11)
    bg.save("100001")
    write_colour(100003, (225, 225, 225), PANEL)
    write_tags(100002, [(0x100002BC + i, v) for i, v in enumerate(
        [24, 3, 201, 14, 224, 2, 274, 20, 7, 15, 223, 30, 114, 15, 220, 30])])
    # Edit-field colours inside and outside a scale; caption and text colours.
    write_colour(100112, (235, 235, 235), (34, 34, 34))
    write_colour(100113, (255, 170, 70), (34, 34, 34))
    write_colour(100009, (225, 225, 225), PANEL)
    write_colour(100018, (225, 225, 225), PANEL)
    write_colour(100025, (225, 225, 225), PANEL)
    # Screw wheel: background, wheel strip, arrow buttons, layout.
    wheel_background(276, 32, 18, 2, 210, 15).save("100007")
    wheel(192, 13).save("100004")
    arrow(14, 13, True).save("100005")
    arrow(14, 13, False).save("100006")
    write_tags(100008, [(0x10000320, 18), (0x10000321, 2), (0x10000322, 210), (0x10000323, 15),
                        (0x1000032C, 4), (0x1000032D, 2), (0x1000032E, 210), (0x1000032F, 2),
                        (0x10000328, 7), (0x10000329, 15), (0x1000032A, 200), (0x1000032B, 30)])
    # Range bar: background, end handles, selection strips, repeat marks, layout.
    rbg = panel(276, 34)
    groove(rbg, 62, 213, 9)
    rbg.save("100010")
    thumb(7, 15, (200, 200, 200)).save("100011")
    thumb(7, 15, (200, 200, 200)).save("100012")
    strip(1, 9, (90, 140, 210)).save("100013")
    strip(1, 9, (70, 100, 150)).save("100014")
    strip(1, 15, (230, 230, 230)).save("100015")
    strip(1, 15, (160, 160, 160)).save("100016")
    write_tags(100017, [(0x10000384, 62), (0x10000385, 2), (0x10000386, 213), (0x10000387, 17),
                        (0x10000388, 2), (0x10000389, 2), (0x1000038A, 52), (0x1000038B, 20),
                        (0x1000038C, 224), (0x1000038D, 2), (0x1000038E, 274), (0x1000038F, 20),
                        (0x10000398, 72), (0x10000399, 15), (0x1000039A, 203), (0x1000039B, 31),
                        (0x10000390, 7), (0x10000391, 18), (0x10000392, 138), (0x10000393, 31),
                        (0x10000394, 139), (0x10000395, 18), (0x10000396, 269), (0x10000397, 31)])
    # Colour control: backgrounds with and without the alpha row, fill strip, thumbs.
    for rid, h, rows in ((100019, 80, 4), (100122, 64, 3)):
        cbg = panel(276, h)
        for r in range(rows):
            groove(cbg, 87, 207, 9 + 16 * r)
        cbg.save(str(rid))
    # The fill strip is the panel body, so the fallback reads as the same panel.
    Picture(276, 1, PANEL).save("100026")
    thumb(9, 12, (220, 70, 70)).save("100020")
    thumb(9, 12, (70, 200, 70)).save("100021")
    thumb(9, 12, (80, 110, 230)).save("100022")
    thumb(9, 12, (200, 200, 200)).save("100023")
    colour_layout = [(87, 4, 207, 16), (224, 2, 274, 18), (66, 4, 82, 19), (87, 20, 207, 32), (224, 18, 274, 34),
                     (66, 20, 82, 35), (87, 36, 207, 48), (224, 34, 274, 50), (66, 36, 82, 51),
                     (87, 52, 207, 64), (224, 50, 274, 66), (66, 52, 82, 67), (7, 62, 200, 77), (4, 4, 64, 23)]
    items = []
    for k, rect in enumerate(colour_layout):
        for f, v in enumerate(rect):
            items.append((0x100003E8 + 4 * k + f, v))
    write_tags(100024, items)
    # Browse buttons of the file and clip choosers.
    folder_icon(16).save("400")
    # Viewer: the sample picture shown under the viewer controls.
    sample_picture(320, 240).save("200000")


if __name__ == "__main__":
    main()
