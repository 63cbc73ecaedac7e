#!/usr/bin/env python3
"""Draws the skins shipped with qkli and writes them under skins/<name>/ (skin.ini + BMPs).

    python3 tools/draw_skins.py [--preview DIR]

--preview also writes, for each skin, a picture of a note at its initial size and at a larger
size (pictures placed by the skin's own rules, the text box drawn as a plain box), so a change
can be looked at without starting the program.
"""

import argparse
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from draw_canvas import Canvas, clamp, mix  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
KEY = (255, 0, 255)  # transparent colour of the buttons: their lower-left pixel
PALETTE = {0: (0, 0, 0), 4: (0, 0, 128), 7: (128, 128, 128), 11: (255, 255, 0), 15: (255, 255, 255)}


def button_canvas(size, strip_colour):
    """A button picture: drawn over the strip colour, then every untouched pixel keyed out."""
    return Canvas(size, size, strip_colour, alpha=0.0)


def keyed(canvas, strip_colour):
    """Lays the drawing over the strip colour; pixels nothing was drawn on become the key."""
    out = Canvas(canvas.width, canvas.height, strip_colour)
    for y in range(canvas.height):
        for x in range(canvas.width):
            a = canvas.alpha[y][x]
            out.rgb[y][x] = list(mix(strip_colour, canvas.rgb[y][x], a)) if a > 0.04 else list(KEY)
    return out


def paper_noise(seed):
    rng = random.Random(seed)
    return [[rng.uniform(-1, 1) for _ in range(256)] for _ in range(256)]


# -- default: a soft yellow sticky note ----------------------------------------------------
def draw_default():
    w, h = 180, 170
    noise = paper_noise(1)
    top, bottom = (255, 248, 178), (252, 234, 136)

    def paper(x, y):
        t = y / h
        base = mix(top, bottom, t)
        # Soft darkening towards the edges and a little fibre, like real paper.
        edge = min(x, w - x, y, h - y)
        shade = 0.06 * (1 - clamp(edge / 14))
        grain = noise[int(y) % 256][int(x) % 256] * 2.2
        return tuple(c * (1 - shade) + grain for c in base)

    bg = Canvas(w, h)
    bg.fill(paper)
    # The lower-right corner curls up a little.
    bg.polygon([(w, h - 26), (w, h), (w - 26, h)], (236, 212, 110), 0.35)
    bg.line(w - 26, h, w, h - 26, 1.0, (224, 196, 96), 0.5)
    bg.rounded_outline(0, 0, w, h, 0, 1.0, (222, 196, 96), 0.9)

    strip_top, strip_bottom = (253, 226, 112), (246, 208, 80)
    title = Canvas(64, 20)
    title.fill(lambda x, y: mix(strip_top, strip_bottom, y / 20))
    title.line(0, 0.5, 64, 0.5, 1.0, (255, 240, 170), 0.9)
    title.line(0, 19.5, 64, 19.5, 1.0, (214, 176, 62), 1.0)
    strip = mix(strip_top, strip_bottom, 0.5)
    ink = (112, 80, 20)

    menu = button_canvas(16, strip)
    for y in (4.5, 8, 11.5):
        menu.line(4, y, 12, y, 1.6, ink)
    minimise = button_canvas(16, strip)
    minimise.line(4, 11, 12, 11, 2.0, ink)
    delete = button_canvas(16, strip)
    delete.line(4.5, 4.5, 11.5, 11.5, 1.8, ink)
    delete.line(11.5, 4.5, 4.5, 11.5, 1.8, ink)
    alarm = bell(strip, (214, 58, 36), (130, 30, 20))

    ini = """; qkli skin "default": a soft yellow sticky note.
[Window]
width=180
height=170
Resizeable=1
Activable=0

[BitMap]
Background=background.bmp
StretchBgk=1
title=title.bmp
Stretchtitle=1
StretchTitley=20
menu=menu.bmp
menuleft=3
menutop=2
menuTransparent=1
Min=min.bmp
minleft=-38
mintop=2
minTransparent=1
delete=delete.bmp
delLeft=-19
deltop=2
deleteTransparent=1
alarm=alarm.bmp
alarmleft=-57
alarmtop=2
alarmTransparent=1

[Move area]
left=0
top=0
right=-30000
down=20

[Text Box]
left=7
top=25
right=-7
down=-8
line=0

[Colors]
bgk=11
bgktext=15
text=0

[Font]
name=Tahoma
size=9
"""
    return "default", ini, {"background.bmp": bg, "title.bmp": title, "menu.bmp": keyed(menu, strip),
                            "min.bmp": keyed(minimise, strip), "delete.bmp": keyed(delete, strip),
                            "alarm.bmp": keyed(alarm, strip)}


