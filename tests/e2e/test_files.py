"""The list as a file manager, as a person uses it: F8 and drops on the trash send samples to
the trash (and nothing else, whatever the names), the selection moves by its rule, a sample is
dragged out into another program or, when the drag ends without a drop, plays again, the
companion program gets its notices and the samples it is sent, and a change in the watched
folder shows in the list."""
import glob, os, shutil, time
from sonidex import *
import audiocheck, sounds

require_session()
c = Checks()
cap = audiocheck.Capture()
home = scratch("files-home")                      # Wine's trash goes to $HOME/.local/share/Trash
ENV["HOME"] = home
TRASH = os.path.join(home, ".local", "share", "Trash")
for d in ("files", "info"):
    os.makedirs(os.path.join(TRASH, d))
XDND = os.path.join(SOURCE, "build", "native", "xdnd_drop")
TRASH_BIN = (152 + 13, 385 + 13)                  # the trash target's middle, client coordinates
SETTINGS = ("[Sonidex settings]\nUseMedia={media}\nAllow Deletion={deletion}\nSort=1\nSubdir=0\nReread={reread}\n"
            "DblClick={dbl}\nWallpaper=0\n")
SAMPLE = sounds.tone(0, 0.4, 44100, 16, 2, amp=0.5, seed=31)


def library(name, files):
    d = scratch(name)
    for f in files:
        sounds.write(os.path.join(d, f), sounds.wav(SAMPLE, 44100, 16, 2))
    return d


def start(folder, media=1, deletion=1, reread=0, dbl=1):
    write_ini(SETTINGS.format(media=media, deletion=deletion, reread=reread, dbl=dbl))
    s = Sonidex(winpath(folder))
    geo = s.geometry()
    wait_for(lambda: probe()[0] is not None and probe()[0] > 0, 15, "the list")
    return s, geo


def client(geo, x, y):
    return geo[0] + FRAME + x, geo[1] + FRAME + y


def confirm(button="&Yes"):
    """Answers the shell's confirmation box; False when none came. A box pressed before it is
    ready ignores the press, so the press is repeated until the box goes."""
    try:
        wait_for(lambda: any("Confirm" in t for t, _ in dialogs()), 8, "the confirmation box")
        wait_for(lambda: not dialogs(press=button) or (time.sleep(0.3) or not dialogs()), 8,
                 "the confirmation box to go")
    except TimeoutError:
        return False
    return True


def no_box(seconds=1.0):
    time.sleep(seconds)
    return not dialogs()


def trashed(name):
    info = os.path.join(TRASH, "info", name + ".trashinfo")
    return os.path.exists(os.path.join(TRASH, "files", name)) and os.path.exists(info)


def select(s, geo, line):
    s.click(*line_point(geo, line))
    wait_for(lambda: probe()[1] == line, 5, f"line {line} selected")


# --- F8 ------------------------------------------------------------------------------------------
names = [f"{i:02d}.wav" for i in range(10)]
lib = library("files-f8", names)
s, geo = start(lib)
select(s, geo, 3)                                 # plays through the media player, which keeps it open
s.key("F8")
c.true(confirm(), "F8 asks the shell's confirmation")
c.becomes(lambda: probe()[0], 9, "F8 on line 3 of 10 removes its line")
c.eq(probe()[1], 3, "the new line 3 is selected")
c.true(not os.path.exists(os.path.join(lib, "03.wav")) and trashed("03.wav"), "03.wav went to the trash")
info = open(os.path.join(TRASH, "info", "03.wav.trashinfo")).read()
c.true("03.wav" in info and "Path=" in info, "its .trashinfo holds its path")
select(s, geo, 7)                                 # the last but one of nine
s.key("F8"); confirm()
c.becomes(lambda: probe()[0], 8, "the second to last line goes")
c.eq(probe()[1], 6, "the line before it is selected")
select(s, geo, 7)                                 # the last
s.key("F8"); confirm()
c.becomes(lambda: probe()[0], 7, "the last line goes")
c.eq(probe()[1], 6, "the line before the last is selected")
select(s, geo, 0)
s.key("F8")
c.true(confirm("&No"), "a box for line 0")
time.sleep(0.5)
c.eq(probe(), (7, 0), "answering No keeps the line")
c.true(os.path.exists(os.path.join(lib, "00.wav")), "answering No keeps the file")
s.key("alt+F4"); s.wait_exit()

