"""Checks the release archive that tools/make-release.sh wrote.

    check_archive.py BUILD_ROOT [OTHER_BUILD_ROOT]

BUILD_ROOT/updater-<version>.zip, for project(VERSION) in CMakeLists.txt,
must hold under updater-<version>/ exactly the files a release ships, in
sorted order with fixed modes; SHA256SUMS must give every other entry's
checksum; each executable must be of the width its folder says and name the
version (the Linux checker, without sanitizers, through --version); no entry
may hold this source tree's path. With OTHER_BUILD_ROOT, the archive made
there must be the same bytes. A failure exits 1 (a crash, non-zero too).
"""

import hashlib
import os
import re
import stat
import struct
import subprocess
import sys
import tempfile
import zipfile

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(
    os.path.abspath(__file__))))

# Path in the archive -> machine: PE 0x14c is i386, 0x8664 x86-64; ELF 62 is
# x86-64.
EXECUTABLES = {
    "windows-32bit/updater.exe": 0x14C,
    "windows-32bit/updater-check.exe": 0x14C,
    "windows-64bit/updater.exe": 0x8664,
    "windows-64bit/updater-check.exe": 0x8664,
    "linux-x86_64/updater-check": 62,
}
OTHER_FILES = ["LICENSE", "README.md", "SHA256SUMS", "examples/updater.ini"]


def machine(data):
    if data[:4] == b"\x7fELF":
        return struct.unpack_from("<H", data, 18)[0]
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    return struct.unpack_from("<H", data, pe + 4)[0]


def run_version(data):
    with tempfile.TemporaryDirectory() as folder:
        program = os.path.join(folder, "updater-check")
        with open(program, "wb") as f:
            f.write(data)
        os.chmod(program, 0o755)
        return subprocess.run([program, "--version"], capture_output=True,
                              text=True, timeout=30).stdout.strip()


def main(root, other_root=None):
    with open(os.path.join(SOURCE, "CMakeLists.txt")) as f:
        version = re.search(r"project\(updater VERSION ([0-9.]+)",
                            f.read()).group(1)
    name = "updater-%s.zip" % version
    top = "updater-%s/" % version
    results = []

    def check(what, ok, detail=""):
        results.append(ok)
        print("%s: %s%s" % ("ok" if ok else "FAILED", what,
                            "" if ok else " (%s)" % detail))

    with zipfile.ZipFile(os.path.join(root, name)) as archive:
        infos = archive.infolist()
        files = {i.filename[len(top):]: archive.read(i) for i in infos}
    docs = subprocess.run(["git", "-C", SOURCE, "ls-files", "docs"],
                          capture_output=True, text=True, timeout=30,
                          check=True).stdout.split()
    check("%s holds exactly the release's files under %s" % (name, top),
          all(i.filename.startswith(top) for i in infos) and
          sorted(files) == sorted(list(EXECUTABLES) + OTHER_FILES + docs),
          sorted(i.filename for i in infos))
    check("entries in sorted order, executables 0755, other files 0644",
          [i.filename for i in infos] == sorted(i.filename for i in infos)
          and all(stat.S_IMODE(i.external_attr >> 16) ==
                  (0o755 if i.filename[len(top):] in EXECUTABLES else 0o644)
                  for i in infos))

    sums = files.get("SHA256SUMS", b"").decode()
    listed = [line.split("  ", 1) for line in sums.splitlines()]
    check("SHA256SUMS gives each other file's checksum once",
          sorted(n for _, n in listed) == sorted(set(files) - {"SHA256SUMS"})
          and all(hashlib.sha256(files[n]).hexdigest() == h
                  for h, n in listed), sums)

    for exe, expected in sorted(EXECUTABLES.items()):
        data = files.get(exe, b"")
        check("%s is for machine %#x" % (exe, expected),
              len(data) > 512 and machine(data) == expected)
        if exe.endswith(".exe"):
            # The version resource's FileVersion and ProductVersion.
            check("%s's version resource names %s" % (exe, version),
                  data.count(version.encode("utf-16-le") + b"\0\0") >= 2)
    linux = files.get("linux-x86_64/updater-check", b"")
    check("the Linux updater-check is built without sanitizers",
          b"__asan" not in linux and b"__ubsan" not in linux)
    said = run_version(linux)
    check("updater-check --version names %s" % version,
          said == "updater-check " + version, said)

    leaks = [n for n, data in sorted(files.items())
             if SOURCE.encode() in data or SOURCE.encode("utf-16-le") in data]
    check("no file holds the path %s" % SOURCE, not leaks, ", ".join(leaks))

    if other_root:
        with zipfile.ZipFile(os.path.join(other_root, name)) as archive:
            others = {i.filename[len(top):]: archive.read(i)
                      for i in archive.infolist()}
        with open(os.path.join(root, name), "rb") as a, \
                open(os.path.join(other_root, name), "rb") as b:
            same = a.read() == b.read()
        check("the second build's archive is the same bytes", same,
              "contents differ in: %s" % ", ".join(
                  n for n in sorted(set(files) | set(others))
                  if files.get(n) != others.get(n)))

    print("release: %d passed, %d failed" %
          (results.count(True), results.count(False)))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