def bell(strip, colour, dark):
    b = button_canvas(16, strip)
    b.polygon([(8, 2.2), (11.4, 4.6), (12, 10.5), (13.8, 12.6), (2.2, 12.6), (4, 10.5), (4.6, 4.6)], colour)
    b.line(3, 12.6, 13, 12.6, 1.2, dark)
    b.circle(8, 14, 1.6, dark)
    b.line(6.2, 5, 5.8, 9.5, 1.0, (255, 200, 180), 0.7)
    return b


# -- stretch: a blue card whose pictures all follow the window, with a caption -------------
def draw_stretch():
    w, h = 220, 150
    bg = Canvas(w, h)
    light, deep = (236, 244, 253), (204, 222, 244)
    bg.fill(lambda x, y: mix(light, deep, clamp(0.65 * y / h + 0.35 * x / w)))
    # A broad soft sheen across the card.
    bg.polygon([(0, 0), (w * 0.55, 0), (w * 0.15, h), (0, h)], (255, 255, 255), 0.18)
    bg.rounded_outline(0, 0, w, h, 0, 1.0, (140, 168, 210))

    strip_top, strip_bottom = (196, 218, 246), (160, 192, 236)
    title = Canvas(64, 24)
    title.fill(lambda x, y: mix(strip_top, strip_bottom, y / 24))
    title.line(0, 0.5, 64, 0.5, 1.0, (230, 240, 252))
    title.line(0, 23.5, 64, 23.5, 1.0, (112, 146, 200))
    strip = mix(strip_top, strip_bottom, 0.5)
    ink = (30, 56, 110)

    menu = button_canvas(16, strip)
    menu.polygon([(3.5, 6), (12.5, 6), (8, 11.5)], ink)
    minimise = button_canvas(16, strip)
    minimise.rounded_rect(3.5, 10, 12.5, 12.5, 1, ink)
    delete = button_canvas(16, strip)
    delete.circle(8, 8, 6.6, (200, 70, 60))
    delete.line(5.6, 5.6, 10.4, 10.4, 1.6, (255, 255, 255))
    delete.line(10.4, 5.6, 5.6, 10.4, 1.6, (255, 255, 255))
    alarm = bell(strip, (232, 150, 30), (120, 70, 10))

    ini = """; qkli skin "stretch": a blue card; its pictures follow every resize and the title
; strip shows the note's file name.
[Window]
width=220
height=150
Resizeable=1
BevelVisible=1
BevelTop=26

[BitMap]
Background=background.bmp
StretchBgk=1
bgktop=0
title=title.bmp
Stretchtitle=1
StretchTitley=24
menu=menu.bmp
menuleft=4
menutop=4
menuTransparent=1
Min=min.bmp
minleft=-40
mintop=4
minTransparent=1
delete=delete.bmp
delLeft=-20
deltop=4
deleteTransparent=1
alarm=alarm.bmp
alarmleft=-60
alarmtop=4
alarmTransparent=1

[Move area]
left=0
top=0
right=-30000
down=24

[Caption]
Active=1
Onlyfilename=1
left=24
top=5
right=-62

[Caption Font]
name=Tahoma
size=8
Bold=1

[Text Box]
left=8
top=32
right=-8
down=-8
line=1

[Colors]
bgk=15
bgktext=15
text=4

[Font]
name=Tahoma
size=9
"""
    return "stretch", ini, {"background.bmp": bg, "title.bmp": title, "menu.bmp": keyed(menu, strip),
                            "min.bmp": keyed(minimise, strip), "delete.bmp": keyed(delete, strip),
                            "alarm.bmp": keyed(alarm, strip)}


