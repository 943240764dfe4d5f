"""Runs updater-check on every example settings file (examples/*.ini, as
they are stored) and on every settings snippet of the documentation (```ini
blocks of README.md and docs/*.md, written in code page 932 as the updater
reads them).

A plain ```ini snippet must pass without any finding. A snippet that shows a
mistake says so in its info string, ```ini check=U012 U049, and must
produce exactly those codes. A snippet whose info string says utf8-bom is
written as UTF-8 with a byte-order mark instead. A snippet without an [UPDATER] section is a
fragment: it is checked with an [UPDATER] section in front whose PROC names
its procedures in order.

    check_docs.py CHECKER
"""

import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
FENCE = re.compile(r"^```ini(?P<info>[^\n]*)\n(?P<body>.*?)^```", re.M | re.S)
CODE = re.compile(r": (?:error|warning|note) (U\d{3}):")


def documents():
    names = [os.path.join(ROOT, "README.md")]
    docs = os.path.join(ROOT, "docs")
    names += sorted(os.path.join(docs, n) for n in os.listdir(docs) if n.endswith(".md"))
    return names


def as_file(snippet):
    """The snippet as a whole settings file."""
    if re.search(r"^\[UPDATER\]", snippet, re.M | re.I):
        return snippet
    procedures = []
    section = None
    for line in snippet.splitlines():
        header = re.match(r"^\s*\[([^\]]*)\]", line)
        if header:
            section = header.group(1).strip()
        elif section and re.match(r"^\s*MODE\s*=", line, re.I) and section.upper() != "DEFINE":
            procedures.append(section)
    if not procedures:
        procedures = ["DOCS_NOTHING"]
        snippet += "\n[DOCS_NOTHING]\nMODE=OSVER\n"
    return "[UPDATER]\nNAME=Docs\nPROC=%s\n%s" % (", ".join(procedures), snippet)


def codes_of(checker, text, utf8_bom=False):
    """The codes the checker reports for a text (or for a file's bytes, as
    they are)."""
    if isinstance(text, str):
        text = text.replace("\n", "\r\n")
        text = b"\xEF\xBB\xBF" + text.encode("utf-8") if utf8_bom else text.encode("cp932")
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "snippet.ini")
        with open(path, "wb") as f:
            f.write(text)
        run = subprocess.run([checker, path], capture_output=True, timeout=60)
        report = run.stdout.decode("utf-8")
        return sorted(set(CODE.findall(report))), report


def anchors_missing(checker):
    """Codes of --list-codes without their anchor in docs/checks.md, which
    the text output points at."""
    listed = subprocess.run([checker, "--list-codes"], capture_output=True,
                            timeout=60).stdout.decode("utf-8")
    with open(os.path.join(ROOT, "docs", "checks.md"), encoding="utf-8") as f:
        text = f.read()
    return [code for code in re.findall(r"^(U\d{3}) ", listed, re.M)
            if '<a id="%s"></a>' % code not in text]


def main():
    checker = os.path.abspath(sys.argv[1])
    checked = failed = 0
    missing = anchors_missing(checker)
    if missing:
        failed += 1
        print("docs/checks.md has no anchor for %s" % ", ".join(missing))
    for name in sorted(os.listdir(os.path.join(ROOT, "examples"))):
        if not name.endswith(".ini"):
            continue
        with open(os.path.join(ROOT, "examples", name), "rb") as f:
            found, report = codes_of(checker, f.read())
        checked += 1
        if found:
            failed += 1
            print("examples/%s:\n%s" % (name, report))
    for document in documents():
        with open(document, encoding="utf-8") as f:
            text = f.read()
        for match in FENCE.finditer(text):
            line = text.count("\n", 0, match.start()) + 1
            wanted = sorted(set(re.findall(r"U\d{3}", match.group("info"))))
            found, report = codes_of(checker, as_file(match.group("body")),
                                     "utf8-bom" in match.group("info").split())
            checked += 1
            if found != wanted:
                failed += 1
                print("%s:%d: expected %s, got %s\n%s" % (
                    os.path.relpath(document, ROOT), line, wanted or "no finding",
                    found or "no finding", report))
    print("%d of %d examples and snippets as expected" % (checked - failed, checked))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
