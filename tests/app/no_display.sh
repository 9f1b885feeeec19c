#!/usr/bin/env bash
# The three programs answer --help, --version and a wrong call without a display: with
# no X server and Qt told to use one, any window (even a QApplication) would abort instead.
set -uo pipefail
bin=$1 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY LC_ALL LC_MESSAGES
export QT_QPA_PLATFORM=xcb
fail() { echo "FAIL: $*"; exit 1; }
# run <expected status> <program> <args...>: stdout and stderr into $work/out, $work/err
run() {
  local want=$1
  shift
  "$bin/$1" "${@:2}" >"$work/out" 2>"$work/err"
  local got=$?
  [ "$got" -eq "$want" ] || fail "$* exited $got, not $want: $(head -c 300 "$work/err")"
}
for p in lumoretta lumo_textview lumoretta-start; do
  LANG=C run 0 "$p" --help
  grep -q "^Usage: $p" "$work/out" || fail "$p --help in English"
  LANG=de_DE.UTF-8 run 0 "$p" --help
  grep -q "^Aufruf: $p" "$work/out" || fail "$p --help in German"
  run 0 "$p" --version
  grep -qx "$p (Lumoretta) [0-9.]*" "$work/out" || fail "$p --version: $(cat "$work/out")"
  for wrong in --bogus -x; do
    LANG=C run 2 "$p" "$wrong"
    [ -s "$work/out" ] && fail "$p $wrong wrote to standard output"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$p $wrong: not one line: $(cat "$work/err")"
    grep -q "unknown option '$wrong'" "$work/err" || fail "$p $wrong: $(cat "$work/err")"
  done
done
LANG=de_DE.UTF-8 run 2 lumoretta --first 2
grep -qx "lumoretta: Option „--first“ gehört zu „--import-pictures“ (siehe „lumoretta --help“)" \
  "$work/err" || fail "German error line: $(cat "$work/err")"
run 2 lumoretta-start /tmp
echo "command lines answered without a display"
