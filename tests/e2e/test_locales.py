"""One settings file under a Japanese, an English and a Simplified Chinese
system (the Unix locale Wine runs in gives the ANSI code page and the user
interface language): the same files, shortcut and launched program under
each, from the Shift-JIS file and from its UTF-8 twin with a byte-order
mark, and error boxes in the table of the system's language unless /LANG
forces one.

Each case runs the three locales in turn, in one folder per locale; the
results are read back under the Japanese locale, the same way for all three.
"""

import os
import unittest

from harness import (BOXDRIVER, DEFAULT_CAPTION, ENGLISH, IDOK, JAPANESE,
                     MESSAGES, sjis, wine)
from test_launch_link import ProbeCase

# Locale, its ANSI code page and user interface language, and whether the
# boxes speak Japanese there.
LOCALES = (
    (JAPANESE, 932, 0x0411, True),
    ("en_US.UTF-8", 1252, 0x0409, False),
    ("zh_CN.UTF-8", 936, 0x0804, False),
)

# ソ and 表 end in the byte of a backslash; ｶﾀｶﾅ is half-width katakana.
SETTINGS = (
    "[UPDATER]\nNAME=更新ソフト\nPROC=MK, CP, LN, GO\n"
    "[DEFINE]\n<Dst>=<Src>\\表示ソフト\n"
    "[MK]\nMODE=MAKEDIR\nDIR=<Dst>, <Dst>\\ｶﾀｶﾅ\n"
    "[CP]\nMODE=COPY\nFROM=<Src>\\元データ\\ソース.txt\n"
    "TO=<Dst>\\ｶﾀｶﾅ\\更新ソフト.txt\n"
    "[LN]\nMODE=LINK\nSRC=<Src>\\アプリ\\ソフト.exe\nPARAM=表 ｶﾅ\nSHOWCMD=1\n"
    "DST=<Dst>\\ショートカット\n"
    "[GO]\nMODE=LAUNCH\nFILE=<Src>\\アプリ\\ソフト.exe\nPARAM=表 ｶﾅ\nISWAIT=1\n")


def crlf(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


class Locales(ProbeCase):
    def in_folder(self, name):
        """Moves the case into a folder of its own below the case's."""
        self.dir = os.path.join(self.base, name)
        os.makedirs(self.dir, exist_ok=True)

    def setUp(self):
        super().setUp()
        self.base = self.dir

    def check_locale(self, locale, acp, ui):
        rc, out = wine([BOXDRIVER, "locale"], timeout=30, locale=locale)
        if rc == 77:
            self.skipTest(out.decode("utf-8", "replace").strip())
        self.assertEqual(rc, 0, out)
        self.assertEqual(out.decode("ascii").split(),
                         ["acp", str(acp), "ui", "0x%04X" % ui])

    def tree(self):
        """Every file and folder below the case folder but the updater's
        own and the probe's records, with its contents: names as Wine
        stores them (UTF-8)."""
        found = {}
        for root, dirs, files in os.walk(self.dir):
            for name in dirs + files:
                full = os.path.join(root, name)
                rel = os.path.relpath(full, self.dir)
                if name.startswith("updater.") or name.startswith("_"):
                    continue
                if os.path.isdir(full) or name.upper().endswith(".LNK"):
                    found[rel] = None
                elif ".exe." not in name:
                    with open(full, "rb") as f:
                        found[rel] = f.read()
        return found

    def relative(self, text):
        """Code page 932 bytes with the case folder's path as "<case>"."""
        return text.replace(sjis(self.wpath()), b"<case>")

    def shortcut(self, *parts):
        """A shortcut's fields (code page 932 bytes), by name."""
        rc, out = wine([BOXDRIVER, "lnk", self.wpath(*parts)], timeout=30)
        self.assertEqual(rc, 0, out)
        fields = {}
        for line in out.decode("ascii").splitlines():
            key, _, value = line.partition(" ")
            fields[key] = value if "show" in key else self.relative(
                bytes.fromhex(value))
        return fields

    def run_settings_file(self, locale, data):
        self.write("元データ/ソース.txt", "新しい内容")
        exe = self.probe("アプリ\\ソフト.exe")
        self.install("updater.exe")
        self.write("updater.ini", crlf(data))
        result = self.run_updater(self.wpath("updater.exe"), locale=locale)
        self.assertEqual((result.exit_code, result.boxes), (0, []))
        launched = [tuple(self.relative(part) if isinstance(part, bytes) else part
                          for part in entry) for entry in self.log(exe)]
        return (self.tree(), self.shortcut("表示ソフト", "ショートカット.LNK"),
                launched)

    def test_same_files_shortcut_and_launch_from_either_encoding(self):
        twins = (("Shift-JIS", sjis(SETTINGS)),
                 ("UTF-8", b"\xEF\xBB\xBF" + SETTINGS.encode("utf-8")))
        outcomes = {}
        for locale, acp, ui, _ in LOCALES:
            for encoding, data in twins:
                with self.subTest(locale=locale, encoding=encoding):
                    self.check_locale(locale, acp, ui)
                    self.in_folder(locale[:5] + "-" + encoding)
                    outcomes[(locale, encoding)] = self.run_settings_file(
                        locale, data)
        folder = sjis("<case>\\アプリ")
        files, link, launched = outcomes[(JAPANESE, "Shift-JIS")]
        self.assertEqual(files[os.path.join("表示ソフト", "ｶﾀｶﾅ", "更新ソフト.txt")],
                         sjis("新しい内容"))
        self.assertIn(os.path.join("表示ソフト", "ショートカット.LNK"), files)
        self.assertEqual((link["target"], link["args"], link["dir"]),
                         (folder + sjis("\\ソフト.exe"), sjis("表 ｶﾅ"), folder))
        self.assertEqual(launched, [("start", folder + sjis("\\ソフト.exe 表 ｶﾅ"),
                                     folder), ("end",)])
        for key, outcome in outcomes.items():
            with self.subTest(locale=key[0], encoding=key[1]):
                self.assertEqual(outcome, (files, link, launched))

    def test_boxes_speak_the_systems_language_unless_lang_says(self):
        for locale, acp, ui, japanese in LOCALES:
            for switch, speaks_japanese in (("", japanese), ("/LANG=ja", True),
                                            ("/LANG=en", False)):
                with self.subTest(locale=locale, switch=switch):
                    self.check_locale(locale, acp, ui)
                    self.in_folder(locale[:5] + switch.replace("/", "-"))
                    exe = self.install("updater.exe")
                    result = self.run_updater(exe, args=switch, exit_code=1,
                                              locale=locale)
                    template = (MESSAGES if speaks_japanese else ENGLISH)[1]
                    self.assertEqual(len(result.boxes), 1, result.boxes)
                    box = result.boxes[0]
                    self.assertEqual(
                        (box.text_str, box.caption_str, box.buttons),
                        (template % self.wpath("updater.ini"), DEFAULT_CAPTION,
                         [IDOK]))


if __name__ == "__main__":
    unittest.main()
