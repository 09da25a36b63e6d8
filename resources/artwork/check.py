#!/usr/bin/python3
"""Checks the committed bitmaps against what the editor relies on.

    /usr/bin/python3 resources/artwork/check.py

Sizes and palette format of every PNG; the knob's pointer angle in each of
its 121 frames; the scale marks of the background at the angles the pointer
reaches for the values 0 to 10 where the window places each knob; the lamps'
dark and lit centres; the two power switch states.  The layout and angles are
written out here again on purpose, independent of the generator.
"""

import math
import os
import sys

from PIL import Image

RESOURCES = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

SIZES = {
    "background.png": (1024, 938),
    "knob.png": (190, 22990),
    "overload_lamp.png": (150, 4774),
    "power_lamp.png": (150, 308),
    "power_switch.png": (130, 260),
    "main_menu.png": (36, 36),
    "main_menu_open.png": (36, 36),
    "help_menu.png": (36, 36),
    "help_menu_open.png": (36, 36),
    "global_link.png": (36, 72),
}

KNOB_FRAMES = 121
KNOB_FRAME = 190
KNOB_TOP_LEFTS = [(90, 109), (229, 109), (90, 266), (229, 266)]  # logical pixels
LAMP_FRAME = (150, 154)
SWITCH_FRAME = 130

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def load(name):
    return Image.open(os.path.join(RESOURCES, name))


def pointer_angle(frame):
    return 2.0 * math.pi / 3.0 + frame / 120.0 * 5.0 * math.pi / 3.0


def samples(cx, cy, radius, angle, spread=0.0):
    """Pixels at the given polar point, by truncation and by rounding, also
    moved by +-spread pixels across the radius."""
    out = set()
    for across in (-spread, 0.0, spread):
        x = cx + radius * math.cos(angle) - across * math.sin(angle)
        y = cy + radius * math.sin(angle) + across * math.cos(angle)
        out.add((int(math.floor(x)), int(math.floor(y))))
        out.add((int(round(x)), int(round(y))))
    return out


def check_formats():
    for name, size in SIZES.items():
        image = load(name)
        expect(image.size == size, "%s is %s, not %s" % (name, image.size, size))
        expect(image.mode == "P", "%s is not an 8-bit palette image (%s)" % (name, image.mode))


def check_knob():
    strip = load("knob.png").convert("RGBA")
    for frame in range(KNOB_FRAMES):
        top = frame * KNOB_FRAME
        angle = pointer_angle(frame)
        for radius in range(40, 71):
            for x, y in samples(95, 95, radius, angle, spread=1.5):
                p = strip.getpixel((x, top + y))
                expect(min(p[:3]) > 200 and p[3] == 255,
                       "knob frame %d: pointer pixel (%d, %d) is %s" % (frame, x, y, p))
        for x, y in samples(95, 95, 55, angle + math.pi, spread=2.0):
            p = strip.getpixel((x, top + y))
            expect(max(p[:3]) < 110 and p[3] == 255, "knob frame %d: body pixel (%d, %d) is %s" % (frame, x, y, p))
        # Nothing light a little beside the pointer.
        for side in (-1, 1):
            for x, y in samples(95, 95, 55, angle + side * math.radians(15)):
                p = strip.getpixel((x, top + y))
                expect(max(p[:3]) < 110, "knob frame %d: pixel (%d, %d) beside the pointer is %s" % (frame, x, y, p))


def check_background_scales():
    background = load("background.png").convert("RGB")
    for left, top in KNOB_TOP_LEFTS:
        cx, cy = (left + 47.5) * 2, (top + 47.5) * 2
        for value in range(11):
            angle = pointer_angle(round(value / 10.0 * 120))
            for radius in range(98, 107):
                for x, y in samples(cx, cy, radius, angle, spread=0.5):
                    p = background.getpixel((x, y))
                    expect(min(p) > 180, "knob at (%d, %d): mark %d pixel (%d, %d) is %s" % (left, top, value, x, y, p))
            # Half-way between two marks at the same radius lies the panel, so
            # each mark is where the pointer of its value points, not beside it.
            if value < 10:
                between = angle + math.pi / 12.0
                for x, y in samples(cx, cy, 105, between):
                    p = background.getpixel((x, y))
                    expect(max(p) < 90, "knob at (%d, %d): panel pixel (%d, %d) is %s" % (left, top, x, y, p))
            for side in (-1, 1):
                for x, y in samples(cx, cy, 105, angle + side * math.radians(4)):
                    p = background.getpixel((x, y))
                    expect(max(p) < 90, "knob at (%d, %d): pixel (%d, %d) beside mark %d is %s"
                           % (left, top, x, y, value, p))


def check_lamps():
    for name, frames in (("overload_lamp.png", 31), ("power_lamp.png", 2)):
        strip = load(name).convert("RGBA")
        w, h = LAMP_FRAME
        reds = []
        for frame in range(frames):
            centre = [strip.getpixel((x, frame * h + y)) for x in (74, 75) for y in (76, 77)]
            if frame == 0:
                expect(all(max(p[:3]) < 90 and p[3] == 255 for p in centre), "%s: dark centre is %s" % (name, centre))
            if frame == frames - 1:
                expect(all(p[0] > 180 and p[3] == 255 for p in centre), "%s: lit centre is %s" % (name, centre))
            reds.append(sum(p[0] for p in centre))
        expect(all(a <= b for a, b in zip(reds, reds[1:])), "%s: the centre does not grow brighter: %s" % (name, reds))


def check_switch():
    strip = load("power_switch.png").convert("RGBA")
    s = SWITCH_FRAME
    off = strip.crop((0, 0, s, s)).getdata()
    on = strip.crop((0, s, s, 2 * s)).getdata()
    changed = sum(1 for a, b in zip(off, on) if max(abs(x - y) for x, y in zip(a, b)) > 60)
    expect(changed > s * s // 20, "power switch: only %d pixels differ between off and on" % changed)


def main():
    check_formats()
    if not failures:
        check_knob()
        check_background_scales()
        check_lamps()
        check_switch()
    for message in failures[:40]:
        print(message)
    if failures:
        print("%d failures" % len(failures))
        return 1
    print("artwork ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
