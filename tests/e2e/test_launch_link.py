"""LAUNCH and LINK procedures on real processes and shell links under Wine.

The started programs are our own probes (probe.cc): each records its command
line and working directory in <exe>.log next to itself, runs until its
"pause=" has passed or <exe>.quit appears, then writes "end" and <exe>.end
and exits with code 3.
"""

import os
import shutil
import time
import unittest

from harness import BOXDRIVER, DRIVE_C, UpdaterCase, message, wine

HERE_BIN = os.path.dirname(BOXDRIVER)
PROBE = os.path.join(HERE_BIN, "probe.exe")         # console
PROBE_GUI = os.path.join(HERE_BIN, "probegui.exe")  # message loop

READ_ONLY_SEEN = 0x21  # read-only as Wine reports it (archive bit too)


def remove(path):
    if os.path.isdir(path):
        shutil.rmtree(path)
    elif os.path.exists(path):
        os.remove(path)


def settings(proc, sections):
    return "[UPDATER]\nNAME=Launch Test\nPROC=%s\n%s" % (proc, sections)


class ProbeCase(UpdaterCase):
    def setUp(self):
        super().setUp()
        self.probes = []

    def tearDown(self):
        # Nothing may outlive the case: ask every probe to end and wait for it
        # (each also ends by itself when its pause has passed).
        for exe in self.probes:
            if os.path.exists(exe + ".log") and not os.path.exists(exe + ".end"):
                with open(exe + ".quit", "wb"):
                    pass
                self.wait_for(exe + ".end", 20)
        super().tearDown()

    def probe(self, rel, source=PROBE):
        """Copies a probe to `rel` below the case folder or, for an absolute
        path, there; returns its Unix path."""
        full = rel if os.path.isabs(rel) else self.path(*rel.split("\\"))
        os.makedirs(os.path.dirname(full), exist_ok=True)
        shutil.copyfile(source, full)
        self.probes.append(full)
        return full

    def wait_for(self, path, seconds):
        deadline = time.monotonic() + seconds
        while not os.path.exists(path):
            if time.monotonic() > deadline:
                self.fail("%s did not appear within %d s" % (path, seconds))
            time.sleep(0.05)

    def log(self, exe):
        """The probe's log as a list of ("start", command line, working
        directory) and ("end",) entries, all bytes."""
        entries = []
        if not os.path.exists(exe + ".log"):
            return entries
        with open(exe + ".log", "rb") as f:
            for line in f.read().split(b"\r\n"):
                parts = line.split(b" ")
                if parts[0] == b"start":
                    entries.append(("start", bytes.fromhex(parts[1].decode()),
                                    bytes.fromhex(parts[2].decode()) if len(parts) > 2 else b""))
                elif parts[0] == b"end":
                    entries.append(("end",))
        return entries

    def run_settings(self, proc, sections, **kwargs):
        exe = self.install("updater.exe", settings(proc, sections))
        return self.run_updater(exe, **kwargs)


