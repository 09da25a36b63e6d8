#!/usr/bin/python3
"""Draws the editor's bitmaps of QUOR-515 and writes them as palette PNGs.

Every picture is written here as SVG, rendered with rsvg-convert, stacked into
film strips with Pillow and reduced to an 8-bit palette with pngquant
(Debian: librsvg2-bin, python3-pil, pngquant, fonts-open-sans).

    /usr/bin/python3 resources/artwork/generate.py [--svg DIR]

writes the PNGs into resources/ and, with --svg, keeps the SVG sources of
every picture in DIR for editing or inspection.

All bitmaps are drawn at twice the editor's logical resolution: one logical
pixel of the window is two bitmap pixels.  The layout constants below are the
positions (in logical pixels) at which the window places its views, so the
labels and scales on the background sit exactly around the controls.
"""

import argparse
import math
import os
import shutil
import subprocess
import sys
import tempfile

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.dirname(HERE)

SCALE = 2  # bitmap pixels per logical pixel

# Window layout in logical pixels (top left corners).
BACKGROUND_SIZE = (512, 469)
KNOB_SIZE = 95
KNOBS = [  # label, left, top, scale texts (None: 0 to 10)
    ("Fx Limiter", 90, 109, None),
    ("Fx Mix", 229, 109, None),
    ("Tone", 90, 266, None),
    ("Pre-Delay", 229, 266, "ms"),
]
LAMP_SIZE = (75, 77)
OVERLOAD_LAMP = (360, 112)
POWER_LAMP = (360, 191)
SWITCH_SIZE = 65
POWER_SWITCH = (364, 279)

# The knob turns clockwise over 300 degrees: frame i of 121 points at
# START + i / 120 * RANGE, measured from +x towards +y (screen y points down).
KNOB_FRAMES = 121
KNOB_START = 2.0 * math.pi / 3.0
KNOB_RANGE = 5.0 * math.pi / 3.0
OVERLOAD_FRAMES = 31

# Pre-Delay milliseconds at the normalized values 0, 0.1, ... 1.
PREDELAY_MS = [0.0, 1.65, 2.72, 4.5, 7.4, 12.3, 20.2, 33.4, 55.1, 90.9, 150.0]

# Knob geometry in bitmap pixels, centre (95, 95) of a 190 x 190 frame.
KNOB_CENTRE = KNOB_SIZE * SCALE / 2.0
POINTER_INNER = 36.0  # the pointer covers radius 40 to 70 with a margin
POINTER_OUTER = 73.0
POINTER_WIDTH = 8.0
CAP_RADIUS = 75.0
SKIRT_RADIUS = 84.0

# Scale around each knob, bitmap pixels from the knob's centre.
TICK_INNER = 95.0
TICK_MAJOR_OUTER = 109.0
TICK_MINOR_OUTER = 102.0
NUMBER_GAP = 7.0
NUMBER_SIZE = 19.0

FONT = "Open Sans"
PANEL_TEXT = "#e6e6e6"
SCALE_TEXT = "#bcbcbc"
ACCENT = "#f08c28"


def knob_angle(frame):
    return KNOB_START + frame / (KNOB_FRAMES - 1) * KNOB_RANGE


def value_angle(value):
    """Angle of the frame the knob shows for the value 0 to 10."""
    return knob_angle(round(value / 10.0 * (KNOB_FRAMES - 1)))


def knob_centre_on_background(left, top):
    """Centre of a knob placed at logical (left, top), in background pixels."""
    return ((left + KNOB_SIZE / 2.0) * SCALE, (top + KNOB_SIZE / 2.0) * SCALE)


def polar(cx, cy, radius, angle):
    return cx + radius * math.cos(angle), cy + radius * math.sin(angle)


def f(x):
    return ("%.3f" % x).rstrip("0").rstrip(".")


def svg(width, height, body, defs=""):
    return (
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
        'viewBox="0 0 %d %d">\n<defs>\n%s</defs>\n%s</svg>\n'
        % (width, height, width, height, defs, body)
    )


