"""The settings language on a real settings file: [UPDATER], [DEFINE],
symbols, App Paths groups, cut-offs and the NO_DATA sentinel. The caption of
the next box shows what NAME became."""

import os
import re
import unittest

from harness import DEFAULT_CAPTION, UpdaterCase, message

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def _app_paths_key():
    """The key as the product defines it (settings/app_paths.h)."""
    header = os.path.join(ROOT, "settings", "app_paths.h")
    with open(header, encoding="utf-8") as f:
        text = f.read()
    literal = re.search(r'kAppPathsKey\[\] =\s*"([^"]*)"', text).group(1)
    return literal.replace("\\\\", "\\")


APP_PATHS = _app_paths_key()


def updater_section(name, proc=""):
    return "[UPDATER]\nNAME=%s\nPROC=%s\n" % (name, proc)


class UpdaterSection(UpdaterCase):
    def run_with(self, settings, args=None):
        exe = self.install("updater.exe", settings)
        return self.run_updater(exe, args=args)

    def test_name_becomes_the_caption_of_later_boxes(self):
        result = self.run_with(updater_section("My Updater"), args="Cmd")
        self.assertEqual(len(result.boxes), 1)
        self.assertBox(result.boxes[0], message(4, "UPDATER", "PROC"),
                       caption="My Updater")

    def test_empty_name_keeps_the_command_line_caption(self):
        result = self.run_with(updater_section(""), args='"From Cmd" /s')
        self.assertBox(result.boxes[0], message(4, "UPDATER", "PROC"),
                       caption="From Cmd")

    def test_missing_keys_and_no_data_in_any_case(self):
        cases = [
            ("[UPDATER]\nPROC=A\n", "NAME"),
            ("[UPDATER]\nNAME=NO_DATA\nPROC=A\n", "NAME"),
            ("[UPDATER]\nNAME=no_Data\nPROC=A\n", "NAME"),
            ("[UPDATER]\nNAME=x\n", "PROC"),
            ("[UPDATER]\nNAME=x\nPROC=No_Data\n", "PROC"),
            ("[OTHER]\nNAME=x\nPROC=A\n", "NAME"),
        ]
        for settings, key in cases:
            with self.subTest(settings=settings):
                result = self.run_with(settings)
                self.assertEqual(len(result.boxes), 1)
                self.assertBox(result.boxes[0], message(2, "UPDATER", key))

    def test_directory_named_like_the_settings_file_counts_as_found(self):
        exe = self.install("updater.exe")
        os.makedirs(self.path("updater.ini"))
        result = self.run_updater(exe)
        self.assertEqual(len(result.boxes), 1)
        self.assertBox(result.boxes[0], message(2, "UPDATER", "NAME"))

    def test_long_value_is_read_whole(self):
        name = "".join(chr(ord("a") + i % 26) for i in range(300))
        result = self.run_with(updater_section(name))
        self.assertBox(result.boxes[0], message(4, "UPDATER", "PROC"),
                       caption=name)

    def test_section_and_key_names_ignore_case_and_blanks(self):
        result = self.run_with("[ updater ]\n  name  =  Spaced  \nproc=\n")
        self.assertBox(result.boxes[0], message(4, "UPDATER", "PROC"),
                       caption="Spaced")