s, geo = start(lib)                               # nothing selected at start
s.key("F8")
c.true(no_box(), "F8 with nothing selected asks nothing")
s.key("alt+F4"); s.wait_exit()
s, geo = start(lib, deletion=0)
select(s, geo, 0)
s.key("F8")
c.true(no_box(), "F8 with deletion off asks nothing")
c.eq(probe()[0], 7, "and deletes nothing")
s.key("alt+F4"); s.wait_exit()

# A name shown with "?" is not handed to the shell as a wildcard.
lib = library("files-wild", ["q?x.wav", "qax.wav", "qbx.wav"])
s, geo = start(lib)
select(s, geo, 0)                                 # "q?x" sorts first
s.key("F8")
box = wait_for(dialogs, 5, "a message box")
c.true(any("cannot be passed to the shell" in t for _, texts in box for t in texts), f"F8 on q?x says why ({box})")
dialogs(close=True)
c.eq(sorted(os.listdir(lib)), ["q?x.wav", "qax.wav", "qbx.wav"], "F8 on q?x.wav deletes nothing")
c.eq(probe(), (3, 0), "and its line stays")
s.key("alt+F4"); s.wait_exit()

# --- The filter box ------------------------------------------------------------------------------
# Ctrl+F over the list, a word and an exclusion; F8 on a filtered line deletes that file alone;
# Esc in the box gives the whole list back (in the list it still closes the program).
lib = library("files-filter", ["Kick 808.wav", "Kick acoustic.wav", "kick room.wav", "Snare 808.wav", "Hat.wav"])
s, geo = start(lib)
list_top = lambda: int(list_probe().split()[8])
top = list_top()
s.key("ctrl+f")
xdo("type", "kick -808")
c.becomes(list_lines, ["Kick acoustic", "kick room"], "Ctrl+F and 'kick -808' show the kicks without an 808")
box = list_top() - top
c.true(box > 0, f"the list gives the box its height ({box} pixels)")
x, y = line_point(geo, 1)
s.click(x, y + box)
wait_for(lambda: probe()[1] == 1, 5, "the filtered line 1 selected")
s.key("F8"); confirm()
c.becomes(list_lines, ["Kick acoustic"], "F8 removes the filtered line")
c.eq(sorted(os.listdir(lib)), ["Hat.wav", "Kick 808.wav", "Kick acoustic.wav", "Snare 808.wav"], "and deletes its file alone")
s.key("ctrl+f"); s.key("Escape")
c.becomes(list_lines, ["Hat", "Kick 808", "Kick acoustic", "Snare 808"], "Esc in the box gives the whole list back")
c.eq((s.running(), list_top()), (True, top), "the program runs on, the list at its place")
s.key("Escape"); s.wait_exit()
c.true(not any("kick" in v.lower() for v in read_ini().values()), "the query is not stored")

# --- Drops on the trash --------------------------------------------------------------------------
lib = library("files-drop", ["a b.wav", "\u00fc.wav", "keep.wav"])
other = library("files-other", ["elsewhere.wav"])
s, geo = start(lib)
c.eq(probe()[0], 3, "three lines before the drop")
drop = subprocess.run([XDND, *map(str, client(geo, *TRASH_BIN)), os.path.join(lib, "a b.wav"),
                       os.path.join(lib, "\u00fc.wav"), os.path.join(other, "elsewhere.wav")],
                      capture_output=True, text=True, env=ENV)
c.eq(drop.stdout.strip(), "accepted", "the trash takes the drop")
for _ in range(3):
    confirm()
c.becomes(lambda: probe()[0], 1, "a drop of two listed files and one from elsewhere removes exactly two lines")
c.true(not os.path.exists(os.path.join(other, "elsewhere.wav")), "the file from elsewhere is deleted too")
c.eq(os.listdir(lib), ["keep.wav"], "the dropped files are gone, the other stays")

# A long path whose first 259 characters name another file: neither is deleted.
longdir = scratch("files-long")
base = "Z:" + longdir.replace("/", "\\") + "\\"
short = "s" * (259 - len(base))
for n in (short, short + "x" * 31):
    open(os.path.join(longdir, n), "wb").write(b"x")
subprocess.run([XDND, *map(str, client(geo, *TRASH_BIN)), os.path.join(longdir, short + "x" * 31)],
               capture_output=True, text=True, env=ENV)
box = wait_for(dialogs, 5, "a message box")
c.true(any("cannot be passed to the shell" in t for _, texts in box for t in texts), "a 290-character path is refused with a word")
dialogs(close=True)
c.eq(len(os.listdir(longdir)), 2, "a 290-character path whose first 259 characters name another file deletes neither")
s.key("alt+F4"); s.wait_exit()

