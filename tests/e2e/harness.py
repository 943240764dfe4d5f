"""Runs the real updater.exe under Wine and reads the message boxes it shows.

Every case gets a fresh folder C:\\e2e\\<case> in the test prefix's drive C:.
The updater is started by boxdriver.exe (CreateProcessA with the exact command
line), which answers each box and records caption, text, buttons and the
default button. Box texts are read back with the wide-character calls and
compared as code page 932 bytes (and as text, `caption_str` and `text_str`).
Every program runs under the Japanese locale unless a case names another
(`locale=`): the ANSI code page and the user interface language follow it.
"""

import os
import re
import shutil
import subprocess
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, "wine-run.sh")
PREFIX = os.environ.get("WINEPREFIX", "")
BIN_DIR = os.environ.get("UPDATER_BIN_DIR", "")
BOXDRIVER = os.environ.get("BOXDRIVER", os.path.join(BIN_DIR, "tests", "e2e", "boxdriver.exe"))
UPDATER = os.path.join(BIN_DIR, "updater.exe")
DRIVE_C = os.path.join(PREFIX, "drive_c")

# Button ids as MessageBoxA returns them.
IDOK, IDCANCEL, IDRETRY, IDYES, IDNO = 1, 2, 4, 6, 7

DEFAULT_CAPTION = "ロザニカ アップデータ"

# The string table's resource script, the one updater.exe is built from.
STRINGS_RC = os.path.join(HERE, "..", "..", "res", "strings.rc")

_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "a": "\a", "\\": "\\", '"': '"', "'": "'"}
_TOKEN = re.compile(r'(?m)^\s*#[^\n]*|//[^\n]*|/\*.*?\*/|L?"((?:[^"\\\n]|\\.|"")*)"'
                    r'|([,{}])|([^\s,"{}]+)|(\S)', re.S)


def _unescape(body):
    """A quoted text of the script as windres reads it."""
    def escape(match):
        e = match.group(1)
        if e is None:  # "" stands for one quote
            return '"'
        if e in _ESCAPES:
            return _ESCAPES[e]
        if e[0] in "xX":
            return chr(int(e[1:], 16))
        return chr(int(e, 8))
    return re.sub(r'""|\\(x[0-9a-fA-F]{1,4}|[0-7]{1,3}|.)', escape, body)


def _is_word(token, *words):
    return token[0] == "word" and token[1].upper() in words


def read_string_table(path=STRINGS_RC):
    """{id: text} of every STRINGTABLE block of a resource script."""
    with open(path, encoding="utf-8") as f:
        script = f.read()
    tokens = []
    for m in _TOKEN.finditer(script):
        if m.group(1) is not None:
            tokens.append(("string", _unescape(m.group(1))))
        elif m.group(2):
            tokens.append(("punct", m.group(2)))
        elif m.group(3):
            tokens.append(("word", m.group(3)))
        elif m.group(4):
            raise ValueError("%s: cannot read %r" % (path, m.group(4)))
    table = {}
    i = 0
    while i < len(tokens):
        if not _is_word(tokens[i], "STRINGTABLE"):
            i += 1
            continue
        while i < len(tokens) and not (_is_word(tokens[i], "BEGIN") or tokens[i] == ("punct", "{")):
            i += 1
        i += 1
        while i < len(tokens) and not (_is_word(tokens[i], "END") or tokens[i] == ("punct", "}")):
            msg_id = int(tokens[i][1], 0)
            i += 2 if tokens[i + 1] == ("punct", ",") else 1
            kind, text = tokens[i]
            if kind != "string":
                raise ValueError("%s: string %d without text" % (path, msg_id))
            table[msg_id] = text
            i += 1
    if not table:
        raise ValueError("%s: no string table found" % path)
    return table


# The message templates, as the string table holds them.
MESSAGES = read_string_table()

ENGLISH_SOURCE = os.path.join(HERE, "..", "..", "settings", "english_messages.cc")


def read_english_templates(path=ENGLISH_SOURCE):
    """{id: text} of the English templates: each "/* id */" followed by the
    C string literals that make its text (or 0)."""
    with open(path, encoding="ascii") as f:
        source = f.read()
    templates = {}
    for match in re.finditer(r"/\* (\d+) \*/((?:\s*\"(?:[^\"\\]|\\.)*\")*)", source):
        literals = re.findall(r'"((?:[^"\\]|\\.)*)"', match.group(2))
        if literals:
            templates[int(match.group(1))] = "".join(
                _unescape(literal) for literal in literals)
    if not templates:
        raise ValueError("%s: no English template found" % path)
    return templates


