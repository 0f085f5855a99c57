"""Start-up and shut-down of Sonidex.exe as a user sees them: the window at its stored place,
Esc closes it, the settings file holds every key afterwards, the companion is told both times,
and the command line changes what the run stores."""
import os
from sonidex import *

require_session()
c = Checks()
lib = scratch("startup-lib")
os.makedirs(os.path.join(lib, "Sub"))
open(os.path.join(lib, "kick.wav"), "wb").close()
KEYS = ["WindowX", "WindowY", "LeftCollapsed", "RightCollapsed", "UseMedia", "Subdir", "Sort", "Wallpaper",
        "SwapPanels", "Streaming", "HiRes", "Waveform", "SmoothStops",
        "Allow Deletion", "Reread", "Snap", "DblClick", "Filter", "Path",
        "Color#0", "Color#1", "Color#2"]


def run(*args, ini=None, cwd=None):
    """One run: start, wait for the window, Esc, and the settings it wrote."""
    if ini is None:
        remove_ini()
    else:
        write_ini(ini)
    s = Sonidex(*args, cwd=cwd)
    geo = s.geometry()
    s.key("Escape")
    s.wait_exit()
    return geo, read_ini()


# No settings file: the defaults of the table, the window at (272, 23), and the companion told.
companion = Companion()
remove_ini()
s = Sonidex(winpath(lib))
x, y, w, h = s.geometry()
c.eq((x, y), (272, 23), "window position with no settings file")
c.eq(w, 519, "window width with both sides shown")
c.true(s.title().startswith("Sonidex "), "title starts with 'Sonidex '")
c.eq(settle(lambda: companion.messages()[:1], [["1360", "0", "0"]]), [["1360", "0", "0"]], "start notice to the companion")
s.key("Escape")
c.eq(s.wait_exit(), 0, "Esc ends the program")
c.eq(settle(lambda: companion.messages()[-1:], [["1360", "1", "0"]]), [["1360", "1", "0"]], "close notice to the companion")
companion.stop()
ini = read_ini()
c.true(ini is not None, "settings file written")
ini = ini or {}
c.eq(list(ini.keys()), KEYS, "every key, in the documented order")
want = {"WindowX": "272", "WindowY": "23", "LeftCollapsed": "0", "RightCollapsed": "0", "UseMedia": "1",
        "Subdir": "1", "Sort": "1", "Wallpaper": "1", "SwapPanels": "0", "Streaming": "1", "HiRes": "0", "Waveform": "1",
        "SmoothStops": "1", "Allow Deletion": "1", "Reread": "0", "Snap": "1", "DblClick": "1", "Filter": "wav;mid",
        "Path": winpath(lib).upper() + "\\", "Color#0": "14742776", "Color#1": "13164776", "Color#2": "8421504"}
for k, v in want.items():
    c.eq(ini.get(k), v, f"default {k}")

# A stored position is where the window opens.
(geo, _) = run(winpath(lib), ini="[Sonidex settings]\nWindowX=40\nWindowY=300\n")
c.eq(geo[:2], (40, 300), "window at the stored position")
# The high-resolution and smooth-stop settings are read and written back.
_, ini = run(winpath(lib), ini="[Sonidex settings]\nHiRes=1\nSmoothStops=0\n")
c.eq((ini["HiRes"], ini["SmoothStops"]), ("1", "0"), "a stored HiRes=1 and SmoothStops=0 stay so")

# Command-line cases.
_, ini = run("/f:wav", winpath(lib))
c.eq(ini["Filter"], ":WAV", "/f:wav gives the filter :WAV")
_, ini = run("/Fwav;aif", winpath(lib))
c.eq(ini["Filter"], "WAV;AIF", "/Fwav;aif is stored upper-cased")
_, ini = run("/F", winpath(lib), ini="[Sonidex settings]\nFilter=mid\n")
c.eq(ini["Filter"], "mid", "/F alone keeps the stored filter")
_, ini = run("/SUBDIRS")
c.eq(ini["Path"], "/SUBDIRS\\", "/SUBDIRS is taken as the start folder")
_, ini = run(winpath(os.path.join(lib, "kick.wav")))
c.eq(ini["Path"], winpath(lib).upper() + "\\", "a file argument gives its folder, upper-cased")
_, ini = run(winpath(os.path.join(lib, "Sub")), winpath(lib))
c.eq(ini["Path"], winpath(lib).upper() + "\\", "of two folders the second wins")
_, ini = run(ini="[Sonidex settings]\nPath=\n")
c.true(ini["Path"].upper() == winpath(BUILD).upper() + "\\", f"empty Path key lists the program's folder ({ini['Path']})")
_, ini = run("/SORT", winpath(lib), ini="[Sonidex settings]\nSort=0\n")
c.eq(ini["Sort"], "1", "/SORT over Sort=0 stores 1")
_, ini = run(winpath(lib), ini="[Sonidex settings]\nColor#0=0xFF\nColor#1=blue\nSubdir=garbage\nWindowX=abc\n")
c.eq(ini["Color#0"], "255", "a colour of 0xFF reads as 255")
c.eq(ini["Color#1"], "13164776", "a colour holding a word reads as the default")
c.eq(ini["Subdir"], "1", "a garbage Boolean gives its default")
c.eq(ini["WindowX"], "272", "a garbage position gives its default")
long_path = "C:\\" + "x" * 3000
_, ini = run(ini=f"[Sonidex settings]\nPath={long_path}\nFilter={'w' * 2000}\n")
c.true(ini is not None and len(ini["Filter"]) == 1023, "an over-long value is cut at 1023 characters")
remove_ini()
c.done()
