"""Japanese file, folder, symbol and procedure names under Wine, and system
paths that hold "=" or dots.

Katakana so and the kanji for "table" end in the byte of a backslash, ma in
that of "}", ka and ni differ only in a second byte that is a letter ("J" and
"j"). Box texts, shortcut fields and working folders are compared as code
page 932 bytes.
"""

import os
import unittest

from harness import BOXDRIVER, UpdaterCase, message, sjis, wine
from test_launch_link import ProbeCase
from test_settings import APP_PATHS


def settings(proc, sections, define=""):
    return "[UPDATER]\nNAME=Names\nPROC=%s\n[DEFINE]\n%s%s" % (proc, define, sections)


def msgbox(name, text, flag=""):
    return ("[%s]\nMODE=MSGBOX\nFLAG=%s\nTYPE=INFORMATION\nTEXT=%s\nISABORT=0,0\n"
            % (name, flag, text))


class JapaneseNames(UpdaterCase):
    def box_texts(self, result):
        return [box.text for box in result.boxes]

    def test_updater_with_a_japanese_name_copies_from_src(self):
        self.write("data.txt", "new")
        self.write("表/a.txt", "x")
        exe = self.install("更新ソフト.exe", settings(
            "C, T, M",
            "[C]\nMODE=COPY\nFROM=<Src>\\data.txt\nTO=<Src>\\copied.txt\n"
            "[T]\nMODE=ATTR\nFILE=<Src>\\表\\*.*\nARG=0x1\n" +
            msgbox("M", "<Src>|<App>\\..\\other.txt|<Src>\\表\\..\\x"),
            define="<App>=<Src>\\ソフト\n"))
        result = self.run_updater(exe)
        src = self.wpath()
        self.assertEqual(self.box_texts(result), [sjis(
            "%s|%s\\other.txt|%s\\x" % (src, src, src))])
        with open(self.path("copied.txt"), "rb") as f:
            self.assertEqual(f.read(), b"new")
        self.assertEqual(self.attributes(self.wpath("表", "a.txt")), 0x21)

    def test_names_differing_in_a_second_byte_stay_apart(self):
        # カ (OSVER) is true, ニ (EXIST of a missing file) is false: the
        # SWITCH takes branch 0 and the FLAG keeps its box away.
        exe = self.install("updater.exe", settings(
            "カ, ニ, S, F",
            "[カ]\nMODE=OSVER\n"
            "[ニ]\nMODE=EXIST\nFILE=<Src>\\missing.txt\n"
            "[S]\nMODE=SWITCH\nPROC=ニ\n1=Y\n0=N\n" +
            msgbox("F", "flag", flag="ニ, 1") +
            msgbox("Y", "Y <カ>") + msgbox("N", "N <ニ>"),
            define="<カ>=first\n<ニ>=second\n"))
        result = self.run_updater(exe)
        self.assertEqual(self.box_texts(result), [b"N second"])

    def test_braces_in_values_and_second_bytes(self):
        self.reg_add(APP_PATHS + "e2e-guid.exe", None,
                     "C:\\Data\\{3F2504E0-4F89}\\guid.exe")
        self.reg_add(APP_PATHS + "e2e-ed.exe", None, "C:\\Ed\\ed.exe")
        exe = self.install("updater.exe", settings("M", msgbox(
            "M", "マニュアル {?App\\e2e-ed.exe}|{?App\\e2e-guid.exe};{?App\\e2e-ed.exe}")))
        result = self.run_updater(exe)
        self.assertEqual(self.box_texts(result), [sjis(
            "マニュアル C:\\Ed\\ed.exe|C:\\Data\\{3F2504E0-4F89}\\guid.exe;C:\\Ed\\ed.exe")])

    def test_src_in_a_folder_with_an_equals_sign_arrives_whole(self):
        os.makedirs(self.path("eq=folder"))
        exe = self.install("eq=folder/updater.exe", settings(
            "M", msgbox("M", "<Src>|<App>|<Two>"),
            define="<App>=<Src>\\app\n<Two>=a=b\n"))
        result = self.run_updater(exe)
        src = self.wpath("eq=folder")
        self.assertEqual(self.box_texts(result),
                         [sjis("%s|%s\\app|a" % (src, src))])

    def test_updater_without_an_extension_in_a_dotted_folder(self):
        # Its settings file is upd.ini beside it, not a "v1.ini" made from
        # the folder's dot.
        os.makedirs(self.path("v1.2", "tools"))
        self.write("v1.ini", settings("M", msgbox("M", "wrong file")))
        exe = self.install("v1.2/tools/upd", settings("M", msgbox("M", "<Src>")),
                           settings_name="v1.2/tools/upd.ini")
        result = self.run_updater(exe)
        self.assertEqual(self.box_texts(result), [sjis(self.wpath("v1.2", "tools"))])

    def test_empty_procedure_name_is_refused_before_anything_runs(self):
        # Wine hands out the lines before the first header for the empty
        # section name: they must not become a procedure.
        exe = self.install("updater.exe",
                           "MODE=MSGBOX\nFLAG=\nTYPE=INFORMATION\nTEXT=headless\n"
                           "ISABORT=0,0\n" + settings("A,,A", msgbox("A", "A")))
        result = self.run_updater(exe, exit_code=2)
        self.assertEqual(self.box_texts(result), [message(2, "", "MODE")])


class JapaneseFolders(ProbeCase):
    def shortcut_folder(self, *parts):
        rc, out = wine([BOXDRIVER, "lnk", self.wpath(*parts)], timeout=30)
        self.assertEqual(rc, 0, out)
        for line in out.decode("ascii").splitlines():
            key, _, value = line.partition(" ")
            if key == "dir":
                return bytes.fromhex(value.strip())
        return None

    def test_link_and_launch_of_a_program_in_a_japanese_folder(self):
        # The folder ends at the backslash before ソフト.exe, not at ソ's
        # second byte.
        exe = self.probe("アプリ\\ソフト.exe")
        folder = sjis(self.wpath("アプリ"))
        result = self.run_settings(
            "L, R",
            "[L]\nMODE=LINK\nSRC=<Src>\\アプリ\\ソフト.exe\nPARAM=\nSHOWCMD=1\n"
            "DST=<Src>\\P\n"
            "[R]\nMODE=LAUNCH\nFILE=<Src>\\アプリ\\ソフト.exe\nPARAM=x\nISWAIT=1\n")
        self.assertEqual(result.boxes, [])
        self.assertEqual(self.shortcut_folder("P.LNK"), folder)
        self.assertEqual(self.log(exe), [
            ("start", folder + sjis("\\ソフト.exe x"), folder), ("end",)])


if __name__ == "__main__":
    unittest.main()
