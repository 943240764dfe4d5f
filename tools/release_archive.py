"""Writes the release archive from the release presets' build trees.

    release_archive.py BUILD_ROOT         writes BUILD_ROOT/updater-<version>.zip
    release_archive.py --path BUILD_ROOT  prints that archive's path only

Every entry lies under updater-<version>/, in sorted order, with one time
(SOURCE_DATE_EPOCH, in UTC), mode 0755 for executables and 0644 for the
rest, and no extra fields, so that the same files give the same archive at
any time, in any folder and for any user. SHA256SUMS lists every other
entry in the form `sha256sum -c` reads.

Written with Python's zipfile rather than CPack's ZIP generator: the archive
gathers three build trees (two cross builds and a Linux one), which CPack
would package one at a time, and zipfile sets each field of an entry itself
where CPack's writer takes times, modes and owners from the files on disk.
"""

import hashlib
import os
import re
import sys
import time
import zipfile

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Path in the archive -> build tree and file in it.
EXECUTABLES = {
    "windows-32bit/updater.exe": "release-windows/updater.exe",
    "windows-32bit/updater-check.exe": "release-windows/updater-check.exe",
    "windows-64bit/updater.exe": "release-windows-x64/updater.exe",
    "windows-64bit/updater-check.exe": "release-windows-x64/updater-check.exe",
    "linux-x86_64/updater-check": "release-linux/updater-check",
}
DOCUMENTS = ["LICENSE", "README.md", "examples/updater.ini"]
DOCS_FOLDER = "docs"
DOS_EPOCH = 315532800  # 1980-01-01, the earliest time a zip entry holds


def version(root):
    """The version CMake wrote into the Linux release tree."""
    with open(os.path.join(root, "release-linux", "res", "version.h")) as f:
        return re.search(r'UPDATER_VERSION_TEXT "([^"]+)"', f.read()).group(1)


def archive_path(root):
    return os.path.join(root, "updater-%s.zip" % version(root))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def contents(root):
    """Path in the archive -> (bytes, executable)."""
    files = {name: (read(os.path.join(root, built)), True)
             for name, built in EXECUTABLES.items()}
    names = list(DOCUMENTS)
    for folder, _, found in os.walk(os.path.join(SOURCE, DOCS_FOLDER)):
        names += [os.path.relpath(os.path.join(folder, f), SOURCE) for f in found]
    for name in names:
        files[name.replace(os.sep, "/")] = (read(os.path.join(SOURCE, name)), False)
    files["SHA256SUMS"] = ("".join(
        "%s  %s\n" % (hashlib.sha256(data).hexdigest(), name)
        for name, (data, _) in sorted(files.items())).encode(), False)
    return files


def write(path, top, files, epoch):
    stamp = time.gmtime(max(epoch, DOS_EPOCH))[:6]
    partial = path + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in sorted(files):
            data, executable = files[name]
            info = zipfile.ZipInfo("%s/%s" % (top, name), stamp)
            info.create_system = 3  # Unix, so that the modes below count
            info.external_attr = (0o100755 if executable else 0o100644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=9)
    os.replace(partial, path)


def main():
    if sys.argv[1:2] == ["--path"]:
        print(archive_path(sys.argv[2]))
        return
    root = sys.argv[1]
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    path = archive_path(root)
    write(path, "updater-" + version(root), contents(root), epoch)
    print("%s: %d bytes, SHA-256 %s" % (
        path, os.path.getsize(path), hashlib.sha256(read(path)).hexdigest()))


if __name__ == "__main__":
    main()
