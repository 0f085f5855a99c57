"""The main use, as a person plays samples: click a line and hear it, arrow keys, clicking again,
the volume slider moved with the mouse, pan and frequency dragged, the position bar dragged to
seek (static, streamed and through the media player), the loop box and Ctrl+L, the stop button,
a stream longer than the reader's file window, a MIDI line looping, a file gone from the disk and
a format that does not play. What is heard is checked on the sound the session's capture
recorded."""
import atexit, os, shutil, subprocess, tempfile, time
from sonidex import *
import audiocheck, sounds

require_session()
cap = require_capture()
c = Checks()

# The samples' folder has a sibling, "other", for the folder tree to show next to it. Both sit
# near the root, so that the tree shows their level however deep the build folder is.
top = tempfile.mkdtemp(prefix="sx-", dir="/tmp")
atexit.register(shutil.rmtree, top, True)
lib = os.path.join(top, "samples")
other = os.path.join(os.path.dirname(lib), "other")
os.makedirs(lib)
os.makedirs(other)
RATE = 44100
# Noise, so that every block of each sample is unique in the capture.
A = sounds.tone(0, 1.0, RATE, 16, 2, amp=0.5, seed=11)
B = sounds.tone(0, 0.6, RATE, 16, 2, amp=0.4, seed=12)
F = sounds.tone(0, 0.25, RATE, 16, 2, amp=0.5, seed=13)
# Longer than the reader's 1 MB window onto a file, for the stream to cross its edge.
G = sounds.tone(0, 8.0, RATE, 16, 2, amp=0.5, seed=14)
H = sounds.tone(441, 1.0, 22050, 16, 1, amp=0.5)
sounds.write(os.path.join(lib, "a.wav"), sounds.wav(A, RATE, 16, 2))
sounds.write(os.path.join(lib, "b.wav"), sounds.wav(B, RATE, 16, 2))
sounds.write(os.path.join(lib, "c24.wav"), sounds.wav(sounds.tone(440, 0.5, RATE, 24, 2), RATE, 24, 2))
sounds.write(os.path.join(lib, "d.mid"), sounds.midi([(60, 48), (64, 48)]))
sounds.write(os.path.join(lib, "e.wav"), sounds.wav(B, RATE, 16, 2))
sounds.write(os.path.join(lib, "f.wav"), sounds.wav(F, RATE, 16, 2))
sounds.write(os.path.join(lib, "g.wav"), sounds.wav(G, RATE, 16, 2))
sounds.write(os.path.join(lib, "h.wav"), sounds.wav(H, 22050, 16, 1))
sounds.write(os.path.join(other, "x.wav"), sounds.wav(F, RATE, 16, 2))
LINE = {"a": 0, "b": 1, "c24": 2, "d": 3, "e": 4, "f": 5, "g": 6, "h": 7}
midi_log = os.path.join(BUILD, "e2e-scratch", "player-midi.log")
ENV["FAKEMIDI_LOG"] = winpath(midi_log)

SETTINGS = "[Sonidex settings]\nUseMedia={media}\nStreaming={streaming}\nSort=1\nSubdir=0\nReread=0\n"


def start(streaming, media=0):
    write_ini(SETTINGS.format(streaming=streaming, media=media))
    # Started in the samples' folder: the folder tree opens the working folder too, and one
    # elsewhere would show its own, deeper rows beside the samples'.
    s = Sonidex(winpath(lib), cwd=lib)
    wait_for(lambda: probe()[0] == len(LINE), 15, f"the list of {len(LINE)} lines")
    geo = s.geometry()
    # The folder tree reads the disk last in the start-up: the program is idle once it shows.
    wait_for(lambda: tree_indents(s, geo), 20, "the folder tree")
    return s, geo


def listen(seconds):
    """What is played during the next seconds (from a mark taken now)."""
    return cap.wait(cap.mark(), seconds)


def play_line(s, geo, name, seconds):
    m = cap.mark()
    s.click(*line_point(geo, LINE[name]))
    return cap.wait(m, seconds)


def press(s, key, seconds):
    m = cap.mark()
    s.key(key)
    return cap.wait(m, seconds)


def quiet(what, seconds=0.5, within=3.0):
    """Waits until the last seconds of the capture are silent; a failure shows what sounded."""
    end = time.time() + within
    while True:
        got = cap.wait(cap.mark(), seconds)
        if audiocheck.analyze(got)["silent"] or time.time() > end:
            break
    silent(got, what)


def tail(got, seconds):
    return got[-int(seconds * RATE) * 4:]


def heard(m, data, seconds=5):
    """Waits until data has been heard from its start since the mark; where its start lies from
    the mark (bytes). Frames 256 on are looked for: the first few milliseconds of a new line
    sound together with the previous sound's fade when one was playing."""
    key = data[1024:]
    return wait_for(lambda: audiocheck.find(cap.since(m), key) + 1, seconds, "the sample to be heard") - 1 - 1024


