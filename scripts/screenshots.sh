#!/usr/bin/env bash
# Builds the program, lays out a demo archive in a temporary directory and saves
# screenshots of the main window to docs/screenshots/ (on a virtual X display).
#   scripts/screenshots.sh [build directory] [message gallery directory]
# With a gallery directory, every message text is also saved there in its dialog.
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
GALLERY=${2:+$(mkdir -p "$2" && cd "$2" && pwd)}
PRINTS="$ARCHIVE/.prints"
mkdir -p "$PRINTS"
(cd "$ARCHIVE" && LUMO_DIALOG_SHOTS=1 LUMO_PRINT_SHOTS="$PRINTS" LUMO_MESSAGE_GALLERY="$GALLERY" xvfb-run -a -s "-screen 0 1024x768x24" \
    "$BUILD/lumo_screenshots" "$ARCHIVE" "$ROOT/docs/screenshots")
# The first pages of the label sheet and the loading list, as the PDF files show them.
pdftoppm -r 60 -png -singlefile "$PRINTS/labels.pdf" docs/screenshots/labels-sheet
pdftoppm -r 60 -png -singlefile "$PRINTS/loading-list.pdf" docs/screenshots/loading-list
