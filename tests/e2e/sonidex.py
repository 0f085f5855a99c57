"""Drives Sonidex.exe under Wine as a person would: starts it, finds its window, types and
clicks with real X input (xdotool), takes screenshots, reads the settings file it writes, the
messages the companion stand-in received and the sound the capture recorded.

The test session (tools/session.sh, started by tools/test.sh) provides DISPLAY, the Wine prefix
and the PulseAudio capture."""
import atexit, configparser, ctypes, os, re, shutil, signal, subprocess, sys, tempfile, time

SOURCE = os.environ.get("SONIDEX_SOURCE") or os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def _default_build():
    """The cross build that has a Wine prefix: the one tools/build.sh made whole on this machine."""
    for name in ("win", "win64"):
        d = os.path.join(SOURCE, "build", name)
        if os.path.exists(os.path.join(d, "wineprefix", ".ready")):
            return d
    return os.path.join(SOURCE, "build", "win")


BUILD = os.path.abspath(os.environ.get("SONIDEX_BUILD") or _default_build())
with open(os.path.join(BUILD, "sonidex-arch")) as _f:
    ARCH = int(_f.read())           # 32 or 64: the width of this build's programs
PREFIX = os.path.join(BUILD, "wineprefix")
# The scripts' screenshots and logs, whichever script runs first.
os.makedirs(os.path.join(BUILD, "e2e-scratch"), exist_ok=True)
WINDOWS = os.path.join(PREFIX, "drive_c", "windows")
INI = os.path.join(WINDOWS, "Sonidex.ini")
sys.path.insert(0, os.path.join(SOURCE, "tools"))

# Each build runs in its own prefix with its own loader, named outright (tools/wine-env.sh).
LOADER = "/usr/lib/wine/wine64" if ARCH == 64 else "/usr/lib/wine/wine"
ENV = dict(os.environ, WINEPREFIX=PREFIX, WINEARCH=f"win{ARCH}", WINELOADER=LOADER, WINEDEBUG="-all",
           WINEDLLOVERRIDES="mscoree,mshtml=;midimap=n")
ENV.pop("WINESERVER", None)
for _server in ("/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver32"):
    if os.path.exists(_server):
        ENV["WINESERVER"] = _server
        break


def wine(program, *args):
    """The command line that runs one of this build's programs under Wine."""
    return [LOADER, os.path.join(BUILD, program), *map(str, args)]


# Every program a script starts is recorded and ended when the script ends, however it ends: a
# normal end or an exception (atexit), a SIGTERM (turned into an exit), or the script killed
# outright by ctest's timeout (the kernel sends the program SIGKILL when its parent dies). A
# leftover window would otherwise be found, and driven, by the next script on the display.
_started = []
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_script():
    _libc.prctl(1, signal.SIGKILL)          # PR_SET_PDEATHSIG


def launch(cmd, **kw):
    """Starts a program that lives no longer than this script."""
    kw.setdefault("stdout", subprocess.DEVNULL)
    kw.setdefault("stderr", subprocess.DEVNULL)
    p = subprocess.Popen(cmd, env=ENV, stdin=subprocess.DEVNULL, preexec_fn=_die_with_script, **kw)
    _started.append(p)
    return p


def end(p, seconds=5):
    """Asks a started program to end, then ends it."""
    if p.poll() is None:
        p.terminate()
        try:
            p.wait(seconds)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait(10)


@atexit.register
def _end_started():
    for p in _started:
        if p.poll() is None:
            p.kill()
            p.wait(10)


signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))


def run(cmd, seconds=60, **kw):
    """Runs one of the short helper programs to its end; it may not hang the script."""
    return subprocess.run(cmd, env=ENV, stdin=subprocess.DEVNULL, capture_output=True, timeout=seconds,
                          preexec_fn=_die_with_script, **kw)


def require_session():
    if not os.environ.get("DISPLAY"):
        print("SKIP: no display; run through tools/test.sh")
        sys.exit(77)