class Symbols(UpdaterCase):
    def caption_for(self, name, define=""):
        settings = updater_section(name)
        if define:
            settings += "[DEFINE]\n" + define
        exe = self.install("updater.exe", settings)
        result = self.run_updater(exe)
        self.assertEqual(len(result.boxes), 1)
        self.assertEqual(result.boxes[0].text, message(4, "UPDATER", "PROC"))
        return result.boxes[0].caption

    def test_built_in_symbols(self):
        folders = self.folders()
        src = self.wpath().encode("cp932")
        self.assertEqual(self.caption_for("<Win>|<sys>|<SRC>"),
                         folders["win"] + b"|" + folders["sys"] + b"|" + src)
        self.assertEqual(self.caption_for("<Desktop>|<Programs>"),
                         folders["csidl25"] + b"|" + folders["csidl23"])

    def test_define_entries_in_file_order(self):
        src = self.wpath()
        define = ("<A>=<B>\\x\n<B>=<Src>\\y\n<C>=<B>\\z\n"
                  "<Src>=overridden\nPlain=p\n<Empty>\n;<Hidden>=h\n")
        self.assertEqual(self.caption_for("<A>", define),
                         ("<Src>\\y\\x").encode())
        self.assertEqual(self.caption_for("<C>|<Src>|<Plain>|Plain", define),
                         ("%s\\y\\z|%s|<Plain>|Plain" % (src, src)).encode("cp932"))
        self.assertEqual(self.caption_for("[<Empty>]<Hidden>", define),
                         b"[]<Hidden>")

    def test_parent_steps_fold(self):
        self.assertEqual(self.caption_for("C:\\a\\b\\..\\..\\c"), b"C:\\c")
        self.assertEqual(self.caption_for("C:\\a\\..\\b\\..\\c"), b"C:\\b\\..\\c")

    def test_app_paths_groups_from_the_registry(self):
        self.reg_add(APP_PATHS + "e2e-editor.exe", None,
                     "C:\\Program Files\\Editor\\editor.exe")
        self.reg_add(APP_PATHS + "e2e-editor.exe", "PATH",
                     "C:\\Program Files\\Editor;")
        self.assertEqual(self.caption_for("{?App\\e2e-editor.exe}"),
                         b"C:\\Program Files\\Editor\\editor.exe")
        self.assertEqual(self.caption_for("{?AppPath\\E2E-EDITOR.EXE}\\plugins"),
                         b"C:\\Program Files\\Editor\\plugins")
        self.assertEqual(self.caption_for("{?App\\e2e-missing.exe}|{x}"),
                         b"{?App\\e2e-missing.exe}|{x}")
        self.assertEqual(self.caption_for("<Ed>\\..\\x.txt",
                                          "<Ed>={?App\\e2e-editor.exe}\n"),
                         b"C:\\Program Files\\Editor\\x.txt")


class WholeValuesAndSections(UpdaterCase):
    """Lists and [DEFINE] sections longer than the profile functions' first
    read act on exactly the files they name."""

    def run_delete(self, files, define=""):
        settings = updater_section("Whole", "D") + \
            "[D]\nMODE=DELETE\nFILE=%s\n" % ",".join(files)
        if define:
            settings += "[DEFINE]\n" + define
        exe = self.install("updater.exe", settings)
        return self.run_updater(exe)

    def test_long_delete_list_reaches_its_last_item(self):
        # 262 characters whose first 258 end in "user.dat": cut there, the
        # list would delete user.dat and keep user.dat.old.
        self.write("user.dat", "keep")
        self.write("user.dat.old", "old")
        last = self.wpath("user.dat.old")
        pad = "p" * (262 - len(last) - 1 - len(self.wpath("p")) + 1)
        self.assertGreater(len(pad), 0)
        self.write(pad, "pad")
        files = [self.wpath(pad), last]
        self.assertEqual(len(",".join(files)), 262)
        result = self.run_delete(files)
        self.assertEqual(result.boxes, [])
        self.assertFalse(os.path.exists(self.path(pad)))
        self.assertFalse(os.path.exists(self.path("user.dat.old")))
        self.assertTrue(os.path.exists(self.path("user.dat")))

    def test_define_section_over_32767_bytes_is_read_whole(self):
        # A 32767-byte read keeps 32765 bytes of the section's lines (each
        # ended by a zero byte): they would end just before "\sub".
        os.makedirs(self.path("App", "sub"))
        self.write("App/config.ini", "keep")
        self.write("App/sub/config.ini", "delete")
        cfg = "<Cfg>=" + self.wpath("App")
        pads = []
        room = 32765 - len(cfg)  # ASCII: bytes are characters
        while room > 0:
            line = "<P%d>=" % len(pads)
            # Lines of 200 bytes; the last one takes what is left.
            line += "x" * ((200 if room > 400 else room - 1) - len(line))
            pads.append(line)
            room -= len(line) + 1
        self.assertEqual(room, 0)
        define = "\n".join(pads + [cfg + "\\sub"]) + "\n"
        result = self.run_delete(["<Cfg>\\config.ini"], define)
        self.assertEqual(result.boxes, [])
        self.assertTrue(os.path.exists(self.path("App", "config.ini")))
        self.assertFalse(os.path.exists(self.path("App", "sub", "config.ini")))

if __name__ == "__main__":
    unittest.main()
