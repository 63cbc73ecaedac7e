#!/usr/bin/env python3
"""Draws qkli's own pictures into res/: the four tray icons, the note icon, the skin selector's
icon, the tray menu's small pictures and the two bitmaps of the resource library (LOGOBMP,
ABOUTBMP).

    python3 tools/draw_pictures.py [--preview DIR]

--preview also writes every picture, enlarged, as BMP into DIR for looking at.
"""

import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from draw_canvas import VGA16, Canvas, clamp, mix  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")

NOTE_COLOURS = {  # paper, fold, outline
    "yellow": ((255, 232, 110), (236, 196, 60), (176, 132, 20)),
    "blue": ((150, 200, 250), (100, 160, 230), (40, 90, 170)),
    "pink": ((255, 170, 200), (240, 120, 160), (170, 50, 100)),
    "green": ((170, 230, 140), (120, 200, 90), (50, 130, 40)),
}


def sticky(canvas, x0, y0, size, colours, lines=True, fold=0.3, ink=(90, 80, 60)):
    """A square note with a folded lower-right corner and a few lines of writing."""
    paper, fold_colour, outline = colours
    x1, y1 = x0 + size, y0 + size
    f = size * fold
    shape = [(x0, y0), (x1, y0), (x1, y1 - f), (x1 - f, y1), (x0, y1)]
    canvas.polygon([(x + size * 0.04, y + size * 0.06) for x, y in shape], (0, 0, 0), 0.25)
    canvas.polygon(shape, lambda x, y: mix(mix(paper, (255, 255, 255), 0.25), paper, clamp((y - y0) / size)))
    canvas.polygon([(x1, y1 - f), (x1 - f, y1), (x1 - f, y1 - f)], fold_colour)
    for i in range(len(shape)):
        (ax, ay), (bx, by) = shape[i], shape[(i + 1) % len(shape)]
        canvas.line(ax, ay, bx, by, max(1.0, size / 28), outline)
    canvas.line(x1, y1 - f, x1 - f, y1 - f, max(0.8, size / 36), outline, 0.7)
    canvas.line(x1 - f, y1 - f, x1 - f, y1, max(0.8, size / 36), outline, 0.7)
    if lines:
        step = size / 5.2
        for i, length in enumerate((0.72, 0.58, 0.66)):
            y = y0 + size * 0.26 + i * step
            right = x0 + size * (0.14 + length)
            if y > y1 - f - step * 0.2:
                right = min(right, x1 - f - size * 0.06)
            canvas.line(x0 + size * 0.16, y, right, y, max(1.0, size / 16), ink, 0.85)


def tray_icon(colour):
    icon = Canvas(32, 32, alpha=0.0)
    sticky(icon, 2.5, 2.5, 26, NOTE_COLOURS[colour])
    return icon


def note_icon():
    """16 colours: drawn straight in palette colours so nothing gets muddy when reduced."""
    icon = Canvas(32, 32, alpha=0.0)
    yellow, olive, black = VGA16[11], VGA16[3], VGA16[0]
    icon.polygon([(2.5, 2.5), (29.5, 2.5), (29.5, 21.5), (21.5, 29.5), (2.5, 29.5)], black)
    icon.polygon([(3.5, 3.5), (28.5, 3.5), (28.5, 21), (21, 28.5), (3.5, 28.5)], yellow)
    icon.polygon([(28.5, 22), (22, 28.5), (22, 22)], olive)
    for y, right in ((10, 24), (15, 21), (20, 18)):
        icon.line(7, y, right, y, 1.4, VGA16[4])
    return icon


def menu_new():
    c = Canvas(16, 16, alpha=0.0)
    sticky(c, 1.5, 1.5, 12, NOTE_COLOURS["yellow"], lines=False)
    c.circle(11.5, 11.5, 4.2, (40, 150, 60))
    c.line(11.5, 9.3, 11.5, 13.7, 1.4, (255, 255, 255))
    c.line(9.3, 11.5, 13.7, 11.5, 1.4, (255, 255, 255))
    return c


