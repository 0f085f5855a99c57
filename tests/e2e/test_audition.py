"""Auditioning as a musician does, heard in the capture: a Down arrow held over twenty lines
sounds only the line it is let go on (besides the one its first press played), a stop in the
middle of a loud sine leaves no step in the sound, and a sample started from the top after such a
stop is still bit for bit its data."""
import array, atexit, os, shutil, tempfile
from sonidex import *
import audiocheck, sounds

require_session()
cap = audiocheck.Capture()
if not cap.available():
    print("FAIL: no sound capture in this session" if sound_required() else "SKIP: no sound capture in this session")
    sys.exit(1 if sound_required() else 77)
c = Checks()

lib = tempfile.mkdtemp(prefix="sx-audition-", dir="/tmp")
atexit.register(shutil.rmtree, lib, True)
RATE = 44100
# Short noises, each its own, so that any of them is found in the capture by its first frames.
# Noise i is on line i + 1; more lines than the key can pass before it is let go.
NOISE = [sounds.tone(0, 0.3, RATE, 16, 2, amp=0.5, seed=100 + i) for i in range(60)]
for i, data in enumerate(NOISE):
    sounds.write(os.path.join(lib, f"n{i:02}.wav"), sounds.wav(data, RATE, 16, 2))
# A full-scale 1 kHz sine on the first line.
SINE = sounds.tone(1000, 1.5, RATE, 16, 2, amp=1.0)
sounds.write(os.path.join(lib, "a_sine.wav"), sounds.wav(SINE, RATE, 16, 2))

write_ini("[Sonidex settings]\nUseMedia=0\nStreaming=0\nSort=1\nSubdir=0\nReread=0\n")
s = Sonidex(winpath(lib), cwd=lib)
wait_for(lambda: probe()[0] == len(NOISE) + 1, 15, "the list")
geo = s.geometry()


def largest_jump(data, frames=None):
    """The largest step between consecutive samples of either channel."""
    a = array.array("h")
    a.frombytes(data)
    lo, hi = frames or (0, len(a) // 2)
    return max(abs(a[2 * i + ch] - a[2 * i + ch - 2]) for i in range(max(lo, 1), hi) for ch in (0, 1))


def heard_whole(got, data):
    """(found, where it first differs or -1): whether data lies in got from its first frames on,
    unchanged. A run of zeros inside it is the sound server running dry on a busy machine and
    is passed over when the data goes on after it where it stopped (late) or where it would be by
    then (dropped): nothing was added or lost by the player."""
    at = audiocheck.find(got, data)
    i = 0
    while at >= 0 and i < len(data):
        if got[at + i: at + i + 4] == data[i: i + 4]:
            i += 4
            continue
        z = at + i
        while got[z: z + 4] == b"\0\0\0\0":
            z += 4
        gap = z - at - i
        if gap and got[z: z + 16] == data[i: i + 16]:
            at += gap
        elif gap and got[z: z + 16] == data[i + gap: i + gap + 16]:
            i += gap
        else:
            return True, i
    return at >= 0, -1


# A held Down over twenty lines: its first press plays the next line at once; the lines passed
# over after it are not played; the one it is let go on plays from its start.
s.click(*line_point(geo, 1))
cap.wait(cap.mark(), 0.5)
m = cap.mark()
s.focus()
xdo("keydown", "Down")
try:
    wait_for(lambda: (probe()[1] or 0) >= 21, 10, "the selection to pass twenty lines")
finally:
    xdo("keyup", "Down")
last = settle(lambda: probe()[1], probe()[1], 1)
got = cap.wait(m, (cap.size() - m) / 176400 + 0.8)
passed = [line for line in range(3, last) if audiocheck.find(got, NOISE[line - 1]) >= 0]
c.eq(passed, [], f"a held Down from line 1 to line {last}: none of the lines passed over is heard")
found, differs = heard_whole(got, NOISE[last - 1])
c.true(found and differs < 0, f"the line the key was let go on (line {last}) is heard whole from its start ({differs})")

# A stop in the middle of a loud sine: the sound ramps down, no step in the 10 ms around its end.
m = cap.mark()
s.key("Home")
wait_for(lambda: audiocheck.find(cap.since(m), SINE) + 1, 5, "the sine to be heard")
cap.wait(m, (audiocheck.find(cap.since(m), SINE) + 0.5 * 176400) / 176400)
s.click(*panel_point(geo, *STOP))
got = cap.wait(m, (cap.size() - m) / 176400 + 0.5)
start = audiocheck.find(got, SINE) // 4
end = audiocheck.signal_span(got)[1]
own = largest_jump(SINE)
jump = largest_jump(got, (end - 441, end + 10))
c.true(start >= 0 and end - start < len(SINE) // 4 - 4410,
       f"the stop button cut the sine {(end - start) / RATE:.3f} s into its {len(SINE) / 176400} s")
c.true(jump <= own, f"no step at the stop: the largest jump in its last 10 ms is {jump}, the sine's own {own}")

# The same sine from the top again: the bytes the ramp took are back, it plays bit for bit.
m = cap.mark()
s.key("Return")
found, differs = heard_whole(cap.wait(m, 2.2), SINE)
c.true(found and differs < 0, f"a start from the top after a smooth stop is bit-exact (differs at byte {differs})")
s.key("Escape")
s.wait_exit()
c.done()
