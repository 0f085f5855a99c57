"""The waveform in the position bar as a person sees and uses it: a sample of silence then loud
noise shows a flat left half and a full right half; with the sound stopped, a click at three
quarters of the track plays from three quarters of the data (static and streamed); the box in
the settings dialog switched off gives the bar its old look back, and the settings file keeps it."""
import atexit, shutil, subprocess, tempfile
from sonidex import *
import audiocheck, sounds

require_session()
cap = require_capture()
c = Checks()
lib = tempfile.mkdtemp(prefix="sx-wave-", dir="/tmp")
atexit.register(shutil.rmtree, lib, True)
RATE = 44100
DATA = bytes(2 * RATE * 4) + sounds.tone(0, 2.0, RATE, 16, 2, amp=1.0, seed=21)
sounds.write(os.path.join(lib, "split.wav"), sounds.wav(DATA, RATE, 16, 2))
SETTINGS = "[Sonidex settings]\nUseMedia=0\nStreaming={streaming}\nSubdir=0\nReread=0\n"
BAR = (8, 218, 160, 32)                 # the position bar in the panel
TRACK, LENGTH, AXIS = 16, 127, 13       # where its track starts, how long it is, its centre row
WAVE = {(24, 56, 128), (255, 208, 96)}  # the waveform's colours


def start(streaming):
    write_ini(SETTINGS.format(streaming=streaming))
    s = Sonidex(winpath(lib), cwd=lib)
    wait_for(lambda: probe()[0] == 1, 15, "the list of one line")
    return s, s.geometry()


def bar_pixels(s, geo):
    shot = os.path.join(scratch("waveform"), "bar.png")
    s.screenshot(shot)
    x, y = panel_point(geo, BAR[0], BAR[1])
    return subprocess.run(["convert", shot, "-crop", f"{BAR[2]}x{BAR[3]}+{x}+{y}", "-depth", "8", "rgb:-"],
                          capture_output=True, check=True).stdout


def halves(s, geo):
    """Whether the wave is above the centre row and on it in the left half, above it in the right."""
    px = bar_pixels(s, geo)
    at = lambda x, y: tuple(px[(y * BAR[2] + x) * 3: (y * BAR[2] + x) * 3 + 3]) in WAVE
    left, right = TRACK + LENGTH // 4, TRACK + 3 * LENGTH // 4 + 5
    return at(left, AXIS - 6), at(left, AXIS), at(right, AXIS - 6)


def played_from(got):
    """Where in the data the sound heard starts, as a share of the data."""
    first = audiocheck.signal_span(got)[0] * 4
    j = DATA.find(got[first + 4000: first + 4016])          # noise: 16 bytes are found once
    return (j - 4000) / len(DATA) if j >= 0 else -1


def click_three_quarters(s, geo, what):
    s.click(*panel_point(geo, *STOP))
    wait_for(lambda: audiocheck.analyze(cap.wait(cap.mark(), 0.3))["silent"], 5, "the stop")
    m = cap.mark()
    s.click(*panel_point(geo, BAR[0] + TRACK + 3 * LENGTH // 4, BAR[1] + AXIS))
    wait_for(lambda: not audiocheck.analyze(cap.since(m))["silent"], 5, "the sound after the click on the track")
    at = played_from(cap.wait(m, (cap.size() - m) / 176400 + 0.3))
    c.true(0.72 < at < 0.78, f"{what}: a click at three quarters of the track plays from {at:.3f} of the data")


s, geo = start(streaming=0)
plain = bar_pixels(s, geo)               # nothing loaded: the bar as it always was
s.click(*line_point(geo, 0))
s.click(*panel_point(geo, *STOP))
c.becomes(lambda: halves(s, geo), (False, True, True), "half silence, half noise: a flat left half, a full right half")
click_three_quarters(s, geo, "static")

# The box in the settings dialog, switched off: the old bar.
s.click(*panel_point(geo, *SETTINGS_BUTTON))
dialog = wait_for(lambda: xdo("search", "--onlyvisible", "--name", "^Settings$", check=False).split(), 10, "the dialog")[0]
out = xdo("getwindowgeometry", dialog)
dx, dy = map(int, re.search(r"Position: (-?\d+),(-?\d+)", out).groups())
dw, dh = map(int, re.search(r"Geometry: (\d+)x(\d+)", out).groups())
corner = (dx + (dw - 361) // 2, dy + dh - 320 - (dw - 361) // 2)
s.click(corner[0] + 24 + 6, corner[1] + 292 + 8)                        # "Show waveform"
s.click(corner[0] + 304 + 24, corner[1] + 257 + 24)                     # the close button
wait_for(lambda: not xdo("search", "--onlyvisible", "--name", "^Settings$", check=False), 10, "the dialog to close")
s.click(*line_point(geo, 0))
s.click(*panel_point(geo, *STOP))
c.becomes(lambda: bar_pixels(s, geo) == plain, True, "the waveform off: the bar looks as before anything was loaded")
s.key("Escape")
s.wait_exit()
c.eq((read_ini() or {}).get("Waveform"), "0", "the settings file keeps the waveform off")

s, geo = start(streaming=1)
s.click(*line_point(geo, 0))
click_three_quarters(s, geo, "streamed")
s.key("Escape")
s.wait_exit()
c.done()
