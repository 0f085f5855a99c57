#!/usr/bin/env python3
"""Start-up benchmark: whole-process time from launch until the main window is visible, for
Sonidex.exe (on the demo library) and for a minimal Win32 program that only shows a window,
alternated in one run under the same Wine. Prints the medians and their ratio (goal: <= 1.5).
Run inside a test session: bash -c 'source tools/session.sh; trap session_end EXIT; python3 bench/startup.py'"""
import os, statistics, subprocess, sys, time
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from sonidex import ARCH, BUILD, ENV, wine, winpath, remove_ini

RUNS = int(os.environ.get("RUNS", "7"))


def visible(name):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name], capture_output=True, text=True)
    return r.returncode == 0 and r.stdout.strip()


def launch(cmd, name):
    t0 = time.perf_counter()
    p = subprocess.Popen(cmd, env=ENV, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while not visible(name):
        if time.perf_counter() - t0 > 30:
            raise TimeoutError(name)
        time.sleep(0.002)
    t = time.perf_counter() - t0
    p.kill()
    p.wait()
    time.sleep(0.3)
    return t


remove_ini()
lib = winpath(os.path.join(BUILD, "demo-library"))
sonidex, minimal = [], []
launch(wine("MinimalWindow.exe"), "^Minimal window$")      # warm the caches
for _ in range(RUNS):
    minimal.append(launch(wine("MinimalWindow.exe"), "^Minimal window$"))
    sonidex.append(launch(wine("Sonidex.exe", lib), "^Sonidex "))
remove_ini()
ms, mm = statistics.median(sonidex), statistics.median(minimal)
print(f"{ARCH}-bit build, start-up to visible window, median of {RUNS}: Sonidex {ms * 1000:.0f} ms, minimal window {mm * 1000:.0f} ms")
print(f"ratio Sonidex / minimal: {ms / mm:.2f} (goal <= 1.5)")