def menu_show_all_notes():
    c = Canvas(16, 16, alpha=0.0)
    sticky(c, 5, 0.5, 10, NOTE_COLOURS["blue"], lines=False)
    sticky(c, 3, 3, 10, NOTE_COLOURS["pink"], lines=False)
    sticky(c, 0.5, 5.5, 10, NOTE_COLOURS["yellow"], lines=False)
    return c


def menu_open():
    c = Canvas(16, 16, alpha=0.0)
    back, front, edge = (232, 180, 60), (252, 214, 100), (150, 100, 20)
    c.polygon([(1, 3), (6, 3), (7.5, 4.5), (14, 4.5), (14, 13.5), (1, 13.5)], back)
    c.rounded_rect(3, 2, 11, 9, 0.5, (255, 255, 255))
    c.line(4.5, 4, 9.5, 4, 0.9, (150, 150, 150))
    c.line(4.5, 6, 9, 6, 0.9, (150, 150, 150))
    c.polygon([(3.5, 7), (15.5, 7), (13.5, 13.5), (1, 13.5)], front)
    c.line(1, 13.5, 13.5, 13.5, 1.0, edge)
    c.line(3.5, 7, 15.5, 7, 1.0, edge)
    c.line(15.5, 7, 13.5, 13.5, 1.0, edge)
    c.line(1, 3, 1, 13.5, 1.0, edge)
    return c


def menu_show_all():
    c = Canvas(16, 16, alpha=0.0)
    top = [(1, 8)] + [(8 + 7 * math.cos(a), 8 - 4.6 * math.sin(a)) for a in
                      [math.pi - i * math.pi / 12 for i in range(13)]]
    bottom = [(8 + 7 * math.cos(a), 8 + 4.6 * math.sin(a)) for a in [i * math.pi / 12 for i in range(13)]]
    outline = top + bottom
    c.polygon(outline, (255, 255, 255))
    c.circle(8, 8, 3.3, (50, 120, 200))
    c.circle(8, 8, 1.5, (10, 20, 40))
    c.circle(7, 7, 0.8, (255, 255, 255))
    for i in range(len(outline)):
        (ax, ay), (bx, by) = outline[i], outline[(i + 1) % len(outline)]
        c.line(ax, ay, bx, by, 1.1, (40, 50, 70))
    return c


def menu_mail():
    c = Canvas(16, 16, alpha=0.0)
    edge = (90, 100, 130)
    c.rounded_rect(1, 3.5, 15, 12.5, 1, (250, 250, 255))
    c.polygon([(1, 3.5), (15, 3.5), (8, 9)], (226, 232, 246))
    c.rounded_outline(1, 3.5, 15, 12.5, 1, 1.0, edge)
    c.line(1.5, 4, 8, 9, 1.0, edge)
    c.line(14.5, 4, 8, 9, 1.0, edge)
    c.circle(12.5, 11.5, 3, (214, 60, 40))
    return c


def logo():
    """The strip down the left edge of the options dialog: 49 pixels wide, the dialog's height."""
    w, h = 49, 283
    c = Canvas(w, h)
    c.fill(lambda x, y: mix((40, 70, 110), (22, 38, 64), clamp(y / h)))
    sticky(c, 16, 10, 24, NOTE_COLOURS["blue"], lines=False)
    sticky(c, 12, 16, 24, NOTE_COLOURS["pink"], lines=False)
    sticky(c, 7, 23, 26, NOTE_COLOURS["yellow"], lines=False)
    pin(c, 17, 25)
    c.line(10, 66, w - 10, 66, 1.0, (255, 236, 120), 0.5)
    for i, ch in enumerate("K-lI"):
        x = (w - Canvas.text_width(ch, 3)) / 2
        c.text(ch, x + 1, 82 + i * 30, 3, (0, 0, 0), 0.35)
        c.text(ch, x, 81 + i * 30, 3, (255, 236, 120))
    version = "5.00"
    c.text(version, (w - Canvas.text_width(version, 2)) / 2, 258, 2, (200, 215, 240))
    return c


