"""ATTR procedures and the procedure driver on real files under Wine."""

import unittest

from harness import UpdaterCase, message

READ_ONLY = 0x1
# Wine reports a read-only file with the archive bit as well; hidden and
# system bits are not kept on these file systems.
READ_ONLY_SEEN = 0x21
DIRECTORY = 0x10


def settings(proc, sections):
    return "[UPDATER]\nNAME=Attr Test\nPROC=%s\n%s" % (proc, sections)


class Attr(UpdaterCase):
    def setUp(self):
        super().setUp()
        for name in ("d\\a.txt", "d\\b.txt", "d\\c.txt", "d\\sub\\inner.txt"):
            self.write(name.replace("\\", "/"), "x")

    def run_settings(self, proc, sections, **kwargs):
        exe = self.install("updater.exe", settings(proc, sections))
        return self.run_updater(exe, **kwargs)

    def attr(self, rel):
        return self.attributes(self.wpath(*rel.split("\\")))

    def test_plain_items_and_a_shorter_arg_list(self):
        d = self.wpath("d")
        result = self.run_settings("A", "[A]\nMODE=attr\nFILE=%s\\a.txt , %s\\b.txt\nARG=0x1\n" % (d, d))
        self.assertEqual(result.boxes, [])
        self.assertEqual(self.attr("d\\a.txt"), READ_ONLY_SEEN)
        self.assertEqual(self.attr("d\\b.txt") & READ_ONLY, 0)

    def test_wildcard_changes_files_directly_in_the_folder(self):
        result = self.run_settings("W", "[W]\nMODE=ATTR\nFILE=<Src>\\d\\*.*\nARG=0x1\n")
        self.assertEqual(result.boxes, [])
        for name in ("d\\a.txt", "d\\b.txt", "d\\c.txt"):
            self.assertEqual(self.attr(name), READ_ONLY_SEEN, name)
        self.assertEqual(self.attr("d\\sub"), DIRECTORY)
        self.assertEqual(self.attr("d\\sub\\inner.txt") & READ_ONLY, 0)

    def test_bare_wildcard_works_in_the_current_directory(self):
        result = self.run_settings("W", "[W]\nMODE=ATTR\nFILE=*.*\nARG=0x1\n",
                                   cwd=self.wpath("d"))
        self.assertEqual(result.boxes, [])
        self.assertEqual(self.attr("d\\a.txt"), READ_ONLY_SEEN)
        self.assertEqual(self.attr("d\\sub"), DIRECTORY)

    def test_wildcard_over_a_missing_folder_is_no_failure(self):
        result = self.run_settings(
            "W", "[W]\nMODE=ATTR\nFILE=<Src>\\none\\*.*, <Src>\\d\\a.txt\nARG=0x1,0x1\n")
        self.assertEqual(result.boxes, [])
        self.assertEqual(self.attr("d\\a.txt"), READ_ONLY_SEEN)

    def test_failing_item_in_the_middle_stops_the_run(self):
        d = self.wpath("d")
        result = self.run_settings(
            "F, NEXT",
            "[F]\nMODE=ATTR\nFILE=%s\\a.txt,%s\\missing.txt,%s\\b.txt\nARG=0x1,0x21,0x1\n"
            "[NEXT]\nMODE=ATTR\nFILE=%s\\c.txt\nARG=0x1\n" % (d, d, d, d))
        self.assertEqual(len(result.boxes), 1)
        self.assertBox(result.boxes[0], message(12, d + "\\missing.txt", 0x21),
                       caption="Attr Test")
        self.assertIn(b"0x00000021", result.boxes[0].text)
        self.assertEqual(self.attr("d\\a.txt"), READ_ONLY_SEEN)
        self.assertEqual(self.attr("d\\b.txt") & READ_ONLY, 0)
        self.assertEqual(self.attr("d\\c.txt") & READ_ONLY, 0)

    def test_list_errors(self):
        d = self.wpath("d")
        good = "[A]\nMODE=ATTR\nFILE=%s\\a.txt\nARG=0x1\n" % d
        cases = [
            ("A, E", good + "[E]\nMODE=ATTR\nFILE=\nARG=0x1\n", message(4, "E", "FILE"), True),
            ("A, N", good + "[N]\nMODE=ATTR\nFILE=%s\\b.txt\n" % d, message(2, "N", "ARG"), False),
            ("A, M", good + "[M]\nMODE=MOVE\nFILE=x\nARG=0x1\n", message(6, "MOVE"), False),
            ("A,,M", good, message(2, "", "MODE"), False),
        ]
        for proc, sections, text, first_ran in cases:
            with self.subTest(proc=proc, text=text):
                self.write("d/a.txt", "x")
                result = self.run_settings(proc, sections)
                self.assertEqual(len(result.boxes), 1)
                self.assertBox(result.boxes[0], text, caption="Attr Test")
                self.assertEqual(self.attr("d\\a.txt") & READ_ONLY,
                                 READ_ONLY if first_ran else 0)
                # Let the next case overwrite a.txt.
                self.run_settings("A", "[A]\nMODE=ATTR\nFILE=%s\\a.txt\nARG=0x20\n" % d)


if __name__ == "__main__":
    unittest.main()