# -- glass: frosted glass, text shown straight on it while the note is not being edited ----
def draw_glass():
    w, h = 200, 150
    bg = Canvas(w, h)
    top, bottom = (214, 240, 242), (150, 204, 214)
    bg.fill(lambda x, y: mix(top, bottom, clamp(y / h * 0.8 + x / w * 0.2)))
    # Glossy reflection in the upper part and a soft glow near the bottom.
    bg.polygon([(0, 0), (w, 0), (w, h * 0.22), (0, h * 0.42)], (255, 255, 255), 0.32)
    for i in range(12):
        bg.circle(w * 0.78, h * 1.05, 60 - i * 4, (255, 255, 255), 0.025)
    bg.rounded_outline(0.5, 0.5, w - 0.5, h - 0.5, 0, 1.0, (255, 255, 255), 0.8)
    bg.rounded_outline(0, 0, w, h, 0, 1.0, (88, 140, 156))

    title = Canvas(64, 20)
    title.fill(lambda x, y: mix((236, 250, 250), (190, 226, 232), y / 20))
    title.line(0, 19.5, 64, 19.5, 1.0, (120, 170, 184))
    strip = (214, 238, 242)

    def bubble(fill, edge):
        b = button_canvas(16, strip)
        b.circle(8, 8, 7, edge)
        b.circle(8, 8, 6, lambda x, y: mix(fill, (255, 255, 255), clamp((8 - y) / 9)))
        b.circle(8, 5.5, 3.2, (255, 255, 255), 0.45)
        return b

    menu = bubble((70, 140, 210), (40, 90, 150))
    for y in (6.5, 8.5, 10.5):
        menu.line(5.2, y, 10.8, y, 1.0, (255, 255, 255))
    minimise = bubble((70, 170, 150), (30, 110, 100))
    minimise.line(5, 10, 11, 10, 1.6, (255, 255, 255))
    delete = bubble((216, 80, 80), (150, 40, 40))
    delete.line(5.6, 5.6, 10.4, 10.4, 1.5, (255, 255, 255))
    delete.line(10.4, 5.6, 5.6, 10.4, 1.5, (255, 255, 255))
    alarm = bell(strip, (236, 176, 40), (130, 90, 10))

    ini = """; qkli skin "glass": frosted glass. Only the note being edited shows its edit box;
; the others show their text straight on the glass.
[Window]
width=200
height=150
Resizeable=1
Activable=1

[BitMap]
Background=background.bmp
StretchBgk=1
title=title.bmp
Stretchtitle=1
StretchTitley=20
menu=menu.bmp
menuleft=3
menutop=2
menuTransparent=1
Min=min.bmp
minleft=-38
mintop=2
minTransparent=1
delete=delete.bmp
delLeft=-19
deltop=2
deleteTransparent=1
alarm=alarm.bmp
alarmleft=-57
alarmtop=2
alarmTransparent=1

[Move area]
left=0
top=0
right=-30000
down=20

[Text Box]
left=10
top=26
right=-10
down=-10
line=0

[Colors]
bgk=15
bgktext=15
text=4

[Font]
name=Tahoma
size=9
Bold=1
"""
    return "glass", ini, {"background.bmp": bg, "title.bmp": title, "menu.bmp": keyed(menu, strip),
                          "min.bmp": keyed(minimise, strip), "delete.bmp": keyed(delete, strip),
                          "alarm.bmp": keyed(alarm, strip)}


# -- preview --------------------------------------------------------------------------------
def read_ini(text):
    values, section = {}, ""
    for line in text.splitlines():
        line = line.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("["):
            section = line[1:-1].strip().lower()
        elif "=" in line:
            key, value = line.split("=", 1)
            values[(section, key.strip().lower())] = value.strip()
    return lambda s, k, d=0: int(values.get((s.lower(), k.lower()), d))


