"""MSGBOX, SWITCH and OSVER under Wine: the boxes as shown, the answers
given by the box driver, and the branches they lead to."""

import datetime
import os
import shutil
import unittest

from harness import DRIVE_C, IDNO, IDOK, IDYES, UpdaterCase, message

CAPTION = "Dialogue Test"

def settings(proc, sections):
    return "[UPDATER]\nNAME=%s\nPROC=%s\n%s" % (CAPTION, proc, sections)


def msgbox(name, box_type, text, flag="", isabort="0,0"):
    return ("[%s]\nMODE=MSGBOX\nFLAG=%s\nTYPE=%s\nTEXT=%s\nISABORT=%s\n"
            % (name, flag, box_type, text, isabort))


def info(name, text):
    return msgbox(name, "INFORMATION", text)


def switch(name, proc, list0, list1):
    return "[%s]\nMODE=SWITCH\nPROC=%s\n0=%s\n1=%s\n" % (name, proc, list0, list1)


def timestamp(year, month, day):
    # Midday keeps the date the same in every time zone Wine might use.
    return datetime.datetime(year, month, day, 12).timestamp()


class DialogueCase(UpdaterCase):
    def run_settings(self, proc, sections, **kwargs):
        exe = self.install("updater.exe", settings(proc, sections))
        return self.run_updater(exe, **kwargs)

    def assertBoxes(self, boxes, expected):
        """Boxes with the given (text, buttons, default) in order."""
        self.assertEqual(len(boxes), len(expected), boxes)
        for box, (text, buttons, default) in zip(boxes, expected):
            self.assertBox(box, text, caption=CAPTION, buttons=buttons,
                           default=default)


INFO_BOX = ([IDOK], IDOK)
ERROR_BOX = INFO_BOX
YES_NO = [IDYES, IDNO]


class TypicalSettingsFile(DialogueCase):
    """DATE decides, a question asks, a SWITCH copies the new file."""

    QUESTION = "ツールを更新しますか？"
    SECTIONS = (
        "[CHK]\nMODE=DATE\nFILE=<Programs>\\%(tool)s\nDATE=2023/06/15\n"
        + msgbox("ASK", "QUESTION", QUESTION, flag="CHK, 1", isabort="0,1")
        + switch("GO", "CHK", "", "COPY1")
        + "[COPY1]\nMODE=COPY\nFROM=<Src>\\new\\tool.exe\nTO=<Programs>\\%(tool)s\n"
        + info("END", "終了"))

    def setUp(self):
        super().setUp()
        # <Programs> is the all-users Programs folder on the NT family.
        programs = self.folders()["csidl23"].decode("cp932")
        self.assertTrue(programs.upper().startswith("C:\\"), programs)
        self.tool_rel = "e2e-dialogue\\Tool\\tool.exe"
        self.tool = os.path.join(DRIVE_C, *programs[3:].split("\\"),
                                 *self.tool_rel.split("\\"))
        top = os.path.join(DRIVE_C, *programs[3:].split("\\"), "e2e-dialogue")
        shutil.rmtree(top, ignore_errors=True)
        self.addCleanup(shutil.rmtree, top, True)
        self.write("new/tool.exe", "new", mtime=timestamp(2023, 6, 15))

    def installed(self, data, mtime):
        os.makedirs(os.path.dirname(self.tool), exist_ok=True)
        with open(self.tool, "wb") as f:
            f.write(data)
        os.utime(self.tool, (mtime, mtime))

    def run_typical(self, answers=()):
        return self.run_settings("CHK, ASK, GO, END",
                                 self.SECTIONS % {"tool": self.tool_rel},
                                 answers=answers)

    def tool_contents(self):
        with open(self.tool, "rb") as f:
            return f.read()

    def test_yes_replaces_the_old_file(self):
        self.installed(b"old", timestamp(2023, 6, 1))
        result = self.run_typical(answers=[IDYES])
        self.assertBoxes(result.boxes, [(self.QUESTION, YES_NO, IDYES),
                                        ("終了",) + INFO_BOX])
        self.assertEqual(self.tool_contents(), b"new")

    def test_no_ends_the_run_without_another_box(self):
        self.installed(b"old", timestamp(2023, 6, 1))
        result = self.run_typical(answers=[IDNO])
        self.assertBoxes(result.boxes, [(self.QUESTION, YES_NO, IDYES)])
        self.assertEqual(self.tool_contents(), b"old")

    def test_current_file_is_not_asked_about(self):
        self.installed(b"current", timestamp(2023, 7, 1))
        result = self.run_typical()
        self.assertBoxes(result.boxes, [("終了",) + INFO_BOX])
        self.assertEqual(self.tool_contents(), b"current")


