# The one place that says how Wine is run for this project. Sourced by the
# scripts that start Windows programs; defines, for a Windows build of 32 or
# 64 bits:
#
#   wine_can_run ARCH   true when this machine can run that build under Wine
#   wine_use ARCH       exports the explicit loader and server of that Wine
#                       (WINELOADER, WINESERVER), WINEARCH for a new prefix,
#                       the locale (UPDATER_WINE_LOCALE, by default the
#                       Japanese ja_JP.UTF-8: ANSI code page 932), quiet
#                       debugging output (but for Wine's diagnostics of its
#                       environment) and no Mono/Gecko prompts, and
#                       WINE_START, the words to put before "$WINELOADER"
#   wine_locale_installed LOCALE   true when this machine has that locale
#
# Wine is never started through the `wine` wrapper: with wine32 installed it
# always picks the 32-bit loader, which fails at once on a kernel without
# 32-bit emulation.
#
# UPDATER_WINE_64_ONLY=1 makes wine_can_run deny 32 bits on any machine, so
# that the route of such machines can be exercised everywhere.

WINE_LIBDIR=${WINE_LIBDIR:-/usr/lib/wine}

# A 93-byte i386 ELF program that only calls exit(0): if the kernel runs it,
# it runs 32-bit programs (and so the 32-bit Wine loader).
wine_kernel_runs_32bit() {
  local probe status
  probe=$(mktemp "${TMPDIR:-/tmp}/i386-probe.XXXXXX") || return 1
  printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
  printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
  printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$probe"
  printf '\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010' >>"$probe"
  printf '\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000' >>"$probe"
  printf '\000\020\000\000\061\333\270\001\000\000\000\315\200' >>"$probe"
  chmod +x "$probe"
  "$probe" >/dev/null 2>&1
  status=$?
  rm -f "$probe"
  return $status
}

wine_can_run() {
  case "$1" in
    64) [ -x "$WINE_LIBDIR/wine64" ] ;;
    32)
      [ "${UPDATER_WINE_64_ONLY:-0}" != 1 ] && [ -x "$WINE_LIBDIR/wine" ] &&
        wine_kernel_runs_32bit
      ;;
    *) return 1 ;;
  esac
}

wine_use() {
  case "$1" in
    64)
      export WINELOADER="$WINE_LIBDIR/wine64" WINESERVER="$WINE_LIBDIR/wineserver64"
      export WINEARCH=win64
      ;;
    32)
      export WINELOADER="$WINE_LIBDIR/wine" WINESERVER="$WINE_LIBDIR/wineserver32"
      export WINEARCH=win32
      ;;
    *)
      echo "wine_use: 32 or 64, not '$1'" >&2
      return 1
      ;;
  esac
  # Wine's own diagnostics stay on: a process it ends because its X display
  # could not be opened would otherwise exit with 1 without a word.
  # Each Wine process takes its ANSI code page and user interface language
  # from its own locale, so one prefix serves runs under several.
  # UPDATER_WINEDEBUG asks for more (the end-to-end harness keeps every
  # error line apart, to show when a program fails).
  local locale=${UPDATER_WINE_LOCALE:-ja_JP.UTF-8}
  export WINEDEBUG=${UPDATER_WINEDEBUG:--all,err+winediag} LANG=$locale LC_ALL=$locale
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Start Wine with the address space laid out the same way every time.
  # Linux puts a program's heap at a random place up to 1 GiB above it; the
  # 64-bit loader sits at 0x7d000000, and where its heap lands on the page
  # Wine needs at 0x7ffe0000 (the shared user data; no preloader reserves it
  # on this Wine), the process dies before its first instruction with exit
  # code 1 and "failed to map the shared user data: c0000018": about one
  # start in a few hundred. Without randomisation the heap stays right
  # after the loader. Wine's child processes inherit the setting.
  # Use: timeout ... $WINE_START "$WINELOADER" program...
  WINE_START=
  if setarch "$(uname -m)" -R true 2>/dev/null; then
    WINE_START="setarch $(uname -m) -R"
  fi
}

wine_locale_installed() {
  local wanted
  wanted=$(echo "$1" | tr 'A-Z' 'a-z' | sed 's/utf-\?8$/utf8/')
  locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-\?8$/utf8/' |
    grep -qxF "$wanted"
}

# The one plain line that says why a build's Wine suites do not run here.
wine_skip_line() {
  if [ "$1" = 32 ] && [ "${UPDATER_WINE_64_ONLY:-0}" = 1 ]; then
    echo "32-bit Wine suites skipped: UPDATER_WINE_64_ONLY=1 forces the 64-bit-only route"
  elif [ "$1" = 32 ] && ! wine_kernel_runs_32bit; then
    echo "32-bit Wine suites skipped: this kernel runs no 32-bit programs"
  else
    echo "$1-bit Wine suites skipped: the $1-bit Wine is not installed (tools/install-deps.sh)"
  fi
}

# For the test scripts: the width of the build under test (UPDATER_WINE_ARCH)
# in WINE_ARCH, or, where its Wine cannot run here, the reason and exit 77,
# which CTest reports as skipped.
wine_require_build_arch() {
  WINE_ARCH=${UPDATER_WINE_ARCH:?UPDATER_WINE_ARCH must be 32 or 64}
  if ! wine_can_run "$WINE_ARCH"; then
    wine_skip_line "$WINE_ARCH"
    exit 77
  fi
}