# The English templates, as the updater holds them.
ENGLISH = read_english_templates()


def sjis(text):
    """Code page 932 bytes of a text (bytes pass through)."""
    return text if isinstance(text, bytes) else text.encode("cp932")


def sjis_shown(text):
    """Code page 932 bytes of a text read from a box; a character that code
    page lacks stays visible as an escape, equal to nothing expected."""
    return text.encode("cp932", "backslashreplace")


def message(msg_id, *args):
    """Expected box text for a message id and its arguments, as cp932 bytes."""
    template = sjis(MESSAGES[msg_id])
    parts = tuple(a if isinstance(a, int) else sjis(a) for a in args)
    return template % parts


def win_path(unix_path):
    """Windows path of a file below drive_c."""
    rel = os.path.relpath(unix_path, DRIVE_C)
    return "C:\\" + rel.replace("/", "\\") if rel != "." else "C:\\"


class Box:
    def __init__(self):
        self.process = 1  # which of the started programs showed it
        self.caption = b""
        self.text = b""
        self.caption_str = ""
        self.text_str = ""
        self.buttons = []
        self.default = 0
        self.answer = 0

    def __repr__(self):
        return "Box(caption=%r, text=%r, buttons=%r, default=%r)" % (
            self.caption_str, self.text_str, self.buttons, self.default)


class Result:
    def __init__(self):
        self.boxes = []
        self.exit_code = None  # the first program's
        self.exit_codes = {}  # by program, 1 for the first
        self.timed_out = False
        self.raw = ""


def parse_result(text):
    result = Result()
    result.raw = text
    box = None
    for line in text.splitlines():
        key, _, value = line.partition(" ")
        if key == "box":
            box = Box()
            result.boxes.append(box)
        elif key == "process":
            box.process = int(value)
        elif key == "caption":
            box.caption_str = bytes.fromhex(value).decode("utf-8")
            box.caption = sjis_shown(box.caption_str)
        elif key == "text":
            box.text_str = bytes.fromhex(value).decode("utf-8")
            box.text = sjis_shown(box.text_str)
        elif key == "buttons":
            box.buttons = [int(v) for v in value.split(",") if v]
        elif key == "default":
            box.default = int(value)
        elif key == "answer":
            box.answer = int(value)
        elif key.startswith("exit"):
            number = int(key[4:] or "1")
            result.exit_codes[number] = int(value)
            if number == 1:
                result.exit_code = int(value)
        elif key == "timeout":
            result.timed_out = True
    return result


JAPANESE = "ja_JP.UTF-8"


def wine(args, timeout=120, locale=JAPANESE):
    """Runs a Windows program under `locale`; output goes to files, never to
    a pipe that a wineserver could keep open. 77 when that locale is not
    installed here. The output is the program's standard output; when the
    program failed, its standard error follows, with Wine's own error lines
    of every channel, so that a failure the program itself could not report
    (a crash, a start that failed) still says why."""
    # One pair of logs per test process: modules run side by side under
    # ctest -j.
    log = os.path.join(PREFIX, ".wine-run-%d.log" % os.getpid())
    errors = os.path.join(PREFIX, ".wine-run-%d.err" % os.getpid())
    with open(log, "wb") as out, open(errors, "wb") as err:
        proc = subprocess.run([WINE_RUN] + list(args), stdout=out, stderr=err,
                              stdin=subprocess.DEVNULL, timeout=timeout + 30,
                              env=dict(os.environ, WINE_RUN_TIMEOUT=str(timeout),
                                       UPDATER_WINE_LOCALE=locale,
                                       UPDATER_WINEDEBUG="-all,err+all"))
    with open(log, "rb") as f:
        output = f.read()
    if proc.returncode != 0:
        with open(errors, "rb") as f:
            output += f.read()
    return proc.returncode, output