def sound_required():
    """Whether the run demands sound (tools/test.sh sets SONIDEX_NEED_SOUND): a test that listens
    then fails without a capture instead of skipping."""
    return os.environ.get("SONIDEX_NEED_SOUND", "0") not in ("", "0")


def require_capture():
    """The session's sound capture. Without one a run that demands sound fails, one by hand skips."""
    import audiocheck
    cap = audiocheck.Capture()
    if not cap.available():
        print("FAIL: no sound capture in this session" if sound_required() else "SKIP: no sound capture in this session")
        sys.exit(1 if sound_required() else 77)
    return cap


def winpath(path):
    """The Wine (Z:) name of a Linux path."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def scratch(name):
    """An empty folder of the test's own under the build folder."""
    d = os.path.join(BUILD, "e2e-scratch", name)
    shutil.rmtree(d, ignore_errors=True)
    os.makedirs(d)
    return d


def xdo(*args, check=True):
    r = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, env=ENV)
    if check and r.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(map(str, args))}: {r.stderr.strip()}")
    return r.stdout.strip()


def move(x, y):
    """Moves the pointer and waits until the display has it there. (xdotool's own --sync waits
    for a motion, which never comes when the pointer is already in place.)"""
    xdo("mousemove", x, y)
    settle(lambda: re.match(r"x:(-?\d+) y:(-?\d+)", xdo("getmouselocation")).groups(), (str(x), str(y)), 2)


def write_ini(text):
    with open(INI, "w", newline="\r\n") as f:
        f.write(text)


def remove_ini():
    if os.path.exists(INI):
        os.remove(INI)


def read_ini():
    """The settings file as {key: value} of its one section (keys as written)."""
    if not os.path.exists(INI):
        return None
    p = configparser.RawConfigParser(strict=False)
    p.optionxform = str
    with open(INI, encoding="utf-8") as f:            # the program's code page
        p.read_string(f.read())
    return dict(p["Sonidex settings"]) if p.has_section("Sonidex settings") else {}


