"""COPY, DELETE, MAKEDIR, EXIST and DATE on real files under Wine.

The test kinds (EXIST, DATE) only set their result; a SWITCH after them
takes its "1" list (a MAKEDIR of <Src>\\yes) or its "0" list (<Src>\\no), so
the folder that appears shows the result.
"""

import datetime
import os
import unittest

from harness import IDCANCEL, IDRETRY, UpdaterCase, message

CAPTION = "File Test"

# Wine converts file times with the Unix process's time zone. The updater
# runs nine hours east of UTC here, so that a time shortly after local
# midnight still lies on the previous day in UTC: a conversion that skipped
# the local time would be seen.
TZ = "JST-9"
LOCAL = datetime.timezone(datetime.timedelta(hours=9))

BRANCHES = ("[YES]\nMODE=MAKEDIR\nDIR=<Src>\\yes\n"
            "[NO]\nMODE=MAKEDIR\nDIR=<Src>\\no\n")


def settings(proc, sections):
    return "[UPDATER]\nNAME=%s\nPROC=%s\n%s" % (CAPTION, proc, sections)


def switch_on(tested):
    """Sections for a SWITCH named ON that shows `tested`'s result."""
    return "[ON]\nMODE=SWITCH\nPROC=%s\n0=NO\n1=YES\n%s" % (tested, BRANCHES)


def local_time(year, month, day, hour=12, minute=0):
    return datetime.datetime(year, month, day, hour, minute,
                             tzinfo=LOCAL).timestamp()


class FileProcedureCase(UpdaterCase):
    def setUp(self):
        super().setUp()
        previous = os.environ.get("TZ")
        os.environ["TZ"] = TZ
        self.addCleanup(self.restore_tz, previous)

    @staticmethod
    def restore_tz(previous):
        if previous is None:
            os.environ.pop("TZ", None)
        else:
            os.environ["TZ"] = previous

    def run_settings(self, proc, sections, **kwargs):
        exe = self.install("updater.exe", settings(proc, sections))
        return self.run_updater(exe, **kwargs)

    def read(self, rel):
        with open(self.path(*rel.split("\\")), "rb") as f:
            return f.read()

    def exists(self, rel):
        return os.path.exists(self.path(*rel.split("\\")))

    def branch_taken(self):
        yes, no = self.exists("yes"), self.exists("no")
        self.assertNotEqual(yes, no, "exactly one branch should have run")
        return yes

    def reset_branches(self):
        for name in ("yes", "no"):
            if self.exists(name):
                os.rmdir(self.path(name))


class Copy(FileProcedureCase):
    def setUp(self):
        super().setUp()
        for name in ("a", "b", "c"):
            self.write("new/%s.dll" % name, "new " + name)
            self.write("app/%s.dll" % name, "old " + name)

    def test_pairs_replace_existing_files_and_set_the_result(self):
        new, app = self.wpath("new"), self.wpath("app")
        result = self.run_settings(
            "C, ON",
            "[C]\nMODE=COPY\nFROM= %s\\a.dll , %s\\b.dll\nTO=%s\\a.dll ,%s\\fresh.dll \n"
            % (new, new, app, app) + switch_on("C"))
        self.assertEqual(result.boxes, [])
        self.assertEqual(self.read("app\\a.dll"), b"new a")
        self.assertEqual(self.read("app\\fresh.dll"), b"new b")
        self.assertEqual(self.read("app\\b.dll"), b"old b")
        self.assertTrue(self.branch_taken())

    def test_destination_held_open_without_sharing_stops_the_run(self):
        # After the quiet retries the box asks to close the program; Cancel
        # stops the run without the copy's failure box.
        new, app = self.wpath("new"), self.wpath("app")
        result = self.run_settings(
            "C, YES",
            "[C]\nMODE=COPY\nFROM=%s\\a.dll,%s\\b.dll,%s\\c.dll\n"
            "TO=%s\\a.dll,%s\\b.dll,%s\\c.dll\n" % (new, new, new, app, app, app)
            + BRANCHES,
            holds=[app + "\\b.dll"], answers=(IDCANCEL,))
        self.assertEqual(len(result.boxes), 1, result.boxes)
        self.assertBox(result.boxes[0], message(17, app + "\\b.dll"),
                       caption=CAPTION, buttons=(IDRETRY, IDCANCEL))
        # All or nothing: a.dll is not replaced either.
        self.assertEqual(self.read("app\\a.dll"), b"old a")
        self.assertEqual(self.read("app\\b.dll"), b"old b")
        self.assertEqual(self.read("app\\c.dll"), b"old c")
        self.assertEqual(sorted(os.listdir(self.path("app"))),
                         ["a.dll", "b.dll", "c.dll"])
        self.assertFalse(self.exists("yes"))

    def test_refused_destination_is_kept_and_nothing_is_left_beside_it(self):
        # Refused under Wine as well, where root could write through the
        # read-only file.
        new, app = self.wpath("new"), self.wpath("app")
        cases = [("read-only", app + "\\b.dll"), ("missing folder", app + "\\none\\b.dll")]
        for what, target in cases:
            with self.subTest(what):
                self.reset_branches()
                self.write("app/b.dll", "old b")
                if what == "read-only":
                    os.chmod(self.path("app", "b.dll"), 0o444)
                result = self.run_settings(
                    "C, YES", "[C]\nMODE=COPY\nFROM=%s\\b.dll\nTO=%s\n" % (new, target)
                    + BRANCHES)
                os.chmod(self.path("app", "b.dll"), 0o644)
                self.assertEqual(len(result.boxes), 1, result.boxes)
                self.assertBox(result.boxes[0], message(8, new + "\\b.dll", target),
                               caption=CAPTION)
                self.assertEqual(self.read("app\\b.dll"), b"old b")
                self.assertEqual(sorted(os.listdir(self.path("app"))),
                                 ["a.dll", "b.dll", "c.dll"])
                self.assertFalse(self.exists("yes"))

    def test_shorter_to_list_gives_an_empty_destination(self):
        new, app = self.wpath("new"), self.wpath("app")
        result = self.run_settings(
            "C", "[C]\nMODE=COPY\nFROM=%s\\a.dll, %s\\b.dll\nTO=%s\\a.dll\n"
            % (new, new, app))
        self.assertEqual(len(result.boxes), 1, result.boxes)
        self.assertBox(result.boxes[0], message(8, new + "\\b.dll", ""),
                       caption=CAPTION)
        self.assertEqual(self.read("app\\a.dll"), b"old a")


