#!/usr/bin/env python3
"""check_exe.py EXE 32|64: checks that a Sonidex program is what ships: a Windows GUI program of
the given width (PE32 for i386, PE32+ for x86-64), statically linked, so that it imports system
DLLs only and runs on a bare Windows. Prints what it found; exits 1 on any difference."""
import struct, sys

# DLLs every Windows has; anything else (libstdc++-6.dll, libwinpthread-1.dll, ...) would have
# to be shipped beside the program.
SYSTEM = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "comctl32.dll", "advapi32.dll",
          "ole32.dll", "oleaut32.dll", "shell32.dll", "winmm.dll", "dsound.dll", "comdlg32.dll",
          "shlwapi.dll", "version.dll", "psapi.dll", "ws2_32.dll"}
MACHINE = {32: (0x14C, 0x10B, "PE32 i386"), 64: (0x8664, 0x20B, "PE32+ x86-64")}


def imports(data, sections, import_rva):
    def offset(rva):
        for va, size, raw in sections:
            if va <= rva < va + size:
                return rva - va + raw
        raise ValueError(f"address {rva:#x} lies in no section")

    names, at = [], offset(import_rva)
    while True:
        name_rva = struct.unpack_from("<I", data, at + 12)[0]
        if name_rva == 0:
            return names
        end = data.index(b"\0", offset(name_rva))
        names.append(data[offset(name_rva):end].decode("ascii"))
        at += 20


def check(path, bits):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        return [f"{path}: not a Windows program"]
    machine, nsections, _, _, _, opt_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    subsystem = struct.unpack_from("<H", data, opt + 68)[0]
    dirs = opt + (96 if magic == 0x10B else 112)
    import_rva = struct.unpack_from("<I", data, dirs + 8)[0]
    sections = []
    for i in range(nsections):
        s = opt + opt_size + 40 * i
        vsize, va, rawsize, raw = struct.unpack_from("<IIII", data, s + 8)
        sections.append((va, max(vsize, rawsize), raw))
    dlls = imports(data, sections, import_rva)
    want_machine, want_magic, kind = MACHINE[bits]
    print(f"{path}: machine {machine:#x}, optional header {magic:#x}, subsystem {subsystem}, "
          f"imports {', '.join(dlls)}")
    faults = []
    if (machine, magic) != (want_machine, want_magic):
        faults.append(f"not {kind}")
    if subsystem != 2:
        faults.append(f"subsystem {subsystem}, not the Windows GUI (2)")
    faults += [f"imports {d}, which is no system DLL" for d in dlls if d.lower() not in SYSTEM]
    return faults


if __name__ == "__main__":
    faults = check(sys.argv[1], int(sys.argv[2]))
    for f in faults:
        print("FAULT:", f)
    sys.exit(1 if faults else 0)