class Companion:
    """The stand-in of the companion program: logs every message its window receives."""

    def __init__(self):
        self.log = os.path.join(BUILD, "e2e-scratch", "companion.log")
        os.makedirs(os.path.dirname(self.log), exist_ok=True)
        if os.path.exists(self.log):
            os.remove(self.log)
        self.proc = launch(wine("BeatcrafterStandIn.exe", winpath(self.log)))
        wait_for(lambda: xdo("search", "--name", "Beatcrafter stand-in", check=False), 15, "companion window")

    def messages(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [line.split() for line in f if line.strip()]

    def stop(self):
        end(self.proc)


def wait_for(cond, seconds, what, shot=True):
    until = time.time() + seconds
    while time.time() < until:
        v = cond()
        if v:
            return v
        time.sleep(0.05)
    if not shot:
        raise TimeoutError(f"timed out waiting for {what}")
    # What the screen showed, for the reader of a failed run.
    path = os.path.join(BUILD, "e2e-scratch", "timeout.png")
    subprocess.run(["import", "-window", "root", path], env=ENV, capture_output=True)
    raise TimeoutError(f"timed out waiting for {what} (the screen: {path})")


def sonidex_windows():
    """The main windows of Sonidex on the display, of any run."""
    out = xdo("search", "--onlyvisible", "--name", "^Sonidex ", check=False)
    return out.split()


def settle(read, want, seconds=5):
    """Reads until read() gives want or the time is up; returns the last value read, for the
    caller to check (a failure then shows what was seen)."""
    end = time.time() + seconds
    while True:
        v = read()
        if v == want or time.time() > end:
            return v
        time.sleep(0.05)


def list_probe():
    """What ListProbe.exe reads of the main window from outside: its list's count, selection,
    top line, place and state, the window's title and the lines' texts."""
    # The texts come in UTF-8.
    return run(wine("ListProbe.exe")).stdout.decode("utf-8", "replace")


def probe():
    """(lines, selected line) of the main window's list, read from outside; (None, None) when
    there is no window to read."""
    out = list_probe().split()
    return (int(out[1]), int(out[3])) if len(out) >= 4 and out[0] == "count" else (None, None)


def list_lines():
    """The list's lines as another program reads them (LB_GETTEXTLEN, LB_GETTEXT)."""
    return [l.split(" ", 2)[2] if l.count(" ") >= 2 else "" for l in list_probe().splitlines() if l.startswith("line ")]


class Sonidex:
    """One run of Sonidex.exe."""

    def __init__(self, *args, cwd=None, program="Sonidex.exe"):
        """program: this build's Sonidex.exe, or the path of another copy (an installed one)."""
        # A window left by an earlier run would be found and driven instead of ours: refuse.
        try:
            wait_for(lambda: not sonidex_windows(), 10, "no Sonidex window on the display", shot=False)
        except TimeoutError:
            raise RuntimeError(f"a Sonidex window of an earlier run is still on the display "
                               f"({sonidex_windows()}): not starting another") from None
        self.started = time.time()
        # What Wine's loader and the program print is kept: a start that ends at once says why.
        self.errors = tempfile.TemporaryFile()
        self.proc = launch(wine(program, *args), cwd=cwd, stderr=self.errors)

        def shown():
            if self.proc.poll() is not None:
                self.errors.seek(0)
                said = self.errors.read().decode("utf-8", "replace").strip().splitlines()[-10:]
                raise RuntimeError(f"{program} ended with code {self.proc.returncode} before its window showed; "
                                   f"it printed: {said}")
            return self._find()
        try:
            self.window = wait_for(shown, 30, "the Sonidex window")
        except TimeoutError:
            names = [xdo("getwindowname", w, check=False) for w in xdo("search", "--name", "", check=False).split()]
            print(f"no Sonidex window after 30 s; the program runs; the display's named windows: "
                  f"{[n for n in names if n]}")
            raise

    def _find(self):
        out = sonidex_windows()
        return out[0] if out else None

    def title(self):
        return xdo("getwindowname", self.window)

    def geometry(self):
        out = xdo("getwindowgeometry", self.window)
        x, y = map(int, re.search(r"Position: (-?\d+),(-?\d+)", out).groups())
        w, h = map(int, re.search(r"Geometry: (\d+)x(\d+)", out).groups())
        return x, y, w, h

    def focus(self):
        # No window manager: give the window the X input focus ourselves (Wine then makes it
        # the active window), as a click on it would.
        xdo("windowfocus", "--sync", self.window, check=False)
        time.sleep(0.1)

    def activate(self):
        """A click on the info panel (which does nothing with it): Wine without a window manager
        does not always make a new window, or one left for another program's, the active one,
        and an inactive one neither takes keys through the toolkit nor shows its cursors."""
        x, y, _, _ = self.geometry()
        self.click(x + FRAME + CONTROL_BOX[0] + 80, y + FRAME + 26 + 50)

    def key(self, *keys):
        self.focus()
        xdo("key", *keys)

    def click(self, x, y, button=1):
        move(x, y)
        # A moment on the spot before the press, as a hand gives it: pressed at once after the
        # motion, the press and the release reached the list apart under load, and a click
        # played its line twice (once on the press, once when the drag it might start ended).
        time.sleep(0.05)
        xdo("click", button)

    def drag(self, start, end, steps=8):
        """Presses the left button at start, moves to end in steps, and lets go there."""
        move(*start)
        xdo("mousedown", 1)
        for i in range(1, steps + 1):
            move(start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)
        xdo("mouseup", 1)

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], check=True, env=ENV)

    def wait_exit(self, seconds=15):
        try:
            return self.proc.wait(seconds)
        except subprocess.TimeoutExpired:
            shot = os.path.join(BUILD, "e2e-scratch", "timeout.png")
            self.screenshot(shot)
            print(f"the program did not end; the screen: {shot}")
            self.kill()
            raise

    def running(self):
        return self.proc.poll() is None

    def kill(self):
        self.proc.kill()
        self.proc.wait(10)
        wait_for(lambda: self._find() != self.window, 10, "the killed program's window to go")


