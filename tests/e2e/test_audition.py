"""Heard in the capture: a held Down sounds only the line it is let go on (and the one its first
press plays), a stop mid-sine leaves no step, and a start from the top after it is bit-exact."""
import array, atexit, os, shutil, tempfile
from sonidex import *
import audiocheck, sounds

require_session()
cap = require_capture()
c = Checks()
lib = tempfile.mkdtemp(prefix="sx-audition-", dir="/tmp")
atexit.register(shutil.rmtree, lib, True)
# Noise i, found in the capture by its first frames, on line i + 1; a full-scale 1 kHz sine on line 0.
NOISE = [sounds.tone(0, 0.3, 44100, 16, 2, amp=0.5, seed=100 + i) for i in range(60)]
for i, data in enumerate(NOISE):
    sounds.write(os.path.join(lib, f"n{i:02}.wav"), sounds.wav(data, 44100, 16, 2))
SINE = sounds.tone(1000, 1.5, 44100, 16, 2, amp=1.0)
sounds.write(os.path.join(lib, "a_sine.wav"), sounds.wav(SINE, 44100, 16, 2))
write_ini("[Sonidex settings]\nUseMedia=0\nStreaming=0\nSort=1\nSubdir=0\nReread=0\nSmoothStops=1\n")
s = Sonidex(winpath(lib), cwd=lib)
wait_for(lambda: probe()[0] == len(NOISE) + 1, 15, "the list")
geo = s.geometry()


def largest_jump(data, lo, hi):
    a = array.array("h", data[: len(data) // 4 * 4])
    return max(abs(a[2 * i + ch] - a[2 * i + ch - 2]) for i in range(max(lo, 1), min(hi, len(a) // 2)) for ch in (0, 1))


def differs(got, data):
    """Where data, found in got, first differs (-1: nowhere), past the sound server's dropouts."""
    at, i = audiocheck.find(got, data), 0
    while at >= 0 and i < len(data):
        if got[at + i: at + i + 4] == data[i: i + 4]:
            i += 4
            continue
        z = at + i
        while got[z: z + 4] == b"\0\0\0\0":
            z += 4
        if z > at + i and got[z: z + 16] in (data[i: i + 16], data[z - at: z - at + 16]):
            at, i = (at + z - at - i, i) if got[z: z + 16] == data[i: i + 16] else (at, z - at)
        else:
            return i
    return -1 if at >= 0 else None


# A held Down: the lines passed over are not played; the one it is let go on plays whole.
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
c.eq([n for n in range(3, last) if audiocheck.find(got, NOISE[n - 1]) >= 0], [],
     f"a held Down from line 1 to line {last}: no line passed over is heard")
c.eq(differs(got, NOISE[last - 1]), -1, f"the line the key was let go on (line {last}) is heard whole")

# A stop in the middle of the sine: no jump in its last 10 ms larger than the sine's own.
m = cap.mark()
s.key("Home")
wait_for(lambda: audiocheck.find(cap.since(m), SINE) + 1, 5, "the sine to be heard")
cap.wait(m, (audiocheck.find(cap.since(m), SINE) + 0.5 * 176400) / 176400)
s.click(*panel_point(geo, *STOP))
# Half a second of the capture after the sound's end, however late a busy machine stops it.
got = wait_for(lambda: (lambda g: g if audiocheck.signal_span(g)[1] * 4 < len(g) - 88200 else None)(cap.since(m)),
               10, "the sine to stop")
end = audiocheck.signal_span(got)[1]
own, jump = largest_jump(SINE, 0, len(SINE) // 4), largest_jump(got, end - 441, end + 10)
c.true(jump <= own and end * 4 < len(got) - 88200, f"no step at the stop: the largest jump in its last 10 ms "
       f"is {jump}, the sine's own {own} (ended {(len(got) - end * 4) / 176400:.2f} s before the capture's end)")

# From the top again: the bytes the ramp took are back.
m = cap.mark()
s.key("Return")
c.eq(differs(cap.wait(m, 2.2), SINE), -1, "a start from the top after a smooth stop is bit-exact")
s.key("Escape")
s.wait_exit()
c.done()
