#!/usr/bin/env python3
"""Draws the bitmaps and the icon of kavlo.exe into this folder.

Run it after changing a picture; the results are committed so that the build
needs no Python. Magenta (255, 0, 255) is the transparent colour of every
picture that is loaded into an image list.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MASK = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
LIGHT = (192, 192, 192)
DARK = (64, 64, 64)
BLUE = (0, 64, 160)
SKY = (96, 160, 224)
GREEN = (0, 140, 60)
RED = (200, 30, 30)
YELLOW = (240, 200, 40)
FOLDER = (230, 190, 70)
FOLDER_DARK = (170, 130, 30)


class Canvas:
    def __init__(self, width, height, fill=MASK):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Filled rectangle, corners inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def disc(self, cx, cy, r, colour):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def ring(self, cx, cy, r, colour, width=1.0):
        for y in range(int(cy - r) - 2, int(cy + r) + 3):
            for x in range(int(cx - r) - 2, int(cx + r) + 3):
                d = math.hypot(x - cx, y - cy)
                if r - width <= d <= r:
                    self.put(x, y, colour)

    def triangle(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        (ax, ay), (bx, by), (cx, cy) = points

        def side(px, py, qx, qy, rx, ry):
            return (px - rx) * (qy - ry) - (qx - rx) * (py - ry)

        for y in range(min(ys), max(ys) + 1):
            for x in range(min(xs), max(xs) + 1):
                d1 = side(x, y, ax, ay, bx, by)
                d2 = side(x, y, bx, by, cx, cy)
                d3 = side(x, y, cx, cy, ax, ay)
                neg = d1 < 0 or d2 < 0 or d3 < 0
                pos = d1 > 0 or d2 > 0 or d3 > 0
                if not (neg and pos):
                    self.put(x, y, colour)

    def blit(self, other, dx, dy):
        for y in range(other.height):
            for x in range(other.width):
                self.put(dx + x, dy + y, other.pixels[y][x])


def write_bmp(name, canvas):
    """24-bit bottom-up BMP."""
    row_bytes = (canvas.width * 3 + 3) & ~3
    data = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray()
        for r, g, b in canvas.pixels[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + info + data)


def write_ico(name, canvases):
    """An icon with 32-bit images (alpha from the mask colour)."""
    entries = []
    blobs = []
    for c in canvases:
        xor = bytearray()
        for y in range(c.height - 1, -1, -1):
            for (r, g, b) in c.pixels[y]:
                alpha = 0 if (r, g, b) == MASK else 255
                xor += bytes((b, g, r, alpha) if alpha else (0, 0, 0, 0))
        and_row = ((c.width + 31) // 32) * 4
        mask = bytearray()
        for y in range(c.height - 1, -1, -1):
            bits = bytearray(and_row)
            for x, colour in enumerate(c.pixels[y]):
                if colour == MASK:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, c.width, c.height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(info + xor + mask)
    offset = 6 + 16 * len(canvases)
    for c, blob in zip(canvases, blobs):
        entries.append(struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 0, 0, 1, 32, len(blob), offset))
        offset += len(blob)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(canvases)) + b"".join(entries) + b"".join(blobs))


# ---------------------------------------------------------------- glyphs

def document(c, x, y, fill=WHITE):
    c.rect(x + 2, y + 1, x + 11, y + 14, fill)
    c.frame(x + 2, y + 1, x + 11, y + 14, DARK)
    for ly in (4, 6, 8, 10):
        c.line(x + 4, y + ly, x + 9, y + ly, GREY)


def folder(c, x, y, open_=False):
    c.rect(x + 1, y + 3, x + 6, y + 4, FOLDER_DARK)
    c.rect(x + 1, y + 4, x + 14, y + 13, FOLDER)
    c.frame(x + 1, y + 4, x + 14, y + 13, FOLDER_DARK)
    if open_:
        c.triangle([(x + 3, y + 7), (x + 15, y + 7), (x + 13, y + 13)], (250, 220, 120))
        c.rect(x + 2, y + 7, x + 14, y + 13, (250, 220, 120))
        c.frame(x + 1, y + 7, x + 14, y + 13, FOLDER_DARK)


def checkbox(c, x, y, checked, locked=False):
    c.rect(x + 2, y + 2, x + 13, y + 13, LIGHT if locked else WHITE)
    c.frame(x + 2, y + 2, x + 13, y + 13, DARK)
    if checked:
        colour = GREY if locked else BLACK
        for i in range(3):
            c.line(x + 4, y + 7 + i, x + 6, y + 9 + i, colour)
            c.line(x + 6, y + 9 + i, x + 11, y + 4 + i, colour)


def radio(c, x, y, on, locked=False):
    c.disc(x + 7.5, y + 7.5, 6, LIGHT if locked else WHITE)
    c.ring(x + 7.5, y + 7.5, 6, DARK, 1.2)
    if on:
        c.disc(x + 7.5, y + 7.5, 2.5, GREY if locked else BLACK)


def padlock(c, x, y, closed):
    c.ring(x + 7.5, y + 6, 3.5, DARK, 1.3)
    if not closed:
        c.rect(x + 9, y + 6, x + 12, y + 8, MASK)
    c.rect(x + 3, y + 7, x + 12, y + 14, YELLOW)
    c.frame(x + 3, y + 7, x + 12, y + 14, FOLDER_DARK)
    c.rect(x + 7, y + 9, x + 8, y + 12, DARK)


def state_image(glyph, lock=None):
    c = Canvas(32, 16)
    glyph(c, 0, 0)
    if lock is not None:
        padlock(c, 16, 0, lock)
    return c


def icon16(c, x, y):
    # A monitor with a magnifying glass: the computer being looked at.
    c.rect(x + 1, y + 1, x + 12, y + 9, DARK)
    c.rect(x + 2, y + 2, x + 11, y + 8, SKY)
    c.rect(x + 5, y + 10, x + 8, y + 11, DARK)
    c.rect(x + 3, y + 12, x + 10, y + 12, DARK)
    c.ring(x + 10.5, y + 8.5, 3.5, BLACK, 1.4)
    c.disc(x + 10.5, y + 8.5, 2.2, (200, 230, 255))
    c.line(x + 13, y + 11, x + 15, y + 14, BLACK)
    c.line(x + 12, y + 11, x + 14, y + 14, BLACK)


def big_icon():
    c = Canvas(32, 32)
    c.rect(2, 3, 25, 20, DARK)
    c.rect(4, 5, 23, 18, SKY)
    c.rect(5, 6, 22, 8, BLUE)
    for ly in (11, 13, 15):
        c.line(6, ly, 18, ly, WHITE)
    c.rect(11, 21, 16, 23, DARK)
    c.rect(7, 24, 20, 25, DARK)
    c.ring(22, 18, 6.5, BLACK, 2.2)
    c.disc(22, 18, 4.4, (200, 230, 255))
    for i in range(3):
        c.line(26 + i, 23, 30 + i - 1, 29, BLACK)
    return c


# ------------------------------------------------------------- pictures

def toolbar():
    """Buttons 16 by 15: Open, Save, Copy, Print, Contact, Checkboxes, About."""
    c = Canvas(16 * 7, 15)
    # Open
    folder(c, 0, 0, open_=True)
    # Save: a disk
    c.rect(16 + 1, 1, 16 + 14, 14, BLUE)
    c.rect(16 + 4, 1, 16 + 11, 6, WHITE)
    c.rect(16 + 5, 9, 16 + 10, 14, LIGHT)
    c.rect(16 + 9, 10, 16 + 9, 13, DARK)
    # Copy: two sheets
    document(c, 32 - 1, -1)
    document(c, 32 + 3, 1)
    # Print
    c.rect(48 + 4, 1, 48 + 11, 6, WHITE)
    c.frame(48 + 4, 1, 48 + 11, 6, DARK)
    c.rect(48 + 1, 6, 48 + 14, 11, LIGHT)
    c.frame(48 + 1, 6, 48 + 14, 11, DARK)
    c.rect(48 + 4, 10, 48 + 11, 14, WHITE)
    c.frame(48 + 4, 10, 48 + 11, 14, DARK)
    c.put(48 + 12, 8, GREEN)
    # Contact: a card with a head
    c.rect(64 + 1, 2, 64 + 14, 13, WHITE)
    c.frame(64 + 1, 2, 64 + 14, 13, DARK)
    c.disc(64 + 5, 6, 2, BLUE)
    c.rect(64 + 3, 9, 64 + 7, 11, BLUE)
    for ly in (5, 8, 11):
        c.line(64 + 9, ly, 64 + 12, ly, GREY)
    # Checkboxes
    checkbox(c, 80, -1, True)
    # About: a question mark in a circle
    c.disc(96 + 7.5, 7, 6.5, BLUE)
    c.rect(96 + 6, 3, 96 + 9, 4, WHITE)
    c.rect(96 + 9, 4, 96 + 10, 6, WHITE)
    c.rect(96 + 7, 7, 96 + 8, 8, WHITE)
    c.rect(96 + 7, 10, 96 + 8, 11, WHITE)
    return c


def small(glyph):
    c = Canvas(16, 16)
    glyph(c)
    return c


def file_missing(c):
    document(c, 0, 0)
    c.line(3, 4, 12, 13, RED)
    c.line(4, 4, 13, 13, RED)
    c.line(12, 4, 3, 13, RED)
    c.line(13, 4, 4, 13, RED)


def sort_mark(up):
    c = Canvas(16, 16)
    if up:
        c.triangle([(8, 4), (3, 11), (13, 11)], GREY)
    else:
        c.triangle([(3, 5), (13, 5), (8, 12)], GREY)
    return c


GLYPHS = {
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
}


def text(c, x, y, word, scale, colour):
    for letter in word:
        for row, bits in enumerate(GLYPHS[letter]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    c.rect(x + col * scale, y + row * scale, x + (col + 1) * scale - 1, y + (row + 1) * scale - 1,
                           colour)
        x += 6 * scale


def wizard_picture():
    """170 by 120. The wizard shows its top 35 rows beside its buttons: the
    program's mark and name; the rest is a picture of what the program does."""
    c = Canvas(170, 120, LIGHT)
    # banner: the mark and the name on the dialog's grey
    c.rect(0, 0, 169, 34, (240, 240, 240))
    icon = Canvas(32, 32)
    icon.blit(big_icon(), 0, 0)
    for y in range(32):
        for x in range(32):
            if icon.pixels[y][x] != MASK:
                c.put(2 + x, 1 + y, icon.pixels[y][x])
    text(c, 42, 6, "KAVLO", 3, BLUE)
    # picture below the banner
    for y in range(35, 120):
        shade = 220 - (y - 35)
        c.rect(0, y, 169, y, (shade - 30, shade - 10, min(255, shade + 30)))
    c.rect(14, 44, 84, 96, DARK)
    c.rect(18, 48, 80, 92, (20, 40, 90))
    for i, ly in enumerate(range(54, 90, 6)):
        c.rect(23, ly, 23 + 44 - (i * 7) % 26, ly + 2, (120, 220, 140))
    c.rect(42, 97, 56, 102, DARK)
    c.rect(30, 103, 68, 106, DARK)
    c.rect(92, 66, 106, 71, YELLOW)
    c.triangle([(106, 61), (106, 76), (116, 68)], YELLOW)
    c.rect(122, 46, 154, 98, WHITE)
    c.frame(122, 46, 154, 98, DARK)
    for ly in range(52, 96, 6):
        c.line(126, ly, 150, ly, GREY)
    c.rect(135, 46, 140, 98, (180, 180, 190))
    for ly in range(48, 98, 4):
        c.rect(136, ly, 139, ly + 1, DARK)
    return c


