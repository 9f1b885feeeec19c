#!/usr/bin/env bash
# A user's day with Lumoretta, end to end: the built program runs as its own process in a
# virtual X server on a copy of the demo archive, started the way the desktop menu starts
# it (lumoretta-start), and is driven with real mouse and keyboard events at the visible
# coordinates of its fixed 638 x 440 layout. Every wait is for something visible (a window,
# a colour at a place, a change of the screen) or for a file; nothing passes by sleeping.
# Afterwards the archive files are checked. A screenshot of every step is kept in
# <build dir>/e2e-artefacts.
#   user_day.sh <build dir> <data dir>
set -euo pipefail
# E2E_TRACE=1: every command with its time, for finding where a run waits.
[ -n "${E2E_TRACE:-}" ] && PS4='+ $EPOCHREALTIME ' && set -x

BUILD=$(cd "$1" && pwd)
DATA=$(cd "$2" && pwd)
ART=$BUILD/e2e-artefacts
PROBE=$BUILD/lumo_e2e_screen
WAIT=30 # seconds any single wait may take
rm -rf "$ART"
mkdir -p "$ART"
WORK=$(mktemp -d)
ARCHIVE=$WORK/Archiv
XVFB_PID=""
PROGRAM_PID=""
BUS_PID=""
NAME_EVENT=""
FOCUS_EVENT=""

cleanup() {
  [ -n "$PROGRAM_PID" ] && kill "$PROGRAM_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  for pid in $NAME_EVENT $FOCUS_EVENT $BUS_PID; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

STEP=0
NAME=start
step() {
  STEP=$((STEP + 1))
  NAME=$1
  echo "step $STEP: $NAME (at ${SECONDS}s)"
}
shot() { "$PROBE" shot "$(printf '%s/%02d-%s%s.png' "$ART" "$STEP" "$NAME" "${1:+-$1}")"; }
fail() {
  echo "FAIL in step $STEP ($NAME) at ${SECONDS}s: $*" >&2
  "$PROBE" shot "$ART/failure.png" || true
  cp -r "$ARCHIVE" "$ART/failed-archive" 2>/dev/null || true
  exit 1
}

# ---- the archive and the environment of a fresh user
"$BUILD/lumo_demo_archive" "$ARCHIVE" "$DATA" --slides 400 >/dev/null
# The sound pauses would only make the test slower.
sed -i 's/^SOUND=1\r$/SOUND=0\r/' "$ARCHIVE/DIA.INI"
cp -r "$ARCHIVE" "$WORK/before"
FIRST_NEW=401
[ "$(stat -c %s "$ARCHIVE/dias.ddb")" -eq $((400 * 82)) ] || fail "demo archive is not 400 records"
! grep -aq Frauenkirche "$ARCHIVE/dias.ddb" || fail "demo archive already holds the search text"

export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME/lumoretta" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
echo "$ARCHIVE" >"$XDG_CONFIG_HOME/lumoretta/last-archive"
export QT_QPA_PLATFORM=xcb
unset SESSION_MANAGER
# A session bus of its own, through which the program finds the accessibility bus; the
# program offers its accessibility tree there as it does when a screen reader runs.
dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 \
  3>"$WORK/bus-address" 4>"$WORK/bus-pid" || fail "no session bus"
BUS_PID=$(cat "$WORK/bus-pid")
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$WORK/bus-address")
export DBUS_SESSION_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# ---- helpers: windows, places, colours, files
window() { # id of the visible window whose title matches the regular expression
  local id
  id=$(timeout "$WAIT" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null) ||
    fail "window '$1' did not appear"
  echo "${id%%$'\n'*}"
}
# Runs the command until it succeeds; false when WAIT seconds pass first.
poll() {
  local end=$((SECONDS + WAIT))
  until "$@"; do
    [ $SECONDS -lt $end ] || return 1
    sleep 0.05
  done
}
hidden() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
gone() { poll hidden "$1" || fail "window '$1' did not close"; }
keys_to() { # window id, then xdotool key names
  local id=$1
  shift
  xdotool windowfocus --sync "$id"
  xdotool key --clearmodifiers "$@"
}
type_to() {
  xdotool windowfocus --sync "$1"
  xdotool type --clearmodifiers --delay 15 "$2"
}
click() { xdotool mousemove $((MX + $1)) $((MY + $2)) click "${3:-1}"; } # client coords
click_in() { # window id, x, y inside it, button
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3)) click "${4:-1}"
}
see_colour() { # client x y w h rrggbb
  "$PROBE" wait-colour $((MX + $1)) $((MY + $2)) "$3" "$4" "$5" "$WAIT" ||
    fail "colour $5 not seen at $1,$2"
}
screen_hash() { "$PROBE" hash $((MX + $1)) $((MY + $2)) "$3" "$4"; }
see_change() { # client x y w h digest
  "$PROBE" wait-change $((MX + $1)) $((MY + $2)) "$3" "$4" "$5" "$WAIT" ||
    fail "no change at $1,$2"
}
has_text() { [ -f "$1" ] && iconv -f CP1252 -t UTF-8 "$1" | grep -qF -- "$2"; }
file_has() { # file, fixed text (code page 1252 files are read as UTF-8 here)
  poll has_text "$1" "$2" || fail "$1 does not contain '$2'"
}
size_is() { [ "$(stat -c %s "$1")" -eq "$2" ]; }
file_size_is() { poll size_is "$1" "$2" || fail "$1 did not reach $2 bytes"; }
# The soft buttons are enabled again (their captions are blue): the last command is done.
ready() { see_colour 503 386 110 30 0000ff; }

