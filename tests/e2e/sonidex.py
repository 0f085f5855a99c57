"""Drives Sonidex.exe under Wine as a person would: starts it, finds its window, types and
clicks with real X input (xdotool), takes screenshots, reads the settings file it writes, the
messages the companion stand-in received and the sound the capture recorded.

The test session (tools/session.sh, started by tools/test.sh) provides DISPLAY, the Wine prefix
and the PulseAudio capture."""
import configparser, os, re, shutil, subprocess, sys, time

BUILD = os.environ.get("SONIDEX_BUILD") or os.path.join(os.path.dirname(__file__), "..", "..", "build", "win")
BUILD = os.path.abspath(BUILD)
SOURCE = os.environ.get("SONIDEX_SOURCE") or os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PREFIX = os.environ.get("WINEPREFIX") or os.path.join(BUILD, "wineprefix")
WINDOWS = os.path.join(PREFIX, "drive_c", "windows")
INI = os.path.join(WINDOWS, "Sonidex.ini")
sys.path.insert(0, os.path.join(SOURCE, "tools"))

ENV = dict(os.environ, WINEPREFIX=PREFIX, WINEARCH="win32", WINEDEBUG="-all",
           WINEDLLOVERRIDES="mscoree,mshtml=;midimap=n")


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
        self.proc = subprocess.Popen(["wine", os.path.join(BUILD, "BeatcrafterStandIn.exe"), winpath(self.log)],
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
        self.proc = subprocess.Popen(["wine", os.path.join(BUILD, "Sonidex.exe"), *args], env=ENV, cwd=cwd,
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