def exact(got, data, what):
    found, same, at = audiocheck.bit_exact(got, data)
    same = same or (found and repeats(got, data) >= 1)          # a dropout passed over
    c.true(found and same, f"{what}: the captured sound equals the sample's data (found {found}, equal {same})")
    if found and not same:
        i = next(i for i in range(0, len(data), 4) if got[at + i: at + i + 4] != data[i: i + 4])
        k = frame_find(data, got[at + i + 64: at + i + 80])
        print(f"  it differs {i / 176400:.3f} s into the sample; 64 bytes later the capture holds "
              f"{'the data from byte ' + str(k - 64 - i) + ' further on' if k >= 0 else 'something else'}"
              f" ({got[at + i: at + i + 8].hex()})")


def looped(m, data, want, seconds):
    """The most back-to-back repeats of data heard since the mark, listening until want of them
    have been heard or for seconds: a busy machine's one late refill spoils one run of repeats,
    not the loop."""
    def most():
        got, best, at = cap.since(m), 0, 0
        while (at := audiocheck.find(got, data, at)) >= 0:
            n = repeats(got[at:], data)
            best, at = max(best, n), at + max(n, 1) * len(data)
        return best
    return settle(most, want, seconds) if want else most()


repeats = audiocheck.repeats


def silent(got, what):
    c.true(audiocheck.analyze(got)["silent"], f"{what}: nothing is heard")


# Knob centres in the player panel's coordinates: the position bar's at its start (grabbed a
# little right of it, so that the knob is hit while the bar follows the first moments of
# play), the pan slider's at its centre, the frequency slider's for a 22050 Hz sample.
POS_KNOB = (8 + 20, 218 + 12)
PAN_KNOB = (8 + 80, 175 + 12)
FREQ_KNOB_22050 = (94 + 19, 18 + 107)
TREE = (8 + 2, 25 + 2, 176 - 4 - 17, 358 - 4 - 17)      # the folder tree's rows, in client coordinates


def frame_find(data, key, start=0):
    """Byte offset of key in data at a frame boundary, or -1."""
    j = data.find(key, start)
    while j >= 0 and j % 4:
        j = data.find(key, j + 1)
    return j


def last_run(got, data):
    """(data offset, bytes) of the last unbroken stretch of data in got: where the player last
    went on from. Dropouts in it are passed over as repeats() does."""
    end = audiocheck.signal_span(got)[1] * 4
    for i in range(end - 4410 * 4, 16, -4410 * 4):               # keys 25 ms apart, from the end back
        j = frame_find(data, got[i - 16: i])
        if j >= 0:
            break
    else:
        return -1, 0
    top, j = i, j + 16
    while i >= 4 and j >= 4:
        if got[i - 4: i] == data[j - 4: j]:
            i, j = i - 4, j - 4
            continue
        z = i
        while z >= 4 and got[z - 4: z] == b"\0\0\0\0":
            z -= 4
        gap = i - z
        if z == i or z < 16:
            break
        if got[z - 16: z] == data[j - 16: j]:              # the data came late
            i = z
        elif j - gap >= 16 and got[z - 16: z] == data[j - gap - 16: j - gap]:   # dropped by the server
            i, j = z, j - gap
        else:
            break
    return j, top - i


