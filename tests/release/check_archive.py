"""Checks the release archive that tools/make-release.sh wrote.

    check_archive.py BUILD_ROOT [--same-as OTHER_BUILD_ROOT]

The archive must be BUILD_ROOT/updater-<version>.zip for project(VERSION) in
CMakeLists.txt and hold, under updater-<version>/, exactly the files a
release ships; SHA256SUMS must name every other entry once with its
checksum; each executable must be of the kind its folder says (the Linux
one without sanitizers) and name the same version (the Windows ones in
their version resource, the Linux one with --version). With --same-as, the archive in OTHER_BUILD_ROOT must be the same
bytes (the entries that differ are named). No entry may contain this
source tree's path (in UTF-8 or UTF-16), which both build trees are in.
"""

import argparse
import hashlib
import io
import os
import re
import stat
import struct
import subprocess
import sys
import tempfile
import zipfile

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# Path in the archive -> (machine, Windows subsystem): PE machine 0x14c is
# i386, 0x8664 x86-64; subsystem 2 is a GUI program, 3 a console one. The
# ELF machine 62 is x86-64.
EXECUTABLES = {
    "windows-32bit/updater.exe": ("pe", 0x14C, 2),
    "windows-32bit/updater-check.exe": ("pe", 0x14C, 3),
    "windows-64bit/updater.exe": ("pe", 0x8664, 2),
    "windows-64bit/updater-check.exe": ("pe", 0x8664, 3),
    "linux-x86_64/updater-check": ("elf", 62, None),
}
LINUX_CHECKER = "linux-x86_64/updater-check"
OTHER_FILES = ["LICENSE", "README.md", "SHA256SUMS", "examples/updater.ini"]


def project_version():
    with open(os.path.join(SOURCE, "CMakeLists.txt")) as f:
        return re.search(r"project\(updater VERSION ([0-9.]+)", f.read()).group(1)


def expected_names():
    """The executables, the other files and every tracked file under docs/."""
    docs = subprocess.run(["git", "-C", SOURCE, "ls-files", "docs"],
                          capture_output=True, text=True, timeout=30,
                          check=True).stdout.split()
    return sorted(list(EXECUTABLES) + OTHER_FILES + docs)


def kind(data):
    """(format, machine, subsystem) of an executable's bytes."""
    if data[:4] == b"\x7fELF" and len(data) > 20:
        return ("elf", struct.unpack_from("<H", data, 18)[0], None)
    if data[:2] != b"MZ" or len(data) < 0x40:
        return None
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0" or len(data) < pe + 24 + 70:
        return None
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    return ("pe", machine, struct.unpack_from("<H", data, pe + 24 + 68)[0])


def checker_version(data):
    with tempfile.TemporaryDirectory() as folder:
        program = os.path.join(folder, "updater-check")
        with open(program, "wb") as f:
            f.write(data)
        os.chmod(program, 0o755)
        try:
            return subprocess.run([program, "--version"], capture_output=True,
                                  text=True, timeout=30).stdout.strip()
        except (OSError, subprocess.TimeoutExpired) as error:
            return str(error)


def differing_entries(path, other):
    with zipfile.ZipFile(path) as a, zipfile.ZipFile(other) as b:
        entries = {i.filename: (i, a.read(i)) for i in a.infolist()}
        others = {i.filename: (i, b.read(i)) for i in b.infolist()}
    names = sorted(set(entries) | set(others))
    return [n for n in names if n not in entries or n not in others
            or entries[n][1] != others[n][1]
            or entries[n][0].date_time != others[n][0].date_time
            or entries[n][0].external_attr != others[n][0].external_attr]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--same-as")
    args = parser.parse_args()

    version = project_version()
    name = "updater-%s.zip" % version
    path = os.path.join(args.root, name)
    results = []

    def check(what, ok, detail=""):
        results.append(ok)
        print("%s: %s%s" % ("ok" if ok else "FAILED", what,
                            "" if ok else " (%s)" % detail))

    with open(path, "rb") as f:
        raw = f.read()
    with zipfile.ZipFile(io.BytesIO(raw)) as archive:
        infos = archive.infolist()
        files = {i.filename: archive.read(i) for i in infos}
    top = "updater-%s/" % version
    names = [n[len(top):] if n.startswith(top) else n for n in files]
    check("%s holds exactly the release's files under %s" % (name, top),
          sorted(names) == expected_names() and all(n.startswith(top) for n in files),
          "holds %s" % sorted(files))
    check("entries in sorted order, executables 0755, other files 0644",
          [i.filename for i in infos] == sorted(files) and all(
              stat.S_IMODE(i.external_attr >> 16) ==
              (0o755 if i.filename[len(top):] in EXECUTABLES else 0o644)
              for i in infos))

    sums = files.get(top + "SHA256SUMS", b"").decode()
    listed = [line.split("  ", 1) for line in sums.splitlines()]
    check("SHA256SUMS gives each other file's checksum once",
          sorted(n for _, n in listed) == sorted(set(names) - {"SHA256SUMS"})
          and all(hashlib.sha256(files.get(top + n, b"")).hexdigest() == h
                  for h, n in listed), sums)

    for exe, expected in sorted(EXECUTABLES.items()):
        data = files.get(top + exe, b"")
        check("%s is a %s program for machine %#x" % (exe, expected[0], expected[1]),
              kind(data) == expected, "found %s" % (kind(data),))
        if expected[0] == "pe":
            # The version resource's FileVersion and ProductVersion strings.
            check("%s's version resource names %s" % (exe, version),
                  data.count(version.encode("utf-16-le") + b"\0\0") >= 2)
    linux = files.get(top + LINUX_CHECKER, b"")
    check("the Linux updater-check is built without sanitizers",
          b"__asan" not in linux and b"__ubsan" not in linux)
    said = checker_version(linux)
    check("updater-check --version names %s" % version,
          said == "updater-check " + version, said)

    leaks = [n for n, data in sorted(files.items())
             if SOURCE.encode() in data or SOURCE.encode("utf-16-le") in data]
    check("no file holds the path %s" % SOURCE, not leaks, ", ".join(leaks))

    if args.same_as:
        other = os.path.join(args.same_as, name)
        with open(other, "rb") as f:
            same = f.read() == raw
        check("the second build's archive is the same bytes", same,
              "" if same else "differs in: %s" % ", ".join(differing_entries(path, other)))

    print("release: %d passed, %d failed" % (results.count(True), results.count(False)))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