# Keyword level lists: level 1..3 at x 50/250/450, row r at y 60 + 17 (r - 1). A right
# click moves the list cursor there (its label shows in the mode's colour), a left click
# on the label picks the key (the label turns red).
LEVEL_X=(0 50 250 450)
pick() { # level row mode-colour
  local x=${LEVEL_X[$1]} y=$((60 + 17 * ($2 - 1)))
  click $((x + 10)) $((y + 7)) 3
  see_colour "$x" "$y" 12 3 "$3"
  click $((x + 10)) $((y + 7)) 1
  see_colour "$x" "$y" 12 3 ff0000
}
# A search ends with its statistics notice; "Danke" shows the result page.
statistics_seen() {
  local notice
  notice=$(window "$NOTICE")
  shot statistics
  keys_to "$notice" Return
  gone "$NOTICE"
  ready
  shot
}
soft() { click $((23 + 120 * ($1 - 1) + 55)) 401; }  # soft button 1..5
tool() { click $((${TOOL_X[$1]} + 12)) 15; }         # tool button 1..13
TOOL_X=(0 4 30 56 82 116 142 168 194 228 254 280 0 314)
WHITE=ffffff YELLOW=ffff00 AQUA=00ffff
QUESTION='^Systemmeldung an den Anwender$'
NOTICE='^Rückmeldung an den Anwender$'
PROMPT='^Systemdatenerfassung$'

