"""A tiny anti-aliased raster canvas and the Windows picture formats qkli ships (BMP, ICO).

Standard library only, so the pictures can be redrawn on any machine with Python 3.
Shapes are drawn from signed distances: a pixel is covered by how far its centre lies inside
the shape's edge, which gives smooth edges without supersampling.
"""

import math
import struct


def clamp(value, low=0.0, high=1.0):
    return low if value < low else high if value > high else value


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


class Canvas:
    """RGBA pixels as floats (0..255 colour, 0..1 alpha), origin top-left."""

    def __init__(self, width, height, colour=(0, 0, 0), alpha=1.0):
        self.width, self.height = width, height
        self.rgb = [[list(colour) for _ in range(width)] for _ in range(height)]
        self.alpha = [[alpha] * width for _ in range(height)]

    # -- painting -------------------------------------------------------------------------
    def blend(self, x, y, colour, coverage):
        if coverage <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        coverage = min(coverage, 1.0)
        px = self.rgb[y][x]
        old = self.alpha[y][x]
        new = coverage + old * (1 - coverage)
        for i in range(3):
            px[i] = (colour[i] * coverage + px[i] * old * (1 - coverage)) / new if new else 0
        self.alpha[y][x] = new

    def shade(self, box, colour_at, coverage_at):
        """Paints every pixel of box (x0, y0, x1, y1) with colour_at(x, y) by coverage_at(x, y)."""
        x0, y0, x1, y1 = box
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)))):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)))):
                c = coverage_at(x + 0.5, y + 0.5)
                if c > 0:
                    self.blend(x, y, colour_at(x + 0.5, y + 0.5), c)

    def fill(self, colour_at, box=None):
        box = box or (0, 0, self.width, self.height)
        self.shade(box, colour_at, lambda x, y: 1.0)

    def rounded_rect(self, x0, y0, x1, y1, radius, colour, opacity=1.0):
        colour_at = colour if callable(colour) else (lambda x, y: colour)

        def coverage(x, y):
            return clamp(0.5 - rounded_rect_distance(x, y, x0, y0, x1, y1, radius)) * opacity

        self.shade((x0 - 1, y0 - 1, x1 + 1, y1 + 1), colour_at, coverage)

    def rounded_outline(self, x0, y0, x1, y1, radius, width, colour, opacity=1.0):
        def coverage(x, y):
            d = abs(rounded_rect_distance(x, y, x0, y0, x1, y1, radius) + width / 2)
            return clamp(0.5 - (d - width / 2)) * opacity

        self.shade((x0 - 1, y0 - 1, x1 + 1, y1 + 1), lambda x, y: colour, coverage)

    def circle(self, cx, cy, r, colour, opacity=1.0):
        colour_at = colour if callable(colour) else (lambda x, y: colour)
        self.shade((cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1), colour_at,
                   lambda x, y: clamp(0.5 - (math.hypot(x - cx, y - cy) - r)) * opacity)

    def line(self, ax, ay, bx, by, width, colour, opacity=1.0):
        """A stroke with round caps."""
        pad = width + 1
        self.shade((min(ax, bx) - pad, min(ay, by) - pad, max(ax, bx) + pad, max(ay, by) + pad),
                   lambda x, y: colour,
                   lambda x, y: clamp(0.5 - (segment_distance(x, y, ax, ay, bx, by) - width / 2)) * opacity)

    def polygon(self, points, colour, opacity=1.0):
        colour_at = colour if callable(colour) else (lambda x, y: colour)
        xs, ys = [p[0] for p in points], [p[1] for p in points]
        self.shade((min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1), colour_at,
                   lambda x, y: clamp(0.5 - polygon_distance(x, y, points)) * opacity)

    def text(self, text, x, y, dot, colour, opacity=1.0, spacing=1):
        """Pixel-font text whose dots are small rounded squares `dot` pixels wide."""
        for ch in text:
            rows = FONT.get(ch, FONT["?"])
            for row, bits in enumerate(rows):
                for col, bit in enumerate(bits):
                    if bit == "#":
                        cx, cy = x + col * dot, y + row * dot
                        self.rounded_rect(cx, cy, cx + dot, cy + dot, dot * 0.3, colour, opacity)
            x += (len(rows[0]) + spacing) * dot

    @staticmethod
    def text_width(text, dot, spacing=1):
        return sum((len(FONT.get(ch, FONT["?"])[0]) + spacing) * dot for ch in text) - spacing * dot

    # -- formats --------------------------------------------------------------------------
    def opaque_rows(self, background=(255, 255, 255)):
        """Bottom-up rows of (b, g, r) bytes with any transparency laid over `background`."""
        rows = []
        for y in reversed(range(self.height)):
            row = []
            for x in range(self.width):
                a = self.alpha[y][x]
                r, g, b = (round(clamp(c * a + bg * (1 - a), 0, 255)) for c, bg in zip(self.rgb[y][x], background))
                row.append((b, g, r))
            rows.append(row)
        return rows

    def bmp24(self, background=(255, 255, 255)):
        stride = (self.width * 3 + 3) & ~3
        data = bytearray()
        for row in self.opaque_rows(background):
            line = bytearray()
            for b, g, r in row:
                line += bytes((b, g, r))
            data += line + bytes(stride - len(line))
        return bitmap_file(self.width, self.height, 24, bytes(data))

    def bgra_rows(self, premultiplied):
        rows = []
        for y in reversed(range(self.height)):
            line = bytearray()
            for x in range(self.width):
                a = clamp(self.alpha[y][x])
                k = a if premultiplied else 1.0
                r, g, b = (round(clamp(c * k, 0, 255)) for c in self.rgb[y][x])
                line += bytes((b, g, r, round(a * 255)))
            rows.append(bytes(line))
        return rows

    def bmp32(self):
        """32-bit BMP with premultiplied alpha, the form menus draw with transparency."""
        return bitmap_file(self.width, self.height, 32, b"".join(self.bgra_rows(True)))

    def ico32(self):
        """One 32-bit icon image with its AND mask (ICO file)."""
        xor = b"".join(self.bgra_rows(False))
        mask = and_mask(self.width, self.height, lambda x, y: self.alpha[y][x] < 0.5)
        return icon_file(self.width, self.height, 32, b"", xor, mask)

    def ico4(self, palette, background=(255, 255, 255)):
        """One 16-colour icon image: each opaque pixel takes the nearest palette colour."""
        stride = ((self.width + 1) // 2 + 3) & ~3
        rows = self.opaque_rows(background)
        xor = bytearray()
        for y_up, row in enumerate(rows):
            y = self.height - 1 - y_up
            line = bytearray(stride)
            for x, (b, g, r) in enumerate(row):
                index = 0 if self.alpha[y][x] < 0.5 else nearest(palette, (r, g, b))
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            xor += line
        table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        mask = and_mask(self.width, self.height, lambda x, y: self.alpha[y][x] < 0.5)
        return icon_file(self.width, self.height, 4, table, bytes(xor), mask)


# -- distances ------------------------------------------------------------------------------
def rounded_rect_distance(x, y, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(dx, 0), max(dy, 0))
    return outside + min(max(dx, dy), 0) - r


def segment_distance(x, y, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    length = vx * vx + vy * vy
    t = clamp(((x - ax) * vx + (y - ay) * vy) / length) if length else 0
    return math.hypot(x - ax - vx * t, y - ay - vy * t)


def polygon_distance(x, y, points):
    """Signed distance to a simple polygon (negative inside)."""
    d = min(segment_distance(x, y, *points[i], *points[(i + 1) % len(points)]) for i in range(len(points)))
    inside = False
    for i in range(len(points)):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % len(points)]
        if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
            inside = not inside
    return -d if inside else d


# -- files ----------------------------------------------------------------------------------
def info_header(width, height, bits, image_size, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 3780, 3780, colours, 0)


def bitmap_file(width, height, bits, pixels):
    header = info_header(width, height, bits, len(pixels))
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + pixels


def and_mask(width, height, transparent):
    stride = ((width + 31) // 32) * 4
    data = bytearray()
    for y in reversed(range(height)):
        line = bytearray(stride)
        for x in range(width):
            if transparent(x, y):
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def icon_file(width, height, bits, table, xor, mask):
    colours = len(table) // 4
    image = info_header(width, height * 2, bits, len(xor) + len(mask), colours) + table + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, colours % 256, 0, 1, bits, len(image), 6 + 16)
    return directory + entry + image


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


# The standard 16-colour Windows palette, as (r, g, b).
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# A 5x7 pixel font for the few texts drawn into pictures.
FONT = {
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
    "?": [".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."],
    ".": ["..", "..", "..", "..", "..", "##", "##"],
    "-": [".....", ".....", ".....", "####.", ".....", ".....", "....."],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "c": [".....", ".....", ".###.", "#....", "#....", "#...#", ".###."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "i": [".#.", "...", "##.", ".#.", ".#.", ".#.", "###"],
    "k": ["#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."],
    "l": ["##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "q": [".....", ".....", ".####", "#...#", ".####", "....#", "....#"],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    "y": [".....", ".....", "#...#", "#...#", ".####", "....#", ".###."],
}