def line(p0, p1, colour, width, cap="butt", opacity=1.0):
    return (
        '<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="%s" '
        'stroke-linecap="%s" stroke-opacity="%s"/>\n'
        % (f(p0[0]), f(p0[1]), f(p1[0]), f(p1[1]), colour, f(width), cap, f(opacity))
    )


def circle(cx, cy, r, fill, extra=""):
    return '<circle cx="%s" cy="%s" r="%s" fill="%s" %s/>\n' % (f(cx), f(cy), f(r), fill, extra)


def text(x, y, content, size, colour, weight="normal", anchor="start", spacing=0.0):
    return (
        '<text x="%s" y="%s" font-family="%s" font-size="%s" font-weight="%s" '
        'fill="%s" text-anchor="%s" letter-spacing="%s">%s</text>\n'
        % (f(x), f(y), FONT, f(size), weight, colour, anchor, f(spacing), content)
    )


def rgb(c):
    return "rgb(%d,%d,%d)" % tuple(int(round(v)) for v in c)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def linear_gradient(ident, stops, x1=0, y1=0, x2=0, y2=1):
    s = "".join(
        '<stop offset="%s" stop-color="%s" stop-opacity="%s"/>' % (f(o), c, f(a)) for o, c, a in stops
    )
    return '<linearGradient id="%s" x1="%s" y1="%s" x2="%s" y2="%s">%s</linearGradient>\n' % (
        ident, f(x1), f(y1), f(x2), f(y2), s)


