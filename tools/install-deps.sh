#!/bin/bash
# Installs what the builds and tests need on a Debian machine: the host
# compiler and GoogleTest, mingw-w64, 32-bit Wine, Xvfb and a Japanese locale.
set -eu
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

packages="cmake make g++ libgtest-dev googletest mingw-w64 wine wine32:i386
          xvfb xauth locales python3"
missing=""
for p in $packages; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "installing:$missing"
  $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi

# Wine takes its ANSI code page (932 for Japanese) from the locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  $SUDO sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
