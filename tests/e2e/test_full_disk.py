"""COPY onto a drive that fills up, under Wine: a 2 MiB tmpfs mounted for
each case and linked as a drive letter in the prefix's dosdevices folder.

A copy that does not fit must leave the old file exactly as it was (contents
and time stamp) and nothing else on the drive; the box is the usual one.
Mounting needs root (as CI runs); elsewhere every case is skipped.
"""

import os
import subprocess
import tempfile
import unittest

from harness import PREFIX, UpdaterCase, message

CAPTION = "Full Disk"
OLD_TIME = 978307200  # 2001-01-01, so that a changed time stamp shows


def data(size, seed):
    """`size` bytes that differ from every other seed's."""
    block = bytes((seed * 31 + i * 7) % 251 for i in range(4096))
    return (block * (size // len(block) + 1))[:size]


class FullDiskCase(UpdaterCase):
    def setUp(self):
        if os.geteuid() != 0:
            self.skipTest("mounting a tmpfs needs root")
        super().setUp()
        self.mount_point = tempfile.mkdtemp(prefix="updater-full-disk-")
        self.addCleanup(os.rmdir, self.mount_point)
        mounted = subprocess.run(
            ["mount", "-t", "tmpfs", "-o", "size=2m", "tmpfs", self.mount_point],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=30)
        if mounted.returncode != 0:
            self.skipTest("cannot mount a tmpfs: %r" % mounted.stdout)
        self.addCleanup(self.unmount)
        self.drive = self.free_drive_letter()
        link = os.path.join(PREFIX, "dosdevices", self.drive.lower() + ":")
        os.symlink(self.mount_point, link)
        self.addCleanup(os.remove, link)

    def unmount(self):
        # A lazy unmount as the last resort, so that nothing stays mounted.
        if subprocess.run(["umount", self.mount_point], timeout=30).returncode:
            subprocess.run(["umount", "-l", self.mount_point], timeout=30)

    @staticmethod
    def free_drive_letter():
        devices = os.path.join(PREFIX, "dosdevices")
        for letter in "XWVUTSRQPONMLKJIHGFE":
            if not os.path.lexists(os.path.join(devices, letter.lower() + ":")):
                return letter
        raise unittest.SkipTest("no free drive letter in the prefix")

    def on_drive(self, name, contents=None):
        """Unix path of a file on the small drive, written when given."""
        path = os.path.join(self.mount_point, name)
        if contents is not None:
            with open(path, "wb") as f:
                f.write(contents)
            os.utime(path, (OLD_TIME, OLD_TIME))
        return path

    def assertUntouched(self, name, contents):
        path = self.on_drive(name)
        with open(path, "rb") as f:
            got = f.read()
        self.assertTrue(got == contents, "%s changed: %d bytes, %d before"
                        % (name, len(got), len(contents)))
        self.assertEqual(int(os.stat(path).st_mtime), OLD_TIME, name)

    def run_copy(self, pairs):
        """One COPY of (new file, name on the drive) pairs, then a MAKEDIR
        that runs only when the COPY let the run go on."""
        sources = ",".join("<Src>\\%s" % new for new, _ in pairs)
        targets = ",".join("%s:\\%s" % (self.drive, name) for _, name in pairs)
        exe = self.install("updater.exe", (
            "[UPDATER]\nNAME=%s\nPROC=C, NEXT\n"
            "[C]\nMODE=COPY\nFROM=%s\nTO=%s\n"
            "[NEXT]\nMODE=MAKEDIR\nDIR=<Src>\\next\n") % (CAPTION, sources, targets))
        # Each case fails its COPY: a procedure failed while running.
        return self.run_updater(exe, exit_code=3)


class Copy(FullDiskCase):
    def test_larger_program_than_the_free_space_keeps_the_old_one(self):
        old = data(512000, 1)
        self.on_drive("app.exe", old)
        self.write("app.exe", data(3 << 20, 2))
        result = self.run_copy([("app.exe", "app.exe")])
        self.assertEqual(len(result.boxes), 1, result.boxes)
        self.assertBox(result.boxes[0],
                       message(8, self.wpath("app.exe"), self.drive + ":\\app.exe"),
                       caption=CAPTION)
        self.assertUntouched("app.exe", old)
        self.assertEqual(os.listdir(self.mount_point), ["app.exe"])
        self.assertFalse(os.path.exists(self.path("next")))

    def test_second_file_that_does_not_fit_keeps_both_old(self):
        old_a, old_b = data(100000, 3), data(512000, 4)
        new_a = data(300000, 5)
        self.on_drive("a.dll", old_a)
        self.on_drive("b.dll", old_b)
        self.write("a.dll", new_a)
        self.write("b.dll", data(3 << 20, 6))
        result = self.run_copy([("a.dll", "a.dll"), ("b.dll", "b.dll")])
        self.assertEqual(len(result.boxes), 1, result.boxes)
        self.assertBox(result.boxes[0],
                       message(8, self.wpath("b.dll"), self.drive + ":\\b.dll"),
                       caption=CAPTION)
        # All or nothing: a.dll, staged whole, is not put in place either.
        self.assertUntouched("a.dll", old_a)
        self.assertUntouched("b.dll", old_b)
        self.assertEqual(sorted(os.listdir(self.mount_point)), ["a.dll", "b.dll"])
        self.assertFalse(os.path.exists(self.path("next")))


if __name__ == "__main__":
    unittest.main()
