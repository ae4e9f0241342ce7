#!/usr/bin/env python3
"""Draws the widgets' images (breadcrumb arrows and step marks, the overlay veil, test status
icons, the pop-up close button and the small loading animation) as PNG and GIF files beside this
script. Pure Python, so it runs anywhere; run it again after changing a drawing."""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4  # supersampling per axis


def blend(dst, src):
    """Source-over of straight-alpha RGBA colours given as floats 0..1."""
    sr, sg, sb, sa = src
    dr, dg, db, da = dst
    out_a = sa + da * (1 - sa)
    if out_a <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = lambda s, d: (s * sa + d * da * (1 - sa)) / out_a
    return (mix(sr, dr), mix(sg, dg), mix(sb, db), out_a)


class Canvas:
    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [[rgba(fill) for _ in range(width)] for _ in range(height)]

    def shape(self, inside, colour):
        """Paints colour wherever inside(x, y) holds, antialiased by supersampling. colour may
        also be a function of (x, y), read at each pixel's centre, for gradients."""
        colour_at = colour if callable(colour) else None
        colour = None if colour_at else rgba(colour)
        for py in range(self.height):
            for px in range(self.width):
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if inside(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES):
                            hits += 1
                if hits:
                    cover = hits / (SAMPLES * SAMPLES)
                    base = rgba(colour_at(px + 0.5, py + 0.5)) if colour_at else colour
                    c = (base[0], base[1], base[2], base[3] * cover)
                    self.pixels[py][px] = blend(self.pixels[py][px], c)

    def fill_rows(self, colour_of_row):
        for py in range(self.height):
            c = rgba(colour_of_row(py))
            for px in range(self.width):
                self.pixels[py][px] = blend(self.pixels[py][px], c)

    def bytes_rgba(self):
        rows = []
        for row in self.pixels:
            line = bytearray()
            for r, g, b, a in row:
                line += bytes(round(max(0.0, min(1.0, v)) * 255) for v in (r, g, b, a))
            rows.append(bytes(line))
        return rows


def rgba(colour):
    if len(colour) == 3:
        colour = (*colour, 255)
    return tuple(v / 255.0 for v in colour)


def save_png(canvas, name):
    path = os.path.join(HERE, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    raw = b"".join(b"\x00" + row for row in canvas.bytes_rgba())

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def save_gif(frames, name, delay_cs, background=(255, 255, 255)):
    """Animated GIF; colours are flattened onto background and quantised to a palette of the
    colours used (frames here use few colours), transparency kept for fully clear pixels."""
    width, height = frames[0].width, frames[0].height
    palette = [(0, 0, 0)]  # index 0: transparent
    index_of = {}
    frame_indices = []
    for frame in frames:
        indices = []
        for row in frame.pixels:
            for r, g, b, a in row:
                if a < 0.05:
                    indices.append(0)
                    continue
                c = tuple(round((v * a + bg / 255.0 * (1 - a)) * 255 / 16) * 16
                          for v, bg in zip((r, g, b), background))
                c = tuple(min(255, v) for v in c)
                if c not in index_of:
                    if len(palette) >= 256:
                        c = min(index_of, key=lambda k: sum((x - y) ** 2 for x, y in zip(k, c)))
                    else:
                        index_of[c] = len(palette)
                        palette.append(c)
                indices.append(index_of[c])
        frame_indices.append(indices)
    while len(palette) < 256:
        palette.append((0, 0, 0))

    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)
    for c in palette:
        out += bytes(c)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop for ever
    for indices in frame_indices:
        out += b"\x21\xF9\x04" + struct.pack("<BHBB", 0x09, delay_cs, 0, 0)
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
        out += b"\x08" + lzw_blocks(indices)
    out += b"\x3B"
    path = os.path.join(HERE, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(bytes(out))


def lzw_blocks(indices):
    """LZW data for 8-bit codes without building a dictionary: a clear code often enough keeps
    every code 9 bits wide, which any decoder reads."""
    clear, end = 256, 257
    codes = []
    for i, value in enumerate(indices):
        if i % 250 == 0:
            codes.append(clear)
        codes.append(value)
    codes.append(end)
    bits = 0
    nbits = 0
    data = bytearray()
    for code in codes:
        bits |= code << nbits
        nbits += 9
        while nbits >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 0xFF)
    out = bytearray()
    for start in range(0, len(data), 255):
        block = data[start:start + 255]
        out += bytes([len(block)]) + block
    return bytes(out) + b"\x00"


# ---- shapes -------------------------------------------------------------------------------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def segment(x1, y1, x2, y2, half_width):
    def inside(x, y):
        dx, dy = x2 - x1, y2 - y1
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
        px, py = x1 + t * dx, y1 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half_width ** 2
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def rect(x1, y1, x2, y2):
    return lambda x, y: x1 <= x <= x2 and y1 <= y <= y2