class Delete(FileProcedureCase):
    def setUp(self):
        super().setUp()
        for name in ("a", "b", "c"):
            self.write("d/%s.tmp" % name, name)

    def test_every_item_is_deleted(self):
        d = self.wpath("d")
        result = self.run_settings(
            "D", "[D]\nMODE=DELETE\nFILE= %s\\a.tmp ,%s\\b.tmp \n" % (d, d))
        self.assertEqual(result.boxes, [])
        self.assertFalse(self.exists("d\\a.tmp"))
        self.assertFalse(self.exists("d\\b.tmp"))
        self.assertTrue(self.exists("d\\c.tmp"))

    def test_item_that_cannot_be_deleted_stops_the_run(self):
        d = self.wpath("d")
        # The middle item of 'a.tmp, <item>, c.tmp'; READONLY is made
        # read-only by an ATTR procedure first.
        cases = ["missing.tmp", "READONLY", "*.tmp", "sub"]
        for middle in cases:
            with self.subTest(middle=middle):
                self.setUp()
                os.makedirs(self.path("d", "sub"))
                proc, sections = "D, YES", BRANCHES
                if middle == "READONLY":
                    middle = "b.tmp"
                    proc = "RO, " + proc
                    sections += "[RO]\nMODE=ATTR\nFILE=%s\\b.tmp\nARG=0x1\n" % d
                sections += ("[D]\nMODE=DELETE\nFILE=%s\\a.tmp, %s\\%s , %s\\c.tmp\n"
                             % (d, d, middle, d))
                result = self.run_settings(proc, sections)
                self.assertEqual(len(result.boxes), 1, result.boxes)
                self.assertBox(result.boxes[0], message(10, d + "\\" + middle),
                               caption=CAPTION)
                self.assertFalse(self.exists("d\\a.tmp"))
                self.assertTrue(self.exists("d\\b.tmp"))
                self.assertTrue(self.exists("d\\c.tmp"))
                self.assertTrue(self.exists("d\\sub"))
                self.assertFalse(self.exists("yes"))


class Makedir(FileProcedureCase):
    def test_parent_then_child_and_again(self):
        # Written with trailing backslashes, the folders must still be found
        # on the second run.
        for name, dirs in (("X", "%s , %s\\Data"), ("Y", "%s\\, %s\\Data\\")):
            folder = self.wpath(name)
            for run in range(2):
                with self.subTest(dirs=dirs, run=run):
                    result = self.run_settings(
                        "M, ON", "[M]\nMODE=MAKEDIR\nDIR=%s\n" % (dirs % (folder, folder))
                        + switch_on("M"))
                    self.assertEqual(result.boxes, [])
                    self.assertTrue(os.path.isdir(self.path(name, "Data")))
                    self.assertTrue(self.branch_taken())
                    self.reset_branches()

    def test_child_alone_fails_while_its_parent_is_missing(self):
        x = self.wpath("X")
        result = self.run_settings(
            "M, YES", "[M]\nMODE=MAKEDIR\nDIR=%s\\Data\n" % x + BRANCHES)
        self.assertEqual(len(result.boxes), 1, result.boxes)
        self.assertBox(result.boxes[0], message(13, x + "\\Data"), caption=CAPTION)
        self.assertFalse(self.exists("X"))
        self.assertFalse(self.exists("yes"))

    def test_file_of_that_name_is_left_alone(self):
        self.write("X", "file")
        result = self.run_settings(
            "M", "[M]\nMODE=MAKEDIR\nDIR=%s\n" % self.wpath("X"))
        self.assertEqual(result.boxes, [])
        self.assertEqual(self.read("X"), b"file")


