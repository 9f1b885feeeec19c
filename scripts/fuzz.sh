#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) and runs each of them for a
# bounded time on a copy of its seed corpus; fails on any finding.
#   scripts/fuzz.sh            about a minute in all (CI)
#   scripts/fuzz.sh 600        ten minutes per target (a longer local run)
# Findings are written to build-fuzz/findings/<target>/; the executions of each target are
# printed at the end. New inputs the fuzzer finds stay in build-fuzz/corpus/ (add the
# interesting ones to fuzz/corpus/ by hand).
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET="${1:-8}"
BUILD=build-fuzz

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
missing=""
for p in clang libclang-rt-dev qt6-base-dev ninja-build cmake; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y $missing
fi

LAUNCHER=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMO_FUZZ=ON -DLUMO_GUI=OFF -DLUMO_TESTS=OFF "${LAUNCHER[@]}" >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target fuzz_all

TARGETS="slides keywords ini header_data memo tips cp1252"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=""
summary=""
for t in $TARGETS; do
  corpus="$BUILD/corpus/$t"
  findings="$BUILD/findings/$t"
  mkdir -p "$corpus" "$findings"
  cp -n fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
  log="$BUILD/fuzz-$t.log"
  if "$BUILD/fuzz/fuzz_$t" -max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1; then
    status=ok
  else
    status=FINDING
    failed="$failed $t"
    grep -E "ERROR|fuzz check failed|SUMMARY|Test unit written" "$log" | head -20 || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  summary="$summary$(printf '%-12s %10s executions  %s' "$t" "${runs:-?}" "$status")\n"
done
printf "%b" "$summary"
if [ -n "$failed" ]; then
  echo "fuzzing found problems in:$failed (see $BUILD/fuzz-<target>.log and $BUILD/findings/)"
  exit 1
fi
echo "fuzzing ok"
