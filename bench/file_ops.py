#!/usr/bin/env python3
"""The list's side of file operations against its yardsticks, measured side by side in one run:
deleting a line from a list of 100,000 against a plain list box deleting one of as many, and a
sample pack of 1,000 files copied into a watched folder of 10,000 against one rebuild.
Usage: bench/file_ops.py [ROUNDS]"""
import os, re, shutil, subprocess, sys, tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "e2e"))
from sonidex import ARCH, BUILD
exe = os.path.join(BUILD, "FileOpsBench.exe")
rounds = sys.argv[1] if len(sys.argv) > 1 else "5"


def files(folder, count, prefix, size=0):
    os.makedirs(folder, exist_ok=True)
    body = b"\0" * size
    for i in range(count):
        with open(os.path.join(folder, "%s %06d.wav" % (prefix, i)), "wb") as f:
            f.write(body)


def run(*args):
    cmd = [os.path.join(root, "tools", "wine-run.sh"), "--build", BUILD, exe] + list(args)
    if not os.environ.get("DISPLAY"):
        cmd = ["bash", "-c", 'source "%s/tools/session.sh"; trap session_end EXIT; "$@"' % root, "bench"] + cmd
    r = subprocess.run(cmd, capture_output=True, text=True)
    if r.returncode != 0 or not r.stdout.strip():
        sys.exit("benchmark failed:\n" + r.stdout + r.stderr[-2000:])
    return r.stdout.strip()


def win(path):
    return "Z:" + path.replace("/", "\\")


def main():
    if not os.path.exists(exe):
        sys.exit("build first: " + exe)
    top = tempfile.mkdtemp(prefix="sonidex-bench-")
    try:
        files(os.path.join(top, "big"), 100000, "Kick")
        out = run("delete", win(os.path.join(top, "big")), rounds)
        print(out)
        m = re.search(r"selected line [\d.]+ ms ratio ([\d.]+); line found by path [\d.]+ ms ratio ([\d.]+)", out)
        print(f"{ARCH}-bit build: deleting a line of 100,000 / a plain list box: {m.group(1)} selected (F8), "
              f"{m.group(2)} found by its path (a trash drop); goal: at most 2")
        for pause in (0, 3):
            watched, pack = os.path.join(top, "watched-%d" % pause), os.path.join(top, "pack")
            shutil.rmtree(pack, ignore_errors=True)
            files(watched, 10000, "Snare")
            files(pack, 1000, "Pack hit", 4096)
            out = run("watch", win(watched), win(pack), str(pause))
            print(out)
            m = re.search(r"ratio ([\d.]+); list as a fresh scan: (\w+)", out)
            print(f"{ARCH}-bit build: 1,000 files copied into a watched folder of 10,000, "
                  f"{'as fast as possible' if pause == 0 else 'pausing %d ms a file' % pause}: "
                  f"{m.group(1)} rebuilds' worth; list as a fresh scan: {m.group(2)}; goal: at most 3, yes")
    finally:
        shutil.rmtree(top, ignore_errors=True)


if __name__ == "__main__":
    main()