def skin_selector_icon():
    """A painter's palette with a dab of each note colour: the skin selector's own icon."""
    icon = Canvas(32, 32, alpha=0.0)
    wood, edge = (226, 190, 140), (140, 100, 50)
    icon.rounded_rect(2, 5, 30, 27, 10, (0, 0, 0), 0.25)
    icon.rounded_rect(1, 4, 29, 26, 10, wood)
    icon.rounded_outline(1, 4, 29, 26, 10, 1.0, edge)
    icon.circle(20, 19, 3, (0, 0, 0), 0.0)
    icon.circle(21, 20, 2.6, edge)
    icon.circle(21, 20, 1.8, (250, 250, 250))
    for (x, y), colour in zip(((8, 11), (15, 8.5), (22, 10.5), (8, 19)), ("yellow", "blue", "pink", "green")):
        icon.circle(x, y, 3.2, NOTE_COLOURS[colour][2])
        icon.circle(x, y, 2.5, NOTE_COLOURS[colour][0])
    return icon


def pin(c, x, y):
    c.line(x + 1, y + 2, x + 4, y + 9, 1.2, (120, 120, 130))
    c.circle(x + 1, y + 4.5, 3.6, (0, 0, 0), 0.25)
    c.circle(x, y, 4.5, lambda px, py: mix((255, 120, 110), (190, 30, 30), clamp((py - y + 4) / 9)))
    c.circle(x - 1.5, y - 1.5, 1.4, (255, 255, 255), 0.7)


def about():
    w, h = 300, 200
    c = Canvas(w, h)
    c.fill(lambda x, y: mix((40, 70, 110), (22, 38, 64), clamp(0.6 * y / h + 0.4 * x / w)))
    for i in range(10):
        c.circle(250, -20, 150 - i * 12, (255, 255, 255), 0.018)
    sticky(c, 34, 62, 62, NOTE_COLOURS["green"], lines=False)
    sticky(c, 48, 78, 62, NOTE_COLOURS["pink"], lines=False)
    sticky(c, 24, 96, 70, NOTE_COLOURS["yellow"])
    pin(c, 58, 102)
    title = "Quor K-lI 5.00"
    x = (w - Canvas.text_width(title, 3)) / 2
    c.text(title, x + 2, 26, 3, (0, 0, 0), 0.35)
    c.text(title, x, 24, 3, (255, 236, 120))
    c.line(x, 56, w - x, 56, 1.0, (255, 236, 120), 0.5)
    c.text("sticky notes", 150, 120, 2, (200, 215, 240))
    return c


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print(os.path.relpath(path, ROOT))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="DIR", help="also write enlarged previews into DIR")
    args = parser.parse_args()
    os.makedirs(RES, exist_ok=True)
    pictures = {}
    for index, colour in enumerate(("yellow", "blue", "pink", "green")):
        icon = tray_icon(colour)
        write(os.path.join(RES, f"tray{index}.ico"), icon.ico32())
        pictures[f"tray{index}"] = icon
    icon = note_icon()
    write(os.path.join(RES, "note.ico"), icon.ico4(VGA16))
    pictures["note"] = icon
    icon = skin_selector_icon()
    write(os.path.join(RES, "skin_selector.ico"), icon.ico32())
    pictures["skin_selector"] = icon
    for name, draw in (("menu_new", menu_new), ("menu_show_all_notes", menu_show_all_notes),
                       ("menu_open", menu_open), ("menu_show_all", menu_show_all), ("menu_mail", menu_mail)):
        picture = draw()
        write(os.path.join(RES, name + ".bmp"), picture.bmp32())
        pictures[name] = picture
    for name, draw in (("logo", logo), ("about", about)):
        picture = draw()
        write(os.path.join(RES, name + ".bmp"), picture.bmp24())
        pictures[name] = picture
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for name, picture in pictures.items():
            with open(os.path.join(args.preview, name + ".bmp"), "wb") as f:
                f.write(picture.bmp24(background=(236, 236, 236)))


if __name__ == "__main__":
    main()
