#!/bin/bash
# Runs one end-to-end test module under the Wine of this build's width
# (UPDATER_WINE_ARCH); exits with 77, which CTest reports as skipped, where
# that Wine cannot run on this machine, or when every case of the module
# skipped itself (such as cases that need root).
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/wine-env.sh"
wine_require_build_arch
exec python3 - "$1" <<'PY'
import sys
import unittest

result = unittest.main(module=sys.argv[1], argv=["unittest", "-v"], exit=False).result
if not result.wasSuccessful():
    sys.exit(1)
if result.testsRun and len(result.skipped) == result.testsRun:
    print("every case of %s skipped itself" % sys.argv[1])
    sys.exit(77)
PY
