#!/bin/bash
# Installs what the builds and tests need on a Debian machine, once: the host
# compiler and GoogleTest, mingw-w64 for both Windows builds, the 64-bit Wine
# (and the 32-bit one where this kernel runs 32-bit programs), Xvfb, the
# Japanese, English and Chinese locales and git (a release takes its
# commit's time). Installs nothing that is already there; says what it does.
set -eu
cd "$(dirname "$0")/.."
. tools/wine-env.sh
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

packages="cmake make g++ libgtest-dev googletest mingw-w64 git
          wine wine64 xvfb xauth locales python3"
with32=0
if wine_kernel_runs_32bit; then
  with32=1
  packages="$packages wine32:i386"
fi

missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "install-deps: installing$missing"
  if [ $with32 = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
else
  echo "install-deps: every package is installed"
fi
[ $with32 = 1 ] || echo "install-deps: no 32-bit Wine: this kernel runs no 32-bit programs"

# Wine takes its ANSI code page (932 for Japanese) and the user interface
# language from the locale: the Japanese one for every suite, the English
# and Simplified Chinese ones for the runs under other systems' code pages.
generate=""
for name in ja_JP en_US zh_CN; do
  if ! locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8\$"; then
    $SUDO sed -i "s/^# *$name.UTF-8 UTF-8/$name.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen ||
      echo "$name.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    generate="$generate $name.UTF-8"
  fi
done
if [ -n "$generate" ]; then
  echo "install-deps: generating the locales$generate"
  $SUDO locale-gen >/dev/null
fi
