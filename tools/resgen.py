#!/usr/bin/env python3
"""Draws every picture Sonidex carries and writes it where resources/Sonidex.rc finds it.

Usage: resgen.py OUTDIR. Each picture is a small function of (x, y) below, so anyone can change
a picture here and rebuild. Bitmaps are plain Windows BMP files (24-bit, or 4-bit where the
program expects 16 colours), the cursors are monochrome .cur files, the icon a 32-bit .ico."""
import math, os, struct, sys

RED = (255, 0, 0)          # the transparent colour of masked image lists


def bmp24(w, h, px):
    """px(x, y) -> (r, g, b); returns BMP bytes, bottom-up rows padded to 4 bytes."""
    stride = (w * 3 + 3) & ~3
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = px(x, y)
            row += bytes((b, g, r))
        rows += row + b"\0" * (stride - len(row))
    head = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return head + info + bytes(rows)


def bmp4(w, h, px, palette):
    """A 16-colour BMP; px returns an index into palette (list of up to 16 (r, g, b))."""
    stride = ((w + 1) // 2 + 3) & ~3
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette) + b"\0" * 4 * (16 - len(palette))
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(0, w, 2):
            hi = px(x, y); lo = px(x + 1, y) if x + 1 < w else 0
            row.append((hi << 4) | lo)
        rows += row + b"\0" * (stride - len(row))
    off = 54 + 64
    head = struct.pack("<2sIHHI", b"BM", off + len(rows), 0, 0, off)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(rows), 2835, 2835, 16, 16)
    return head + info + pal + bytes(rows)


