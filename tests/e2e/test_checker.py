"""updater-check.exe under Wine: it agrees with updater.exe on what stops a
run, and --here tells what a run would meet on this PC (held, read-only and
missing files) while changing nothing, starting nothing and showing no
box."""

import json
import os
import re
import shutil
import unittest

from harness import BIN_DIR, UpdaterCase, message, sjis

CHECKER = os.path.join(BIN_DIR, "updater-check.exe")
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CORPUS = os.path.join(ROOT, "tests", "checker", "corpus")


def line_of(settings, text):
    """1-based number of the first line of `settings` starting with `text`."""
    for number, line in enumerate(settings.split("\n"), 1):
        if line.startswith(text):
            return number
    raise AssertionError("no line starts with %r" % text)


class CheckerCase(UpdaterCase):
    def check(self, settings_name, *options, holds=(), exit_code=0,
              locale=None):
        """Runs updater-check.exe from the case folder on one of its
        settings files; the boxdriver's result and the report's bytes."""
        shutil.copyfile(CHECKER, self.path("updater-check.exe"))
        report = self.path("_report.txt")
        args = " ".join(options + (self.wpath(settings_name),))
        result = self.run_updater(self.wpath("updater-check.exe"), args=args,
                                  holds=holds, output=report,
                                  exit_code=exit_code,
                                  **({"locale": locale} if locale else {}))
        with open(report, "rb") as f:
            return result, f.read()


class Agreement(CheckerCase):
    # Corpus files whose run the updater stops with a box at load time or at
    # a SWITCH or MSGBOX before anything else.
    REFUSED = ("load_errors.ini", "list_names.ini", "updater_keys.ini",
               "proc_empty.ini", "switch_refs.ini", "msgbox_values.ini")

    def test_updater_first_box_is_one_of_the_checker_errors(self):
        for name in self.REFUSED:
            with self.subTest(name=name):
                with open(os.path.join(CORPUS, name), "rb") as f:
                    settings = f.read()
                exe = self.install("updater.exe")
                with open(self.path("updater.ini"), "wb") as f:
                    f.write(settings)
                boxes = self.run_updater(exe).boxes
                self.assertTrue(boxes, "the updater showed no box")
                _, report = self.check("updater.ini", "--json", exit_code=2)
                findings = json.loads(report.decode("utf-8"))["files"][0]["findings"]
                predicted = [message(f["box"]["id"], *f["box"]["args"])
                             for f in findings
                             if f["severity"] == "error" and "box" in f]
                self.assertIn(boxes[0].text, predicted)


class Names(CheckerCase):
    def test_a_japanese_file_name_reads_under_every_locale(self):
        # ソ ends in the byte of a backslash.
        self.write("更新ソフト.ini", b"[UPDATER]\r\nNAME=A\r\nPROC=NONE\r\n")
        for locale in ("ja_JP.UTF-8", "en_US.UTF-8", "zh_CN.UTF-8"):
            with self.subTest(locale=locale):
                _, report = self.check("更新ソフト.ini", exit_code=2,
                                       locale=locale)
                self.assertIn(sjis(self.wpath("更新ソフト.ini")) +
                              b":3: error U020:", report)


class Here(CheckerCase):
    SETTINGS = (
        "[UPDATER]\nNAME=Here\nPROC=CP, OLD, HAS, RUN, LNK\n"
        "[CP]\nMODE=COPY\n"
        "FROM=<Src>\\new\\a.dll, <Src>\\new\\b.dll, <Src>\\new\\c.dll\n"
        "TO=<Src>\\app\\ro.dll, <Src>\\app\\held.dll, <Src>\\app\\c.dll\n"
        "[OLD]\nMODE=DATE\nFILE=<Src>\\app\\old.dat\nDATE=2001/04/25\n"
        "[HAS]\nMODE=EXIST\nFILE=<Src>\\app\\held.dll\n"
        "[RUN]\nMODE=LAUNCH\nFILE=<Src>\\tools\\setup.exe\nPARAM=\nISWAIT=1\n"
        "[LNK]\nMODE=LINK\nSRC=<Src>\\app\\a.dll\nPARAM=\nSHOWCMD=1\n"
        "DST=<Src>\\menu\\App\n")

    def test_reports_what_a_run_would_meet_and_changes_nothing(self):
        self.write("new/a.dll", b"a")
        self.write("new/b.dll", b"b")
        self.write("app/ro.dll", b"r")
        os.chmod(self.path("app", "ro.dll"), 0o444)  # read-only to Wine
        self.write("app/held.dll", b"h")
        self.write("app/old.dat", b"o", mtime=946684800)  # 2000-01-01
        self.write("setup.ini", self.SETTINGS.replace("\n", "\r\n"))
        self.assertEqual(self.attributes(self.wpath("app", "ro.dll")) & 1, 1)

        # Nothing to say without looking at the PC.
        result, report = self.check("setup.ini")
        self.assertEqual(report, b"")

        result, report = self.check("setup.ini", "--here", exit_code=2,
                                    holds=[self.wpath("app", "held.dll")])
        self.assertEqual(result.boxes, [])
        found = [(int(m.group(1)), m.group(2)) for m in
                 re.finditer(r":(\d+): \w+ (U\d{3}):", report.decode("cp932"))]
        s = self.SETTINGS
        self.assertEqual(sorted(found), sorted([
            (line_of(s, "FROM="), "U101"),                    # c.dll
            (line_of(s, "TO="), "U102"),                      # ro.dll
            (line_of(s, "TO="), "U103"),                      # held.dll
            (line_of(s, "FILE=<Src>\\app\\old"), "U108"),     # older: 1
            (line_of(s, "FILE=<Src>\\app\\held"), "U109"),    # exists: 1
            (line_of(s, "FILE=<Src>\\tools"), "U106"),        # setup.exe
            (line_of(s, "DST="), "U107"),                     # menu folder
        ]), report)
        self.assertIn("result now 1", report.decode("cp932"))

        with open(self.path("app", "held.dll"), "rb") as f:
            self.assertEqual(f.read(), b"h")
        self.assertEqual(self.attributes(self.wpath("app", "ro.dll")) & 1, 1)
        self.assertEqual(sorted(os.listdir(self.path("app"))),
                         ["held.dll", "old.dat", "ro.dll"])
        self.assertFalse(os.path.exists(self.path("menu")))


if __name__ == "__main__":
    unittest.main()
