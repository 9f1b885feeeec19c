#!/usr/bin/env bash
# Renders the program icon data/icons/lumoretta.svg into the hicolor PNG sizes that are
# committed beside it (needs rsvg-convert from librsvg2-bin). Run after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" lumoretta.svg -o "hicolor/${size}x${size}/apps/lumoretta.png"
done