def radial_gradient(ident, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
    s = "".join(
        '<stop offset="%s" stop-color="%s" stop-opacity="%s"/>' % (f(o), c, f(a)) for o, c, a in stops
    )
    return '<radialGradient id="%s" cx="%s" cy="%s" r="%s" fx="%s" fy="%s">%s</radialGradient>\n' % (
        ident, f(cx), f(cy), f(r), f(cx if fx is None else fx), f(cy if fy is None else fy), s)


# ---------------------------------------------------------------- knob


def knob_svg(frame):
    c = KNOB_CENTRE
    size = KNOB_SIZE * SCALE
    angle = knob_angle(frame)
    defs = radial_gradient("shadow", [(0.0, "#000", 0.6), (0.86, "#000", 0.5), (1.0, "#000", 0.0)])
    defs += linear_gradient("skirt", [(0.0, "#c4c6ca", 1), (0.5, "#7c7e82", 1), (1.0, "#3c3d40", 1)])
    defs += radial_gradient("cap", [(0.0, "#4a4b4f", 1), (1.0, "#18191b", 1)], cx=0.42, cy=0.36, r=0.7)
    defs += linear_gradient("bevel", [(0.0, "#fff", 0.35), (0.5, "#fff", 0.0), (1.0, "#000", 0.5)])
    body = circle(c, c + 3, 91, "url(#shadow)")
    body += circle(c, c, SKIRT_RADIUS, "url(#skirt)")
    # Grip ridges turn with the knob.
    for j in range(48):
        a = angle + j * 2.0 * math.pi / 48
        body += line(polar(c, c, CAP_RADIUS + 1, a), polar(c, c, SKIRT_RADIUS - 1, a), "#000", 2.2, opacity=0.35)
    body += circle(c, c, SKIRT_RADIUS - 0.5, "none", 'stroke="#000" stroke-opacity="0.6" stroke-width="1"')
    body += circle(c, c, CAP_RADIUS + 1.5, "#101012")
    body += circle(c, c, CAP_RADIUS, "url(#cap)")
    body += circle(c, c, CAP_RADIUS - 1.5, "none", 'stroke="url(#bevel)" stroke-width="3"')
    body += line(polar(c, c, POINTER_INNER, angle), polar(c, c, POINTER_OUTER, angle), "#fafafa", POINTER_WIDTH)
    return svg(size, size, body, defs)


# ---------------------------------------------------------------- lamps


def lamp_svg(level, off_centre, off_edge, on_centre, on_edge, glow):
    """A round jewel lamp in a chrome bezel; level 0 is off, 1 fully lit."""
    w, h = LAMP_SIZE[0] * SCALE, LAMP_SIZE[1] * SCALE
    cx, cy = w / 2.0, h / 2.0
    centre = rgb(mix(off_centre, on_centre, level))
    edge = rgb(mix(off_edge, on_edge, level))
    defs = radial_gradient("glow", [(0.0, rgb(glow), 0.55 * level), (0.6, rgb(glow), 0.3 * level),
                                    (1.0, rgb(glow), 0.0)])
    defs += linear_gradient("bezel", [(0.0, "#d8dade", 1), (0.55, "#6e7074", 1), (1.0, "#35363a", 1)])
    defs += linear_gradient("chamfer", [(0.0, "#2a2b2e", 1), (1.0, "#a8aaae", 1)])
    defs += radial_gradient("jewel", [(0.0, centre, 1), (0.55, centre, 1), (1.0, edge, 1)])
    defs += radial_gradient("specular", [(0.0, "#fff", 0.55), (1.0, "#fff", 0.0)])
    body = circle(cx, cy, 62, "url(#glow)") if level > 0 else ""
    body += circle(cx, cy + 2.5, 43, "#000", 'fill-opacity="0.45"')
    body += circle(cx, cy, 41, "url(#bezel)")
    body += circle(cx, cy, 35, "url(#chamfer)")
    body += circle(cx, cy, 31, "url(#jewel)")
    body += '<ellipse cx="%s" cy="%s" rx="13" ry="8" fill="url(#specular)" transform="rotate(-35 %s %s)"/>\n' % (
        f(cx - 12), f(cy - 15), f(cx - 12), f(cy - 15))
    return svg(w, h, body, defs)


RED_OFF = ((68, 18, 16), (28, 7, 7))
RED_ON = ((255, 84, 60), (196, 18, 10))
RED_GLOW = (255, 40, 20)
AMBER_OFF = ((66, 44, 14), (26, 17, 6))
AMBER_ON = ((255, 206, 96), (226, 126, 12))
AMBER_GLOW = (255, 150, 30)


def overload_lamp_svg(frame):
    return lamp_svg(frame / (OVERLOAD_FRAMES - 1), *RED_OFF, *RED_ON, RED_GLOW)


def power_lamp_svg(frame):
    return lamp_svg(float(frame), *AMBER_OFF, *AMBER_ON, AMBER_GLOW)


# ---------------------------------------------------------------- power switch


def switch_svg(on):
    """A toggle switch seen from the front: the bat points up when on."""
    size = SWITCH_SIZE * SCALE
    c = size / 2.0
    d = -1.0 if on else 1.0
    tip = c + d * 40.0
    defs = linear_gradient("ring", [(0.0, "#e0e2e6", 1), (0.5, "#85878b", 1), (1.0, "#3a3b3e", 1)])
    defs += linear_gradient("nut", [(0.0, "#55575b", 1), (1.0, "#c8cace", 1)])
    defs += linear_gradient("bat", [(0.0, "#6c6e72", 1), (0.35, "#f2f3f5", 1), (1.0, "#77797d", 1)],
                            x1=0, y1=0, x2=1, y2=0)
    defs += radial_gradient("ball", [(0.0, "#ffffff", 1), (0.5, "#c4c6ca", 1), (1.0, "#55575b", 1)],
                            cx=0.5, cy=0.5, r=0.5, fx=0.38, fy=0.32)
    body = circle(c, c + 2.5, 33, "#000", 'fill-opacity="0.45"')
    body += circle(c, c, 31, "url(#ring)")
    # Hexagonal nut.
    pts = " ".join("%s,%s" % (f(c + 22 * math.cos(k * math.pi / 3 + math.pi / 6)),
                              f(c + 22 * math.sin(k * math.pi / 3 + math.pi / 6))) for k in range(6))
    body += '<polygon points="%s" fill="url(#nut)" stroke="#202124" stroke-width="1.5"/>\n' % pts
    body += circle(c, c, 12.5, "#0c0c0d")
    # The bat: shadow first, then a tapered lever from the hole to the ball.
    for dx, dy, fill, extra in ((3, 5, "#000", 'fill-opacity="0.4"'), (0, 0, "url(#bat)", "")):
        body += '<polygon points="%s,%s %s,%s %s,%s %s,%s" fill="%s" %s/>\n' % (
            f(c - 7 + dx), f(c + dy), f(c + 7 + dx), f(c + dy),
            f(c + 5 + dx), f(tip + dy), f(c - 5 + dx), f(tip + dy), fill, extra)
        body += circle(c + dx, tip + dy, 12, fill, extra)
    body += circle(c, tip, 12, "url(#ball)")
    return svg(size, size, body, defs)


# ---------------------------------------------------------------- background


def number_text(value, unit):
    if unit is None:
        return "%d" % value
    ms = PREDELAY_MS[value]
    return "%d" % round(ms) if ms >= 10 or ms == 0 else ("%.1f" % ms)


def text_width(content, size):
    """Advance width of a string in Open Sans Semibold, close enough for placing."""
    widths = {".": 0.27, "-": 0.32, " ": 0.26}
    return sum(widths.get(ch, 0.58) for ch in content) * size


def knob_scale(label, left, top, unit):
    cx, cy = knob_centre_on_background(left, top)
    out = ""
    # Arc joining the marks.
    a0, a1 = value_angle(0), value_angle(10)
    p0, p1 = polar(cx, cy, TICK_INNER, a0), polar(cx, cy, TICK_INNER, a1)
    out += '<path d="M %s %s A %s %s 0 1 1 %s %s" fill="none" stroke="%s" stroke-width="2"/>\n' % (
        f(p0[0]), f(p0[1]), f(TICK_INNER), f(TICK_INNER), f(p1[0]), f(p1[1]), SCALE_TEXT)
    for half in range(21):
        a = value_angle(half / 2.0)
        major = half % 2 == 0
        outer = TICK_MAJOR_OUTER if major else TICK_MINOR_OUTER
        out += line(polar(cx, cy, TICK_INNER, a), polar(cx, cy, outer, a), "#e8e8e8" if major else SCALE_TEXT,
                    4.0 if major else 2.0)
        if not major:
            continue
        value = half // 2
        content = number_text(value, unit)
        w = text_width(content, NUMBER_SIZE)
        h = 0.72 * NUMBER_SIZE  # digit height
        # Push the number out until its box clears the tick ends by NUMBER_GAP.
        reach = abs(math.cos(a)) * w / 2.0 + abs(math.sin(a)) * h / 2.0
        x, y = polar(cx, cy, TICK_MAJOR_OUTER + NUMBER_GAP + reach, a)
        out += text(x, y + h / 2.0, content, NUMBER_SIZE, SCALE_TEXT, weight="600", anchor="middle")
    label_y = cy - 142
    if unit is None:
        out += text(cx, label_y, label, 23, PANEL_TEXT, weight="600", anchor="middle", spacing=0.5)
    else:
        lw = text_width(label, 23) + 0.5 * len(label)
        uw = text_width(" " + unit, 17)
        x = cx - (lw + uw) / 2.0
        out += text(x, label_y, label, 23, PANEL_TEXT, weight="600", spacing=0.5)
        out += text(x + lw + text_width(" ", 17), label_y, unit, 17, SCALE_TEXT, weight="600")
    return out


def screw(cx, cy, angle):
    out = circle(cx, cy + 1.5, 11, "#000", 'fill-opacity="0.5"')
    out += circle(cx, cy, 10, "url(#screw)")
    for a in (angle, angle + math.pi / 2):
        out += line(polar(cx, cy, -6, a), polar(cx, cy, 6, a), "#1c1d1f", 2.6)
    return out


def background_svg():
    w, h = BACKGROUND_SIZE[0] * SCALE, BACKGROUND_SIZE[1] * SCALE
    header = 114
    footer = 812
    defs = linear_gradient("panel", [(0.0, "#3a3c40", 1), (1.0, "#26272a", 1)])
    defs += linear_gradient("header", [(0.0, "#1d1e21", 1), (1.0, "#141517", 1)])
    defs += linear_gradient("footer", [(0.0, "#1a1b1d", 1), (1.0, "#121314", 1)])
    defs += linear_gradient("screw", [(0.0, "#b8babe", 1), (1.0, "#4a4c50", 1)])
    defs += linear_gradient("groove", [(0.0, "#000", 0.0), (0.15, "#000", 0.55), (0.85, "#000", 0.55),
                                       (1.0, "#000", 0.0)])
    defs += linear_gradient("grooveLight", [(0.0, "#fff", 0.0), (0.15, "#fff", 0.08), (0.85, "#fff", 0.08),
                                            (1.0, "#fff", 0.0)])
    body = '<rect x="0" y="0" width="%d" height="%d" fill="url(#panel)"/>\n' % (w, h)
    # Header with the product name.
    body += '<rect x="0" y="0" width="%d" height="%d" fill="url(#header)"/>\n' % (w, header)
    body += '<rect x="0" y="%d" width="%d" height="3" fill="%s"/>\n' % (header, w, ACCENT)
    body += '<rect x="0" y="%d" width="%d" height="2" fill="#000" fill-opacity="0.5"/>\n' % (header + 3, w)
    body += text(136, 76, "QUOR-515", 50, "#f2f2f2", weight="bold", spacing=2)
    body += text(428, 75, "STUDIO REVERB", 17, ACCENT, weight="600", spacing=5)
    body += text(w - 62, 75, "Sorv Audio Labs", 24, "#c8c8c8", weight="600", anchor="end", spacing=0.5)
    # Footer: a row of vent slots.
    body += '<rect x="0" y="%d" width="%d" height="2" fill="#000" fill-opacity="0.55"/>\n' % (footer - 2, w)
    body += '<rect x="0" y="%d" width="%d" height="%d" fill="url(#footer)"/>\n' % (footer, w, h - footer)
    body += '<rect x="0" y="%d" width="%d" height="1" fill="#fff" fill-opacity="0.08"/>\n' % (footer, w)
    slots = 24
    pitch = 30
    x0 = (w - (slots - 1) * pitch - 12) / 2.0
    for k in range(slots):
        x = x0 + k * pitch
        body += '<rect x="%s" y="%d" width="12" height="58" rx="6" fill="#070708"/>\n' % (f(x), footer + 34)
        body += '<rect x="%s" y="%d" width="12" height="1.5" fill="#fff" fill-opacity="0.1"/>\n' % (
            f(x), footer + 92)
    # Groove between the knobs and the power section.
    gx = 702
    body += '<rect x="%d" y="150" width="2" height="630" fill="url(#groove)"/>\n' % gx
    body += '<rect x="%d" y="150" width="2" height="630" fill="url(#grooveLight)"/>\n' % (gx + 2)
    for label, left, top, unit in KNOBS:
        body += knob_scale(label, left, top, unit)
    # Labels right of the lamps and the switch.
    lx = 868
    for (left, top), name in ((OVERLOAD_LAMP, "OVERLOAD"), (POWER_LAMP, "POWER")):
        y = (top + LAMP_SIZE[1] / 2.0) * SCALE
        body += text(lx, y + 7.5, name, 21, PANEL_TEXT, weight="600", spacing=2)
    sy = (POWER_SWITCH[1] + SWITCH_SIZE / 2.0) * SCALE
    body += text(lx, sy - 33, "ON", 19, SCALE_TEXT, weight="600", spacing=2)
    body += text(lx, sy + 47, "OFF", 19, SCALE_TEXT, weight="600", spacing=2)
    body += line((lx - 14, sy - 40), (lx - 6, sy - 40), SCALE_TEXT, 2)
    body += line((lx - 14, sy + 40), (lx - 6, sy + 40), SCALE_TEXT, 2)
    for x, y, a in ((28, 28, 0.5), (w - 28, 28, 1.1), (28, h - 28, 0.2), (w - 28, h - 28, 0.8)):
        body += screw(x, y, a)
    return svg(w, h, body, defs)


# ---------------------------------------------------------------- toolbar icons

ICON_GREY = "#bebebe"
ICON_DIM = "#6c6c6c"


def icon_frame(body, defs=""):
    return svg(36, 36, body, defs)


def main_menu_svg(open_):
    colour = ACCENT if open_ else ICON_GREY
    body = '<rect x="2" y="2" width="32" height="32" rx="6" fill="#fff" fill-opacity="0.14"/>\n' if open_ else ""
    for y in (10.5, 18, 25.5):
        body += line((9, y), (27, y), colour, 3.6, cap="round")
    return icon_frame(body)


def help_menu_svg(open_):
    colour = ACCENT if open_ else ICON_GREY
    body = '<rect x="2" y="2" width="32" height="32" rx="6" fill="#fff" fill-opacity="0.14"/>\n' if open_ else ""
    body += circle(18, 18, 12.5, "none", 'stroke="%s" stroke-width="2.6"' % colour)
    body += text(18, 24.6, "?", 18, colour, weight="bold", anchor="middle")
    return icon_frame(body)


def chain_link(cx, cy, colour):
    out = ""
    for dx in (-5.5, 5.5):
        out += '<rect x="%s" y="%s" width="15" height="9" rx="4.5" fill="none" stroke="%s" stroke-width="2.6" ' \
               'transform="rotate(-40 %s %s)"/>\n' % (f(cx + dx - 7.5), f(cy - 4.5), colour, f(cx), f(cy))
    return out


def global_link_svg():
    body = chain_link(18, 18, ICON_DIM)
    body += '<rect x="2" y="38" width="32" height="32" rx="6" fill="#fff" fill-opacity="0.14"/>\n'
    body += chain_link(18, 54, ACCENT)
    return svg(36, 72, body)


# ---------------------------------------------------------------- output


def render(svg_text, path, work, keep_dir, name):
    source = os.path.join(work, name + ".svg")
    with open(source, "w") as out:
        out.write(svg_text)
    if keep_dir:
        shutil.copy(source, os.path.join(keep_dir, name + ".svg"))
    subprocess.run(["rsvg-convert", "-f", "png", "-o", path, source], check=True)
    return Image.open(path).convert("RGBA")


def quantize(image, path, work):
    raw = os.path.join(work, "raw.png")
    image.save(raw)
    subprocess.run(["pngquant", "--force", "--speed", "1", "--strip", "--output", path, "256", raw], check=True)


def strip(frames_svg, count, name, work, keep_dir):
    frames = [render(frames_svg(i), os.path.join(work, "frame.png"), work, keep_dir, "%s_%03d" % (name, i))
              for i in range(count)]
    w, h = frames[0].size
    sheet = Image.new("RGBA", (w, h * count))
    for i, frame in enumerate(frames):
        sheet.paste(frame, (0, i * h))
    quantize(sheet, os.path.join(RESOURCES, name + ".png"), work)


def single(svg_text, name, work, keep_dir):
    image = render(svg_text, os.path.join(work, "single.png"), work, keep_dir, name)
    quantize(image, os.path.join(RESOURCES, name + ".png"), work)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--svg", metavar="DIR", help="also keep the SVG of every picture in DIR")
    args = parser.parse_args()
    if args.svg:
        os.makedirs(args.svg, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        single(background_svg(), "background", work, args.svg)
        strip(knob_svg, KNOB_FRAMES, "knob", work, args.svg)
        strip(overload_lamp_svg, OVERLOAD_FRAMES, "overload_lamp", work, args.svg)
        strip(power_lamp_svg, 2, "power_lamp", work, args.svg)
        strip(lambda i: switch_svg(i == 1), 2, "power_switch", work, args.svg)
        single(main_menu_svg(False), "main_menu", work, args.svg)
        single(main_menu_svg(True), "main_menu_open", work, args.svg)
        single(help_menu_svg(False), "help_menu", work, args.svg)
        single(help_menu_svg(True), "help_menu_open", work, args.svg)
        single(global_link_svg(), "global_link", work, args.svg)
    return 0


if __name__ == "__main__":
    sys.exit(main())
