"""The release as a user gets it: tools/package.sh writes dist/; each zip holds the tested program
of its width (version resource, manifest), README.txt and LICENSE.txt; the installer run with /S
puts the 32-bit program, its uninstaller, a Start-menu shortcut and the "Apps and features" entry
in place; the installed program starts; its uninstaller run with /S takes them away. Where the
machine runs no 32-bit code, the installer cannot run: the rest is checked and the script skips."""
import hashlib, os, struct, subprocess, zipfile
from sonidex import *
import check_exe

require_session()
c = Checks()
version = open(os.path.join(BUILD, "sonidex-version")).read().strip()
dist = os.path.join(SOURCE, "dist")
r = subprocess.run([os.path.join(SOURCE, "tools", "package.sh")], capture_output=True, text=True)
c.eq(r.returncode, 0, f"tools/package.sh ({r.stderr[-800:]})")
if r.returncode:
    c.done()
names = [f"Sonidex-{version}-win32.zip", f"Sonidex-{version}-win64.zip", f"Sonidex-{version}-setup.exe"]
read = lambda path: open(path, "rb").read()
sums = dict(reversed(line.split()) for line in open(os.path.join(dist, "SHA256SUMS")))
c.eq(sums, {n: hashlib.sha256(read(os.path.join(dist, n))).hexdigest() for n in names}, "SHA256SUMS")


def version_checks(data, what):
    """The version resource: its fixed version, and the product's name and version as texts."""
    ms, ls = struct.unpack_from("<II", data, data.find(struct.pack("<I", 0xFEEF04BD)) + 8)
    c.eq((ms >> 16, ms & 0xFFFF, ls >> 16), tuple(map(int, version.split("."))), f"{what}: file version")
    for key, value in (("ProductName", "Sonidex"), ("ProductVersion", version)):
        wide = [re.escape((t + "\0").encode("utf-16-le")) for t in (key, value)]
        c.true(re.search(wide[0] + b"(?:\0\0)?" + wide[1], data), f"{what}: {key} {value}")


unpacked = scratch("release")
for bits, build in ((32, "win"), (64, "win64")):
    with zipfile.ZipFile(os.path.join(dist, names[bits // 64])) as z:
        c.eq(sorted(z.namelist()), ["LICENSE.txt", "README.txt", "Sonidex.exe"], f"the win{bits} zip")
        z.extractall(os.path.join(unpacked, build))
    exe = os.path.join(unpacked, build, "Sonidex.exe")
    c.true(read(exe) == read(os.path.join(SOURCE, "build", build, "Sonidex.exe")), f"win{bits}: the tested bytes")
    c.eq(check_exe.check(exe, bits), [], f"win{bits}: a GUI program of its width")
    version_checks(read(exe), f"win{bits}")
    c.true(b"<dpiAwareness" in read(exe), f"win{bits}: the manifest")
setup = os.path.join(dist, names[2])
c.eq(check_exe.check(setup, 32), [], "the installer is a 32-bit GUI program")
version_checks(read(setup), "the installer")
if subprocess.run(["/usr/lib/wine/wine", "--version"], capture_output=True).returncode != 0:
    if c.failed:
        c.done()
    print("SKIP: the installer (a 32-bit program) cannot run where no 32-bit code runs; the packages were checked")
    sys.exit(77)

# The 32-bit program goes to Program Files, or Program Files (x86) on 64-bit Windows. Wine's shell
# would also make Linux menu entries for the shortcut: not here.
env = dict(ENV, WINEDLLOVERRIDES=ENV["WINEDLLOVERRIDES"] + ";winemenubuilder.exe=d")
windows_folder = r"C:\Program Files (x86)\Sonidex" if ARCH == 64 else r"C:\Program Files\Sonidex"
folder = os.path.join(PREFIX, "drive_c", *windows_folder[3:].split("\\"))
shortcut = os.path.join(PREFIX, "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Sonidex.lnk")
KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sonidex"


def entry():
    """The "Apps and features" entry, as 32-bit programs see the registry."""
    out = subprocess.run([LOADER, "reg", "query", KEY, "/reg:32"], capture_output=True, env=env).stdout.decode()
    return dict(re.findall(r"^\s+(\w+)\s+REG_\w+\s+(.*?)\s*$", out, re.M))


program = None
try:
    c.eq(subprocess.run([LOADER, setup, "/S"], env=env, timeout=120).returncode, 0, "the silent installation")
    c.eq(sorted(os.listdir(folder)) if os.path.isdir(folder) else None,
         ["LICENSE.txt", "README.txt", "Sonidex.exe", "Uninstall.exe"], "the installed files")
    c.true(os.path.isfile(shortcut), "the Start-menu shortcut")
    installed = os.path.join(folder, "Sonidex.exe")
    c.true(read(installed) == read(os.path.join(SOURCE, "build", "win", "Sonidex.exe")), "the 32-bit build is installed")
    uninstaller = f'"{windows_folder}\\Uninstall.exe"'
    c.eq({k: entry().get(k) for k in ("DisplayName", "DisplayVersion", "UninstallString", "QuietUninstallString")},
         {"DisplayName": "Sonidex", "DisplayVersion": version, "UninstallString": uninstaller,
          "QuietUninstallString": uninstaller + " /S"}, "the Apps and features entry")
    remove_ini()
    program = Sonidex(winpath(unpacked), program=installed)
    program.key("Escape")
    c.eq(program.wait_exit(), 0, "the installed program shows its window and closes")
    # The uninstaller hands the work to a copy of itself in the temporary folder and ends.
    subprocess.run([LOADER, os.path.join(folder, "Uninstall.exe"), "/S"], env=env, timeout=60)
    c.becomes(lambda: (os.path.exists(folder), os.path.exists(shortcut), entry()), (False, False, {}),
              "the uninstaller removes the files, the shortcut and the entry", 30)
finally:
    if program and program.running():
        program.kill()
    shutil.rmtree(folder, ignore_errors=True)
    if os.path.exists(shortcut):
        os.remove(shortcut)
    subprocess.run([LOADER, "reg", "delete", KEY, "/reg:32", "/f"], capture_output=True, env=env)
    remove_ini()
c.done()