def main():
    write_bmp("toolbar.bmp", toolbar())
    # list images: 138 (present file), 136 (folder), 137 (missing file)
    write_bmp("list_file.bmp", small(lambda c: document(c, 0, 0)))
    write_bmp("list_folder.bmp", small(lambda c: folder(c, 0, 0)))
    write_bmp("list_missing.bmp", small(file_missing))
    write_bmp("sort_up.bmp", sort_mark(True))
    write_bmp("sort_down.bmp", sort_mark(False))
    # expandable tree: 160 closed folder, 161 open folder
    write_bmp("exp_closed.bmp", small(lambda c: folder(c, 0, 0)))
    write_bmp("exp_open.bmp", small(lambda c: folder(c, 0, 0, open_=True)))
    # tree state images (32 by 16): a check box or button and an optional lock
    states = {
        "state_155.bmp": state_image(lambda c, x, y: radio(c, x, y, True)),
        "state_156.bmp": state_image(lambda c, x, y: checkbox(c, x, y, False)),
        "state_157.bmp": state_image(lambda c, x, y: radio(c, x, y, False)),
        "state_158.bmp": state_image(lambda c, x, y: checkbox(c, x, y, True, True), True),
        "state_165.bmp": state_image(lambda c, x, y: radio(c, x, y, False, True), True),
        "state_166.bmp": state_image(lambda c, x, y: radio(c, x, y, False, True), False),
        "state_167.bmp": state_image(lambda c, x, y: checkbox(c, x, y, False, True), False),
        "state_168.bmp": state_image(lambda c, x, y: checkbox(c, x, y, False, True), True),
        "state_169.bmp": state_image(lambda c, x, y: radio(c, x, y, True, True), True),
        "state_170.bmp": state_image(lambda c, x, y: radio(c, x, y, True, True), False),
        "state_171.bmp": state_image(lambda c, x, y: checkbox(c, x, y, True)),
        "state_172.bmp": state_image(lambda c, x, y: checkbox(c, x, y, True, True), False),
    }
    for name, canvas in states.items():
        write_bmp(name, canvas)
    write_bmp("wizard.bmp", wizard_picture())
    small_icon = Canvas(16, 16)
    icon16(small_icon, 0, 0)
    write_ico("kavlo.ico", [big_icon(), small_icon])


if __name__ == "__main__":
    main()
