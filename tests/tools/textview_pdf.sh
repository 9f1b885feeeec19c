#!/usr/bin/env bash
# lumo_textview --pdf <pdf> <file>: a long report keeps every line and column (read back in
# fixed pitch), has a footer "Seite n von N" per page; a failed export leaves no file.
set -euo pipefail
viewer=$1 reports=$2 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The PDF needs no display: none is given.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# Five key search reports and a box list of 95 columns.
for _ in 1 2 3 4 5; do cat "$reports/keys-18/expected-dialiste.txt"; done >"$work/liste.txt"
cat "$reports/kasten-labelled/expected-kasten.txt" >>"$work/liste.txt"
"$viewer" --pdf "$work/liste.pdf" "$work/liste.txt"
pages=$(pdfinfo "$work/liste.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" -ge 2 ] || { echo "expected several pages, got $pages"; exit 1; }
# The character width from the first line (69 stars), then the text in that pitch.
read -r x0 x1 < <(pdftotext -bbox -f 1 -l 1 "$work/liste.pdf" - |
  sed -n 's/.*<word xMin="\([0-9.]*\)".*xMax="\([0-9.]*\)".*>\*\{69\}<\/word>.*/\1 \2/p' | head -1)
pitch=$(awk -v a="$x0" -v b="$x1" 'BEGIN {printf "%.4f", (b - a) / 69}')
margin=$(awk -v a="$x0" -v p="$pitch" 'BEGIN {printf "%d", a / p + 0.5}')
pdftotext -fixed "$pitch" "$work/liste.pdf" "$work/fixed.txt"
for n in $(seq 1 "$pages"); do
  grep -Eq "^ *liste\.txt +Seite $n von $pages\$" "$work/fixed.txt" || { echo "no footer $n"; exit 1; }
done
iconv -f CP1252 -t UTF-8 "$work/liste.txt" | tr -d '\r' >"$work/expected.txt"
tr -d '\f' <"$work/fixed.txt" | grep -Ev 'Seite [0-9]+ von [0-9]+$' | grep -v '^$' |
  sed "s/^ \{$margin\}//" | diff -u "$work/expected.txt" -
# A target that cannot be written and a missing file: failure, no PDF.
for args in "$work/nowhere/x.pdf $work/liste.txt" "$work/missing.pdf $work/missing.txt"; do
  # shellcheck disable=SC2086
  if "$viewer" --pdf $args 2>/dev/null; then echo "export reported success: $args"; exit 1; fi
done
[ ! -e "$work/missing.pdf" ] && [ ! -e "$work/nowhere" ]
echo "PDF of $pages pages keeps every line and column"
