"""Start-up: the settings path, the missing-file box and the caption."""

import unittest

from harness import DEFAULT_CAPTION, UpdaterCase, message


class MissingSettingsFile(UpdaterCase):
    def check_missing(self, exe_name, expected_ini):
        exe = self.install(exe_name)
        result = self.run_updater(exe)
        self.assertEqual(len(result.boxes), 1, result.boxes)
        self.assertBox(result.boxes[0], message(1, self.wpath(expected_ini)))

    def test_lower_case_name(self):
        self.check_missing("updater.exe", "updater.ini")

    def test_upper_case_name_gives_lower_case_extension(self):
        self.check_missing("UPDATE.EXE", "UPDATE.ini")

    def test_dot_in_name_replaces_only_the_last_part(self):
        self.check_missing("upd.2001.exe", "upd.2001.ini")

    def test_settings_next_to_another_name_is_not_used(self):
        self.write("other.ini", "[UPDATER]\nNAME=x\nPROC=\n")
        self.check_missing("setup.exe", "setup.ini")


class CaptionFromCommandLine(UpdaterCase):
    """The first word of the command line captions the boxes shown before
    the settings file is read; here, the missing-file box."""

    CASES = [
        # (command line after the program name, expected caption)
        (None, DEFAULT_CAPTION),
        ('"My Tool" /s', "My Tool"),
        ("Setup /s", "Setup"),
        ('"A B', "A B"),
        ('""', DEFAULT_CAPTION),
        ('" x', DEFAULT_CAPTION),
        ("Setup\t/s", "Setup\t/s"),
        ('a"b" c', 'a"b'),
        ("キャプション /s", "キャプション"),
    ]

    def test_caption_forms(self):
        exe = self.install()
        for args, caption in self.CASES:
            with self.subTest(args=args):
                result = self.run_updater(exe, args=args)
                self.assertEqual(len(result.boxes), 1)
                self.assertBox(result.boxes[0],
                               message(1, self.wpath("updater.ini")),
                               caption=caption)

    def test_blanks_after_the_program_name_are_not_part_of_the_text(self):
        # The runtime drops them before the entry point sees the text.
        exe = self.install()
        result = self.run_updater(
            exe, raw_command_line=b'"' + exe.encode() + b'"   Setup /s')
        self.assertBox(result.boxes[0], message(1, self.wpath("updater.ini")),
                       caption="Setup")

    def test_unquoted_program_path(self):
        exe = self.install()
        result = self.run_updater(exe, raw_command_line=exe.encode() + b" Tool")
        self.assertBox(result.boxes[0], message(1, self.wpath("updater.ini")),
                       caption="Tool")


if __name__ == "__main__":
    unittest.main()
