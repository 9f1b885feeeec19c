#!/usr/bin/env bash
# Installs the build dependencies, builds Lumoretta, lays out the demo archive in demo/
# (only when it is not there yet) and starts the program in it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DLUMO_TESTS=OFF
cmake --build build -j"$(nproc)"
if [ ! -f demo/dias.ddb ]; then
  build/lumo_demo_archive demo data
fi
cd demo
exec ../build/lumoretta
