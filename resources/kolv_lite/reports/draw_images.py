#!/usr/bin/env python3
"""Draws the images of the report pages (the big status images of an entry's header, the small
broken-entry image and the background of the device title bars) as PNG files beside this
script, with the drawing helpers of the widgets' script. Run it again after changing a drawing."""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "widgets"))

import draw_images as widgets  # noqa: E402
from draw_images import Canvas, circle as disc, polygon, segment  # noqa: E402


def colour(hex_text, alpha=1.0):
    """A "#RRGGBB" colour as the widgets' helpers take it: channels 0..255."""
    v = int(hex_text.lstrip("#"), 16)
    return (v >> 16 & 255, v >> 8 & 255, v & 255, alpha * 255)


def shaded(top, bottom, size):
    """A vertical gradient from top to bottom over the image's height."""
    t, b = colour(top), colour(bottom)
    return lambda x, y: tuple(t[i] + (b[i] - t[i]) * (y / size) for i in range(4))


def round_badge(size, top, bottom):
    c = Canvas(size, size)
    m = size / 2
    c.shape(disc(m, m, m - 0.5), colour("#000000", 0.18))
    c.shape(disc(m, m - size * 0.02, m - size * 0.06), shaded(top, bottom, size))
    c.shape(disc(m, m - size * 0.22, m * 0.62),
            lambda x, y: (255, 255, 255, 255 * 0.18 * max(0.0, 1 - y / (size * 0.5))))
    return c


def mark(c, size, kind):
    s = size
    w = max(1.2, s * 0.07)
    white = colour("#FFFFFF")
    if kind == "ok":
        c.shape(segment(s * .28, s * .52, s * .44, s * .68, w), white)
        c.shape(segment(s * .44, s * .68, s * .74, s * .34, w), white)
    elif kind == "error":
        c.shape(segment(s * .32, s * .32, s * .68, s * .68, w), white)
        c.shape(segment(s * .68, s * .32, s * .32, s * .68, w), white)
    elif kind == "unsupported":
        ring = lambda x, y: (s * .24) ** 2 <= (x - s / 2) ** 2 + (y - s / 2) ** 2 <= (s * .24 + w * 1.4) ** 2
        c.shape(ring, white)
        c.shape(segment(s * .34, s * .66, s * .66, s * .34, w * .7), white)
    elif kind == "aborted":
        c.shape(polygon([(s * .34, s * .34), (s * .66, s * .34), (s * .66, s * .66), (s * .34, s * .66)]), white)
    elif kind == "invalid":
        c.shape(lambda x, y: (s * .13) ** 2 <= (x - s / 2) ** 2 + (y - s * .40) ** 2 <= (s * .13 + w * 1.3) ** 2 and not (y > s * .40 and x < s / 2), white)
        c.shape(segment(s * .5 + w * .2, s * .54, s * .5, s * .62, w * .65), white)
        c.shape(disc(s * .5, s * .74, w * .85), white)


def warning_triangle(size):
    s = size
    c = Canvas(size, size)
    c.shape(polygon([(s * .5, s * .03), (s * .98, s * .94), (s * .02, s * .94)]), colour("#000000", 0.18))
    c.shape(polygon([(s * .5, s * .07), (s * .93, s * .9), (s * .07, s * .9)]), shaded("#FFD54A", "#E8A400", s))
    w = max(1.0, s * .065)
    c.shape(segment(s * .5, s * .36, s * .5, s * .62, w), colour("#3A2A00"))
    c.shape(disc(s * .5, s * .76, w * 1.05), colour("#3A2A00"))
    return c


def broken_page(size):
    """A sheet torn across: the entry could not be read whole."""
    s = size
    c = Canvas(size, size)
    paper = shaded("#FFFFFF", "#D9D9D9", s)
    edge = colour("#7A7A7A")
    tear = [(s * .16, s * .50), (s * .34, s * .42), (s * .48, s * .56), (s * .64, s * .44), (s * .84, s * .54)]
    upper = [(s * .16, s * .06), (s * .84, s * .06)] + [tear[-1]] + list(reversed(tear[:-1]))
    lower = [(x, y + s * .08) for x, y in tear] + [(s * .84, s * .94), (s * .16, s * .94)]
    for piece in (upper, lower):
        grown = [(x + (0.6 if x > s / 2 else -0.6), y) for x, y in piece]
        c.shape(polygon(grown), edge)
        c.shape(polygon(piece), paper)
    w = max(0.8, s * .035)
    for y in (.18, .28, .74, .84):
        c.shape(segment(s * .26, s * y, s * .74, s * y, w), colour("#9E9E9E"))
    c.shape(disc(s * .78, s * .78, s * .2), colour("#B3261E"))
    c.shape(segment(s * .71, s * .71, s * .85, s * .85, w * 1.2), colour("#FFFFFF"))
    c.shape(segment(s * .85, s * .71, s * .71, s * .85, w * 1.2), colour("#FFFFFF"))
    return c


def header_background(width, height):
    c = Canvas(width, height)
    c.shape(lambda x, y: True, shaded("#F4F4F4", "#D2D2D2", height))
    c.shape(lambda x, y: y >= height - 1, colour("#BDBDBD"))
    return c


def main():
    big = 50
    badges = {
        "icn_OK_big.png": ("#6CC04A", "#3C8D2F", "ok"),
        "icn_Error_big.png": ("#E5533D", "#B3261E", "error"),
        "icn_Unsupported_big.png": ("#A8A8A8", "#6F6F6F", "unsupported"),
        "icn_Aborted_big.png": ("#F29A3A", "#C8641A", "aborted"),
        "icn_Invalid_big.png": ("#8F7CC8", "#5B4A99", "invalid"),
    }
    for name, (top, bottom, kind) in badges.items():
        c = round_badge(big, top, bottom)
        mark(c, big, kind)
        widgets.save_png(c, os.path.join(HERE, "Statuses", name))
    widgets.save_png(warning_triangle(big), os.path.join(HERE, "Statuses", "icn_Warning_big.png"))
    widgets.save_png(broken_page(big), os.path.join(HERE, "Statuses", "icn_Broken_big.png"))
    widgets.save_png(broken_page(16), os.path.join(HERE, "Statuses", "icn_Broken_16x16.png"))
    widgets.save_png(header_background(4, 26), os.path.join(HERE, "Reports", "log_device_header_bg.png"))


if __name__ == "__main__":
    main()