# Client offsets of what the tests click on the main window (the thin frame is 3 pixels).
FRAME = 3
CONTROL_BOX = (329, 98)          # the player panel with both sides shown
# A client point of the title strip that no text reaches, whatever the title: the text is
# centred in the strip and starts on its row 2, so row 1 shows the title colour alone.
TITLE_COLOUR = (400, 1)
# Points of the player panel's controls, in the panel's own coordinates.
LOOP = (14, 266)
STOP = (89, 279)
DEFAULTS = (29, 292)
SETTINGS_BUTTON = (153, 267)
ABOUT_BUTTON = (153, 292)


def dialogs(close=False, press=None):
    """The message boxes on the screen: [(title, [texts of their controls])]; close=True also
    presses the first button of each, press="&No" the button of that caption."""
    args = ["close"] if close else ["press", press] if press else []
    out = run(wine("wintext.exe", *args), text=True).stdout
    boxes = []
    for line in out.splitlines():
        if line.startswith("  "):
            if boxes:
                boxes[-1][1].append(line[2:])
        elif line.strip():
            boxes.append((line, []))
    return boxes


def line_point(geometry, index):
    """Screen point in the middle of list line index (no scrolling, list at its designed place)."""
    x, y, _, _ = geometry
    return x + FRAME + 192 + 40, y + FRAME + 26 + 2 + 13 * index + 6


def panel_point(geometry, px, py):
    """Screen point of a point given in the player panel's own coordinates."""
    x, y, _, _ = geometry
    return x + FRAME + CONTROL_BOX[0] + px, y + FRAME + CONTROL_BOX[1] + py


class Checks:
    """Collects failures so one run of the program can check many things; exits 1 on any."""

    def __init__(self):
        self.failed = 0
        self.passed = 0

    def eq(self, got, want, what):
        if got == want:
            self.passed += 1
        else:
            self.failed += 1
            print(f"FAIL {what}: got {got!r}, want {want!r}")

    def true(self, cond, what):
        self.eq(bool(cond), True, what)

    def becomes(self, read, want, what, seconds=5):
        """Checks that read() gives want within the time."""
        self.eq(settle(read, want, seconds), want, what)

    def done(self):
        print(f"{self.passed} checks passed, {self.failed} failed")
        sys.exit(1 if self.failed else 0)


def cursor(lowest=False):
    """The X pointer's current shape: (width, height, hot x, hot y), read through XFixes (the
    cursor is not in screenshots); with lowest, also the lowest row holding a pixel at least half
    opaque. The prefix has Wine show the program's own cursors, so this is the program's shape."""
    import ctypes, ctypes.util

    class Image(ctypes.Structure):
        _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                    ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                    ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.c_void_p),
                    ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xf = ctypes.CDLL("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xf.XFixesGetCursorImage.restype = ctypes.POINTER(Image)
    xf.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    d = x11.XOpenDisplay(None)
    if not d:
        raise RuntimeError("cannot open the display")
    try:
        img = xf.XFixesGetCursorImage(d)
        if not img:
            raise RuntimeError("XFixesGetCursorImage failed")
        c = img.contents
        out = (c.width, c.height, c.xhot, c.yhot)
        if lowest:
            px = ctypes.cast(c.pixels, ctypes.POINTER(ctypes.c_ulong))
            rows = [y for y in range(c.height) if any((px[y * c.width + x] >> 24) & 0xFF >= 128 for x in range(c.width))]
            out += (max(rows) if rows else None,)
        x11.XFree(img)
        return out
    finally:
        x11.XCloseDisplay(d)


def pixel(path, x, y):
    """(r, g, b) of a screenshot's pixel."""
    out = subprocess.run(["convert", path, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                         capture_output=True, text=True).stdout
    m = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
    return tuple(map(int, m.groups()))