class UpdaterCase(unittest.TestCase):
    """Base of the end-to-end cases: a fresh folder per case."""

    def setUp(self):
        if not PREFIX or not os.path.isdir(DRIVE_C):
            self.fail("no Wine prefix: run through ctest (fixture 'wine')")
        name = self.id().split(".", 1)[1].replace(".", "_")
        self.dir = os.path.join(DRIVE_C, "e2e", name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def wpath(self, *parts):
        return win_path(self.path(*parts))

    def write(self, rel, data=b"", mtime=None):
        full = self.path(rel)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(sjis(data))
        if mtime is not None:
            os.utime(full, (mtime, mtime))
        return full

    def install(self, exe_name="updater.exe", settings=None, settings_name=None):
        """Copies updater.exe into the case folder under `exe_name` and writes
        the settings file (text, CRLF line ends, code page 932)."""
        shutil.copyfile(UPDATER, self.path(exe_name))
        if settings is not None:
            if settings_name is None:
                settings_name = exe_name.rsplit(".", 1)[0] + ".ini"
            data = sjis(settings)
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
            self.write(settings_name, data)
        return self.wpath(exe_name)

    def run_updater(self, exe_win_path, args=None, answers=(), holds=(),
                    cwd=None, timeout_ms=30000, raw_command_line=None,
                    output=None, exit_code=None, copies=1, hold_ms=0,
                    release_at_box=False, locale=JAPANESE, holds_shared=()):
        """Starts the updater with the command line '"exe" args' (or exactly
        `raw_command_line`), `copies` times at once, and answers its boxes;
        checks the (first) exit code when `exit_code` is given. With `output`
        (a path below the case folder) the programs' standard output and
        error go to that file. A list of raw command lines starts one program
        for each, all at once. The files in `holds` are held open without
        sharing for the whole run, or for `hold_ms` after the start, or until
        the first box (`release_at_box`); those in `holds_shared` are held
        for the whole run sharing reading and writing but not deleting, so
        that they can be written but not renamed. `locale` is the Unix locale Wine
        runs it under; the case is skipped where that locale is not
        installed."""
        if raw_command_line is None:
            raw_command_line = b'"' + sjis(exe_win_path) + b'"'
            if args is not None:
                raw_command_line += b" " + sjis(args)
        if isinstance(raw_command_line, list):
            copies = len(raw_command_line)
        else:
            raw_command_line = [raw_command_line] * copies
        out = self.path("_boxes.txt")
        job = self.path("_job.txt")
        lines = ["cmdline_hex=" + sjis(c).hex() for c in raw_command_line]
        lines += ["cwd=" + (cwd or self.wpath()),
                 "timeout_ms=%d" % timeout_ms,
                 "out=" + win_path(out)]
        lines += ["answer=%s" % a for a in answers]
        lines += ["hold=" + h for h in holds]
        lines += ["hold_shared=" + h for h in holds_shared]
        if hold_ms:
            lines.append("hold_ms=%d" % hold_ms)
        if release_at_box:
            lines.append("release=box")
        if output is not None:
            lines.append("stdout=" + win_path(output))
        with open(job, "w", encoding="cp932") as f:
            f.write("\n".join(lines) + "\n")
        if os.path.exists(out):
            os.remove(out)
        rc, log = wine([BOXDRIVER, "run", win_path(job)],
                       timeout=timeout_ms // 1000 + 30, locale=locale)
        if rc == 77:
            self.skipTest(log.decode("utf-8", "replace").strip())
        raw = ""
        if os.path.exists(out):
            with open(out, "r", encoding="ascii") as f:
                raw = f.read()
        self.assertEqual(rc, 0, "boxdriver exited with %d; its output: %r; "
                         "its result file: %r" % (rc, log, raw))
        result = parse_result(raw)
        self.assertFalse(result.timed_out, "updater did not end in time")
        self.assertEqual(len(result.exit_codes), copies, result.raw)
        if exit_code is not None:
            self.assertEqual(result.exit_code, exit_code, result.boxes)
        return result

    def assertBox(self, box, text, caption=DEFAULT_CAPTION, buttons=(IDOK,),
                  default=None):
        """One box: text and caption byte for byte, the buttons it has."""
        self.assertEqual(box.text, sjis(text), box)
        self.assertEqual(box.caption, sjis(caption), box)
        self.assertEqual(sorted(box.buttons), sorted(buttons), box)
        if default is not None:
            self.assertEqual(box.default, default, box)

    def folders(self):
        """The folders the updater's built-in symbols stand for, as this
        prefix reports them: {"win": b"C:\\windows", ...}."""
        rc, out = wine([BOXDRIVER, "folders"], timeout=30)
        self.assertEqual(rc, 0, out)
        found = {}
        for line in out.decode("ascii").splitlines():
            key, _, value = line.partition(" ")
            found[key] = bytes.fromhex(value.strip())
        return found

    def reg_add(self, key, name, value):
        """Writes a REG_SZ under HKEY_LOCAL_MACHINE (name None: the default
        value)."""
        args = ["reg", "add", "HKLM\\" + key]
        args += ["/ve"] if name is None else ["/v", name]
        args += ["/d", value, "/f"]
        rc, out = wine(args, timeout=60)
        self.assertEqual(rc, 0, out)

    def attributes(self, win):
        rc, out = wine([BOXDRIVER, "attr", win], timeout=30)
        self.assertEqual(rc, 0, out)
        return int(out.split()[-1], 16)