def strip(images, w, h):
    """Side-by-side images (each a px function) as one px function, as image lists load them."""
    return lambda x, y: images[x // w](x % w, y)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def clamp(v):
    return max(0, min(255, int(v)))


# ---- slider knobs: a raised metal thumb with a groove mark across its middle -----------------
def knob(w, h, vertical, state):
    """state: "normal", "pressed" or "disabled" (flat and greyed: soft edges, no sheen, a faint
    etched mark), so that a disabled slider reads as one at a glance."""
    def px(x, y):
        light, face, shadow, dark = (255, 255, 255), (200, 200, 196), (128, 128, 128), (0, 0, 0)
        mark_dark, mark_light = shadow, (255, 255, 255)
        if state == "disabled":
            face, shadow, dark = (198, 198, 198), (168, 168, 168), (128, 128, 128)
            mark_dark, mark_light = (168, 168, 168), (232, 232, 232)
        if state == "pressed":
            light, dark = dark, light
        if x == w - 1 or y == h - 1:
            return dark
        if x == 0 or y == 0:
            return light
        if x == w - 2 or y == h - 2:
            return shadow
        mid = h // 2 if vertical else w // 2
        pos = y if vertical else x
        if pos == mid - 1:
            return mark_dark
        if pos == mid:
            return mark_light
        if state == "disabled":
            return face
        # a soft sheen along the knob's length
        t = (x / (w - 1)) if vertical else (y / (h - 1))
        return mix(face, (236, 236, 232), 0.5 - abs(t - 0.35))
    return px


# ---- the list wallpaper: warm paper with faint staff lines; the selected one in blue ----------
def wallpaper(selected):
    def px(x, y):
        # Whole periods across 160 pixels both ways: the tiles meet without a seam.
        t = 2 * math.pi / 160
        n = (math.sin(t * (9 * x + 3 * y)) + math.sin(t * (x - 7 * y)) + math.sin(t * 18 * (x + y))) / 3
        if selected:
            base = (40, 80, 150)
            c = tuple(clamp(v + 12 * n) for v in base)
        else:
            base = (248, 244, 224)
            c = tuple(clamp(v - 4 + 5 * n) for v in base)
        if y % 40 in (10, 18, 26) and not selected:     # a faint music staff
            c = tuple(clamp(v - 10) for v in c)
        return c
    return px


# ---- title bar buttons ---------------------------------------------------------------------
def frame_button(w, h, pressed, glyph):
    def px(x, y):
        tl, br = ((255, 255, 255), (64, 64, 64)) if not pressed else ((64, 64, 64), (255, 255, 255))
        if x == w - 1 or y == h - 1:
            return br
        if x == 0 or y == 0:
            return tl
        d = 1 if pressed else 0
        if glyph(x - d, y - d):
            return (0, 0, 0)
        return (192, 192, 192)
    return px


def close_glyph(x, y):
    return 4 <= x <= 11 and 4 <= y <= 11 and (x - y in (0, 1) or x + y in (14, 15))


def min_glyph(x, y):
    return 4 <= x <= 10 and y in (10, 11)


def arrow_glyph(left):
    def g(x, y):
        cy = 8
        dx = abs(y - cy)
        tip = 4 if left else 8
        return (x - tip >= dx and x - tip <= dx + 1) if left else (tip - x >= dx and tip - x <= dx + 1)
    return g


def app_icon(size):
    """The program's icon: a blue disc with a white sound wave."""
    def px(x, y):
        c = (size - 1) / 2
        r = math.hypot(x - c, y - c)
        if r > size / 2 - 0.5:
            return None
        t = x / (size - 1)
        wave = c + (size * 0.28) * math.sin(t * 2 * math.pi * 1.5) * math.exp(-2.5 * abs(t - 0.5))
        if abs(y - wave) < max(1.0, size / 14):
            return (255, 255, 255)
        if r > size / 2 - 1.6:
            return (20, 40, 110)
        return mix((70, 130, 220), (30, 60, 160), y / size)
    return px


def capbtn_images():
    icon = app_icon(16)
    imgs = [frame_button(16, 16, False, close_glyph), frame_button(16, 16, True, close_glyph),
            frame_button(16, 16, False, min_glyph), frame_button(16, 16, True, min_glyph),
            lambda x, y: icon(x, y) or RED]
    return strip(imgs, 16, 16)


def minbtn_images():
    imgs = [frame_button(13, 16, False, arrow_glyph(True)), frame_button(13, 16, True, arrow_glyph(True)),
            frame_button(13, 16, False, arrow_glyph(False)), frame_button(13, 16, True, arrow_glyph(False))]
    return strip(imgs, 13, 16)


# ---- glyphs of the flat buttons: their bottom-left colour is the transparent one -------------
CLEAR = (255, 0, 255)


def stop_glyph(x, y):
    """24 x 29: a red stop square with a dark rim and a light edge."""
    if not (2 <= x <= 21 and 5 <= y <= 24):
        return CLEAR
    if x in (2, 21) or y in (5, 24):
        return (90, 0, 0)
    if x == 3 or y == 6:
        return (255, 140, 140)
    return mix((230, 30, 30), (160, 0, 0), (y - 6) / 18)


def about_glyph(x, y):
    """13 x 18: a blue "i" in a disc's shape."""
    blue, light = (20, 60, 190), (110, 160, 255)
    if 5 <= x <= 7 and 1 <= y <= 3:
        return light if x == 5 else blue
    if 5 <= x <= 7 and 6 <= y <= 14:
        return light if x == 5 else blue
    if 3 <= x <= 9 and (y == 6 and x <= 7 or y in (15, 16)):
        return blue
    return CLEAR


def settings_glyph(x, y):
    """18 x 22: three mixer faders, green caps on dark slots."""
    caps = {3: 14, 9: 6, 15: 11}
    for cx, cy in caps.items():
        if abs(x - cx) <= 2 and cy - 1 <= y <= cy + 1:
            return (40, 170, 60) if y != cy - 1 else (150, 240, 150)
        if x == cx and 2 <= y <= 19:
            return (60, 60, 60)
    return CLEAR


def close_check_glyph(x, y):
    """26 x 25: a green tick, the dialog's "done"."""
    # Two strokes: down-right from (4, 12) to (10, 19), then up-right to (22, 5).
    def near(ax, ay, bx, by, w):
        t = max(0.0, min(1.0, ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / float((bx - ax) ** 2 + (by - ay) ** 2)))
        return math.hypot(x - (ax + t * (bx - ax)), y - (ay + t * (by - ay))) <= w
    if near(4, 12, 10, 19, 2.2) or near(10, 19, 22, 5, 2.2):
        return mix((60, 200, 60), (0, 110, 0), y / 24)
    return CLEAR


# ---- the about box's logo: the icon's wave drawn out, on silver --------------------------------
def logo(x, y):
    w, h = 155, 31
    bg = (192, 192, 192)
    t = x / (w - 1)
    wave = h / 2 + (h * 0.36) * math.sin(t * 2 * math.pi * 4.5) * math.exp(-3.0 * abs(t - 0.5))
    if abs(y - wave) < 1.2:
        return mix((30, 60, 160), (70, 130, 220), t)
    if y == h // 2:
        return (160, 160, 160)
    return bg


# ---- the MIDI line icon: a piano-key strip, 16 colours, red transparent --------------------
def midi_icon(x, y):
    # palette: 0 red, 1 black, 2 white, 3 olive
    if y < 1 or y > 11 or x < 1 or x > 19:
        return 0
    if y == 1 or y == 11 or x == 1 or x == 19:
        return 1
    if (x - 1) % 3 == 0:
        return 1
    if y <= 6 and (x - 1) % 3 == 2 and (x // 3) % 7 not in (2, 6):
        return 1
    return 2


# ---- trash bin picture of the delete target ------------------------------------------------
def trash(x, y):
    bg = (192, 192, 192)
    if 9 <= x <= 15 and y == 3:
        return (60, 60, 60)
    if 4 <= x <= 20 and 4 <= y <= 6:
        return (90, 90, 90) if y != 4 else (150, 150, 150)
    if 6 <= x <= 18 and 7 <= y <= 21:
        if x in (6, 18) or y == 21:
            return (60, 60, 60)
        if x in (9, 12, 15):
            return (110, 110, 110)
        return (170, 170, 170)
    return bg


# ---- cursors: small arrowheads over the window's background ----------------------------------
def left_arrowhead(x, y):
    """Points left; its tip (3, 5) is the hot spot."""
    return 0 <= y <= 10 and 3 + abs(y - 5) <= x <= 8


def right_arrowhead(x, y):
    """Points right; the middle of its back edge (2, 5) is the hot spot."""
    return 0 <= y <= 10 and 2 <= x <= 7 - abs(y - 5)


def cur_file(filled, hot):
    """A 32 x 32 monochrome cursor: XOR and AND masks, black inside, white one-pixel rim."""
    w = h = 32
    def inside(x, y):
        return filled(x, y)
    def rim(x, y):
        return not inside(x, y) and any(inside(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1))
    xor = bytearray(); andm = bytearray()
    for y in range(h - 1, -1, -1):
        xb = ab = 0; xr = bytearray(); ar = bytearray()
        for x in range(w):
            opaque = inside(x, y) or rim(x, y)
            white = rim(x, y)
            xb = (xb << 1) | (1 if white else 0)
            ab = (ab << 1) | (0 if opaque else 1)
            if x % 8 == 7:
                xr.append(xb); ar.append(ab); xb = ab = 0
        xor += xr; andm += ar
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 2)
    pal = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    img = info + pal + bytes(xor) + bytes(andm)
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", w, h, 2, 0, hot[0], hot[1], len(img), 6 + 16)
    return head + entry + img


def ico_file(sizes):
    imgs = []
    for s in sizes:
        px = app_icon(s)
        rows = bytearray(); mask = bytearray()
        mstride = ((s + 31) // 32) * 4
        for y in range(s - 1, -1, -1):
            mrow = bytearray(mstride)
            for x in range(s):
                c = px(x, y)
                if c is None:
                    rows += bytes((0, 0, 0, 0)); mrow[x // 8] |= 0x80 >> (x % 8)
                else:
                    rows += bytes((c[2], c[1], c[0], 255))
            mask += mrow
        info = struct.pack("<IiiHHIIiiII", 40, s, s * 2, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
        imgs.append((s, info + bytes(rows) + bytes(mask)))
    out = struct.pack("<HHH", 0, 1, len(imgs))
    off = 6 + 16 * len(imgs)
    for s, data in imgs:
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), off); off += len(data)
    return out + b"".join(d for _, d in imgs)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    write("SKnob.bmp", bmp24(30, 24, strip([knob(15, 24, True, "normal"), knob(15, 24, True, "disabled")], 15, 24)))
    write("SKnobH.bmp", bmp24(46, 15, strip([knob(23, 15, False, "normal"), knob(23, 15, False, "disabled")], 23, 15)))
    write("BackWP.bmp", bmp24(320, 160, strip([wallpaper(False), wallpaper(True)], 160, 160)))
    write("CapBtnIL.bmp", bmp24(80, 16, capbtn_images()))
    write("MinBtnIL.bmp", bmp24(52, 16, minbtn_images()))
    write("MIDIIcon.bmp", bmp4(21, 13, midi_icon, [RED, (0, 0, 0), (255, 255, 255), (128, 128, 0)]))
    write("StopGlyph.bmp", bmp24(24, 29, stop_glyph))
    write("AboutGlyph.bmp", bmp24(13, 18, about_glyph))
    write("SettingsGlyph.bmp", bmp24(18, 22, settings_glyph))
    write("CloseGlyph.bmp", bmp24(26, 25, close_check_glyph))
    write("Logo.bmp", bmp24(155, 31, logo))
    write("TrashBin.bmp", bmp24(27, 27, lambda x, y: trash(x - 1, y - 1)))
    write("LeftCursor.cur", cur_file(left_arrowhead, (3, 5)))
    write("RightCursor.cur", cur_file(right_arrowhead, (2, 5)))
    write("Sonidex.ico", ico_file([32, 16]))


if __name__ == "__main__":
    main()
