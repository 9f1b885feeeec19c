#!/usr/bin/env bash
# The Debian package that CPack builds from this build directory passes lintian without an
# error or a warning (information tags are shown, not failed on).
set -euo pipefail
build=$1 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/*.deb)
status=0
lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1 || status=$?
# lintian notes that it runs as root in CI; that line is no finding.
grep -v "running with root privileges" "$work/lintian.log" || true
[ "$status" -eq 0 ] || { echo "lintian failed ($status)"; exit 1; }
echo "lintian: no errors and no warnings in $(basename "$deb")"