class Launch(ProbeCase):
    def test_wait_for_the_end_before_the_next_program_and_procedure(self):
        exe = self.probe("tool\\setup.exe")
        tool = self.wpath("tool").encode()
        result = self.run_settings(
            "L, NEXT",
            "[L]\nMODE=LAUNCH\nFILE=<Src>\\tool\\setup.exe , <Src>\\tool\\setup.exe\n"
            "PARAM=/s pause=800\nISWAIT=1\n"
            "[NEXT]\nMODE=LAUNCH\nFILE=<Src>\\tool\\setup.exe\nPARAM=next\nISWAIT=1\n")
        # The probe's exit code 3 is no failure.
        self.assertEqual(result.boxes, [])
        program = tool + b"\\setup.exe"
        self.assertEqual(self.log(exe), [
            ("start", program + b" /s pause=800", tool), ("end",),
            # No parameters: the command line ends in the blank.
            ("start", program + b" ", tool), ("end",),
            ("start", program + b" next", tool), ("end",),
        ])

    def test_input_idle_wait_lets_a_gui_program_get_ready_and_goes_on(self):
        exe = self.probe("gui\\app.exe", PROBE_GUI)
        result = self.run_settings(
            "L, NEXT",
            "[L]\nMODE=LAUNCH\nFILE=<Src>\\gui\\app.exe\nPARAM=ready=1000 pause=40000\nISWAIT=0\n"
            "[NEXT]\nMODE=ATTR\nFILE=<Src>\\gui\\app.exe.ready\nARG=0x1\n")
        self.assertEqual(result.boxes, [])
        # NEXT found the marker the program writes just before its message
        # loop, so the updater waited that long...
        self.assertEqual(self.attributes(self.wpath("gui", "app.exe.ready")), READ_ONLY_SEEN)
        # ...but not for its end: it is still running after the updater left.
        self.assertFalse(os.path.exists(exe + ".end"))
        with open(exe + ".quit", "wb"):
            pass
        self.wait_for(exe + ".end", 20)
        self.assertEqual([e[0] for e in self.log(exe)], ["start", "end"])

    def test_console_program_with_input_idle_wait_is_no_failed_start(self):
        # It has no message queue, so the input-idle wait cannot be made;
        # the program did start and the run goes on beside it.
        exe = self.probe("tool\\worker.exe")
        result = self.run_settings(
            "L, NEXT",
            "[L]\nMODE=LAUNCH\nFILE=<Src>\\tool\\worker.exe\nPARAM=pause=40000\nISWAIT=0\n"
            "[NEXT]\nMODE=MAKEDIR\nDIR=<Src>\\next\n")
        self.assertEqual(result.boxes, [])
        self.assertTrue(os.path.isdir(self.path("next")))
        self.wait_for(exe + ".log", 20)
        self.assertFalse(os.path.exists(exe + ".end"))
        with open(exe + ".quit", "wb"):
            pass
        self.wait_for(exe + ".end", 20)
        self.assertEqual(self.log(exe)[0][1], self.wpath("tool", "worker.exe").encode() + b" pause=40000")

    def test_path_with_a_blank_is_quoted_so_a_planted_program_does_not_run(self):
        exe = self.probe("Program Files\\Tool\\setup.exe")
        decoy = self.probe("Program.exe")
        folder = self.wpath("Program Files", "Tool").encode()
        quoted = b'"' + folder + b'\\setup.exe"'
        result = self.run_settings(
            "L",
            "[L]\nMODE=LAUNCH\n"
            'FILE=<Src>\\Program Files\\Tool\\setup.exe, "<Src>\\Program Files\\Tool\\setup.exe"\n'
            "PARAM=/s\nISWAIT=1\n")
        self.assertEqual(result.boxes, [])
        self.assertEqual(self.log(exe), [
            ("start", quoted + b" /s", folder), ("end",),
            # Quoted by the writer: kept, not quoted twice.
            ("start", quoted + b" ", folder), ("end",),
        ])
        self.assertEqual(self.log(decoy), [])

    def test_program_at_a_drive_root_runs_in_the_root(self):
        # "C:" alone would be the current directory on C:, here the case
        # folder the updater runs in.
        name = "launch_root_probe.exe"
        exe = self.probe(os.path.join(DRIVE_C, name))
        for suffix in ("", ".log", ".end", ".quit"):
            self.addCleanup(remove, exe + suffix)
        result = self.run_settings(
            "L", "[L]\nMODE=LAUNCH\nFILE=C:\\%s\nPARAM=\nISWAIT=1\n" % name)
        self.assertEqual(result.boxes, [])
        self.assertEqual(self.log(exe)[0][1:], (b"C:\\" + name.encode() + b" ", b"C:\\"))

    def test_failed_starts_show_the_box_and_stop_the_run(self):
        self.probe("tool\\a.exe")
        cases = [
            # No folder: nothing is started, not even the system's notepad.
            ("notepad.exe", "-x", "notepad.exe"),
            ("<Src>\\tool\\missing.exe", "", self.wpath("tool", "missing.exe")),
        ]
        for file, param, named in cases:
            with self.subTest(file=file):
                shutil.rmtree(self.path("next"), ignore_errors=True)
                result = self.run_settings(
                    "L, NEXT",
                    "[L]\nMODE=LAUNCH\nFILE=<Src>\\tool\\a.exe, %s\nPARAM=first, %s\nISWAIT=1\n"
                    "[NEXT]\nMODE=MAKEDIR\nDIR=<Src>\\next\n" % (file, param))
                self.assertEqual(len(result.boxes), 1, result.boxes)
                self.assertBox(result.boxes[0], message(9, named, param), caption="Launch Test")
                self.assertFalse(os.path.exists(self.path("next")))
        # The first program ran each time, before the failing one.
        self.assertEqual([e[0] for e in self.log(self.path("tool", "a.exe"))],
                         ["start", "end"] * 2)