check() { "$@" || fail "check failed: $*"; }
record() { dd if="$ARCHIVE/dias.ddb" bs=82 skip=$(($1 - 1)) count=1 status=none; }
# A record built by hand: eight 6-byte key slots (code padded with blanks, an empty slot a
# NUL and five blanks), the information string NUL-terminated and blank-padded to byte 80,
# and the box number in byte 81.
expected_record() { # box info key...
  local box=$1 info=$2 i
  shift 2
  local keys=("$@")
  for i in 0 1 2 3 4 5 6 7; do
    if [ $i -lt ${#keys[@]} ]; then
      printf '%-6s' "${keys[$i]}"
    else
      printf '\0     '
    fi
  done
  printf '%s' "$info" | iconv -f UTF-8 -t CP1252
  printf '\0'
  printf '%*s' $((33 - 1 - $(printf '%s' "$info" | iconv -f UTF-8 -t CP1252 | wc -c))) ''
  printf "\\$(printf '%03o' "$box")"
}

# ---- a virtual X server of its own
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>"$ART/xvfb.log" &
XVFB_PID=$!
poll test -s "$WORK/display" || fail "Xvfb did not start"
export DISPLAY=:$(tr -d '\n' <"$WORK/display")
# A German keyboard, so that typed umlauts are keys of the map and not remapped on the fly
# (-noreset keeps the map when this client disconnects).
setxkbmap de
[ "$(setxkbmap -query | sed -n 's/^layout: *//p')" = de ] || fail "no German keyboard map"

# ---- 1: start from the menu's start helper in the remembered archive
step start
"$BUILD/lumoretta-start" >"$ART/program.log" 2>&1 &
PROGRAM_PID=$!
MAIN=$(window '^Lumoretta 3\.03')
# What a screen reader will hear: the status line telling the free places after a first pick,
# and the keyword Musik taking the focus in step 5. Listening starts now, as the program
# learns of listeners with a delay; the name is read when the event arrives, so the status
# text waited for is one that stays.
"$PROBE" a11y-event name 'Freie Stichwörter ->7<-' 120 >"$WORK/name-event" 2>&1 &
NAME_EVENT=$!
"$PROBE" a11y-event focus Musik 120 >"$WORK/focus-event" 2>&1 &
FOCUS_EVENT=$!
eval "$(xdotool getwindowgeometry --shell "$MAIN")"
MX=$X
MY=$((Y + HEIGHT - 440)) # the fixed client area lies below the menu bar
[ "$(readlink "/proc/$PROGRAM_PID/cwd")" = "$ARCHIVE" ] || fail "not started in the archive"
[ "$(readlink "/proc/$PROGRAM_PID/exe")" = "$BUILD/lumoretta" ] || fail "helper did not start it"
# The tip of the day greets the user; "Beenden" (Esc) closes it.
TIPS=$(window '^Tips und Tricks$')
shot tip
keys_to "$TIPS" Escape
gone '^Tips und Tricks$'
ready
shot

# ---- 2: the first new slide, keys Natur / Blumen
step slide-1
tool 1
see_colour 50 60 12 3 $WHITE
pick 1 4 $WHITE
pick 2 1 $WHITE
shot keys
soft 1
ENTRY=$(window '^Daten zum aktuell erfassten Dia anzeigen$')
click_in "$ENTRY" 200 122
keys_to "$ENTRY" ctrl+a
type_to "$ENTRY" 'Edelweiß am Säntis'
shot
keys_to "$ENTRY" Return
file_size_is "$ARCHIVE/dias.ddb" $((FIRST_NEW * 82))
check cmp <(record $FIRST_NEW) <(expected_record 5 'A01 Edelweiß am Säntis' N1 N1B1)
keys_to "$ENTRY" Escape
Q=$(window "$QUESTION") # "Sollen die bereits erfassten Schlüssel alle wieder gelöscht werden ?"
shot question
keys_to "$Q" Return # Ja
gone "$QUESTION"
ready

# ---- 3: the second slide, keys Reise / Deutschland / Dresden, keys kept afterwards
step slide-2
pick 1 5 $WHITE
pick 2 1 $WHITE
pick 3 2 $WHITE
soft 1
ENTRY=$(window '^Daten zum aktuell erfassten Dia anzeigen$')
click_in "$ENTRY" 200 122
keys_to "$ENTRY" ctrl+a
type_to "$ENTRY" 'Frauenkirche bei Nacht'
keys_to "$ENTRY" Return
file_size_is "$ARCHIVE/dias.ddb" $(((FIRST_NEW + 1) * 82))
check cmp <(record $((FIRST_NEW + 1))) <(expected_record 5 'A02 Frauenkirche bei Nacht' R1 R1D1 R1D1D1)
shot
keys_to "$ENTRY" Escape
Q=$(window "$QUESTION")
keys_to "$Q" Tab space # Nein
gone "$QUESTION"
ready
soft 5 # HAUPTMENUE
ready

# ---- 4: a new keyword on level 1
step keyword
tool 4
see_colour 50 60 12 3 $YELLOW
soft 1 # EBENE <1>
P=$(window "$PROMPT")
type_to "$P" 'Musik'
shot
keys_to "$P" Return
Q=$(window "$QUESTION") # einsortieren ?
keys_to "$Q" Return
file_has "$ARCHIVE/keyword1" 'Musik'
ready
shot done

# ---- 5: search by the key Natur (row 5 now that Musik stands before it), this time from
# the keyboard: the lists have the focus, Down moves the cursor as a right click does,
# Return picks the key, Tab leads to "SUCHE DIAS".
step key-search
tool 5
see_colour 50 60 12 3 $AQUA
keys_to "$MAIN" Down Down Down Down Return
see_colour 50 128 12 3 ff0000
shot keys
wait "$NAME_EVENT" || fail "the new status line was not announced: $(cat "$WORK/name-event")"
wait "$FOCUS_EVENT" || fail "the focus on Musik was not announced: $(cat "$WORK/focus-event")"
NAME_EVENT="" FOCUS_EVENT=""
# The accessibility tree as a screen reader reads it: every visible button named, each
# tool button by its hint, the level-1 list holding the keywords of keyword1 in their order,
# the picked key selected and focused, the status line as the status bar with its text.
"$PROBE" a11y-tree 'Lumoretta 3.0' "$WAIT" >"$ART/a11y-tree.txt" || fail "no accessibility tree"
! grep -q '^ *push button||' "$ART/a11y-tree.txt" || fail "a button without a name"
for hint in 'Neues Dia erfassen' 'Dias editieren' 'Dias löschen' 'Neue Schlüssel eingeben' \
  'Dias über Schlüssel suchen' 'Dias über Informationstext suchen' \
  'Dias über Kastennummer suchen' 'Dias über Memo suchen' 'Backup erstellen' \
  'Systemeinstellungen ändern' 'Druckereinrichtung' 'Hilfe anzeigen'; do
  grep -q "^ *push button|$hint|" "$ART/a11y-tree.txt" || fail "no tool button '$hint'"
done
level1_items() { # the list items of "Stichwortebene <1>", one name a line
  awk -F'|' '/^ *list\|Stichwortebene <1>\|/ { on = 1; next }
             on && /^ *list item\|/ { print $2; next }
             { on = 0 }' "$ART/a11y-tree.txt"
}
check cmp <(level1_items) <(iconv -f CP1252 -t UTF-8 "$ARCHIVE/keyword1" | sed -n '1~2p' | grep -vx '\*')
check grep -q '^ *list item|Natur|selected,focused$' "$ART/a11y-tree.txt"
check grep -q '^ *status bar|Freie Stichwörter ->7<-|' "$ART/a11y-tree.txt"
keys_to "$MAIN" Tab Return # SUCHE DIAS
statistics_seen
file_has "$ARCHIVE/dialiste.txt" 'Edelweiß am Säntis'
cp "$ARCHIVE/dialiste.txt" "$ART/dialiste-keys.txt"
found=$(iconv -f CP1252 -t UTF-8 "$ARCHIVE/dialiste.txt" | sed -n 's/^Davon entsprachen \([0-9]*\) Dias.*/\1/p')
[ "${found:-0}" -gt 17 ] || fail "key search found ${found:-nothing}, too few to page"

# ---- 6: the next page of the result
step page
before=$(screen_hash 0 50 620 300)
click 632 300 # the scroll bar below its thumb: one page down
see_change 0 50 620 300 "$before"
ready
shot

# ---- 7: the slide viewer from the first row, one step forward, closed
step viewer
click 400 67
VIEW=$(window '^Daten zum Dia anzeigen$')
shot
eval "$(xdotool getwindowgeometry --shell "$VIEW")"
before=$("$PROBE" hash "$X" "$Y" "$WIDTH" "$HEIGHT")
click_in "$VIEW" 234 26 # next slide
"$PROBE" wait-change "$X" "$Y" "$WIDTH" "$HEIGHT" "$before" "$WAIT" || fail "viewer did not step"
shot next
keys_to "$VIEW" alt+s # "Requester &schließen"
gone '^Daten zum Dia anzeigen$'
ready

# ---- 8: a memo for the slide in the second row
step memo
click 400 84 3
MEMO=$(window '^MEMO$')
keys_to "$MEMO" ctrl+a
type_to "$MEMO" 'Gipfelkreuz im Nebel'
keys_to "$MEMO" Return
type_to "$MEMO" 'mit Oma und Opa'
shot
click_in "$MEMO" 152 305 # "Memo abspeichern"
memo_written() { MEMO_FILE=$(grep -l 'Gipfelkreuz im Nebel' "$ARCHIVE"/memo/*.txt 2>/dev/null); }
poll memo_written || fail "no memo file written"
click_in "$MEMO" 316 305 # "Memo verlassen"
gone '^MEMO$'
ready

# ---- 9: search by information text
step info-search
tool 6
P=$(window "$PROMPT")
keys_to "$P" ctrl+a
type_to "$P" 'Frauenkirche'
shot
keys_to "$P" Return
statistics_seen

# ---- 10: the box list, opened in the text viewer, which is closed again
step box-list
keys_to "$MAIN" alt+a 1 # "&Auswertung" / "&1 - Liste der Kastenbezeichnungen erstellen..."
N=$(window "$NOTICE")
keys_to "$N" Return
Q=$(window "$QUESTION") # "Die Datei kasten.txt wurde erstellt. Möchten Sie die Datei bearbeiten ?"
keys_to "$Q" Return
VIEWER=$(window '^kasten\.txt - Lumoretta Texteditor$')
shot viewer
keys_to "$VIEWER" alt+d b # "&Datei" / "&Beenden"
gone '^kasten\.txt - Lumoretta Texteditor$'
ready

# ---- 11: delete slide 1, which has a memo and a picture ("&Bearbeiten" / "Dias &löschen...")
step delete
DELETION='^Dias aus dem Archiv löschen$'
keys_to "$MAIN" alt+b l
D=$(window "$DELETION")
type_to "$D" 1 # "von Dia" has the focus
keys_to "$D" Tab
type_to "$D" 1 # "bis Dia"
shot
keys_to "$D" Return # "Dias &löschen"
Q=$(window "$QUESTION") # "Möchten Sie Informationen zu den\rDias Nr.1 bis Nr.1\r..."
shot question
keys_to "$Q" Return # Ja
N=$(window "$NOTICE") # "Die Dias wurden aus dem Lumoretta gelöscht. ..."
shot done
keys_to "$N" Return
gone "$DELETION"
ready
# A free slot: every key slot "00", the marker text and the box number of the slide (1).
free_slot() { expected_record 1 'Dia wurde entnommen / Platz frei' 00 00 00 00 00 00 00 00; }
check cmp <(record 1) <(free_slot)
check [ ! -e "$ARCHIVE/memo/1.txt" ] && check [ ! -e "$ARCHIVE/bilder/1.bmp" ]

# ---- 12: a backup of the default groups (all but the pictures) into a fresh directory:
# the user's home, a temporary directory of this test, typed into the target list.
step backup
BACKUP=$HOME/Backup
keys_to "$MAIN" alt+s b # "Dien&ste" / "&Backup erstellen..."
B=$(window '^Backup erstellen$')
# The home directory is the last target; End picks it even if the typed path did not.
keys_to "$B" alt+z End # "&Ziel:"
type_to "$B" "$HOME"
shot
# Return starts the copy at once; the window takes no input until the copy is done, so
# Esc (close) is handled only afterwards.
keys_to "$B" Return
keys_to "$B" Escape
gone '^Backup erstellen$'
ready
shot done
real() { find "$ARCHIVE" -maxdepth 1 -iname "$1" | grep . || echo "$ARCHIVE/$1"; }
for f in dia.ini kasten.ini dialiste.txt kasten.txt keyliste.txt dia.bmp dias.ddb dia.hlp \
  keyword{1,2,3} keyword{1,2,3}.old kopfdata.ddb; do
  check cmp "$(real "$f")" "$BACKUP/$f"
done
check diff -r "$ARCHIVE/memo" "$BACKUP/memo"
check [ ! -e "$BACKUP/bilder" ]

# ---- 13: quit with "Ja"
step quit
soft 5 # FEIERABEND
Q=$(window "$QUESTION") # "Möchten Sie das Programm LUMORETTA wirklich beenden ?"
shot
keys_to "$Q" Return
status=0
wait "$PROGRAM_PID" || status=$?
PROGRAM_PID=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"

# ---- the files of the day
step files
# dias.ddb: the two new records (checked when saved), slide 1 a free slot, the others unchanged.
check [ "$(stat -c %s "$ARCHIVE/dias.ddb")" -eq $(((FIRST_NEW + 1) * 82)) ]
check cmp <(record $FIRST_NEW) <(expected_record 5 'A01 Edelweiß am Säntis' N1 N1B1)
check cmp <(record $((FIRST_NEW + 1))) <(expected_record 5 'A02 Frauenkirche bei Nacht' R1 R1D1 R1D1D1)
check cmp <(head -c $((400 * 82)) "$ARCHIVE/dias.ddb") <(free_slot; tail -c +83 "$WORK/before/dias.ddb")

# keyword1: Musik (code M1) sorted in between Landschaft and Natur; the undo copy holds
# the list before the change.
check cmp "$ARCHIVE/keyword1" <(sed 's/^Natur$/Musik\nM1\nNatur/' "$WORK/before/keyword1")
check cmp "$ARCHIVE/keyword1.old" "$WORK/before/keyword1"

# dialiste.txt: the information text search found slide 402 only.
report=$(iconv -f CP1252 -t UTF-8 "$ARCHIVE/dialiste.txt")
check grep -qx $'\\*       ===> Frauenkirche  *\\*\r' <<<"$report"
check grep -qE $'^\\* +5 +! +402 +! A02 Frauenkirche bei Nacht +\\*\r$' <<<"$report"
check grep -qx $'Es wurden insgesamt 402 Datensätze ausgewertet.\r' <<<"$report"
check grep -qx $'Davon entsprachen 1 Dias den Suchkriterien.\r' <<<"$report"

# kasten.txt: the labelled boxes of the demo archive, every line ended by CR LF.
boxes=$(iconv -f CP1252 -t UTF-8 "$ARCHIVE/kasten.txt")
check grep -qE $'^\\*   1 ! Urlaub Toskana 1987 +! Reise, Landschaft +\\*\r$' <<<"$boxes"
check grep -qE $'^\\*   4 ! Alpenüberquerung +! Berge, Gletscher, Pässe +\\*\r$' <<<"$boxes"
check [ "$(tail -n 1 <<<"$boxes")" = "$(printf '%069d\r' 0 | tr 0 '*')" ]
check [ "$(grep -c $'\r$' "$ARCHIVE/kasten.txt")" -eq "$(wc -l <"$ARCHIVE/kasten.txt")" ]

# The memo, in CR LF lines.
check cmp "$MEMO_FILE" <(printf 'Gipfelkreuz im Nebel\r\nmit Oma und Opa\r\n')

# DIA.INI: two more slides and one deleted, the next tip of the day, the rest as before.
check cmp "$ARCHIVE/DIA.INI" <(sed -e 's/^DIAS=387\r$/DIAS=388\r/' -e 's/^TIP=1\r$/TIP=2\r/' "$WORK/before/DIA.INI")

echo "user day passed; screenshots in $ART"
