"""Runs updater-check on every settings file of the corpus and compares what
it prints with the file's .expected text, line for line; also checks the
exit code and that --json names the same lines and codes.

    run_corpus.py --encoding utf-8 -- build/host/updater-check
    run_corpus.py --encoding cp932 -- tests/e2e/wine-run.sh updater-check.exe

The checker runs in the corpus folder with the bare file name, so host and
Windows builds print the same text (Linux in UTF-8, Windows in the ANSI code
page, named by --encoding). A file NAME.args beside NAME.ini holds options
the checker gets for that file (--family=95); without one the family is
the NT family on every build. Exits with 77 when the command does (a Wine
that cannot run here), so that CTest reports it as skipped.
"""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
SKIPPED = 77
# "file:line: error U012: ..." or, with --format=msvc, "file(line): ...".
LINE = re.compile(r"^(?P<file>[^:(]+)(?::(?P<line>\d+)|\((?P<mline>\d+)\)): "
                  r"(?P<severity>error|warning|note) (?P<code>U\d{3}): ")


def run(command, args, encoding):
    """stdout (decoded, LF line ends) and exit code; output goes through
    files, never a pipe a wineserver could hold open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.call(command + args, cwd=CORPUS, stdout=out,
                               stderr=err, stdin=subprocess.DEVNULL,
                               timeout=120)
        out.seek(0)
        err.seek(0)
        text = out.read().decode(encoding).replace("\r\n", "\n")
        return text, code, err.read().decode(encoding, "replace")


def options_of(name):
    """The checker's options for a corpus file: its .args file, else the NT
    family (which a Windows build would otherwise take from its system)."""
    path = os.path.join(CORPUS, name[:-4] + ".args")
    if not os.path.exists(path):
        return ["--family=nt"]
    with open(path, encoding="utf-8") as f:
        return f.read().split()


def expected_exit(lines):
    severities = {m.group("severity") for m in map(LINE.match, lines) if m}
    return 2 if "error" in severities else 1 if "warning" in severities else 0


def check(command, name, encoding):
    """Problems with one corpus file, as sentences."""
    problems = []
    with open(os.path.join(CORPUS, name[:-4] + ".expected"), encoding="utf-8") as f:
        expected = f.read().splitlines()
    options = options_of(name)
    text, code, err = run(command, options + [name], encoding)
    if code == SKIPPED:
        print(text.strip())  # the runner's line that says why
        raise SystemExit(SKIPPED)
    got = text.splitlines()
    if got != expected:
        problems.append("output differs:\n  expected:\n    %s\n  got:\n    %s%s" % (
            "\n    ".join(expected), "\n    ".join(got),
            "\n  stderr: " + err if err else ""))
    if code != expected_exit(expected):
        problems.append("exit code %d, expected %d" % (code, expected_exit(expected)))
    text, json_code, _ = run(command, options + ["--json", name], "utf-8")
    report = json.loads(text)
    findings = report["files"][0]["findings"]
    from_json = [(f["line"], f["code"]) for f in findings]
    from_text = [(int(m.group("line") or m.group("mline")), m.group("code"))
                 for m in map(LINE.match, expected) if m]
    if from_json != from_text or json_code != code:
        problems.append("--json disagrees: %r (exit %d)" % (from_json, json_code))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--encoding", required=True)
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()
    command = [os.path.abspath(a) if os.path.exists(a) else a for a in args.command]
    names = sorted(n for n in os.listdir(CORPUS) if n.endswith(".ini"))
    failed = 0
    for name in names:
        problems = check(command, name, args.encoding)
        print("%-24s %s" % (name, "ok" if not problems else "FAILED"))
        for problem in problems:
            print("  " + problem)
        failed += bool(problems)
    print("%d of %d corpus files as expected" % (len(names) - failed, len(names)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
