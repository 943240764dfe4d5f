"""A destination another program holds, under Wine: the quiet retries, the
box with Retry and Cancel, and the silent wait that ends with exit code 6.

boxdriver.exe holds the file open without sharing, as a running program
does, and lets go after a time or when the first box appears. Wine's
Restart Manager names nobody, so the box here is the one without names.
"""

import os
import re
import time
import unittest

from harness import IDCANCEL, IDRETRY, UpdaterCase, message

NAME = "Tool"
STAMP = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[\d+\] ")


def logged(text):
    return re.escape(text.replace("\\", "\\\\"))


class FilesInUse(UpdaterCase):
    def arrange(self):
        self.exe = self.install(settings=(
            "[UPDATER]\nNAME=%s\nPROC=CP\n[CP]\nMODE=COPY\n"
            "FROM=<Src>\\new.dat\nTO=<Src>\\app.dat\n" % NAME))
        self.write("new.dat", "new")
        self.write("app.dat", "old")
        return self.wpath("app.dat")

    def app(self):
        with open(self.path("app.dat"), "rb") as f:
            return f.read()

    def test_held_destination(self):
        # (what, switches, how long it is held, answers, exit code, boxes,
        # contents afterwards, least and most seconds the run takes)
        cases = [
            ("let go during the quiet retries", "", dict(hold_ms=2000), (),
             0, 0, b"new", 1.5, 15),
            ("Retry once let go", "", dict(release_at_box=True), (IDRETRY,),
             0, 1, b"new", 4.5, 25),
            ("Cancel", "", {}, (IDCANCEL,), 3, 1, b"old", 4.5, 25),
            ("silent wait", "/SILENT /WAIT=3", {}, (), 6, 0, b"old", 2.5, 15),
        ]
        for what, switches, hold, answers, code, boxes, after, least, most \
                in cases:
            with self.subTest(what):
                app = self.arrange()
                started = time.monotonic()
                result = self.run_updater(
                    self.exe, args=switches + " /LOG=" + self.wpath("run.log"),
                    holds=[app], answers=answers, exit_code=code,
                    timeout_ms=40000, **hold)
                took = time.monotonic() - started
                self.assertEqual(len(result.boxes), boxes, result.boxes)
                for box in result.boxes:
                    self.assertBox(box, message(17, app), caption=NAME,
                                   buttons=(IDRETRY, IDCANCEL), default=IDRETRY)
                self.assertEqual(self.app(), after)
                self.assertGreaterEqual(took, least)
                self.assertLess(took, most)
                self.assertEqual(
                    [n for n in os.listdir(self.dir)
                     if n.startswith("~up")], [])

    def test_silent_wait_logs_the_holders_and_every_retry(self):
        app = self.arrange()
        self.run_updater(self.exe, args="/SILENT /WAIT=3 /LOG=" +
                         self.wpath("run.log"), holds=[app], exit_code=6)
        with open(self.path("run.log"), "rb") as f:
            lines = [STAMP.sub("", l) for l in
                     f.read()[3:].decode("utf-8").split("\r\n")[:-1]]
        held = logged(app)
        # The check before any file is replaced opens it: a sharing
        # violation.
        copy = r"copy %s -> %s: failed, error 32: \S" % (
            logged(self.wpath("new.dat")), held)
        expected = [
            copy,
            r"%s is in use: waiting up to 3 s, held by a program the system "
            r"does not name$" % held,
        ]
        for n in (1, 2, 3):
            expected += [r"%s is in use: retry %d in \d+ ms$" % (held, n), copy]
        expected += [
            r"%s stayed in use for 3 s: giving up, held by a program the "
            r"system does not name$" % held,
            r"end \[CP\] result false, the run stops$",
            r"exit code 6$",
        ]
        at = next(i for i, l in enumerate(lines) if l.startswith("copy "))
        self.assertEqual(len(lines) - at, len(expected), "\n".join(lines))
        for line, pattern in zip(lines[at:], expected):
            self.assertRegex(line, "^" + pattern)


if __name__ == "__main__":
    unittest.main()
