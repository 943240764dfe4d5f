"""Unattended runs under Wine: every exit code, silent mode, the log, and
two updaters started together.

In silent mode no box may appear at all: boxdriver records every window of
class #32770 the updater shows (and answers it, so that none could block),
so an empty list of boxes means none appeared.
"""

import glob
import os
import re
import shutil
import threading
import time
import unittest

from harness import (BOXDRIVER, DEFAULT_CAPTION, DRIVE_C, IDCANCEL, IDNO, IDYES,
                     MESSAGES, UpdaterCase, message, sjis)

PROBE = os.path.join(os.path.dirname(BOXDRIVER), "probe.exe")
IS_64 = os.environ.get("UPDATER_TOOLCHAIN", "").startswith("x86_64")
NAME = "更新ツール"  # its Shift-JIS bytes hold a backslash and a brace
STAMP = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[(\d+)\] ")


def logged(text):
    """A text as the log writes it: a backslash twice, a line break as \\n."""
    return text.replace("\\", "\\\\").replace("\n", "\\n")


def esc(text):
    return re.escape(logged(text))


def settings(proc, sections, name=NAME):
    return "[UPDATER]\nNAME=%s\nPROC=%s\n%s" % (name, proc, sections)


def msgbox(name, kind, isabort, text="Go?"):
    return ("[%s]\nMODE=MSGBOX\nFLAG=\nTYPE=%s\nTEXT=%s\nISABORT=%s\n"
            % (name, kind, text, isabort))


# Copies new.dat over app.dat: the visible trace of a run that went on.
COPY = "[CP]\nMODE=COPY\nFROM=<Src>\\new.dat\nTO=<Src>\\app.dat\n"


class UnattendedCase(UpdaterCase):
    def setUp(self):
        super().setUp()
        self.exe = self.install()

    def arrange(self, text):
        """Settings, and app.dat back to its old contents."""
        self.install(settings=text)
        self.write("new.dat", "new")
        self.write("app.dat", "old")

    def app(self):
        with open(self.path("app.dat"), "rb") as f:
            return f.read()

    def log_lines(self, path):
        """The log's lines without their stamps; every line must have one."""
        with open(path, "rb") as f:
            data = f.read()
        self.assertTrue(data.startswith(b"\xef\xbb\xbf"), data[:20])
        lines = []
        for line in data[3:].decode("utf-8").split("\r\n")[:-1]:
            self.assertRegex(line, STAMP)
            lines.append(STAMP.sub("", line))
        return lines


class ExitCodes(UnattendedCase):
    CASES = [
        # (what, settings or None, answers, code, message ids of the boxes;
        # None for the MSGBOX)
        ("done", settings("CP", COPY), (), 0, []),
        ("no settings file", None, (), 1, [1]),
        ("empty PROC", settings("", ""), (), 1, [4]),
        ("unknown MODE", settings("CP,X", COPY + "[X]\nMODE=MOVE\n"), (), 2,
         [6]),
        ("branch list with a missing key",
         settings("T,S", "[T]\nMODE=OSVER\n[S]\nMODE=SWITCH\nPROC=T\n0=\n"
                  "1=CP\n[CP]\nMODE=COPY\nFROM=x\n"), (), 2, [2]),
        ("copy failed",
         settings("CP", "[CP]\nMODE=COPY\nFROM=<Src>\\none.dat\n"
                  "TO=<Src>\\app.dat\n"), (), 3, [8]),
        ("No ends the run", settings("Q,CP", msgbox("Q", "QUESTION", "0,1")
                                     + COPY), (IDNO,), 4, [None]),
    ]

    def test_every_ending_has_its_code(self):
        for what, text, answers, code, boxes in self.CASES:
            with self.subTest(what):
                self.arrange(text or "")
                if text is None:
                    os.remove(self.path("updater.ini"))
                result = self.run_updater(self.exe, answers=answers,
                                          exit_code=code)
                # Each box by its headline, the first line of its message.
                headlines = [sjis(MESSAGES[i] if i else "Go?").split(b"\n")[0]
                             for i in boxes]
                self.assertEqual([b.text.split(b"\n")[0] for b in result.boxes],
                                 headlines)
                self.assertEqual(self.app(), b"new" if code == 0 else b"old")

    def test_two_updaters_started_together(self):
        # Whichever claims the folder first asks; the other finds it taken,
        # says so and ends with 5. Boxdriver answers only once both show a
        # box, so the first cannot finish before the second has checked.
        self.arrange(settings("Q,CP", msgbox("Q", "QUESTION", "0,1") + COPY))
        result = self.run_updater(self.exe, copies=2)
        self.assertEqual(sorted(result.exit_codes.values()), [0, 5], result.raw)
        self.assertEqual(len(result.boxes), 2, result.boxes)
        by_text = {box.text: box for box in result.boxes}
        asked = by_text[sjis("Go?")]
        refused = by_text[message(14, self.wpath().rstrip("\\"))]
        self.assertEqual(refused.caption, sjis(NAME))
        self.assertEqual(result.exit_codes[asked.process], 0)
        self.assertEqual(result.exit_codes[refused.process], 5)
        self.assertEqual(self.app(), b"new")


    def test_updaters_in_two_japanese_folders_run_together(self):
        # In UTF-8 both names hold bytes of 0x81-0x9F. Each run waits for its
        # probe; both probes running at once shows that neither updater was
        # turned away. Then both probes are told to end.
        folders = ("製品", "テスト")
        commands = []
        for folder in folders:
            os.makedirs(self.path(folder))
            exe = self.install(os.path.join(folder, "updater.exe"), settings(
                "RUN", "[RUN]\nMODE=LAUNCH\nFILE=<Src>\\probe.exe\n"
                "PARAM=pause=60000\nISWAIT=1\n"))
            shutil.copyfile(PROBE, self.path(folder, "probe.exe"))
            commands.append('"%s" /SILENT' % exe)
        done = {}

        def run():
            try:
                done["result"] = self.run_updater(
                    None, raw_command_line=commands, timeout_ms=120000)
            except Exception as error:  # raised again below
                done["error"] = error
        runner = threading.Thread(target=run)
        runner.start()
        logs = [self.path(folder, "probe.exe.log") for folder in folders]
        deadline = time.monotonic() + 90
        while (not all(map(os.path.exists, logs))
               and time.monotonic() < deadline and runner.is_alive()):
            time.sleep(0.05)
        together = all(map(os.path.exists, logs))
        for folder in folders:
            self.write(os.path.join(folder, "probe.exe.quit"))
        runner.join(200)
        if "error" in done:
            raise done["error"]
        self.assertTrue(together, done["result"].raw)
        self.assertEqual(list(done["result"].exit_codes.values()), [0, 0])

