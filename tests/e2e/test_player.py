"""The main use, as a person plays samples: click a line and hear it, arrow keys, clicking again,
the volume slider moved with the mouse, the loop box, the stop button, the streaming and media
player paths, a MIDI line looping, a file gone from the disk and a format that does not play.
What is heard is checked on the sound the session's capture recorded."""
import os, time
from sonidex import *
import audiocheck, sounds

require_session()
cap = audiocheck.Capture()
if not cap.available():
    print("SKIP: no sound capture in this session")
    sys.exit(77)
c = Checks()

lib = scratch("player-lib")
RATE = 44100
# Noise, so that every block of each sample is unique in the capture.
A = sounds.tone(0, 1.0, RATE, 16, 2, amp=0.5, seed=11)
B = sounds.tone(0, 0.6, RATE, 16, 2, amp=0.4, seed=12)
F = sounds.tone(0, 0.25, RATE, 16, 2, amp=0.5, seed=13)
sounds.write(os.path.join(lib, "a.wav"), sounds.wav(A, RATE, 16, 2))
sounds.write(os.path.join(lib, "b.wav"), sounds.wav(B, RATE, 16, 2))
sounds.write(os.path.join(lib, "c24.wav"), sounds.wav(sounds.tone(440, 0.5, RATE, 24, 2), RATE, 24, 2))
sounds.write(os.path.join(lib, "d.mid"), sounds.midi([(60, 48), (64, 48)]))
sounds.write(os.path.join(lib, "e.wav"), sounds.wav(B, RATE, 16, 2))
sounds.write(os.path.join(lib, "f.wav"), sounds.wav(F, RATE, 16, 2))
LINE = {"a": 0, "b": 1, "c24": 2, "d": 3, "e": 4, "f": 5}
midi_log = os.path.join(BUILD, "e2e-scratch", "player-midi.log")
ENV["FAKEMIDI_LOG"] = winpath(midi_log)

SETTINGS = "[Sonidex settings]\nUseMedia={media}\nStreaming={streaming}\nSort=1\nSubdir=0\nReread=0\n"


def start(streaming, media=0):
    write_ini(SETTINGS.format(streaming=streaming, media=media))
    s = Sonidex(winpath(lib))
    time.sleep(1.5)                      # the list is read
    return s, s.geometry()


def listen(seconds):
    """What is played during the next seconds (from a mark taken now)."""
    m = cap.mark()
    time.sleep(seconds)
    return cap.since(m)


def play_line(s, geo, name, seconds):
    m = cap.mark()
    s.click(*line_point(geo, LINE[name]))
    time.sleep(seconds)
    return cap.since(m)


def press(s, key, seconds):
    m = cap.mark()
    s.key(key)
    time.sleep(seconds)
    return cap.since(m)


def exact(got, data, what):
    found, same, _ = audiocheck.bit_exact(got, data)
    c.true(found and same, f"{what}: the captured sound equals the sample's data (found {found}, equal {same})")


def repeats(got, data):
    """How many times data lies whole in got back to back, from its first place. A moment of
    zeros in the middle of a repeat, after which the data goes on exactly where it stopped, is
    the sound server running dry on a busy machine (the data was late, nothing was lost or
    added by the player) and is passed over; a gap between repeats is not."""
    at = audiocheck.find(got, data)
    n = 0
    while at >= 0:
        i = 0
        while i < len(data) and at + i < len(got) and got[at + i] == data[i]:
            i += 1
        if i == len(data):
            n, at = n + 1, at + len(data)
            continue
        i -= i % 4                                   # back to the frame where it differs
        z = at + i
        while z < len(got) and got[z] == 0:
            z += 1
        z = at + i + (z - at - i) // 4 * 4
        if i == 0 or z == at + i or got[z: z + 16] != data[i: i + 16]:
            break
        print(f"(a dropout of {(z - at - i) // 4} frames inside repeat {n + 1})")
        got = got[:at + i] + got[z:]
    return n


def silent(got, what):
    c.true(audiocheck.analyze(got)["silent"], f"{what}: nothing is heard")


# --- Static buffers (streaming off) ---
s, geo = start(streaming=0)
exact(play_line(s, geo, "a", 1.6), A, "click on a line")

exact(press(s, "Down", 1.2), B, "Down arrow plays the next line")
for key in ("Return", "space"):
    exact(press(s, key, 1.0), B, f"{key} plays the selected line")

