#!/usr/bin/env python3
"""Plain stand-in bitmaps of the editor window, with the sizes and frame layout the window
expects: SVG written here, rendered by rsvg-convert, reduced to an 8-bit palette by pngquant.
Knob frame i of 121 points at 2*pi/3 + (i/120)*5*pi/3 (x right, y down) with a light line
from radius 40 to 70 on a dark body; lamp frame 0 is dark, the last frame red.
Usage: placeholder-art.py OUTPUT-DIR"""
import math
import os
import subprocess
import sys
import tempfile


def svg(width, height, body):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}">'
            + body + '</svg>')


def knob(frames=121):
    parts = []
    for i in range(frames):
        cx, cy = 95, 95 + 190 * i
        a = 2 * math.pi / 3 + (i / (frames - 1)) * 5 * math.pi / 3
        parts.append(f'<circle cx="{cx}" cy="{cy}" r="84" fill="#2a2c30" stroke="#111" '
                     'stroke-width="4"/>')
        x0, y0 = cx + 38 * math.cos(a), cy + 38 * math.sin(a)
        x1, y1 = cx + 72 * math.cos(a), cy + 72 * math.sin(a)
        parts.append(f'<line x1="{x0:.3f}" y1="{y0:.3f}" x2="{x1:.3f}" y2="{y1:.3f}" '
                     'stroke="#f4f4f4" stroke-width="9" stroke-linecap="butt"/>')
    return svg(190, 190 * frames, ''.join(parts))


def lamp(frames, frame_height):
    parts = []
    for i in range(frames):
        t = i / (frames - 1)
        r, g, b = round(40 + 200 * t), round(12 + 20 * t), round(12 + 10 * t)
        cy = frame_height * i + frame_height / 2
        parts.append(f'<circle cx="75" cy="{cy}" r="52" fill="rgb({r},{g},{b})" '
                     'stroke="#555" stroke-width="6"/>')
    return svg(150, frame_height * frames, ''.join(parts))


def power_switch():
    parts = []
    for i, y in enumerate((16, 64)):
        top = 130 * i
        parts.append(f'<rect x="35" y="{top + 10}" width="60" height="110" rx="12" fill="#3a3a3a"/>')
        parts.append(f'<rect x="43" y="{top + y}" width="44" height="50" rx="6" fill="#c8c8c8"/>')
    return svg(130, 260, ''.join(parts))


def background():
    body = ['<rect width="1024" height="938" fill="#5b5f66"/>',
            '<rect x="20" y="20" width="984" height="898" rx="24" fill="#6a6f77"/>',
            '<rect x="680" y="180" width="230" height="560" rx="18" fill="#4a4e55"/>']
    for x, y in ((180, 218), (458, 218), (180, 532), (458, 532)):
        body.append(f'<circle cx="{x + 95}" cy="{y + 95}" r="120" fill="#50545b"/>')
    return svg(1024, 938, ''.join(body))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    images = {
        'background.png': background(),
        'knob.png': knob(),
        'overload_lamp.png': lamp(31, 154),
        'power_lamp.png': lamp(2, 154),
        'power_switch.png': power_switch(),
    }
    with tempfile.TemporaryDirectory() as work:
        for name, text in images.items():
            source = os.path.join(work, name + '.svg')
            rgba = os.path.join(work, name)
            with open(source, 'w') as f:
                f.write(text)
            subprocess.run(['rsvg-convert', '-o', rgba, source], check=True)
            subprocess.run(['pngquant', '--force', '--speed', '1', '--output',
                            os.path.join(out, name), '256', rgba], check=True)


if __name__ == '__main__':
    main()