class Exist(FileProcedureCase):
    def test_result_is_true_only_when_every_item_exists(self):
        self.write("a.txt", "a")
        self.write("lib/x.dll", "x")
        os.makedirs(self.path("sub"))
        src = self.wpath()
        cases = [
            ("%s\\a.txt, %s\\sub , %s\\lib\\*.dll" % (src, src, src), True),
            ("%s\\a.txt,%s\\missing.txt" % (src, src), False),
            ("%s\\missing.txt,%s\\a.txt" % (src, src), False),
            ("%s\\lib\\*.exe" % src, False),
            ("%s\\sub\\" % src, True),
            ("%s\\a.txt\\" % src, False),
        ]
        for items, expected in cases:
            with self.subTest(items=items):
                result = self.run_settings(
                    "E, ON", "[E]\nMODE=EXIST\nFILE=%s\n" % items + switch_on("E"))
                self.assertEqual(result.boxes, [])
                self.assertEqual(self.branch_taken(), expected)
                self.reset_branches()


class Date(FileProcedureCase):
    DATE = "2023/06/15"

    def run_date(self, files, holds=()):
        """Runs a DATE procedure on `files`; True when its result was set
        (an update is due)."""
        items = ", ".join(self.wpath(f) for f in files)
        result = self.run_settings(
            "CHK, ON", "[CHK]\nMODE=DATE\nFILE=%s\nDATE=%s\n" % (items, self.DATE)
            + switch_on("CHK"), holds=holds)
        self.assertEqual(result.boxes, [])
        taken = self.branch_taken()
        self.reset_branches()
        return taken

    def test_last_write_dates_against_the_date(self):
        cases = [
            # (local last-write time, update due)
            ((2023, 6, 14, 23, 59), True),
            ((2023, 6, 15, 0, 1), False),   # 2023-06-14 in UTC
            ((2023, 6, 15, 23, 59), False),
            ((2024, 1, 1, 0, 0), False),
            ((2022, 12, 31, 12, 0), True),
        ]
        for when, due in cases:
            with self.subTest(when=when):
                self.write("tool.exe", "x", mtime=local_time(*when))
                self.assertEqual(self.run_date(["tool.exe"]), due)

    def test_first_file_not_current_decides(self):
        current = local_time(2023, 6, 15)
        self.write("a.exe", "a", mtime=current)
        self.write("b.exe", "b", mtime=current)
        self.assertFalse(self.run_date(["a.exe", "b.exe"]))
        self.assertTrue(self.run_date(["a.exe", "missing.exe", "b.exe"]))

    def test_files_that_cannot_be_opened_count_as_older(self):
        self.write("tool.exe", "x", mtime=local_time(2024, 1, 1))
        # Held open without sharing by another process.
        self.assertTrue(self.run_date(["tool.exe"], holds=[self.wpath("tool.exe")]))
        os.makedirs(self.path("folder"))
        os.utime(self.path("folder"), (local_time(2024, 1, 1),) * 2)
        self.assertTrue(self.run_date(["tool.exe", "folder"]))


class TypicalSettingsFile(FileProcedureCase):
    """A DATE decides and a SWITCH runs the COPY that replaces the file."""

    SETTINGS = (
        "[UPDATER]\nNAME=%s\nPROC=CHK, GO\n"
        "[DEFINE]\n<Tool>=<Src>\\Tool\n"
        "[CHK]\nMODE=DATE\nFILE=<Tool>\\tool.exe\nDATE=2023/06/15\n"
        "[GO]\nMODE=SWITCH\nPROC=CHK\n1=COPY1\n0=\n"
        "[COPY1]\nMODE=COPY\nFROM=<Src>\\new\\tool.exe\nTO=<Tool>\\tool.exe\n"
        % CAPTION)

    def run_typical(self):
        exe = self.install("updater.exe", self.SETTINGS)
        return self.run_updater(exe)

    def test_old_file_is_replaced_once(self):
        self.write("Tool/tool.exe", "old", mtime=local_time(2023, 6, 1))
        self.write("new/tool.exe", "new", mtime=local_time(2023, 6, 15))
        self.assertEqual(self.run_typical().boxes, [])
        self.assertEqual(self.read("Tool\\tool.exe"), b"new")
        # The copy kept the source's date, so the file is current now: a
        # newer build of the source is not copied on the next run.
        self.write("new/tool.exe", "newer", mtime=local_time(2023, 6, 15))
        self.assertEqual(self.run_typical().boxes, [])
        self.assertEqual(self.read("Tool\\tool.exe"), b"new")

    def test_current_file_is_kept(self):
        self.write("Tool/tool.exe", "current", mtime=local_time(2023, 7, 1))
        self.write("new/tool.exe", "new", mtime=local_time(2023, 6, 15))
        self.assertEqual(self.run_typical().boxes, [])
        self.assertEqual(self.read("Tool\\tool.exe"), b"current")


if __name__ == "__main__":
    unittest.main()
