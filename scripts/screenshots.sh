#!/usr/bin/env bash
# Builds the program, lays out a demo archive in a temporary directory and saves
# screenshots of the main window to docs/screenshots/ (on a virtual X display).
#   scripts/screenshots.sh [build directory]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
cmake -S . -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target lumo_screenshots lumo_demo_archive
BUILD=$(cd "$BUILD" && pwd)
ROOT=$PWD
ARCHIVE=$(mktemp -d)
trap 'rm -rf "$ARCHIVE"' EXIT
"$BUILD"/lumo_demo_archive "$ARCHIVE" data
mkdir -p docs/screenshots
(cd "$ARCHIVE" && LUMO_DIALOG_SHOTS=1 xvfb-run -a -s "-screen 0 1024x768x24" \
    "$BUILD/lumo_screenshots" "$ARCHIVE" "$ROOT/docs/screenshots")