class Boxes(DialogueCase):
    def test_each_type_shows_its_buttons_and_default(self):
        # Unanswered boxes take their default button: WARNING's is No,
        # QUESTION's Yes, as the SWITCHes after them show.
        sections = (msgbox("E", "ERROR", "error") +
                    msgbox("I", "information", "information") +
                    msgbox("W", "Warning", "warning") +
                    msgbox("Q", "QUESTION", "question") +
                    switch("SW", "W", "W0", "W1") + info("W0", "W:No") +
                    info("W1", "W:Yes") +
                    switch("SQ", "Q", "Q0", "Q1") + info("Q0", "Q:No") +
                    info("Q1", "Q:Yes"))
        result = self.run_settings("E, I, W, Q, SW, SQ", sections)
        self.assertBoxes(result.boxes, [
            ("error",) + ERROR_BOX,
            ("information",) + INFO_BOX,
            ("warning", YES_NO, IDNO),
            ("question", YES_NO, IDYES),
            ("W:No",) + INFO_BOX,
            ("Q:Yes",) + INFO_BOX,
        ])

    def test_text_with_line_break_tab_and_comma(self):
        result = self.run_settings(
            "T", msgbox("T", "INFORMATION", "一行目%n二行目%tX, Y 100%"))
        self.assertBoxes(result.boxes,
                         [("一行目\n二行目\tX, Y 100%",) + INFO_BOX])

    def test_warning_answered_no_ends_the_run(self):
        sections = (msgbox("W", "WARNING", "削除しますか？", isabort="0,1") +
                    info("AFTER", "after"))
        result = self.run_settings("W, AFTER", sections, answers=[IDNO])
        self.assertBoxes(result.boxes, [("削除しますか？", YES_NO, IDNO)])
        result = self.run_settings("W, AFTER", sections, answers=[IDYES])
        self.assertBoxes(result.boxes, [("削除しますか？", YES_NO, IDNO),
                                        ("after",) + INFO_BOX])

    def test_flag_true_false_and_naming_no_procedure(self):
        # OS is true under Wine (an NT-family system); NO is answered No.
        sections = ("[OS]\nMODE=OSVER\n" +
                    msgbox("NO", "QUESTION", "no?") +
                    msgbox("A", "INFORMATION", "OS is 1", flag="OS, 1") +
                    msgbox("B", "INFORMATION", "OS is 0", flag="OS, 0") +
                    msgbox("C", "INFORMATION", "NO is 0", flag="no,0") +
                    msgbox("D", "INFORMATION", "NO is 1", flag="no,1") +
                    msgbox("X", "INFORMATION", "x", flag="NOPE, 1") +
                    info("AFTER", "after"))
        result = self.run_settings("OS, NO, A, B, C, D, AFTER", sections,
                                   answers=[IDNO])
        self.assertBoxes(result.boxes, [("no?", YES_NO, IDYES),
                                        ("OS is 1",) + INFO_BOX,
                                        ("NO is 0",) + INFO_BOX,
                                        ("after",) + INFO_BOX])
        result = self.run_settings("OS, X, AFTER", sections)
        self.assertBoxes(result.boxes,
                         [(message(6, "NOPE, 1"),) + ERROR_BOX])


class Branches(DialogueCase):
    def test_osver_leads_a_switch_to_its_nt_list(self):
        sections = ("[OS]\nMODE=OSVER\n" + switch("S", "OS", "NINE", "NT") +
                    info("NINE", "95") + info("NT", "NT"))
        result = self.run_settings("OS, S", sections)
        self.assertBoxes(result.boxes, [("NT",) + INFO_BOX])
        # Placed before the OSVER, the SWITCH sees its result still false.
        result = self.run_settings("S, OS", sections)
        self.assertBoxes(result.boxes, [("95",) + INFO_BOX])

    def test_switch_inside_a_branch_sees_only_its_own_list(self):
        sections = ("[OS]\nMODE=OSVER\n" + switch("S", "OS", "", "INNER") +
                    switch("INNER", "OS", "AFTER", "AFTER") +
                    info("AFTER", "after"))
        result = self.run_settings("OS, S, AFTER", sections)
        self.assertBoxes(result.boxes, [(message(6, "OS"),) + ERROR_BOX])

    def test_loop_without_end_stops_at_the_depth_bound(self):
        sections = ("[OS]\nMODE=OSVER\n" + switch("LOOP", "OS", "", "OS, LOOP") +
                    info("AFTER", "after"))
        result = self.run_settings("OS, LOOP, AFTER", sections)
        self.assertBoxes(result.boxes, [(message(6, "LOOP"),) + ERROR_BOX])

    def test_loop_turning_back_unwinds_every_level(self):
        # Each Yes nests one list deeper; the No unwinds them all and the
        # top list goes on. (The exact bound is checked by the unit tests:
        # every box here costs seconds.)
        sections = (msgbox("Q", "QUESTION", "again?") +
                    switch("S", "Q", "", "Q, S") + info("AFTER", "after"))
        result = self.run_settings("Q, S, AFTER", sections,
                                   answers=[IDYES] * 3 + [IDNO])
        self.assertBoxes(result.boxes, [("again?", YES_NO, IDYES)] * 4 +
                         [("after",) + INFO_BOX])

if __name__ == "__main__":
    unittest.main()
