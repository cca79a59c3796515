#!/usr/bin/env python3
"""Converts an X window dump (xwd, 24 or 32 bits per pixel, TrueColor) on stdin to PNG."""
import struct
import sys
import zlib


def shift_of(mask):
    shift = 0
    while mask and not mask & 1:
        mask >>= 1
        shift += 1
    return shift


def main():
    data = sys.stdin.buffer.read()
    header = struct.unpack(">25I", data[:100])
    header_size, width, height = header[0], header[4], header[5]
    byte_order, bits_per_pixel, bytes_per_line = header[7], header[11], header[12]
    masks = header[14:17]
    ncolors = header[19]
    pixels = data[header_size + 12 * ncolors:]
    if bits_per_pixel not in (24, 32):
        sys.exit("xwd2png: only 24 and 32 bits per pixel")
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"
    shifts = [shift_of(m) for m in masks]
    rows = []
    for y in range(height):
        line = pixels[y * bytes_per_line:y * bytes_per_line + width * step]
        out = bytearray(b"\0")
        for x in range(0, width * step, step):
            value = int.from_bytes(line[x:x + step], order)
            out += bytes(((value & m) >> s) & 0xFF for m, s in zip(masks, shifts))
        rows.append(bytes(out))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
    png += chunk(b"IEND", b"")
    sys.stdout.buffer.write(png)


if __name__ == "__main__":
    main()
