"""The release as a user gets it: the zips hold the tested programs; the installer (/S) installs the
32-bit program, uninstaller, Start-menu shortcut and "Apps and features" entry; the installed program
starts; the uninstaller (/S) removes all. Where no 32-bit code runs, all but the installer is checked."""
import hashlib, os, struct, subprocess, zipfile
from sonidex import *
import check_exe

require_session()
c = Checks()
version = open(os.path.join(BUILD, "sonidex-version")).read().strip()
r = run([os.path.join(SOURCE, "tools", "package.sh")], 600, text=True)
c.eq(r.returncode, 0, f"tools/package.sh ({r.stderr[-800:]})")
if r.returncode:
    c.done()
dist = [os.path.join(SOURCE, "dist", f"Sonidex-{version}-{n}") for n in ("win32.zip", "win64.zip", "setup.exe")]
read = lambda path: open(path, "rb").read()
sums = dict(reversed(line.split()) for line in open(os.path.join(SOURCE, "dist", "SHA256SUMS")))
c.eq(sums, {os.path.basename(p): hashlib.sha256(read(p)).hexdigest() for p in dist}, "SHA256SUMS")
wide = lambda text: re.escape((text + "\0").encode("utf-16-le"))
unpacked = scratch("release")
for path, bits, build in ((dist[0], 32, "win"), (dist[1], 64, "win64"), (dist[2], 32, None)):
    if build:
        with zipfile.ZipFile(path) as z:
            c.eq(sorted(z.namelist()), ["LICENSE.txt", "README.txt", "Sonidex.exe"], f"{path}: files")
            z.extractall(os.path.join(unpacked, build))
        path = os.path.join(unpacked, build, "Sonidex.exe")
        c.true(read(path) == read(os.path.join(SOURCE, "build", build, "Sonidex.exe")), f"{path}: the tested bytes")
        c.true(b"<dpiAwareness" in read(path), f"{path}: the manifest")
    c.eq(check_exe.check(path, bits), [], f"{path}: a GUI program of its width")
    data = read(path)
    ms, ls = struct.unpack_from("<II", data, data.find(struct.pack("<I", 0xFEEF04BD)) + 8)
    c.eq(f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}", version, f"{path}: the version resource's version")
    for key, value in (("ProductName", "Sonidex"), ("ProductVersion", version)):
        c.true(re.search(wide(key) + b"(?:\0\0)?" + wide(value), data), f"{path}: {key} {value}")
if not os.path.exists("/usr/lib/wine/wine") or \
        subprocess.run(["/usr/lib/wine/wine", "--version"], capture_output=True).returncode != 0:
    if c.failed:
        c.done()
    print("SKIP: the installer (a 32-bit program) cannot run where no 32-bit code runs; the packages were checked")
    sys.exit(77)

# Program Files, or Program Files (x86) on 64-bit Windows. No Linux menu entries for the shortcut.
ENV["WINEDLLOVERRIDES"] += ";winemenubuilder.exe=d"
target = r"C:\Program Files (x86)\Sonidex" if ARCH == 64 else r"C:\Program Files\Sonidex"
folder = os.path.join(PREFIX, "drive_c", *target[3:].split("\\"))
shortcut = os.path.join(PREFIX, "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sonidex.lnk")
KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sonidex"
entry = lambda: dict(re.findall(r"^\s+(\w+)\s+REG_\w+\s+(.*?)\s*$",
                                run([LOADER, "reg", "query", KEY, "/reg:32"]).stdout.decode(), re.M))
program = None
try:
    c.eq(run([LOADER, dist[2], "/S"], 120).returncode, 0, "the silent installation")
    c.eq(sorted(os.listdir(folder)) if os.path.isdir(folder) else None,
         ["LICENSE.txt", "README.txt", "Sonidex.exe", "Uninstall.exe"], "the installed files")
    c.true(os.path.isfile(shortcut), "the Start-menu shortcut")
    installed = os.path.join(folder, "Sonidex.exe")
    c.true(read(installed) == read(os.path.join(SOURCE, "build", "win", "Sonidex.exe")), "the 32-bit build installed")
    e, uninstall = entry(), f'"{target}\\Uninstall.exe"'
    c.eq([e.get(k) for k in ("DisplayName", "DisplayVersion", "UninstallString", "QuietUninstallString")],
         ["Sonidex", version, uninstall, uninstall + " /S"], "the Apps and features entry")
    remove_ini()
    program = Sonidex(winpath(unpacked), program=installed)
    program.key("Escape")
    c.eq(program.wait_exit(), 0, "the installed program shows its window and closes")
    # The uninstaller hands the work to a copy of itself in the temporary folder and ends.
    run([LOADER, os.path.join(folder, "Uninstall.exe"), "/S"])
    c.becomes(lambda: (os.path.exists(folder), os.path.exists(shortcut), entry()), (False, False, {}),
              "the uninstaller removes the files, the shortcut and the entry", 30)
finally:
    if program and program.running():
        program.kill()
    shutil.rmtree(folder, ignore_errors=True)
    if os.path.exists(shortcut):
        os.remove(shortcut)
    run([LOADER, "reg", "delete", KEY, "/reg:32", "/f"])
    remove_ini()
c.done()
