#!/usr/bin/env python3
"""Compares the X server's picture of qzhost's window with the screen qzhost
saved, and checks the status strip shows text.

usage: run_window_check.py XWD_FILE PNG_FILE X Y STATUS_HEIGHT [OUT_PNG]
With OUT_PNG, the window as the X server shows it is saved there.
"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat = 8, b""
    width = height = channels = 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour not in (2, 6):
                raise ValueError("only 8-bit RGB or RGBA PNGs are read")
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def read_xwd(path):
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _, _, depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line, ncolours = fields[7], fields[11], fields[12], fields[19]
    if bits_per_pixel != 32:
        raise ValueError("only 32-bit XWD pictures are read (depth %d)" % depth)
    start = header_size + ncolours * 12
    order = "<" if byte_order == 0 else ">"

    def pixel(x, y):
        value = struct.unpack_from(order + "I", data, start + y * bytes_per_line + x * 4)[0]
        return ((value >> 16) & 255, (value >> 8) & 255, value & 255)

    return width, height, pixel


def write_png(path, width, height, pixel):
    raw = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    xwd, png, left, top, status_height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5])
    width, height, rows = read_png(png)
    screen_width, screen_height, pixel = read_xwd(xwd)
    if left + width > screen_width or top + height > screen_height:
        print("window %dx%d at %d,%d lies off the %dx%d screen" % (width, height, left, top, screen_width,
                                                                  screen_height))
        return 1
    if len(sys.argv) > 6:
        write_png(sys.argv[6], width, height, lambda x, y: pixel(left + x, top + y))
    same = sum(1 for y in range(height) for x in range(width) if pixel(left + x, top + y) == rows[y][x])
    share = same / float(width * height)
    print("screen matches the host's picture in %.2f%% of %dx%d pixels" % (share * 100, width, height))
    # A blinking caret may differ; anything more is a present that went wrong.
    if share < 0.995:
        return 1
    bright = sum(1 for y in range(height - status_height, height) for x in range(width) if min(rows[y][x]) > 150)
    print("status strip: %d text pixels" % bright)
    if bright < 100:
        return 1
    colours = len({rows[y][x] for y in range(0, height, 3) for x in range(0, width, 3)})
    print("%d colours in the picture" % colours)
    return 0 if colours > 20 else 1


if __name__ == "__main__":
    sys.exit(main())
