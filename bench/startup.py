#!/usr/bin/env python3
"""Start-up benchmark: from launch until the main window is mapped on the X display, for
Sonidex.exe (on the demo library) and for a minimal Win32 program that only shows a window,
alternated in one run under the same Wine. The map is seen as the X server reports it (a map
event on the root window), and at that moment the program's processor time (all its threads) is
read: on a machine shared with other work the processor time is the steadier figure. Prints the
medians and their ratios (goal: <= 1.25).
Run inside a test session: bash -c 'source tools/session.sh; trap session_end EXIT; python3 bench/startup.py'"""
import ctypes, ctypes.util, os, re, select, statistics, subprocess, sys, time
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from sonidex import ARCH, BUILD, ENV, wine, winpath, remove_ini

RUNS = int(os.environ.get("RUNS", "15"))
MAP_NOTIFY, SUBSTRUCTURE_NOTIFY_MASK = 19, 1 << 19


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("map", MapEvent), ("pad", ctypes.c_long * 24)]


x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no X display: run inside a test session")
x11.XSelectInput(display, x11.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
x11.XFlush(display)


def window_name(window):
    name = ctypes.c_char_p()
    if not x11.XFetchName(display, window, ctypes.byref(name)) or not name.value:
        return ""
    text = name.value.decode("utf-8", "replace")
    x11.XFree(name)
    return text


def cpu_ms(pid):
    """The processor time of every thread of the process so far."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (OSError, ValueError):
            pass
    return total / 1e6


def launch(cmd, name):
    """Starts cmd; the seconds until a window whose name matches is mapped, and the program's
    processor time in milliseconds then."""
    x11.XSync(display, 1)                      # nothing left over from an earlier program
    pattern = re.compile(name)
    t0 = time.perf_counter()
    p = subprocess.Popen(cmd, env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    event = XEvent()
    try:
        while True:
            while x11.XPending(display):
                x11.XNextEvent(display, ctypes.byref(event))
                if event.map.type == MAP_NOTIFY and pattern.search(window_name(event.map.window)):
                    return time.perf_counter() - t0, cpu_ms(p.pid)
            if time.perf_counter() - t0 > 30:
                raise TimeoutError(name)
            select.select([x11.XConnectionNumber(display)], [], [], 0.05)
    finally:
        p.kill()
        p.wait()
        time.sleep(0.3)


remove_ini()
lib = winpath(os.path.join(BUILD, "demo-library"))
sonidex, minimal = [], []
launch(wine("MinimalWindow.exe"), "^Minimal window$")      # warm the caches
launch(wine("Sonidex.exe", lib), "^Sonidex ")
for _ in range(RUNS):
    minimal.append(launch(wine("MinimalWindow.exe"), "^Minimal window$"))
    sonidex.append(launch(wine("Sonidex.exe", lib), "^Sonidex "))
remove_ini()
med = lambda runs, i: statistics.median(r[i] for r in runs)
ms, mm, cs, cm = med(sonidex, 0), med(minimal, 0), med(sonidex, 1), med(minimal, 1)
print(f"{ARCH}-bit build, start-up to the mapped window, medians of {RUNS}: clock: Sonidex {ms * 1000:.0f} ms, "
      f"minimal window {mm * 1000:.0f} ms; processor: Sonidex {cs:.0f} ms, minimal window {cm:.0f} ms")
print(f"ratio Sonidex / minimal: clock {ms / mm:.2f}, processor {cs / cm:.2f} (goal <= 1.25)")
