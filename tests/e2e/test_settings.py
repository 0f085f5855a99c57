"""The settings dialog as a person uses it: the file-type boxes edit the filter and the list
follows, the colour picker changes the swatch at once and the list when the dialog closes,
every way of closing applies the dialog (a file made meanwhile appears), the main window takes
no clicks while it is open, and switching to DirectSound plays through DirectSound."""
import os, time
from sonidex import *
import audiocheck, sounds

require_session()
c = Checks()
lib = scratch("settings-lib")
for name in ("a.wav", "b.mid", "c.xwav"):
    sounds.write(os.path.join(lib, name), sounds.wav(sounds.tone(440, 0.3, 22050, 16, 1), 22050) if name != "b.mid"
                 else sounds.midi([(60, 24)]))
SETTINGS = "[Sonidex settings]\nFilter={filter}\nWallpaper=0\nUseMedia=1\nSort=1\nSubdir=0\nReread=0\n"
DIALOG = (361, 320)


def window(name):
    out = xdo("search", "--onlyvisible", "--name", f"^{name}$", check=False)
    return out.split()[0] if out else None


class Dialog:
    """The settings dialog, opened with the main window's settings button."""

    def __init__(self, s, geo):
        s.click(*panel_point(geo, *SETTINGS_BUTTON))
        self.id = wait_for(lambda: window("Settings"), 10, "the settings dialog")
        x, y, w, h = frame()
        border = (w - DIALOG[0]) // 2
        self.x, self.y = x + border, y + h - DIALOG[1] - border          # the client area's corner
        self.frame = (x, y, w, h)

    def at(self, x, y):
        return self.x + x, self.y + y

    def click(self, x, y):
        xdo("mousemove", *self.at(x, y))
        time.sleep(0.05)
        xdo("click", 1)
        time.sleep(0.2)

    def gone(self):
        wait_for(lambda: not window("Settings"), 10, "the settings dialog to close")

    def close_button(self):
        """Closes the dialog with its glyph button."""
        self.click(304 + 24, 257 + 24)
        self.gone()


def start(filter):
    """Sonidex on the test's folder with the filter."""
    write_ini(SETTINGS.format(filter=filter))
    s = Sonidex(winpath(lib))
    return s, s.geometry()


def close(s, geo):
    """Ends the program with Esc, its window made the active one again after the dialog."""
    s.activate()
    s.key("Escape")
    s.wait_exit()


def frame():
    """The dialog's window (x, y, w, h); None when it is not shown."""
    w = window("Settings")
    out = xdo("getwindowgeometry", w, check=False) if w else ""
    m = re.search(r"Position: (-?\d+),(-?\d+).*Geometry: (\d+)x(\d+)", out, re.S)
    return tuple(map(int, m.groups())) if m else None


def pixel(x, y, w=1, h=1):
    """The colour of a screen pixel; of an area, the set of its colours."""
    shot = os.path.join(BUILD, "e2e-scratch", "settings-pixel.png")
    subprocess.run(["import", "-window", "root", shot], check=True, env=ENV)
    out = subprocess.run(["convert", shot, "-crop", f"{w}x{h}+{x}+{y}", "-depth", "8", "txt:-"],
                         capture_output=True, text=True, check=True).stdout.splitlines()[1:]
    return out[0].split()[2] if w * h == 1 else {line.split()[2] for line in out}


# --- The filter, the colours, modality and the ways of closing -------------------------------
s, geo = start("xwav;mid")
c.becomes(lambda: probe()[0], 2, "xwav;mid lists the MIDI and the xwav file", 10)

d = Dialog(s, geo)
s.screenshot(os.path.join(BUILD, "e2e-scratch", "settings-dialog.png"))
# Modal: a click on the list neither selects nor plays.
xdo("mousemove", *line_point(geo, 0)); xdo("click", 1)
time.sleep(0.5)
c.eq(probe()[1], -1, "a click on the list while the dialog is open selects nothing")
caption = pixel(*d.at(8 + 6, 5), 50, 12)            # "General": grey, no black
c.true("#808080" in caption and "#000000" not in caption, f"the group captions are grey ({sorted(caption)})")
xdo("mousemove", *d.at(56, 5 + 23 + 8)); time.sleep(0.1); xdo("mousemove", *d.at(56, 5 + 46 + 8))
c.becomes(lambda: bool(window("Will rebuild the list when files are changed")), True, "the box's hint shows", 3)
xdo("mousemove", d.frame[0] + 100, d.frame[1] + 6); xdo("click", "--repeat", 2, "--delay", 40, 1)
for k in ("alt+space", "n", "Escape"):                # the system menu's Minimize, then away
    time.sleep(0.5); xdo("key", k)
c.eq(frame(), d.frame, "a double click on the caption and the menu's Minimize change nothing")
d.click(184 + 16 + 6, 5 + 23 + 8)                 # "WAV files"
d.close_button()
c.becomes(lambda: probe()[0], 3, "ticking WAV files keeps xwav and mid and adds wav", 10)