s, geo = start(lib, deletion=0)
drop = subprocess.run([XDND, *map(str, client(geo, *TRASH_BIN)), os.path.join(lib, "keep.wav")],
                      capture_output=True, text=True, env=ENV)
c.true(drop.stdout.strip() != "accepted", f"with deletion off the drop is refused ({drop.stdout.strip()})")
c.true(os.path.exists(os.path.join(lib, "keep.wav")), "and the file stays")
s.key("alt+F4"); s.wait_exit()

# --- Dragging out --------------------------------------------------------------------------------
def drag(s, geo, line, to, escape=False, before_release=lambda: None):
    x, y = line_point(geo, line)
    xdo("mousemove", x, y); time.sleep(0.2)
    xdo("mousedown", 1); time.sleep(0.3)
    for i in range(1, 11):
        xdo("mousemove", x + (to[0] - x) * i // 10, y + (to[1] - y) * i // 10); time.sleep(0.05)
        if escape and i == 5:
            xdo("key", "Escape")
    time.sleep(0.3)
    before_release()
    xdo("mouseup", 1)


def last_start_whole(got):
    at = got.rfind(SAMPLE[:16])
    while at > 0 and at % 4:
        at = got.rfind(SAMPLE[:16], 0, at + 15)
    return at >= 0 and audiocheck.repeats(got[at:], SAMPLE) >= 1      # a server dropout passed over


def target(effect):
    log = os.path.join(BUILD, "e2e-scratch", "droptarget.log")
    if os.path.exists(log):
        os.remove(log)
    p = launch(wine("DropTargetStandIn.exe", winpath(log), effect))
    wait_for(lambda: xdo("search", "--name", "Drop target stand-in", check=False), 15, "the drop target")
    return p, log


lib = library("files-drag", ["a.wav", "b.wav"])
path = winpath(lib).upper() + "\\b.wav"            # as listed: the folder upper-cased
s, geo = start(lib, media=0)
select(s, geo, 0)
s.click(*panel_point(geo, *STOP))
p, log = target("copy")
m = cap.mark()
played = []                                       # heard before the button is released?
drag(s, geo, 1, (1000, 200), before_release=lambda: played.append(settle(
    lambda: audiocheck.bit_exact(cap.since(m), SAMPLE)[0], True, 5)))
c.true(played[0], "the line under the press, not selected before, plays at the press")
wait_for(lambda: os.path.exists(log) and open(log).read().strip(), 10, "the drop")
m = cap.mark()


def drop_block(path):
    """The file-drop block of one path: the header (wide paths), the path in UTF-16, two zeros."""
    return (bytes([20]) + bytes(15) + bytes([1, 0, 0, 0]) + path.encode("utf-16-le") + bytes(4)).hex()


c.eq(open(log).read().split(), ["drop", "1", drop_block(path)], "the target gets the pressed line's block and the copy effect")
time.sleep(0.6)
c.true(audiocheck.analyze(cap.since(m))["silent"], "after a drop elsewhere nothing more plays")
end(p)
for how, effect, to, esc in (("Escape", "copy", (1000, 200), True), ("a release over nothing", "copy", (700, 900), False),
                             ("a move-only target", "move", (1000, 200), False)):
    p, log = target(effect)
    s.click(*panel_point(geo, *STOP))
    time.sleep(0.3)
    m = cap.mark()
    drag(s, geo, 1, to, escape=esc)                # the selected line
    # The press played the line, and the cancel plays it again: the last start heard must run
    # whole (the first one may be cut by the second, sooner or later as the machine is busy).
    c.becomes(lambda: last_start_whole(cap.since(m)), True,
              f"{how} cancels the drag and the sample plays again from its start")
    end(p)
s.key("alt+F4"); s.wait_exit()

# --- The companion -------------------------------------------------------------------------------
comp = Companion()
path = winpath(lib).upper() + "\\a.wav"            # line 0
s, geo = start(lib)
select(s, geo, 0)
x, y = line_point(geo, 0)
xdo("mousemove", x, y); xdo("click", "--repeat", 2, "--delay", 40, 1)
time.sleep(0.5)
s.focus(); xdo("key", "Insert")
time.sleep(0.5)
s.key("alt+F4"); s.wait_exit()
want = ["COPYDATA", "1", str(len(path) + 1), (path.encode("latin-1") + b"\0").hex()]
msgs = [m for m in comp.messages() if m[0] in ("1360", "COPYDATA")]
c.eq(msgs, [["1360", "0", "0"], want, want, ["1360", "1", "0"]],
     "the companion gets the start notice, the double click's and Insert's sample, the close notice")
seen = len(comp.messages())
s, geo = start(lib, dbl=0)
select(s, geo, 0)
xdo("mousemove", x, y); xdo("click", "--repeat", 2, "--delay", 40, 1)
time.sleep(0.5)
s.key("alt+F4"); s.wait_exit()
c.eq([m[0] for m in comp.messages()[seen:] if m[0] in ("1360", "COPYDATA")], ["1360", "1360"],
     "with double-click sending off a double click sends nothing")
comp.stop()
t0 = time.time()
s, geo = start(lib)
s.key("alt+F4"); s.wait_exit()
c.true(time.time() - t0 < 15, "with no companion nothing hangs")

# --- The folder watch ----------------------------------------------------------------------------
lib = library("files-watch", ["a.wav", "b.wav", "e.wav", "f.wav"])
s, geo = start(lib, reread=1)
select(s, geo, 1)
open(os.path.join(lib, "c.wav"), "wb").write(open(os.path.join(lib, "a.wav"), "rb").read())
c.becomes(list_lines, ["a", "b", "c", "e", "f"], "a file made from the Linux side shows within a second", 1.5)
os.rename(os.path.join(lib, "c.wav"), os.path.join(lib, "d.wav"))
c.becomes(list_lines, ["a", "b", "d", "e", "f"], "a file renamed from the Linux side shows within a second", 1.5)
select(s, geo, 1)
with open(os.path.join(lib, "a.wav"), "ab") as f:
    f.write(b"\0" * 64)
time.sleep(1.0)
c.eq(probe(), (5, 1), "appending to a file keeps the list and its selection")
# Our own deletion is no change to read again: the selection stays where the rule put it.
select(s, geo, 1)
s.key("F8"); confirm()
c.becomes(list_lines, ["a", "d", "e", "f"], "F8 with the watch on removes the line")
time.sleep(1.0)
c.eq(probe(), (4, 1), "and the line that took its place stays selected")
s.key("alt+F4"); s.wait_exit()

# --- Names in any script -------------------------------------------------------------------------
# Listed, read by another program, played, deleted, dragged out and kept as the folder, exactly.
names = ["キック", "鼓声", "드럼", "Привет", "Ήχος", "🥁 hit", "café"]
lib = library("files-サンプル", [n + ".wav" for n in names])
listed = winpath(lib).upper() + "\\"             # the folder as listed: upper-cased
s, geo = start(lib, media=0)
c.eq(sorted(list_lines()), sorted(names), "another program reads every line exactly")
for n in names:
    for attempt in range(3):                      # a busy host can drop a moment of the capture
        m = cap.mark()
        s.click(*line_point(geo, list_lines().index(n)))
        if settle(lambda: SAMPLE in cap.since(m), True):
            break
    c.true(SAMPLE in cap.since(m), f"{n} plays bit-exact")
s.click(*panel_point(geo, *STOP))
p, log = target("copy")
drag(s, geo, list_lines().index(names[5]), (1000, 200))
wait_for(lambda: os.path.exists(log) and open(log).read().strip(), 10, "the drop")
c.eq(open(log).read().split(), ["drop", "1", drop_block(listed + names[5] + ".wav")],
     "a drag out delivers the exact name")
end(p)
select(s, geo, list_lines().index(names[3]))
s.key("F8"); confirm()
c.becomes(lambda: probe()[0], len(names) - 1, "F8 removes the line of a Cyrillic name")
c.true(trashed(names[3] + ".wav"), "and sends the file to the trash under its own name")
s.key("alt+F4"); s.wait_exit()
c.eq(read_ini().get("Path"), listed, "the settings file keeps the folder")
write_ini(open(INI, encoding="utf-8").read().replace("UseMedia=0", "UseMedia=1"))
s = Sonidex()
c.becomes(lambda: sorted(list_lines()), sorted(names[:3] + names[4:]), "and a restart lists it again")
m = cap.mark()
s.click(*line_point(s.geometry(), list_lines().index(names[5])))
c.becomes(lambda: audiocheck.bit_exact(cap.since(m), SAMPLE)[0], True, "the media player opens such a name")
s.key("alt+F4"); s.wait_exit()
remove_ini()
c.done()