def tree_indents(s, geo):
    """{row: indent} of the folder tree's rows (16 pixels each) as the screen shows them: where
    each row's folder icon (bluish pixels) starts."""
    shot = os.path.join(BUILD, "e2e-scratch", "player-tree.png")
    s.screenshot(shot)
    x0, y0 = geo[0] + FRAME + TREE[0], geo[1] + FRAME + TREE[1]
    out = subprocess.run(["convert", shot, "-crop", f"{TREE[2]}x{TREE[3]}+{x0}+{y0}", "-depth", "8", "txt:-"],
                         capture_output=True, text=True, check=True).stdout.splitlines()[1:]
    indent = {}
    for line in out:
        xy, _, colour = line.split()[:3]
        x, y = map(int, xy.rstrip(":").split(","))
        r, g, b = int(colour[1:3], 16), int(colour[3:5], 16), int(colour[5:7], 16)
        if b - r > 60 and x < indent.get(y // 16, 10 ** 6):
            indent[y // 16] = x
    return indent


def tree_row_of_other(s, geo):
    """The screen point of the "other" folder's icon in the folder tree, or None. The tree shows
    the path to the samples' folder opened, so the folders beside it are the most indented
    rows, in name order: "other" comes first."""
    x0, y0 = geo[0] + FRAME + TREE[0], geo[1] + FRAME + TREE[1]
    indent = tree_indents(s, geo)
    if not indent:
        return None
    deepest = max(indent.values())
    rows = sorted(row for row, x in indent.items() if x >= deepest - 2)
    if len(rows) < 2:
        return None
    return x0 + deepest + 8, y0 + rows[0] * 16 + 8


def seek_by_drag(s, geo, name, data, what, frame_steps=True):
    """Plays a line, drags the position bar's knob to about the middle while it plays, and checks
    that the sound goes on from there, unbroken; on the DirectSound paths from a multiple of 256
    bytes (a frame boundary for every layout)."""
    m = cap.mark()
    s.click(*line_point(geo, LINE[name]))
    heard(m, data, 10)
    s.drag(panel_point(geo, *POS_KNOB), panel_point(geo, POS_KNOB[0] + 60, POS_KNOB[1]))
    # Listens until the checks below hold, or for as long as the rest of the sample lasts and
    # more: a slow restart after the seek gets its time, the checks their whole half second.
    def went_on():
        at, run = last_run(cap.since(m), data)
        return 0.4 < at / len(data) < 0.7 and run >= 0.6 * 176400
    try:
        wait_for(went_on, len(data) / 176400 + 2, f"{what}: the sound to go on from the middle")
    except TimeoutError:
        pass
    at, run = last_run(cap.since(m), data)
    where = f"{what}: went on from byte {at} of {len(data)} ({at / len(data):.2f}), unbroken for {run / 176400:.2f} s"
    c.true(0.4 < at / len(data) < 0.7, f"{where}; want about the middle")
    if frame_steps:
        # The new place comes up from silence over 176 frames (4 ms): its data is unchanged from
        # the ramp's last frame on.
        c.true(at % 256 in (0, 700 % 256), f"{where}; want a multiple of 256, or 700 bytes past one")
    c.true(run >= 0.5 * 176400, f"{where}; want half a second at least")
    return (len(data) - at - run) / 176400                 # seconds of it still to play


# --- Static buffers (streaming off) ---
s, geo = start(streaming=0)
exact(play_line(s, geo, "a", 1.6), A, "click on a line")

exact(press(s, "Down", 1.2), B, "Down arrow plays the next line")
for key in ("Return", "space"):
    exact(press(s, key, 1.0), B, f"{key} plays the selected line")

# Clicking the line again while it plays starts it again from the beginning.
m = cap.mark()
s.click(*line_point(geo, LINE["a"]))
# The second click comes after 0.6 s of the sample have been heard: past the double-click
# time, while the sample still plays. (The capture may jump ahead in silence after a stall of
# the sound server; the sample's own bytes come in real time.)
cap.wait(m, (heard(m, A) + 0.6 * 176400) / 176400)
s.click(*line_point(geo, LINE["a"]))
got = cap.wait(m, 2.0)
first = audiocheck.find(got, A)
second = audiocheck.find(got, A, first + 4) if first >= 0 else -1
c.true(first >= 0 and 0 < second - first < len(A),
       f"a second click restarts the sample before its end (starts at bytes {first} and {second} of {len(got)})")
if second > 0:
    # Listened to until the restarted sample has had its whole length (a slow click comes late).
    got = cap.wait(m, (second + len(A)) / 176400 + 0.5)
    c.eq(repeats(got[second:], A), 1, "the restarted sample plays whole")

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
s.click(*panel_point(geo, *LOOP))                      # loop
m = cap.mark()
s.click(*line_point(geo, LINE["f"]))
reps = looped(m, F, 4, 5)
c.true(reps >= 4, f"the looped sample repeats back to back ({reps} whole repeats)")
s.click(*panel_point(geo, *STOP))                      # stop
quiet("after the stop button")
s.click(*panel_point(geo, *LOOP))                      # loop off
quiet("the stopped sample played once more as the loop goes off")

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
c.eq(settle(dialogs, []), [], "the box closes with its button")

# A MIDI line plays through the media player and, looping, starts again at its end.
if os.path.exists(midi_log):
    os.remove(midi_log)
s.click(*panel_point(geo, *LOOP))                      # loop
s.click(*line_point(geo, LINE["d"]))


def midi_starts():
    return (open(midi_log).read() if os.path.exists(midi_log) else "").count("DATA 643c90")


starts = settle(lambda: min(midi_starts(), 2), 2, 10)
s.click(*panel_point(geo, *STOP))                      # stop
s.click(*panel_point(geo, *LOOP))                      # loop off
c.true(starts >= 2, f"the MIDI line plays and starts again while looping ({starts} starts of its first note)")

seek_by_drag(s, geo, "g", G, "the position bar dragged, static")
s.click(*panel_point(geo, *STOP))

# Pan and frequency dragged to their ends while a sine loops: all on the left, at 100000 Hz
# (441 Hz at 22050 becomes 2000 Hz); the defaults button brings both back.
m = cap.mark()
s.click(*line_point(geo, LINE["h"]))
wait_for(lambda: not audiocheck.analyze(cap.since(m))["silent"], 10, "the sine to be heard")
s.click(*panel_point(geo, *LOOP))
s.drag(panel_point(geo, *PAN_KNOB), panel_point(geo, PAN_KNOB[0] - 120, PAN_KNOB[1]))
s.drag(panel_point(geo, *FREQ_KNOB_22050), panel_point(geo, FREQ_KNOB_22050[0], FREQ_KNOB_22050[1] - 200))


def sounds_as(ok, seconds=5):
    """Listens to half a second at a time until ok(levels) holds or the time is up (the looping
    sine sounds on meanwhile); the last levels heard."""
    until = time.time() + seconds
    while True:
        lvl = audiocheck.analyze(listen(0.5))
        if ok(lvl) or time.time() > until:
            return lvl


left_2000 = lambda l: not l["silent"] and l["right_db"] < -60 and l["left_db"] > -12 and abs(l["freq"] - 2000) < 40
lvl = sounds_as(left_2000)
c.true(left_2000(lvl), f"pan dragged to the left end and frequency to the top: left only, at 2000 Hz ({lvl})")
s.click(*panel_point(geo, *DEFAULTS))
centred_441 = lambda l: not l["silent"] and abs(l["left_db"] - l["right_db"]) < 1 and abs(l["freq"] - 441) < 10
lvl = sounds_as(centred_441)
c.true(centred_441(lvl), f"the defaults button: centred again, at 441 Hz ({lvl})")
s.click(*panel_point(geo, *STOP))
s.click(*panel_point(geo, *LOOP))
quiet("the sine stopped and the loop off")

# A click on the folder beside the samples' one in the tree lists that folder instead.
at = tree_row_of_other(s, geo)
c.true(at, "the folder tree shows the samples' folder and the one beside it")
if at:
    s.click(*at)
    c.eq(settle(lambda: (probe()[0], s.title().endswith("\\OTHER\\")), (1, True)), (1, True),
         f"a click on a folder in the tree lists it (title {s.title()})")
s.key("Escape")
s.wait_exit()

# --- Streaming ---
LINE = {n: i for i, n in enumerate(sorted(k for k in LINE if k != "e"))}     # e is gone
s, geo = start(streaming=1)
exact(play_line(s, geo, "a", 1.6), A, "click on a line, streamed")
exact(press(s, "Down", 1.2), B, "Down arrow, streamed")
s.click(*panel_point(geo, *LOOP))                      # loop: the stream restarts looping
m = cap.mark()
s.click(*line_point(geo, LINE["f"]))
reps = looped(m, F, 4, 5)
c.true(reps >= 4, f"a looped stream repeats back to back ({reps} whole repeats)")

s.click(*panel_point(geo, *STOP))
quiet("after the stop button, streamed")
s.click(*panel_point(geo, *LOOP))                        # loop off

exact(play_line(s, geo, "g", 9.0), G, "a stream across the reader's 1 MB window onto the file")
seek_by_drag(s, geo, "g", G, "the position bar dragged, streamed")
s.click(*panel_point(geo, *STOP))

# Ctrl+L on a live stream: it starts again from the beginning, looping; again, and the pass
# that plays runs to the sample's end and the sound stops.
m = cap.mark()
s.click(*line_point(geo, LINE["b"]))
heard(m, B)
s.key("ctrl+l")
reps = looped(cap.mark(), B, 3, 6)
c.true(reps >= 3, f"Ctrl+L on a live stream loops it from its beginning ({reps} whole repeats)")
s.key("ctrl+l")
got = cap.wait(cap.mark(), 1.5)
end = audiocheck.signal_span(got)[1] * 4
c.true(end > 0 and got[end - 16: end] == B[-16:] and audiocheck.analyze(got[end:])["silent"],
       "Ctrl+L again: the stream plays on to the sample's end and stops there")
s.key("Escape")
s.wait_exit()

# --- A WAV through the media player ---
s, geo = start(streaming=0, media=1)
got = play_line(s, geo, "a", 1.8)
found, _, _ = audiocheck.bit_exact(got, A)
c.true(found, "a WAV line plays through the media player")
left = seek_by_drag(s, geo, "g", G, "the position bar dragged, media player", frame_steps=False)
s.click(*panel_point(geo, *STOP))
# Judged while the sample would still sound (its own end would be silence too).
quiet("the stop button on the media player, long before the sample's end", within=max(0.5, left - 0.8))
s.key("Escape")
s.wait_exit()
c.done()
