#!/usr/bin/env bash
# The real program under Xvfb: F11 hides the line numbers and the choice is
# written to Option.dat at exit; Esc changes nothing, so Ctrl+W then closes
# the document without asking.
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-keys)
e2e_start_x

a=$E2E_TMP/a.txt b=$E2E_TMP/b.txt
printf 'first\r\n' >"$a"
printf 'second\r\n' >"$b"
"$editor" "$a" "$b" >"$E2E_TMP/editor.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)
win=$(e2e_wait_window "Tarnwick Editor - \[$b\]") || e2e_fail "the files did not open"
e2e_focus "$win"

# Esc twice (once would clear the find colour), then the close key.
xdotool key --delay 100 Escape Escape ctrl+w
e2e_wait_window "Tarnwick Editor - \[$a\]" 10 >/dev/null ||
    e2e_fail "Ctrl+W after Esc did not close the unchanged document"
[ -z "$(e2e_popups)" ] || e2e_fail "closing an unchanged document asked something"

xdotool key --delay 100 F11
xdotool key --delay 150 alt+f x
deadline=$((SECONDS + 20))
while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the program did not end"
    sleep 0.2
done
option=$TARNWICK_EDITOR_HOME/Option.dat
[ "$(stat -c %s "$option")" -eq 5784 ] || e2e_fail "Option.dat was not written whole"
shown=$(od -An -tu1 -j601 -N1 "$option" | tr -d ' ')
[ "$shown" = 0 ] || e2e_fail "ShowLineNumber is $shown after F11, not 0"
echo "e2e frame keys: ok"
