"""The --graph picture of the bundled example (examples/updater.ini, stored
in code page 932 as the updater reads it).

    example_graph.py CHECKER             prints the DOT text
    example_graph.py CHECKER --check DOT fails when DOT differs from it

tools/build-docs.sh writes docs/example-flow.dot and renders it; the tests
check that the committed DOT is what the checker draws now.
"""

import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def graph(checker):
    path = os.path.join(ROOT, "examples", "updater.ini")
    run = subprocess.run([checker, "--graph", path], capture_output=True,
                         timeout=60)
    if run.returncode != 0:
        sys.exit("the example has findings:\n" + run.stderr.decode("utf-8"))
    return run.stdout.decode("utf-8")


def main():
    dot = graph(os.path.abspath(sys.argv[1]))
    if len(sys.argv) == 4 and sys.argv[2] == "--check":
        with open(sys.argv[3], encoding="utf-8") as f:
            if f.read() != dot:
                sys.exit("%s is not what updater-check draws now: run "
                         "tools/build-docs.sh" % sys.argv[3])
        return 0
    sys.stdout.write(dot)
    return 0


if __name__ == "__main__":
    sys.exit(main())
