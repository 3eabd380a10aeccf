#!/usr/bin/env python3
"""Draws the builder's own pictures: icon 128 (the application), icon 133
(the palette) and bitmap 129 (the placeholder avatar, 48x64, 256 colours, a
head-and-shoulders portrait in a one-pixel black frame).

Run from the repository root: python3 scripts/make-resource-pictures.py
"""
import struct

# The 16 colours of the standard VGA palette, as (r, g, b).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, DKBLUE, GREY, RED, YELLOW, BLUE, WHITE, TRANSPARENT = 0, 4, 8, 9, 11, 12, 15, -1


def inside_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def balloon_icon(size, accent):
    """A speech balloon with a tail and three dots of animation."""
    s = size / 32.0
    px = [[TRANSPARENT] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            if inside_ellipse(fx, fy, 16, 13, 15, 11):
                px[y][x] = WHITE
                if not inside_ellipse(fx, fy, 16, 13, 13.6, 9.6):
                    px[y][x] = BLACK
            # tail towards the lower left
            if 20 <= fy <= 30 and 5 <= fx <= 14 and fx - 5 <= (30 - fy) * 0.9 and fx >= 5 + (fy - 20) * 0.1:
                if px[y][x] == TRANSPARENT:
                    px[y][x] = BLACK
    for i, cx in enumerate((9, 16, 23)):
        for y in range(size):
            for x in range(size):
                if inside_ellipse((x + 0.5) / s, (y + 0.5) / s, cx, 13, 2.6, 2.6):
                    px[y][x] = accent if i != 1 else RED
    return px


def ico_image(px):
    """A 4-bit DIB with its AND mask, bottom-up, as an icon directory entry body."""
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in VGA)
    xor_rows, and_rows = [], []
    for row in reversed(px):
        nib = [0 if c == TRANSPARENT else c for c in row]
        data = bytes((nib[i] << 4) | nib[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b'\0' * ((4 - len(data) % 4) % 4))
        bits = 0
        mask = bytearray()
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c == TRANSPARENT else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b'\0' * ((4 - len(mask) % 4) % 4))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def write_ico(path, images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    bodies = []
    for px in images:
        body = ico_image(px)
        size = len(px)
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(body), offset)
        offset += len(body)
        bodies.append(body)
    with open(path, 'wb') as f:
        f.write(out + b''.join(bodies))


def palette_icon(size):
    """A 3x3 grid of raised buttons."""
    s = size / 32.0
    px = [[GREY] * size for _ in range(size)]
    colours = [RED, YELLOW, BLUE, 2, 13, 14, 3, WHITE, 6]
    for i in range(3):
        for j in range(3):
            x0, y0 = int((2 + 10 * j) * s), int((2 + 10 * i) * s)
            x1, y1 = int((10 + 10 * j) * s), int((10 + 10 * i) * s)
            for y in range(y0, y1):
                for x in range(x0, x1):
                    edge_light = x == x0 or y == y0
                    edge_dark = x == x1 - 1 or y == y1 - 1
                    px[y][x] = WHITE if edge_light else BLACK if edge_dark else colours[i * 3 + j]
    return px


def avatar_bitmap(path):
    width, height = 48, 64
    # 256-colour table: a few colours used, the rest black.
    table = [(0, 0, 0)] * 256
    BG, SKIN, HAIR, SHIRT, COLLAR, EYE, MOUTH, FRAME = 1, 2, 3, 4, 5, 6, 7, 0
    table[BG] = (200, 220, 240)
    table[SKIN] = (240, 200, 160)
    table[HAIR] = (90, 60, 30)
    table[SHIRT] = (40, 80, 160)
    table[COLLAR] = (250, 250, 250)
    table[EYE] = (20, 20, 40)
    table[MOUTH] = (180, 60, 60)
    px = [[BG] * width for _ in range(height)]
    for y in range(height):
        for x in range(width):
            fx, fy = x + 0.5, y + 0.5
            if fy > 46 and inside_ellipse(fx, fy, 24, 66, 22, 20):
                px[y][x] = SHIRT
                if abs(fx - 24) < (fy - 44) * 0.45 and fy < 54:
                    px[y][x] = COLLAR
            if 36 <= fy <= 48 and abs(fx - 24) <= 5:
                px[y][x] = SKIN
            if inside_ellipse(fx, fy, 24, 24, 12, 15):
                px[y][x] = SKIN
            if inside_ellipse(fx, fy, 24, 18, 13, 10) and fy < 17:
                px[y][x] = HAIR
            if inside_ellipse(fx, fy, 19, 24, 1.6, 1.8) or inside_ellipse(fx, fy, 29, 24, 1.6, 1.8):
                px[y][x] = EYE
            if 31.5 <= fy <= 33 and abs(fx - 24) <= 4:
                px[y][x] = MOUTH
    for x in range(width):
        px[0][x] = px[height - 1][x] = FRAME
    for y in range(height):
        px[y][0] = px[y][width - 1] = FRAME
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, width * height, 0, 0, 256, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in table)
    rows = b''.join(bytes(row) for row in reversed(px))
    offset = 14 + len(header) + len(colours)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(rows), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(file_header + header + colours + rows)


if __name__ == '__main__':
    write_ico('resources/app.ico', [balloon_icon(32, BLUE), balloon_icon(16, BLUE)])
    write_ico('resources/palette.ico', [palette_icon(32), palette_icon(16)])
    avatar_bitmap('resources/avatar.bmp')
