#!/usr/bin/env python3
"""Draws the screens' animation (the large loading spinner of the devices loading screen) as a
GIF beside this script, with the drawing helpers of the widgets' script. Run it again after
changing the drawing."""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "widgets"))

import draw_images as widgets  # noqa: E402


def loading_animation():
    # Twelve dots on a ring; the lit one walks clockwise and the rest fade behind it, in the
    # blue accent, on the white of the loading box.
    size, count = 64, 12
    frames = []
    for step in range(count):
        c = widgets.Canvas(size, size)
        for dot in range(count):
            angle = 2 * math.pi * dot / count
            x = size / 2 + 22 * math.sin(angle)
            y = size / 2 - 22 * math.cos(angle)
            age = (step - dot) % count
            fade = age / count
            colour = tuple(round(v + (235 - v) * fade) for v in (30, 115, 220))
            c.shape(widgets.circle(x, y, 4.6 - 1.8 * fade), colour)
        frames.append(c)
    widgets.save_gif(frames, "../screens/General/imgAnimatedLoading.gif", 8)


if __name__ == "__main__":
    loading_animation()