def any_of(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


WHITE = (255, 255, 255)
STEP_GREY = (238, 238, 238)
BORDER_GREY = (188, 188, 188)
BLUE = (30, 115, 220)


def tick(canvas, colour, scale=1.0, ox=0.0, oy=0.0, width=1.1):
    canvas.shape(any_of(segment(ox + 4.5 * scale, oy + 8.2 * scale, ox + 7 * scale, oy + 10.8 * scale, width),
                        segment(ox + 7 * scale, oy + 10.8 * scale, ox + 11.8 * scale, oy + 5.2 * scale, width)),
                 colour)


def cross(canvas, cx, cy, arm, colour, width=1.1):
    canvas.shape(any_of(segment(cx - arm, cy - arm, cx + arm, cy + arm, width),
                        segment(cx - arm, cy + arm, cx + arm, cy - arm, width)), colour)


# ---- breadcrumb ----------------------------------------------------------------------------

def current_gradient(y, height):
    t = y / max(1, height - 1)
    return tuple(round(237 + (217 - 237) * t) for _ in range(3))


def arrow(left_current, right_current, name):
    """The arrow between two steps: the step on each side shows through, a chevron separates
    them; a side that is the current step takes its gradient."""
    w, h = 28, 48
    c = Canvas(w, h)
    for side, is_current in ((0, left_current), (1, right_current)):
        def region(x, y, side=side):
            chevron_x = 4 + 18 * (1 - abs(y - h / 2) / (h / 2))
            return x < chevron_x if side == 0 else x >= chevron_x
        if is_current:
            for py in range(h):
                colour = current_gradient(py, h)
                c.shape(lambda x, y, py=py, region=region: int(y) == py and region(x, y), colour)
        else:
            c.shape(region, STEP_GREY)
    edge = BORDER_GREY if (left_current or right_current) else (214, 214, 214)
    c.shape(any_of(segment(4, 0, 22, h / 2, 0.7), segment(22, h / 2, 4, h, 0.7)), edge)
    save_png(c, name)


def step_marks():
    done = Canvas(16, 16)
    done.shape(circle(8, 8, 7.5), (88, 157, 14))
    tick(done, WHITE)
    save_png(done, "General/icnSelected.png")
    for name, colour in (("General/icnCurrentStep.png", BLUE),
                         ("General/icnNextStep.png", (167, 167, 167))):
        mark = Canvas(16, 16)
        mark.shape(circle(8, 8, 7.5), colour)
        save_png(mark, name)


# ---- overlay, pop-up, animation ------------------------------------------------------------

def veil():
    c = Canvas(8, 8, fill=(20, 20, 20, 150))
    save_png(c, "General/bg.png")


def close_buttons():
    for name, colour in (("Buttons/btnTooltipClose_Normal.png", (140, 140, 140)),
                         ("Buttons/btnTooltipClose_Over.png", (60, 60, 60))):
        c = Canvas(15, 15)
        cross(c, 7.5, 7.5, 4, colour, 1.0)
        save_png(c, name)


def loading_animation():
    frames = []
    count = 8
    for step in range(count):
        c = Canvas(16, 16)
        for dot in range(count):
            angle = 2 * math.pi * dot / count
            x = 8 + 5.5 * math.sin(angle)
            y = 8 - 5.5 * math.cos(angle)
            age = (step - dot) % count
            shade = 60 + age * 22
            c.shape(circle(x, y, 1.6), (shade, shade, shade))
        frames.append(c)
    save_gif(frames, "General/smallLoading.gif", 10)


# ---- test statuses -------------------------------------------------------------------------

def statuses():
    ok = Canvas(16, 16)
    ok.shape(circle(8, 8, 7.5), (42, 168, 29))
    tick(ok, WHITE)
    save_png(ok, "Statuses/icn_OK16x16.png")

    error = Canvas(16, 16)
    error.shape(circle(8, 8, 7.5), (218, 44, 54))
    cross(error, 8, 8, 3.2, WHITE)
    save_png(error, "Statuses/icn_Error16x16.png")

    unsupported = Canvas(16, 16)
    unsupported.shape(ring(8, 8, 7.5, 5.6), (140, 140, 140))
    unsupported.shape(segment(3.2, 12.8, 12.8, 3.2, 1.0), (140, 140, 140))
    save_png(unsupported, "Statuses/icn_Unsupported16x16.png")

    aborted = Canvas(16, 16)
    aborted.shape(circle(8, 8, 7.5), (230, 130, 30))
    aborted.shape(rect(5, 5, 11, 11), WHITE)
    save_png(aborted, "Statuses/icn_Aborted16x16.png")

    warning = Canvas(16, 16)
    warning.shape(polygon([(8, 0.8), (15.4, 14.8), (0.6, 14.8)]), (240, 170, 30))
    warning.shape(any_of(segment(8, 5.2, 8, 9.6, 1.0), circle(8, 12.3, 1.0)), WHITE)
    save_png(warning, "Statuses/icn_Warning16x16.png")

    invalid = Canvas(16, 16)
    invalid.shape(circle(8, 8, 7.5), (120, 90, 170))
    invalid.shape(any_of(ring(8, 6.2, 2.9, 1.3), segment(8, 8.6, 8, 10, 0.8)),
                  WHITE)
    invalid.shape(rect(3, 6.2, 8, 8.6), (120, 90, 170))  # opens the ring into a hook
    invalid.shape(segment(8, 8.6, 8, 10, 0.8), WHITE)
    invalid.shape(circle(8, 12.4, 0.9), WHITE)
    save_png(invalid, "Statuses/icn_Invalid_16x16.png")


def main():
    arrow(False, False, "General/arrow3.png")
    arrow(False, True, "General/arrow1.png")
    arrow(True, False, "General/arrow2.png")
    step_marks()
    veil()
    close_buttons()
    loading_animation()
    statuses()


if __name__ == "__main__":
    main()
