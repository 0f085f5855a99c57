"""Hints as a person sees them: none while the pointer has rested 250 ms on a button, one under
the pointer's visible shape within a second, gone after about five seconds or as soon as the
pointer leaves; kept inside the screen at its right and bottom edges; painted in the hint colour with its etched frame."""
import os, re, time
from sonidex import *

require_session()
c = Checks()
lib = scratch("hints-lib")
open(os.path.join(lib, "kick.wav"), "wb").close()
SHOTS = os.path.join(BUILD, "e2e-scratch", "hints")
os.makedirs(SHOTS, exist_ok=True)
HINT, LIGHT, DARK = (255, 187, 85), (255, 255, 245), (155, 87, 0)


def hint_window(text):
    out = xdo("search", "--onlyvisible", "--name", f"^{re.escape(text)}$", check=False)
    return out.split()[0] if out else None


def hint_geometry(text):
    out = xdo("getwindowgeometry", hint_window(text))
    x, y = map(int, re.search(r"Position: (-?\d+),(-?\d+)", out).groups())
    w, h = map(int, re.search(r"Geometry: (\d+)x(\d+)", out).groups())
    return x, y, w, h


def rest_on(x, y):
    xdo("mousemove", x - 30, y)
    time.sleep(0.1)
    xdo("mousemove", x, y)
    return time.time()


def start(x, y):
    write_ini(f"[Sonidex settings]\nWindowX={x}\nWindowY={y}\n")
    s = Sonidex(winpath(lib))
    g = s.geometry()
    # Wait until the folder tree has been read (the background answers with its arrowhead).
    wait_for(lambda: (xdo("mousemove", g[0] + 191, g[1] + 250), time.sleep(0.2), cursor()[2:])[2] == (3, 5),
             15, "an idle window")
    return s


# ---- Timing and placement below the pointer's shape.
X, Y = 300, 200
s = start(X, Y)
px, py = X + FRAME + 513 - 58 + 6, Y + FRAME + 8          # the left panel button
t0 = rest_on(px, py)
time.sleep(max(0, t0 + 0.25 - time.time()))
c.eq(hint_window("Toggle Left Panel"), None, "no hint after 250 ms at rest")
wait_for(lambda: hint_window("Toggle Left Panel"), 1.0 - (time.time() - t0), "the hint within 1 s")
shown = time.time()
_, _, hot_x, hot_y, lowest = cursor(lowest=True)
hx, hy, hw, hh = hint_geometry("Toggle Left Panel")
c.eq(hx, px, "the hint's left edge at the pointer")
# Below the arrow's visible shape: the arrow's mask ends on row 20, and the pointer X shows is
# that arrow; not the 32 of a cursor whose shape could not be read.
drop = hy - py
c.true(lowest - hot_y <= drop <= lowest - hot_y + 2, f"the hint's top just below the arrow's shape (drop {drop}, shape ends {lowest - hot_y})")
shot = os.path.join(SHOTS, "hint.png")
s.screenshot(shot)
c.eq(pixel(shot, hx + 2, hy + 2), HINT, "the hint colour inside")
for (dx, dy, want, what) in [(0, 5, LIGHT, "outer left edge light"), (5, 0, LIGHT, "outer top edge light"),
                             (1, 5, DARK, "inner left edge dark"), (5, 1, DARK, "inner top edge dark"),
                             (hw - 1, 5, DARK, "outer right edge dark"), (5, hh - 1, DARK, "outer bottom edge dark"),
                             (hw - 2, 5, LIGHT, "inner right edge light"), (5, hh - 2, LIGHT, "inner bottom edge light")]:
    c.eq(pixel(shot, hx + dx, hy + dy), want, f"the frame: {what}")
wait_for(lambda: not hint_window("Toggle Left Panel"), 7, "the hint to hide")
gone = time.time() - shown
c.true(4.5 <= gone <= 6.0, f"the hint hides after about 5 s ({gone:.2f} s)")
s.key("Escape")
s.wait_exit()

# ---- At the screen's right and bottom edges: the hint stays inside.
X, Y = 1280 - 519, 1024 - 423
s = start(X, Y)
rest_on(X + FRAME + 513 - 45 + 6, Y + FRAME + 8)         # the right panel button
wait_for(lambda: hint_window("Toggle Right Panel"), 2, "the right panel button's hint")
hx, hy, hw, hh = hint_geometry("Toggle Right Panel")
c.eq(hx + hw, 1280, "near the right edge the hint ends at the screen's right edge")
s.screenshot(os.path.join(SHOTS, "right-edge.png"))
trash_top = Y + FRAME + 385
rest_on(X + FRAME + 152 + 13, trash_top + 20)            # the trash target, 20 px above the bottom
wait_for(lambda: hint_window("Delete (F8)"), 2, "the trash target's hint")
hx, hy, hw, hh = hint_geometry("Delete (F8)")
c.eq(hy + hh, trash_top, "near the bottom the hint sits right above the hinted control")
s.screenshot(os.path.join(SHOTS, "bottom-edge.png"))
# The pointer leaves the control (onto the background beside it): the hint goes at once.
xdo("mousemove", X + FRAME + 191, trash_top + 20)
t0 = time.time()
wait_for(lambda: not hint_window("Delete (F8)"), 2, "the hint to go with the pointer")
c.true(time.time() - t0 < 1.0, f"the hint goes when the pointer leaves ({time.time() - t0:.2f} s)")
s.key("Escape")
s.wait_exit()
remove_ini()
c.done()
