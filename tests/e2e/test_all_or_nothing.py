"""A COPY of ten files under Wine whose sixth destination cannot be renamed:
another program holds it sharing reading and writing but not deleting, so
the check before any file is replaced passes and the sixth swap fails. The
five files already replaced are put back: all ten stay old, exit code 3, the
log says so, and nothing staged or backed up is left.
"""

import os
import unittest

from harness import UpdaterCase, message

NAME = "All"
COUNT = 10


class AllOrNothing(UpdaterCase):
    def test_sixth_swap_failing_puts_back_the_five_before_it(self):
        sources = ",".join("<Src>\\new\\f%d.dll" % i for i in range(COUNT))
        targets = ",".join("<Src>\\app\\f%d.dll" % i for i in range(COUNT))
        exe = self.install(settings=(
            "[UPDATER]\nNAME=%s\nPROC=CP\n[CP]\nMODE=COPY\nFROM=%s\nTO=%s\n"
            % (NAME, sources, targets)))
        for i in range(COUNT):
            self.write("new/f%d.dll" % i, "new %d" % i)
            self.write("app/f%d.dll" % i, "old %d" % i)
        sixth = self.wpath("app", "f5.dll")
        result = self.run_updater(
            exe, args="/LOG=" + self.wpath("run.log"), holds_shared=[sixth],
            exit_code=3)
        self.assertEqual(len(result.boxes), 1, result.boxes)
        self.assertBox(result.boxes[0],
                       message(8, self.wpath("new", "f5.dll"), sixth),
                       caption=NAME)
        for i in range(COUNT):
            with open(self.path("app", "f%d.dll" % i), "rb") as f:
                self.assertEqual(f.read(), ("old %d" % i).encode())
        self.assertEqual(sorted(os.listdir(self.path("app"))),
                         sorted("f%d.dll" % i for i in range(COUNT)))
        self.assertEqual([n for n in os.listdir(self.path()) if "~up" in n],
                         [])
        with open(self.path("run.log"), "rb") as f:
            log = f.read().decode("utf-8")
        self.assertRegex(log, r"restored 5 of 10 files\r\n")


if __name__ == "__main__":
    unittest.main()