class ExitCodes(ProbeCase):
    def test_success_and_restart_codes_reach_the_run_and_its_exit_code(self):
        self.probe("tool\\setup.exe")
        program = self.wpath("tool", "setup.exe")
        crash = 3221225477  # 0xC0000005: the full 32 bits come through
        restart = "success, a restart is needed"
        cases = [
            # keys, the probe's exit code, switches, updater's exit code,
            # whether a box shows the code, the log's verdict
            ("", 1603, "", 0, False, "success"),
            ("SUCCESS=0, 1638\n", 1638, "", 0, False, "success"),
            ("SUCCESS=0, 1638\n", crash, "", 3, True, "no success code"),
            ("SUCCESS=0\nRESTART=3010\n", 3010, "", 0, False, restart),
            ("RESTART=3010\n", 3010, "/RESTARTEXITCODE=3010", 3010, False,
             restart),
            ("SUCCESS=0\n", 1603, "/SILENT", 3, False, "no success code"),
        ]
        for keys, code, switches, expected, box, verdict in cases:
            with self.subTest(keys=keys, code=code, switches=switches):
                remove(self.path("next"))
                remove(self.path("run.log"))
                result = self.run_settings(
                    "L, NEXT",
                    "[L]\nMODE=LAUNCH\nFILE=<Src>\\tool\\setup.exe\n"
                    "PARAM=exit=%d\nISWAIT=1\n%s"
                    "[NEXT]\nMODE=MAKEDIR\nDIR=<Src>\\next\n" % (code, keys),
                    args='%s /LOG="%s"' % (switches, self.wpath("run.log")),
                    exit_code=expected)
                self.assertEqual([b.text for b in result.boxes],
                                 [message(15, program, code, code)] if box else [])
                # A failing code stops the run before the next procedure.
                self.assertEqual(os.path.isdir(self.path("next")), expected != 3)
                with open(self.path("run.log"), encoding="utf-8-sig") as f:
                    log = f.read()
                self.assertIn("ended with exit code %d (0x%08X): %s"
                              % (code, code, verdict), log)
                self.assertEqual("a restart is needed (" in log,
                                 verdict == restart)
                self.assertIn("exit code %d\n" % expected, log)