# Clicking the line again while it plays starts it again from the beginning.
m = cap.mark()
s.click(*line_point(geo, LINE["a"]))
time.sleep(0.4)
s.click(*line_point(geo, LINE["a"]))
time.sleep(1.5)
got = cap.since(m)
first = audiocheck.find(got, A)
second = audiocheck.find(got, A, first + 4) if first >= 0 else -1
c.true(first >= 0 and 0 < second - first < len(A), "a second click restarts the sample before its end")
if second > 0:
    c.eq(got[second: second + len(A)] == A, True, "the restarted sample plays whole")

# The volume slider: one press on its track below the knob lowers the volume by a page (5 dB).
full = audiocheck.analyze(A)["left_db"]
s.click(*panel_point(geo, 28, 160))
got = play_line(s, geo, "a", 1.4)
lvl = audiocheck.analyze(got)
c.true(not lvl["silent"] and abs(full - lvl["left_db"] - 5.0) < 0.3,
       f"volume one page down: {full:.2f} dB became {lvl.get('left_db', 0):.2f} dB")
# A right click on it gives full volume again.
s.click(*panel_point(geo, 28, 160), button=3)
exact(play_line(s, geo, "a", 1.4), A, "full volume after a right click on the volume slider")

# The loop box: the sample repeats without a gap until the stop button.
s.click(*panel_point(geo, *LOOP_BOX))                      # loop
reps = repeats(play_line(s, geo, "f", 1.5), F)
c.true(reps >= 4, f"the looped sample repeats back to back ({reps} whole repeats in 1.5 s)")
s.click(*panel_point(geo, *STOP_BUTTON))                      # stop
time.sleep(0.4)
silent(listen(0.6), "after the stop button")
s.click(*panel_point(geo, *LOOP_BOX))                      # loop off
time.sleep(0.5)                                          # (it plays the stopped sample once more)

# A 24-bit sample plays nothing and shows no box.
silent(play_line(s, geo, "c24", 1.0), "a 24-bit sample")
c.eq(dialogs(), [], "no message box for a 24-bit sample")
s.screenshot(os.path.join(BUILD, "e2e-scratch", "player-24bit.png"))

# A file gone from the disk: its box, and nothing plays.
os.remove(os.path.join(lib, "e.wav"))
s.click(*line_point(geo, LINE["e"]))
try:
    boxes = wait_for(lambda: dialogs(), 10, "the error box")
except TimeoutError:
    s.screenshot(os.path.join(BUILD, "e2e-scratch", "player-nobox.png"))
    raise
c.eq(boxes[0][1][-1:] if boxes else None, ["Couldn't open the file.\\rThe file may not exist."],
     "the box for a missing file")
silent(listen(0.5), "a missing file")
dialogs(close=True)
time.sleep(0.3)
c.eq(dialogs(), [], "the box closes with its button")

# A MIDI line plays through the media player and, looping, starts again at its end.
if os.path.exists(midi_log):
    os.remove(midi_log)
s.click(*panel_point(geo, *LOOP_BOX))                      # loop
s.click(*line_point(geo, LINE["d"]))
time.sleep(3.0)
s.click(*panel_point(geo, *STOP_BUTTON))                      # stop
s.click(*panel_point(geo, *LOOP_BOX))                      # loop off
text = open(midi_log).read() if os.path.exists(midi_log) else ""
starts = text.count("DATA 643c90")
c.true(starts >= 2, f"the MIDI line plays and starts again while looping ({starts} starts of its first note)")
s.key("Escape")
s.wait_exit()

# --- Streaming ---
LINE["f"] = LINE.pop("e")                                # e is gone from the folder
s, geo = start(streaming=1)
exact(play_line(s, geo, "a", 1.6), A, "click on a line, streamed")
exact(press(s, "Down", 1.2), B, "Down arrow, streamed")
s.click(*panel_point(geo, *LOOP_BOX))                      # loop: the stream restarts looping
reps = repeats(play_line(s, geo, "f", 1.5), F)
c.true(reps >= 4, f"a looped stream repeats back to back ({reps} whole repeats in 1.5 s)")

s.click(*panel_point(geo, *STOP_BUTTON))
time.sleep(0.4)
silent(listen(0.6), "after the stop button, streamed")
s.key("Escape")
s.wait_exit()

# --- A WAV through the media player ---
s, geo = start(streaming=0, media=1)
got = play_line(s, geo, "a", 1.8)
found, _, _ = audiocheck.bit_exact(got, A)
c.true(found, "a WAV line plays through the media player")
s.key("Escape")
s.wait_exit()
c.done()
