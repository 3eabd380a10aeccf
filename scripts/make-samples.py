#!/usr/bin/env python3
"""Makes the sample gestures under samples/: their animation strips, palette
buttons and sounds are drawn and synthesised here, then packed as gesture
files.

Run from the repository root: python3 scripts/make-samples.py
"""
import math
import struct
import wave
import io

MAGENTA = (255, 0, 255)


def lzw_literals(indices, min_code_size=8):
    """GIF LZW data that sends every pixel as a literal code, with a clear
    code often enough that the code width never grows."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    width = min_code_size + 1
    bits, nbits, out = 0, 0, bytearray()

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    run = 0
    for index in indices:
        if run % 200 == 0:
            emit(clear)
        emit(index)
        run += 1
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return bytes(out)


def gif(width, height, pixels, palette):
    """An 89a GIF with a 256-entry global table (colour resolution 7)."""
    table = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    out = bytearray(b'GIF89a')
    out += struct.pack('<HHBBB', width, height, 0xF7, 0, 0)
    for r, g, b in table:
        out += bytes((r, g, b))
    out += b',' + struct.pack('<HHHHB', 0, 0, width, height, 0)
    out.append(8)
    data = lzw_literals([p for row in pixels for p in row])
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out += b'\x00;'
    return bytes(out)


def canvas(width, height, colour=0):
    return [[colour] * width for _ in range(height)]


def disc(px, cx, cy, r, colour):
    for y in range(len(px)):
        for x in range(len(px[0])):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                px[y][x] = colour


def line(px, x0, y0, x1, y1, colour, thick=1.5):
    steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
    for i in range(steps + 1):
        t = i / steps
        disc(px, x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, thick, colour)


def strip(frames):
    height, width = len(frames[0]), len(frames[0][0])
    rows = []
    for y in range(height):
        row = []
        for f in frames:
            row += f[y]
        rows.append(row)
    return width * len(frames), height, rows


# Palette indices shared by the pictures.
PALETTE = [MAGENTA, (0, 0, 0), (255, 220, 60), (200, 60, 40), (40, 90, 200), (255, 255, 255),
           (120, 70, 30), (192, 192, 192), (60, 160, 60), (240, 200, 160)]
BG, BLACK, YELLOW, RED, BLUE, WHITE, BROWN, GREY, GREEN, SKIN = range(10)


def face(px, cx, cy, r, mood=1):
    disc(px, cx, cy, r + 1, BLACK)
    disc(px, cx, cy, r, YELLOW)
    disc(px, cx - r * 0.38, cy - r * 0.25, 1.4, BLACK)
    disc(px, cx + r * 0.38, cy - r * 0.25, 1.4, BLACK)
    for i in range(-3, 4):
        x = cx + i * r * 0.12
        y = cy + r * 0.35 + mood * (1 - (i / 3) ** 2) * r * 0.18
        disc(px, x, y, 0.8, BLACK)


def wave_frames():
    frames = []
    for k in range(8):
        px = canvas(32, 32, BG)
        face(px, 12, 17, 9)
        angle = math.radians(18 * math.sin(k * math.pi / 4))
        hx, hy = 25, 30
        tx, ty = hx + 14 * math.sin(angle), hy - 19 * math.cos(angle)
        line(px, hx, hy, tx, ty, SKIN, 1.6)
        disc(px, tx, ty, 3.2, SKIN)
        frames.append(px)
    return frames


def bow_frames():
    frames = []
    for k in range(6):
        px = canvas(32, 32, BG)
        tilt = [0, 3, 6, 9, 6, 3][k]
        line(px, 16, 30, 16, 20, BLUE, 3)
        face(px, 16 + tilt * 0.4, 11 + tilt * 0.8, 7)
        frames.append(px)
    return frames


def applause_frames():
    frames = []
    for k in range(4):
        px = canvas(32, 32, BG)
        gap = [6, 2, 6, 2][k]
        disc(px, 16 - gap, 16, 4, SKIN)
        disc(px, 16 + gap, 16, 4, SKIN)
        if gap == 2:
            for a in range(0, 360, 45):
                line(px, 16 + 8 * math.cos(math.radians(a)), 16 + 8 * math.sin(math.radians(a)),
                     16 + 12 * math.cos(math.radians(a)), 16 + 12 * math.sin(math.radians(a)), RED, 0.8)
        frames.append(px)
    return frames


def button(first_frame):
    """The 20x20 palette button: the first frame scaled down, on light grey."""
    px = canvas(20, 20, GREY)
    for y in range(20):
        for x in range(20):
            c = first_frame[int((y + 0.5) * 32 / 20)][int((x + 0.5) * 32 / 20)]
            if c != BG:
                px[y][x] = c
    return gif(20, 20, px, PALETTE)


def sound(kind):
    rate, seconds = 11025, 0.45
    frames = bytearray()
    n = int(rate * seconds)
    for i in range(n):
        t = i / rate
        env = min(1.0, t * 40) * max(0.0, 1 - t / seconds)
        if kind == 'wave':
            f = 500 + 500 * t / seconds
            v = math.sin(2 * math.pi * f * t)
        elif kind == 'bow':
            v = math.sin(2 * math.pi * 330 * t) * 0.6 + math.sin(2 * math.pi * 440 * t) * 0.4
        else:
            v = (((i * 1103515245 + 12345) >> 16) & 0xFF) / 127.5 - 1.0
            env *= 0.5 + 0.5 * math.sin(2 * math.pi * 8 * t) ** 2
        frames.append(int(128 + 100 * env * v) & 0xFF)
    buf = io.BytesIO()
    with wave.open(buf, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(rate)
        w.writeframes(bytes(frames))
    return buf.getvalue()


def gesture(name, flags, frame_width, colour, back, audio_start, button_gif, image_gif, audio):
    out = bytearray(b'QXMG0100')
    out.append(len(name))
    out += name.encode('latin-1')
    settings = bytearray(40)
    settings[3] = flags
    settings[4:6] = struct.pack('>H', frame_width)
    settings[6:9] = bytes(colour)
    settings[9] = back
    settings[10] = audio_start
    out += settings
    for section in (button_gif, image_gif) + ((audio,) if audio is not None else ()):
        out += struct.pack('>I', len(section)) + section
    return bytes(out)


def main():
    LOOP, REVERSE, TRANSPARENT, AUDIO, ONCE = 1, 2, 4, 8, 16
    samples = {
        'wave': (wave_frames(), LOOP | TRANSPARENT | AUDIO | ONCE, 1, 'wave', 'Wave'),
        'bow': (bow_frames(), TRANSPARENT | AUDIO, 2, 'bow', 'Bow'),
        'applause': (applause_frames(), LOOP | TRANSPARENT | AUDIO, 0, 'applause', 'Applause'),
    }
    for file_name, (frames, flags, audio_start, kind, name) in samples.items():
        w, h, rows = strip(frames)
        image = gif(w, h, rows, PALETTE)
        audio = sound(kind)
        assert len(audio) <= 30000, (file_name, len(audio))
        data = gesture(name, flags, 32, MAGENTA, 1 if flags & LOOP else 0, audio_start,
                       button(frames[0]), image, audio)
        with open(f'samples/{file_name}.qxm', 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