class Link(ProbeCase):
    def setUp(self):
        super().setUp()
        self.write("App/app.exe", "not run")

    def shortcut(self, *parts):
        """A shortcut's target, arguments and working directory as
        IShellLinkA reads them back, and the show command saved in it (read
        from the file: Wine's IShellLinkA does not load it)."""
        rc, out = wine([BOXDRIVER, "lnk", self.wpath(*parts)], timeout=30)
        self.assertEqual(rc, 0, out)
        fields = {}
        for line in out.decode("ascii").splitlines():
            key, _, value = line.partition(" ")
            if key in ("target", "args", "dir"):
                fields[key] = bytes.fromhex(value.strip())
            elif key == "saved_show":
                fields["show"] = int(value)
        return fields

    def test_shortcut_fields(self):
        result = self.run_settings(
            "L", "[L]\nMODE=LINK\nSRC=<Src>\\App\\app.exe\nPARAM=-q\nSHOWCMD=3\nDST=<Src>\\App\n")
        self.assertEqual(result.boxes, [])
        self.assertEqual(self.shortcut("App.LNK"), {
            "target": self.wpath("App", "app.exe").encode(),
            "args": b"-q",
            "dir": self.wpath("App").encode(),
            "show": 3,
        })

    def test_show_command_numbers(self):
        # 1, 2, 3 map to normal, minimised without activation, maximised;
        # anything else sets nothing and the default (normal) stays.
        showcmds = ["1", "2", "3", "0", "", "x", "4"]
        expected = [1, 7, 3, 1, 1, 1, 1]
        n = len(showcmds)
        result = self.run_settings(
            "L", "[L]\nMODE=LINK\nSRC=%s\nPARAM=\nSHOWCMD=%s\nDST=%s\n" % (
                ",".join(["<Src>\\App\\app.exe"] * n), ",".join(showcmds),
                ",".join("<Src>\\s%d" % i for i in range(n))))
        self.assertEqual(result.boxes, [])
        for i in range(n):
            with self.subTest(showcmd=showcmds[i]):
                fields = self.shortcut("s%d.LNK" % i)
                self.assertEqual(fields["show"], expected[i])
                self.assertEqual(fields["args"], b"")

    def test_extension_is_always_appended(self):
        result = self.run_settings(
            "L", "[L]\nMODE=LINK\nSRC=<Src>\\App\\app.exe\nPARAM=\nSHOWCMD=1\nDST=<Src>\\App.lnk\n")
        self.assertEqual(result.boxes, [])
        self.assertEqual(sorted(n for n in os.listdir(self.dir) if "lnk" in n.lower()),
                         ["App.lnk.LNK"])
        self.assertEqual(self.shortcut("App.lnk.LNK")["target"],
                         self.wpath("App", "app.exe").encode())

    def test_failing_shortcut_ends_the_procedure_quietly_and_the_run_goes_on(self):
        long_folder = "d" * 150
        os.makedirs(self.path(long_folder))
        cases = [
            ("<Src>\\missing\\B", None),
            # Over MAX_PATH once <Src> is expanded: refused, never saved under
            # a cut name (Wine itself would save it).
            ("<Src>\\%s\\%s" % (long_folder, "n" * 80), long_folder),
        ]
        for dst, folder in cases:
            with self.subTest(dst=dst[:30]):
                for name in ("A.LNK", "C.LNK", "failed", "done"):
                    remove(self.path(name))
                src = ",".join(["<Src>\\App\\app.exe"] * 3)
                result = self.run_settings(
                    "L, T",
                    "[L]\nMODE=LINK\nSRC=%s\nPARAM=\nSHOWCMD=\nDST=<Src>\\A, %s, <Src>\\C\n"
                    "[T]\nMODE=SWITCH\nPROC=L\n0=FAILED\n1=DONE\n"
                    "[FAILED]\nMODE=MAKEDIR\nDIR=<Src>\\failed\n"
                    "[DONE]\nMODE=MAKEDIR\nDIR=<Src>\\done\n" % (src, dst))
                self.assertEqual(result.boxes, [])
                self.assertTrue(os.path.exists(self.path("A.LNK")))
                self.assertFalse(os.path.exists(self.path("C.LNK")))
                # The SWITCH saw the LINK's result false.
                self.assertTrue(os.path.isdir(self.path("failed")))
                self.assertFalse(os.path.exists(self.path("done")))
                if folder:
                    self.assertEqual(os.listdir(self.path(folder)), [])

    def test_target_longer_than_max_path_saves_no_shortcut(self):
        # The program exists; only its path is over 259 characters, which
        # the link object would cut (Wine saved a shortcut without the
        # file name).
        deep = os.path.join("d" * 120, "e" * 120)
        self.write(os.path.join(deep, "app.exe"), "not run")
        target = "<Src>\\%s\\app.exe" % deep.replace("/", "\\")
        self.assertGreater(len(self.wpath(deep, "app.exe")), 259)
        result = self.run_settings(
            "L, T",
            "[L]\nMODE=LINK\nSRC=<Src>\\App\\app.exe, %s\nPARAM=\nSHOWCMD=\n"
            "DST=<Src>\\A, <Src>\\B\n"
            "[T]\nMODE=SWITCH\nPROC=L\n0=FAILED\n1=DONE\n"
            "[FAILED]\nMODE=MAKEDIR\nDIR=<Src>\\failed\n"
            "[DONE]\nMODE=MAKEDIR\nDIR=<Src>\\done\n" % target)
        self.assertEqual(result.boxes, [])
        self.assertTrue(os.path.exists(self.path("A.LNK")))
        self.assertFalse(os.path.exists(self.path("B.LNK")))
        self.assertTrue(os.path.isdir(self.path("failed")))
        self.assertFalse(os.path.exists(self.path("done")))

    def test_empty_source_list_is_reported_with_the_kind(self):
        result = self.run_settings(
            "L, NEXT",
            "[L]\nMODE=LINK\nSRC=\nPARAM=\nSHOWCMD=\nDST=<Src>\\A\n"
            "[NEXT]\nMODE=MAKEDIR\nDIR=<Src>\\next\n")
        self.assertEqual(len(result.boxes), 1)
        self.assertBox(result.boxes[0], message(4, "L", "LINK"), caption="Launch Test")
        self.assertFalse(os.path.exists(self.path("next")))


if __name__ == "__main__":
    unittest.main()
