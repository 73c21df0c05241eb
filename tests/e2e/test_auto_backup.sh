#!/usr/bin/env bash
# The real program under Xvfb with a backup every 2 seconds: what is typed
# into a new text turns up, byte for byte, as a backup in the day's folder of
# BackUp; and F9 shows the backup history.
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-backup)
"$2/test-tools/write_options" "$TARNWICK_EDITOR_HOME" 2000 || e2e_fail "could not write Option.dat"
e2e_start_x

"$editor" >"$E2E_TMP/editor.log" 2>&1 &
E2E_PIDS+=($!)
win=$(e2e_wait_window "Tarnwick Editor - \[NONAME1\]") || e2e_fail "the new text did not open"
e2e_focus "$win"
xdotool type --delay 20 "Backed up, 123"
xdotool key --delay 20 Return
xdotool type --delay 20 "second line"

expected=$E2E_TMP/expected.txt
printf 'Backed up, 123\r\nsecond line' >"$expected"
store=$TARNWICK_EDITOR_HOME/BackUp
found=
deadline=$((SECONDS + 20))
while [ -z "$found" ]; do
    [ $SECONDS -lt $deadline ] || {
        find "$store" -type f 2>/dev/null >&2 || true
        e2e_fail "no backup holds the typed text"
    }
    sleep 0.5
    for f in "$store"/*/*NONAME1; do
        [ -f "$f" ] && cmp -s "$f" "$expected" && found=$f && break
    done
done
[[ $(basename "$(dirname "$found")") =~ ^[0-9]{2}-[0-9]{2}-[0-9]{2}$ ]] ||
    e2e_fail "the backup's folder is no day: $found"
[[ $(basename "$found") =~ ^[0-9]{2}\.[0-9]{2}\.[0-9]{2}NONAME1$ ]] ||
    e2e_fail "the backup's name is no time and document: $found"

xdotool key F9
history=$(e2e_wait_window "オートバックアップ履歴" 10) || e2e_fail "F9 did not show the backup history"
e2e_focus "$history"
xdotool key Escape
deadline=$((SECONDS + 10))
while xdotool search --onlyvisible --name "オートバックアップ履歴" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || e2e_fail "Esc did not close the backup history"
    sleep 0.2
done
echo "e2e auto backup: ok"