# The colour picker: the swatch changes at once, the list when the dialog closes.
d = Dialog(s, geo)
d.click(8 + 129 + 12, 227 + 20 + 11)              # the swatch
picker = wait_for(lambda: window("Color"), 10, "the colour picker")
time.sleep(0.3)
xdo("type", "--delay", "60", "10\t200\t30")
xdo("key", "Return")
wait_for(lambda: not window("Color"), 10, "the colour picker to close")
time.sleep(0.3)
c.eq(pixel(*d.at(8 + 129 + 12, 227 + 20 + 11)), "#0AC81E", "the swatch shows the new colour at once")
list_bottom = (geo[0] + FRAME + 192 + 60, geo[1] + FRAME + 26 + 370)
c.true(pixel(*list_bottom) != "#0AC81E", "the list keeps its colour while the dialog is open")
open(os.path.join(lib, "d.wav"), "wb").write(open(os.path.join(lib, "a.wav"), "rb").read())
xdo("key", "alt+F4")                              # Alt+F4 closes and applies
d.gone()
time.sleep(0.3)
c.eq(pixel(*list_bottom), "#0AC81E", "the list takes the new colour when the dialog closes")
c.becomes(lambda: probe()[0], 4, "closing with Alt+F4 rescans the folder", 10)

# Escape in the picker changes nothing; Wine's close box closes and applies too.
d = Dialog(s, geo)
d.click(8 + 129 + 12, 227 + 20 + 11)
wait_for(lambda: window("Color"), 10, "the colour picker")
time.sleep(0.3)
xdo("key", "Escape")
wait_for(lambda: not window("Color"), 10, "the colour picker to close")
open(os.path.join(lib, "e.wav"), "wb").write(open(os.path.join(lib, "a.wav"), "rb").read())
fx, fy, fw, fh = d.frame
xdo("mousemove", fx + fw - 8, fy + 8); xdo("click", 1)
d.gone()
c.becomes(lambda: probe()[0], 5, "closing with the window's close box rescans the folder", 10)
close(s, geo)
ini = read_ini()
c.eq(ini.get("Filter"), "xwav;mid;wav", "the filter as the settings file keeps it")
c.eq(ini.get("Color#0"), "2017290", "the list colour as the settings file keeps it")

# --- Unticking MIDI in wav;mid leaves wav ------------------------------------------------------
s, geo = start("wav;mid")
c.becomes(lambda: probe()[0], 4, "wav;mid lists the WAV and MIDI files", 10)
d = Dialog(s, geo)
d.click(184 + 16 + 6, 5 + 46 + 8)                 # "MIDI files"
d.close_button()
c.becomes(lambda: probe()[0], 3, "unticking MIDI files drops the MIDI line", 10)
close(s, geo)
c.eq(read_ini().get("Filter"), "wav", "unticking MIDI in wav;mid leaves wav")

# --- The playback path -----------------------------------------------------------------------
cap = audiocheck.Capture()
if cap.available():
    loud = sounds.tone(0, 0.8, 44100, 16, 2, amp=0.5, seed=21)
    sounds.write(os.path.join(lib, "a.wav"), sounds.wav(loud, 44100, 16, 2))
    s, geo = start("wav")
    c.becomes(lambda: probe()[0], 3, "the WAV files", 10)
    d = Dialog(s, geo)
    d.click(184 + 16 + 6, 117 + 48 + 8)           # "Through DirectSound"
    d.click(200 + 6, 254 + 8)                     # which enables "Smooth stops": unticked
    d.close_button()
    # Through DirectSound the volume slider acts: one page down is 5 dB less.
    s.click(*panel_point(geo, 28, 160))
    m = cap.mark()
    s.click(*line_point(geo, 0))
    time.sleep(1.3)
    lvl = audiocheck.analyze(cap.since(m))
    full = audiocheck.analyze(loud)["left_db"]
    c.true(not lvl["silent"] and abs(full - lvl["left_db"] - 5.0) < 0.3,
           f"after the switch a click plays through DirectSound ({full:.2f} dB, one page down "
           f"{lvl.get('left_db', 0):.2f} dB)")
    close(s, geo)
    c.eq((read_ini().get("UseMedia"), read_ini().get("SmoothStops")), ("0", "0"),
         "the settings file keeps DirectSound, without smooth stops")

    # DirectSound that cannot be had: the error is shown, the media player stays, the next
    # start works.
    saved = ENV["WINEDLLOVERRIDES"]
    ENV["WINEDLLOVERRIDES"] = saved + ";dsound="
    s, geo = start("wav")
    d = Dialog(s, geo)
    d.click(184 + 16 + 6, 117 + 48 + 8)
    d.click(8 + 16 + 6, 5 + 69 + 8)                 # and unticks "Sort filenames"
    d.click(304 + 24, 257 + 24)
    boxes = wait_for(lambda: dialogs(), 10, "the error box")
    c.true(boxes and "Sonidex" in boxes[0][0], f"an error box says the device failed ({boxes})")
    dialogs(close=True)
    d.gone()
    close(s, geo)
    ini = read_ini()
    c.eq(ini.get("UseMedia"), "1", "the failed switch keeps the media player")
    c.eq(ini.get("Sort"), "0", "the failed switch keeps the other changes")
    ENV["WINEDLLOVERRIDES"] = saved
    s = Sonidex(winpath(lib))
    c.true(s.running(), "the next start works")
    close(s, geo)
else:
    print("no sound capture: the playback path checks need it")
    c.failed += 1
remove_ini()
c.done()
