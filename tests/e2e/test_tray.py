"""The notification-area icon as a person uses it: the program starts active with its icon in
Wine's tray window, the minimise button leaves no window on the screen, a click on the icon
brings the window back at the same place, active, and the close button ends the program with
its settings written."""
import os, time
from sonidex import *

require_session()
c = Checks()
lib = scratch("tray-lib")
open(os.path.join(lib, "kick.wav"), "wb").close()
SHOTS = os.path.join(BUILD, "e2e-scratch", "tray")
os.makedirs(SHOTS, exist_ok=True)
ACTIVE = (232, 224, 200)
X, Y = 300, 200
write_ini(f"[Sonidex settings]\nWindowX={X}\nWindowY={Y}\n")


def title_colour(s, name):
    path = os.path.join(SHOTS, name + ".png")
    s.screenshot(path)
    return pixel(path, X + FRAME + TITLE_COLOUR[0], Y + FRAME + TITLE_COLOUR[1])


s = Sonidex(winpath(lib))
g = s.geometry()
tray = wait_for(lambda: xdo("search", "--onlyvisible", "--name", "^Wine System Tray$", check=False), 10,
                "Wine's tray window")
wait_for(lambda: title_colour(s, "started") == ACTIVE, 5, "an active title")
c.eq(title_colour(s, "started"), ACTIVE, "the program starts active although its icon was added after the window")
# The minimise button: the second from the right of the caption strip.
s.click(X + FRAME + 513 - 24, Y + FRAME + 8)
try:
    wait_for(lambda: not xdo("search", "--onlyvisible", "--name", "^Sonidex", check=False), 5, "no window")
except TimeoutError:
    pass
c.eq(xdo("search", "--onlyvisible", "--name", "^Sonidex", check=False), "", "minimised: no Sonidex window on the screen")
path = os.path.join(SHOTS, "minimised.png")
s.screenshot(path)
c.true(pixel(path, 12, 31) != (0, 0, 0), "an icon in Wine's tray window")
# A click on the icon (the first icon of the tray window covers 5..20, 24..39).
s.click(12, 31)
wait_for(lambda: xdo("search", "--onlyvisible", "--name", "^Sonidex", check=False), 5, "the window back")
c.eq(s.geometry(), g, "the window is back at the same place")
try:
    wait_for(lambda: title_colour(s, "restored") == ACTIVE, 5, "an active title")
except TimeoutError:
    pass
c.eq(title_colour(s, "restored"), ACTIVE, "and active")
# The close button closes through the normal path: the settings are written.
remove_ini()
s.click(X + FRAME + 513 - 8, Y + FRAME + 8)
c.eq(s.wait_exit(), 0, "the close button ends the program")
ini = read_ini() or {}
c.eq((ini.get("WindowX"), ini.get("WindowY")), (str(X), str(Y)), "and the settings are written")
remove_ini()
c.done()