class SilentMode(UnattendedCase):
    CASES = [
        # (TYPE, ISABORT, exit code, whether Q's answer let CP run)
        ("QUESTION", "0,1", 0, True),   # Yes
        ("WARNING", "0,1", 4, False),   # No
        ("WARNING", "0,0", 0, False),
        ("INFORMATION", "0,0", 0, True),  # OK
        ("ERROR", "1,0", 4, False),
    ]

    SWITCHES = ("/SILENT", "/verysilent", "/SuppressMsgBoxes")

    def test_each_type_takes_its_default_button(self):
        for n, (kind, isabort, code, copied) in enumerate(self.CASES):
            switch = self.SWITCHES[n % len(self.SWITCHES)]
            with self.subTest(kind=kind, isabort=isabort, switch=switch):
                self.arrange(settings(
                    "Q,S", msgbox("Q", kind, isabort) + COPY +
                    "[S]\nMODE=SWITCH\nPROC=Q\n0=\n1=CP\n"))
                result = self.run_updater(self.exe, args=switch,
                                          exit_code=code)
                self.assertEqual(result.boxes, [])
                self.assertEqual(self.app(), b"new" if copied else b"old")

    def test_an_error_ends_the_run_in_the_log_instead_of_a_box(self):
        self.arrange(settings("D", "[D]\nMODE=DELETE\nFILE=<Src>\\none.dat\n"))
        log = self.path("run.log")
        result = self.run_updater(
            self.exe, args='/SILENT /LOG="%s"' % self.wpath("run.log"),
            exit_code=3)
        self.assertEqual(result.boxes, [])
        text = message(10, self.wpath("none.dat")).decode("cp932")
        self.assertIn('error box "%s": %s -> OK (silent mode: the default '
                      'button)' % (NAME, logged(text)),
                      self.log_lines(log))


