"""Drives Sonidex.exe under Wine as a person would: starts it, finds its window, types and
clicks with real X input (xdotool), takes screenshots, reads the settings file it writes, the
messages the companion stand-in received and the sound the capture recorded.

The test session (tools/session.sh, started by tools/test.sh) provides DISPLAY, the Wine prefix
and the PulseAudio capture."""
import configparser, os, re, shutil, subprocess, sys, time

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


def require_session():
    if not os.environ.get("DISPLAY"):
        print("SKIP: no display; run through tools/test.sh")
        sys.exit(77)


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
    with open(INI, encoding="latin-1") as f:
        p.read_string(f.read())
    return dict(p["Sonidex settings"]) if p.has_section("Sonidex settings") else {}


class Companion:
    """The stand-in of the companion program: logs every message its window receives."""

    def __init__(self):
        self.log = os.path.join(BUILD, "e2e-scratch", "companion.log")
        os.makedirs(os.path.dirname(self.log), exist_ok=True)
        if os.path.exists(self.log):
            os.remove(self.log)
        self.proc = subprocess.Popen(wine("BeatcrafterStandIn.exe", winpath(self.log)),
                                     env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: xdo("search", "--name", "Beatcrafter stand-in", check=False), 15, "companion window")

    def messages(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [line.split() for line in f if line.strip()]

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()


def wait_for(cond, seconds, what):
    end = time.time() + seconds
    while time.time() < end:
        v = cond()
        if v:
            return v
        time.sleep(0.05)
    raise TimeoutError(f"timed out waiting for {what}")


class Sonidex:
    """One run of Sonidex.exe."""

    def __init__(self, *args, cwd=None):
        self.started = time.time()
        self.proc = subprocess.Popen(wine("Sonidex.exe", *args), env=ENV, cwd=cwd,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = wait_for(lambda: self._find(), 30, "the Sonidex window")

    def _find(self):
        out = xdo("search", "--onlyvisible", "--name", "^Sonidex ", check=False)
        return out.split()[0] if out else None

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

    def key(self, *keys):
        self.focus()
        xdo("key", *keys)

    def click(self, x, y, button=1):
        xdo("mousemove", x, y)
        time.sleep(0.05)
        xdo("click", button)

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], check=True, env=ENV)

    def wait_exit(self, seconds=15):
        try:
            return self.proc.wait(seconds)
        except subprocess.TimeoutExpired:
            shot = os.path.join(BUILD, "e2e-scratch", "timeout.png")
            self.screenshot(shot)
            print(f"the program did not end; screenshot in {shot}")
            self.kill()
            raise

    def running(self):
        return self.proc.poll() is None

    def kill(self):
        self.proc.kill()
        self.proc.wait(10)


# Client offsets of what the tests click on the main window (the thin frame is 3 pixels).
FRAME = 3
CONTROL_BOX = (329, 98)          # the player panel with both sides shown
STOP_BUTTON = (71, 289)


def dialogs(close=False, press=None):
    """The message boxes on the screen: [(title, [texts of their controls])]; close=True also
    presses the first button of each, press="&No" the button of that caption."""
    args = ["close"] if close else ["press", press] if press else []
    out = subprocess.run(wine("wintext.exe", *args), capture_output=True, text=True, env=ENV).stdout
    boxes = []
    for line in out.splitlines():
        if line.startswith("  "):
            if boxes:
                boxes[-1][1].append(line[2:])
        elif line.strip():
            boxes.append((line, []))
    return boxes


def probe():
    """(lines, selected line) of the main window's list, read from outside."""
    out = subprocess.run(wine("ListProbe.exe"), capture_output=True, text=True, env=ENV).stdout.split()
    return (int(out[1]), int(out[3])) if len(out) >= 4 and out[0] == "count" else (None, None)


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

    def done(self):
        print(f"{self.passed} checks passed, {self.failed} failed")
        sys.exit(1 if self.failed else 0)
