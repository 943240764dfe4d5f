"""Runs updater.exe on examples/ in the Wine prefix named by WINEPREFIX
(tools/run-example.sh sets it, UPDATER_BIN_DIR, BOXDRIVER and the Wine
width)."""

import os
import shutil
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import harness  # noqa: E402


def main():
    target = os.path.join(harness.DRIVE_C, "example")
    shutil.rmtree(target, ignore_errors=True)
    shutil.copytree(os.path.join(ROOT, "examples"), target)
    shutil.copyfile(harness.UPDATER, os.path.join(target, "updater.exe"))

    job = os.path.join(target, "_job.txt")
    out = os.path.join(target, "_boxes.txt")
    exe = harness.win_path(os.path.join(target, "updater.exe"))
    with open(job, "w") as f:
        f.write("cmdline_hex=%s\ncwd=%s\ntimeout_ms=60000\nout=%s\n" % (
            ('"%s"' % exe).encode("cp932").hex(), harness.win_path(target),
            harness.win_path(out)))
    print("running %s" % exe)
    rc, log = harness.wine([harness.BOXDRIVER, "run", harness.win_path(job)])
    if rc != 0:
        print(log.decode("utf-8", "replace"))
        return 1
    with open(out) as f:
        result = harness.parse_result(f.read())
    for n, box in enumerate(result.boxes, 1):
        print("\n--- box %d: %s" % (n, box.caption.decode("cp932", "replace")))
        print(box.text.decode("cp932", "replace"))
        print("[buttons %s, default %s, answered %s]" % (box.buttons, box.default, box.answer))
    print("\nexit code: %s" % result.exit_code)
    print("\nfiles after the run:")
    for base, dirs, files in os.walk(target):
        dirs.sort()
        for name in sorted(files):
            if name.startswith("_") or name.startswith("updater."):
                continue
            full = os.path.join(base, name)
            _, attr = harness.wine([harness.BOXDRIVER, "attr", harness.win_path(full)])
            print("  %-44s attributes %s" % (harness.win_path(full), attr.decode().strip()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