class Log(UnattendedCase):
    def test_every_kind_of_line(self):
        shutil.copyfile(PROBE, self.path("probe.exe"))
        self.arrange(settings(
            "MK,HAS,OLD,Q,RUN,CP,LNK,HELD",
            "[MK]\nMODE=MAKEDIR\nDIR=<Src>\\sub\n"
            "[HAS]\nMODE=EXIST\nFILE=<Src>\\new.dat\n"
            "[OLD]\nMODE=DATE\nFILE=<Src>\\app.dat\nDATE=2000/01/01\n"
            + msgbox("Q", "QUESTION", "0,1", "Go?%nNow") +
            "[RUN]\nMODE=LAUNCH\nFILE=<Src>\\probe.exe\nPARAM=pause=0\n"
            "ISWAIT=1\n" + COPY.replace("app.dat", "sub\\app.dat") +
            "[LNK]\nMODE=LINK\nSRC=<Src>\\probe.exe\nPARAM=\nSHOWCMD=1\n"
            "DST=<Src>\\missing\\Probe\n"
            "[HELD]\nMODE=COPY\nFROM=<Src>\\new.dat\nTO=<Src>\\held.dat\n"))
        self.write("held.dat", "kept")
        log = self.path("logs", "run.log")
        os.makedirs(os.path.dirname(log))
        args = '"My Tool" /LOG="%s"' % self.wpath("logs", "run.log")
        self.run_updater(self.exe, args=args, answers=(IDYES, IDCANCEL),
                         holds=(self.wpath("held.dat"),), exit_code=3)
        src = self.wpath()
        lines = self.log_lines(log)
        held = esc(src + "\\held.dat")
        # The copy beside it succeeds; renaming it over the held file is
        # refused with "access denied" (5), as on Windows.
        held_copy = r"copy %s -> %s: failed, error 32: \S" % (
            esc(src + "\\new.dat"), held)
        expected = [
            r"updater \d+\.\d+\.\d+, %d-bit build, arguments: %s$"
            % (64 if IS_64 else 32, esc(args)),
            r"Windows \d+\.\d+\.\d+ \(NT family\), elevated: (yes|no)$",
            r"settings: %s$" % esc(src + "\\updater.ini"),
            r"start \[MK\] MODE=MAKEDIR DIR=\"%s\"$" % esc(src + "\\sub"),
            r"make directory %s: done$" % esc(src + "\\sub"),
            r"end \[MK\] result true$",
            r"start \[HAS\] MODE=EXIST FILE=",
            r"exists %s: yes$" % esc(src + "\\new.dat"),
            r"end \[HAS\] result true$",
            r"start \[OLD\] MODE=DATE FILE=.* DATE=\"2000/01/01\"$",
            r"date of %s: \d{4}-\d\d-\d\d$" % esc(src + "\\app.dat"),
            r"end \[OLD\] result false$",
            r"start \[Q\] MODE=MSGBOX FLAG=\"\" TYPE=\"QUESTION\" "
            r"TEXT=\"Go\?%nNow\" ISABORT=\"0,1\"$",
            r"MSGBOX box \"%s\": Go\?\\nNow -> Yes$" % NAME,
            r"end \[Q\] result true$",
            r"start \[RUN\] MODE=LAUNCH FILE=.* PARAM=\"pause=0\" ISWAIT=\"1\"$",
            r"launch %s pause=0 in %s: done$"
            % (esc(src + "\\probe.exe"), esc(src)),
            r"%s ended with exit code 3 \(0x00000003\): success$"
            % esc(src + "\\probe.exe"),
            r"end \[RUN\] result true$",
            r"start \[CP\] MODE=COPY",
            r"stage %s -> %s: done$" % (esc(src + "\\new.dat"),
                                        esc(src + "\\sub\\app.dat")),
            r"copy %s -> %s: done$" % (esc(src + "\\new.dat"),
                                       esc(src + "\\sub\\app.dat")),
            r"end \[CP\] result true$",
            r"start \[LNK\] MODE=LINK",
            r"shortcut %s -> %s: failed, error 0x80070003: \S"
            % (esc(src + "\\missing\\Probe.LNK"),
               esc(src + "\\probe.exe")),
            r"end \[LNK\] result false$",
            r"start \[HELD\] MODE=COPY",
            r"stage %s -> %s: done$" % (esc(src + "\\new.dat"), held),
            held_copy,
        ] + [line for n in range(1, 6) for line in (
            # Each quiet retry, and the box when it is still held.
            r"%s is in use: retry %d of 5 in 1000 ms$" % (held, n), held_copy)
        ] + [
            r"in use box \"%s\": %s -> Cancel$" % (NAME, esc(
                message(17, src + "\\held.dat").decode("cp932"))),
            r"%s stayed in use: cancelled$" % held,
            r"end \[HELD\] result false, the run stops$",
            r"exit code 3$",
        ]
        self.assertEqual(len(lines), len(expected), "\n".join(lines))
        for line, pattern in zip(lines, expected):
            self.assertRegex(line, "^" + pattern)

    def test_runs_append_to_one_log(self):
        self.arrange(settings("CP", COPY))
        log = self.wpath("shared.log")
        self.run_updater(self.exe, args="/SILENT /LOG=" + log, exit_code=0)
        self.run_updater(self.exe, args="/LOG=" + log, exit_code=0)
        lines = self.log_lines(self.path("shared.log"))  # one mark, first
        self.assertEqual([l for l in lines if l.startswith("exit code")],
                         ["exit code 0"] * 2)

    def test_runs_at_once_keep_every_line_whole(self):
        # Four updaters in four folders write one log at the same time.
        count = 300
        text = settings(",".join("P%d" % i for i in range(count)), "".join(
            "[P%d]\nMODE=EXIST\nFILE=<Src>\\テスト.dat\n" % i
            for i in range(count)))
        commands = []
        for run in range(4):
            folder = "run%d" % run
            os.makedirs(self.path(folder))
            exe = self.install(os.path.join(folder, "updater.exe"), text)
            self.write(os.path.join(folder, "テスト.dat"), "x")
            commands.append('"%s" /SILENT /LOG="%s"'
                            % (exe, self.wpath("shared.log")))
        result = self.run_updater(None, raw_command_line=commands)
        self.assertEqual(list(result.exit_codes.values()), [0] * 4)
        with open(self.path("shared.log"), "rb") as f:
            data = f.read()
        self.assertEqual(data.count(b"\xef\xbb\xbf"), 1)
        by_process = {}
        for line in data[3:].decode("utf-8").split("\r\n")[:-1]:
            self.assertRegex(line, STAMP)
            pid = STAMP.match(line).group(1)
            by_process.setdefault(pid, []).append(STAMP.sub("", line))
        self.assertEqual(len(by_process), 4, by_process.keys())
        for lines in by_process.values():
            # The header's three lines, three for each procedure, the end.
            self.assertEqual(len(lines), 3 + 3 * count + 1)
            self.assertRegex(lines[4], r"^exists C:.*\\\\テスト\.dat: yes$")
            self.assertEqual(lines[-1], "exit code 0")

    def test_a_log_in_a_missing_folder_changes_nothing(self):
        text = settings("D", "[D]\nMODE=DELETE\nFILE=<Src>\\none.dat\n")
        self.arrange(text)
        plain = self.run_updater(self.exe, args="Cap", exit_code=3)
        self.arrange(text)
        logged = self.run_updater(
            self.exe, args="Cap /LOG=%s" % self.wpath("no", "run.log"),
            exit_code=3)
        self.assertEqual([(b.caption, b.text) for b in logged.boxes],
                         [(b.caption, b.text) for b in plain.boxes])
        self.assertFalse(os.path.exists(self.path("no")))

    def test_log_without_a_path_goes_to_the_temporary_folder(self):
        exe = self.install("logtest.exe", settings=settings("CP", COPY))
        self.write("new.dat", "new")
        temp = self.folders()["temp"].decode("cp932")
        self.assertTrue(temp.startswith("C:\\"), temp)
        unix_temp = os.path.join(DRIVE_C, *temp[3:].rstrip("\\").split("\\"))
        pattern = os.path.join(unix_temp, "logtest *.log")
        for old in glob.glob(pattern):
            os.remove(old)
        for _ in range(2):
            self.run_updater(exe, args="/LOG", exit_code=0)
        names = sorted(os.path.basename(p) for p in glob.glob(pattern))
        self.assertEqual(len(names), 2, names)
        for name, number in zip(names, ("#001", "#002")):
            self.assertRegex(name, r"^logtest \d{4}-\d\d-\d\d %s\.log$" % number)
            lines = self.log_lines(os.path.join(unix_temp, name))
            self.assertEqual(lines[-1], "exit code 0")
        for old in glob.glob(pattern):
            os.remove(old)


class Switches(UnattendedCase):
    """The caption word beside the switches; the settings file is missing, so
    its box (or, silent, none) shows the caption."""

    CASES = [
        # (arguments, caption or None when no box may appear)
        ('"My Tool" /LOG=C:\\no\\a.log', "My Tool"),
        ("Setup /s", "Setup"),
        ("/LOG=C:\\no\\a.log Setup", DEFAULT_CAPTION),
        ('/log="C:\\no where\\a.log" Setup', DEFAULT_CAPTION),
        ("Setup /SILENT", None),
        ("/SILENT Setup", None),
    ]

    def test_caption_and_switches(self):
        for args, caption in self.CASES:
            with self.subTest(args=args):
                result = self.run_updater(self.exe, args=args, exit_code=1)
                if caption is None:
                    self.assertEqual(result.boxes, [])
                else:
                    self.assertEqual(len(result.boxes), 1)
                    self.assertBox(result.boxes[0],
                                   message(1, self.wpath("updater.ini")),
                                   caption=caption)


if __name__ == "__main__":
    unittest.main()
