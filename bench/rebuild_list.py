#!/usr/bin/env python3
"""Rebuilding the sample list against a bare directory walk, on generated trees of 1,000, 10,000
and 100,000 files in 1,000 folders. Prints the ratios (the fastest of ROUNDS runs each, measured
side by side in one program run). A quarter of the names are in other scripts (Japanese, Chinese,
Korean, Cyrillic, Greek, and an emoji), as in libraries from around the world; --latin makes
them all Latin. Usage: bench/rebuild_list.py [ROUNDS] [--latin]"""
import os, random, re, shutil, subprocess, sys, tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "e2e"))
from sonidex import ARCH, BUILD
exe = os.path.join(BUILD, "RebuildListBench.exe")
args = [a for a in sys.argv[1:] if a != "--latin"]
latin = "--latin" in sys.argv[1:]
rounds = args[0] if args else "7"
WORDS = ["kick", "snare", "hat", "clap", "tom", "crash", "ride", "bass", "pad", "lead", "vox", "fx",
         "perc", "shaker", "loop", "hit", "stab", "chord", "riser", "noise"]
SCRIPTS = ["\u30ad\u30c3\u30af", "\u9f13\u58f0", "\ub4dc\ub7fc", "\u0431\u043e\u0447\u043a\u0430",
           "\u03ae\u03c7\u03bf\u03c2", "\U0001f941", "\u30b9\u30cd\u30a2", "\u043b\u0443\u043f"]


def make_tree(top, files, folders=1000):
    rng = random.Random(files)
    per = files // folders
    for d in range(folders):
        # Ten groups of a hundred folders: a library's usual two levels.
        folder = os.path.join(top, "Group %02d" % (d // 100), "%s pack %03d" % (WORDS[d % 20].title(), d))
        os.makedirs(folder)
        for i in range(per):
            word = rng.choice(SCRIPTS) if not latin and rng.random() < 0.25 else rng.choice(WORDS)
            # About one name in five recurs in other folders, as "kick 01" does in real libraries;
            # within a folder every name is new.
            name = "%s %02d" % (word, i) if rng.random() < 0.2 else "%s %s %05d" % (word.title(), d, i)
            ext = ".mid" if i % 10 == 9 else ".wav"
            open(os.path.join(folder, name + ext), "wb").close()


def run(tree):
    cmd = [os.path.join(root, "tools", "wine-run.sh"), "--build", BUILD, exe, "Z:" + tree.replace("/", "\\"), rounds]
    if not os.environ.get("DISPLAY"):
        cmd = ["bash", "-c", 'source "%s/tools/session.sh"; trap session_end EXIT; "$@"' % root, "bench"] + cmd
    out = subprocess.run(cmd, capture_output=True, text=True).stdout
    m = re.search(r"files (\d+) lines (\d+) walk ([\d.]+) ms rebuild ([\d.]+) ms ratio ([\d.]+) "
                  r"cpu walk ([\d.]+) ms rebuild ([\d.]+) ms ratio ([\d.]+)", out)
    if not m:
        sys.exit("benchmark failed:\n" + out)
    return m


def main():
    if not os.path.exists(exe):
        sys.exit("build first: " + exe)
    ratios, cpu, extra = {}, {}, {}
    for files in (1000, 10000, 100000):
        top = tempfile.mkdtemp(prefix="sonidex-bench-")
        try:
            make_tree(top, files)
            m = run(top)
        finally:
            shutil.rmtree(top, ignore_errors=True)
        ratios[files], cpu[files] = float(m.group(5)), float(m.group(8))
        # What the list adds to the walk, per file found: flat or falling means no growth
        # beyond the linear.
        extra[files] = 1000.0 * (float(m.group(4)) - float(m.group(3))) / max(1, int(m.group(1)))
        print("%7d files in 1000 folders: %s lines; clock: walk %s ms, RebuildList %s ms, ratio %s; "
              "processor: walk %s ms, RebuildList %s ms, ratio %s"
              % (int(m.group(1)), m.group(2), m.group(3), m.group(4), m.group(5), m.group(6), m.group(7), m.group(8)))
    each = lambda d: ", ".join("%.2f at %s files" % (d[f], format(f, ",")) for f in sorted(d))
    print(f"{ARCH}-bit build, {'all names Latin' if latin else 'a quarter of the names in other scripts'}")
    print("RebuildList / walk by the clock: " + each(ratios))
    print("RebuildList / walk by processor time: " + each(cpu))
    print("RebuildList time beyond the walk, per file: %s"
          % ", ".join("%.1f us at %s files" % (extra[f], format(f, ",")) for f in sorted(extra)))
    print("(goal: at most 1.3 at 100,000 files, and no superlinear growth)")


if __name__ == "__main__":
    main()