def coord(value, extent):
    return extent if value < -20000 else extent + value if value < 0 else value


def scaled(picture, width, height):
    out = Canvas(max(width, 1), max(height, 1))
    for y in range(out.height):
        for x in range(out.width):
            out.rgb[y][x] = list(picture.rgb[min(picture.height - 1, y * picture.height // out.height)]
                                 [min(picture.width - 1, x * picture.width // out.width)])
    return out


def preview(ini, pictures, width, height):
    get = read_ini(ini)
    note = Canvas(width, height, PALETTE.get(get("colors", "bgk", 11), (255, 255, 0)))
    # (file, key prefix of left/top, stretch key, edge key stem, transparent key)
    elements = [("background.bmp", "bgk", "StretchBgk", "StretchBgk", "bgkTransparent"),
                ("title.bmp", "title", "Stretchtitle", "StretchTitle", "titleTransparent"),
                ("menu.bmp", "menu", "StretchMenu", "StretchMenu", "menuTransparent"),
                ("min.bmp", "min", "StretchMin", "StretchMin", "minTransparent"),
                ("delete.bmp", "del", "StretchDel", "StretchDel", "deleteTransparent"),
                ("alarm.bmp", "alarm", "Stretchalarm", "StretchAlarm", "alarmTransparent")]
    for name, prefix, stretch_key, edge, transparent_key in elements:
        picture = pictures[name]
        left, top = coord(get("bitmap", prefix + "left"), width), coord(get("bitmap", prefix + "top"), height)
        if get("bitmap", stretch_key):
            right = coord(get("bitmap", edge + "x", -30000), width)
            down = coord(get("bitmap", edge + "y", -30000), height)
            picture = scaled(picture, right - left, down - top)
        key = tuple(round(c) for c in picture.rgb[picture.height - 1][0])
        for y in range(picture.height):
            for x in range(picture.width):
                colour = tuple(picture.rgb[y][x])
                if get("bitmap", transparent_key) and tuple(round(c) for c in colour) == key:
                    continue
                note.blend(left + x, top + y, colour, 1.0)
    x0, y0 = coord(get("text box", "left"), width), coord(get("text box", "top"), height)
    x1, y1 = coord(get("text box", "right"), width), coord(get("text box", "down"), height)
    if not get("window", "activable"):
        note.fill(lambda x, y: PALETTE.get(get("colors", "bgktext", 11), (255, 255, 255)), (x0, y0, x1, y1))
        if get("text box", "line"):
            note.rounded_outline(x0, y0, x1, y1, 0, 1, (100, 100, 100))
    ink = PALETTE.get(get("colors", "text", 0), (0, 0, 0))
    for i, words in enumerate(["call ann", "tea at 5", "ok"]):
        note.text(words, x0 + 4, y0 + 4 + i * 12, 1, ink)
    if get("window", "BevelVisible"):
        note.line(0, get("window", "BevelTop") + 0.5, width, get("window", "BevelTop") + 0.5, 1, (120, 120, 120))
    if get("caption", "active"):
        note.text("note1.kli", get("caption", "left"), get("caption", "top") + 3, 1, (0, 0, 0))
    return note


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="DIR", help="also write preview pictures into DIR")
    args = parser.parse_args()
    for draw in (draw_default, draw_stretch, draw_glass):
        name, ini, pictures = draw()
        folder = os.path.join(ROOT, "skins", name)
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "skin.ini"), "w", newline="\r\n") as f:
            f.write(ini)
        for file, picture in pictures.items():
            with open(os.path.join(folder, file), "wb") as f:
                f.write(picture.bmp24())
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            get = read_ini(ini)
            w, h = get("window", "width"), get("window", "height")
            for tag, size in (("initial", (w, h)), ("large", (w + 120, h + 60))):
                path = os.path.join(args.preview, f"{name}-{tag}.bmp")
                with open(path, "wb") as f:
                    f.write(preview(ini, pictures, *size).bmp24())
        print("skins/" + name)


if __name__ == "__main__":
    main()
