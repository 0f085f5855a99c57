"""The sample list as a user sees it: the folder's samples listed (sorted, one line for a name met
twice), the status line under the title, the title showing the last folder scanned, the first
letter finding a line, and the "scan subdirectories" box changing what is listed."""
import os, subprocess
from sonidex import *
import sounds

require_session()
c = Checks()
lib = scratch("list-lib")
for d in ("Sub", "loops.wav"):
    os.makedirs(os.path.join(lib, d))


def put(rel, content):
    sounds.write(os.path.join(lib, rel), content)


put("kick.wav", sounds.wav(sounds.tone(440, 0.05, 11025), 11025))
put("Snare.wav", sounds.wav(sounds.tone(330, 0.05, 11025), 11025))
put(os.path.join("Sub", "KICK.wav"), sounds.wav(sounds.tone(220, 0.05, 11025), 11025))
put(os.path.join("Sub", "hat.wav"), sounds.wav(sounds.tone(880, 0.05, 11025), 11025))
put("groove.mid", sounds.midi([(60, 48)]))
put("notes.txt", b"not a sample")

FRAME = 3                       # the window's thin frame around its client area
X, Y = 40, 40
write_ini(f"[Sonidex settings]\nWindowX={X}\nWindowY={Y}\nSort=1\nSubdir=1\nWallpaper=1\nFilter=wav;mid\n")
LIB = winpath(lib).upper() + "\\"


def client(x, y):
    return X + FRAME + x, Y + FRAME + y


def pixels(shot, x, y, w, h):
    """The colours of a screen rectangle given in client coordinates, row by row."""
    sx, sy = client(x, y)
    out = subprocess.run(["convert", shot, "-crop", f"{w}x{h}+{sx}+{sy}", "-depth", "8", "txt:-"],
                         capture_output=True, text=True, check=True).stdout.splitlines()[1:]
    return [line.split()[2] for line in out]


def status(s, name):
    """The status line's pixels (the label in the info panel) and how many of them are ink."""
    shot = os.path.join(BUILD, "e2e-scratch", name + ".png")
    s.screenshot(shot)
    px = pixels(shot, 337, 34, 162, 30)
    ink = sum(1 for p in px if int(p[1:3], 16) < 128 and int(p[3:5], 16) < 128 and int(p[5:7], 16) < 128)
    return px, ink, shot


s = Sonidex(winpath(lib))
wait_for(lambda: probe()[0] == 4, 15, "the first list")
# groove, hat, kick (met twice: one line), Snare; loops.wav is a folder, descended; notes.txt
# is not a listed type.
c.eq(probe(), (4, -1), "4 lines, none selected")
c.eq(list_lines(), ["groove", "hat", "kick", "Snare"], "other programs read the lines' texts, sorted")
c.eq(s.title(), "Sonidex " + LIB + "SUB\\", "the title shows the last folder the scan entered")
on_px, on_ink, on_shot = status(s, "list-subdirs-on")
c.true(on_ink > 40, f"the status line has text ({on_ink} dark pixels; {on_shot})")
# The list shows its wallpaper: many shades below the lines, not one flat colour.
below = pixels(on_shot, 194, 200, 100, 100)
c.true(len(set(below)) > 10, f"the list's empty part shows the wallpaper ({len(set(below))} shades)")

# The lines are in the sorted order: the first letters find them where sorting put them.
s.click(*client(192 + 40, 26 + 2 + 6))          # the first line
wait_for(lambda: probe()[1] == 0, 5, "the first line selected")
for key, line in (("k", 2), ("s", 3), ("h", 1), ("g", 0)):
    s.key(key)
    c.eq(settle(lambda: probe()[1], line), line, f"'{key}' selects line {line}")

# Subfolders off: the top folder only; the folder loops.wav is now listed like a file.
box = client(9 + 6, 390 + 8)
s.click(*box)
wait_for(lambda: probe()[0] == 4 and probe()[1] == -1, 10, "the list without subfolders")
c.eq(s.title(), "Sonidex " + LIB, "the title shows the only folder scanned")
c.eq(list_lines(), ["groove", "kick", "loops", "Snare"], "the folder loops.wav is read as the line loops")
off_px, off_ink, off_shot = status(s, "list-subdirs-off")
c.true(off_ink > 40, "the status line has text without subfolders")
c.true(off_px != on_px, f"the status changed with the count ({on_shot}, {off_shot})")
s.click(*client(192 + 40, 26 + 2 + 6))          # the list takes the keys again
wait_for(lambda: probe()[1] == 0, 5, "the first line selected again")
s.key("l")
c.eq(settle(lambda: probe()[1], 2), 2, "'l' finds the line loops between kick and Snare")

# Subfolders on again: the first list and the first status come back.
s.click(*box)
wait_for(lambda: probe() == (4, -1) and s.title().endswith("SUB\\"), 10, "the list with subfolders again")
again_px, _, again_shot = status(s, "list-subdirs-again")
c.true(again_px == on_px, f"the same status as the first time ({on_shot}, {again_shot})")

# An empty folder: no lines, the "nothing found" status, and the wallpaper from its corner.
empty = scratch("list-empty")
s.key("Escape")
s.wait_exit()
write_ini(f"[Sonidex settings]\nWindowX={X}\nWindowY={Y}\nSort=1\nSubdir=1\nWallpaper=1\nFilter=wav;mid\n")
s = Sonidex(winpath(empty))
wait_for(lambda: probe()[0] == 0, 15, "the empty list")
none_px, none_ink, none_shot = status(s, "list-empty")
c.true(none_ink > 40 and none_px != on_px and none_px != off_px, f"the empty folder's own status ({none_shot})")
s.key("Escape")
s.wait_exit()
c.done()
