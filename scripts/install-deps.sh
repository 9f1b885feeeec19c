#!/usr/bin/env bash
# Installs what building, running and testing Lumoretta needs on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PKGS="build-essential cmake qt6-base-dev qt6-multimedia-dev qt6-translations-l10n libgl-dev libgtest-dev \
libbenchmark-dev libsqlite3-dev xvfb xauth fonts-liberation clang-format \
xdotool poppler-utils desktop-file-utils ccache \
dbus-daemon at-spi2-core \
qt6-image-formats-plugins \
libexiv2-dev \
help2man appstream lintian python3 python3-markdown"
missing=""
for p in $PKGS; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y $missing
fi
