#!/usr/bin/env python3
"""The list's filter box over 100,000 lines against a bare list box given the same matching lines,
measured side by side in one run: queries keeping 1 %, 50 % and 100 % of the lines, and the
longest stall while a six-letter word is typed. Usage: bench/name_filter.py [ROUNDS]"""
import os, re, shutil, subprocess, sys, tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "e2e"))
from sonidex import ARCH, BUILD
exe = os.path.join(BUILD, "NameFilterBench.exe")
rounds = sys.argv[1] if len(sys.argv) > 1 else "7"
LINES = 100000
# Every name holds "sample", every other one "kick", one in a hundred "ride".
QUERIES = ["ride", "kick", "sample"]


def main():
    if not os.path.exists(exe):
        sys.exit("build first: " + exe)
    top = tempfile.mkdtemp(prefix="sonidex-bench-")
    try:
        for i in range(LINES):
            name = "Sample %06d %s%s.wav" % (i, "kick" if i % 2 else "snare", " ride" if i % 100 == 0 else "")
            open(os.path.join(top, name), "wb").close()
        cmd = [os.path.join(root, "tools", "wine-run.sh"), "--build", BUILD, exe, "Z:" + top.replace("/", "\\"),
               rounds, *QUERIES, "sample"]
        if not os.environ.get("DISPLAY"):
            cmd = ["bash", "-c", 'source "%s/tools/session.sh"; trap session_end EXIT; "$@"' % root, "bench"] + cmd
        r = subprocess.run(cmd, capture_output=True, text=True)
        if r.returncode != 0 or not r.stdout.strip():
            sys.exit("benchmark failed:\n" + r.stdout + r.stderr[-2000:])
        out = r.stdout.strip()
        print(out)
        off = out.split("wallpaper on")[0]
        ratios = re.findall(r"\((\d+) %\): filter box ([\d.]+) ms, bare list box [\d.]+ ms, ratio ([\d.]+)", off)
        for share, ms, ratio in ratios:
            print(f"{ARCH}-bit build: a query keeping {share} % of {LINES:,} lines / a bare list box: ratio {ratio} "
                  f"({ms} ms); goal: at most 2, under 50 ms")
        m = re.search(r"slowest letter ([\d.]+) ms .*longest seen ([\d.]+) ms", out)
        print(f"{ARCH}-bit build: typing a six-letter word over {LINES:,} lines: longest stall {m.group(1)} ms "
              f"(longest seen on this machine {m.group(2)} ms); goal: under 50 ms")
    finally:
        shutil.rmtree(top, ignore_errors=True)


if __name__ == "__main__":
    main()
