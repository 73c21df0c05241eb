#!/usr/bin/env bash
# The real program under Xvfb, used as a user would: two files from the
# command line, the next-window key, typing and Ctrl+S; a third file handed
# over by a second start; a close that asks and is answered "No"; and a
# restart whose read history reopens a file.
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-docs)
e2e_start_x

a=$E2E_TMP/a.txt b=$E2E_TMP/b.txt c=$E2E_TMP/c.txt
cp "$E2E_DATA/crlf-sample.txt" "$a"
cp "$E2E_DATA/lf-sample.txt" "$b"
cp "$E2E_DATA/no-final-break.txt" "$c"
chmod u+w "$a" "$b" "$c"  # copies of a read-only checkout would open read-only
cp "$b" "$E2E_TMP/b.orig"
cp "$c" "$E2E_TMP/c.orig"

"$editor" "$a" "$b" >"$E2E_TMP/editor.log" 2>&1 &
first=$!
E2E_PIDS+=($first)
win=$(e2e_wait_window "Tarnwick Editor - \[$b\]") || e2e_fail "the second file is not the active one"
e2e_focus "$win"

# F3 moves to the next window; from the last one that is the first.
xdotool key --delay 50 F3
e2e_wait_window "Tarnwick Editor - \[$a\]" >/dev/null || e2e_fail "F3 did not bring the first file forward"
xdotool type --delay 30 "Tw1"
xdotool key --delay 50 ctrl+s
{ printf 'Tw1'; cat "$E2E_DATA/crlf-sample.txt"; } >"$E2E_TMP/a.expected"
e2e_wait_file "$a" "$E2E_TMP/a.expected" 20 "the saved file is not the typed text followed by the original"
cmp -s "$b" "$E2E_TMP/b.orig" || e2e_fail "the file not typed into changed"

# A second start hands its file to the running program and ends.
timeout 20 "$editor" "$c" || e2e_fail "the second start did not end cleanly"
e2e_wait_window "Tarnwick Editor - \[$c\]" >/dev/null || e2e_fail "the handed-over file did not open"
kill -0 "$first" || e2e_fail "the first program is gone"

# A change, then the end of the program: the question comes, "No" keeps the file.
win=$(e2e_wait_window "Tarnwick Editor - \[$c\]")
e2e_focus "$win"
xdotool type --delay 30 "zz"
xdotool key --delay 100 alt+f
xdotool key --delay 100 x
box=$(e2e_wait_window "^Tarnwick Editor$") || e2e_fail "closing with a change did not ask"
e2e_focus "$box" || true
xdotool key --delay 100 alt+n
deadline=$((SECONDS + 20))
while kill -0 "$first" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the program did not end after No"
    sleep 0.2
done
cmp -s "$c" "$E2E_TMP/c.orig" || e2e_fail "No changed the file"

# The restart lists the files in "開き直す(&R)", newest first: item 0 is c.
"$editor" >>"$E2E_TMP/editor.log" 2>&1 &
E2E_PIDS+=($!)
win=$(e2e_wait_window "Tarnwick Editor - \[NONAME1\]") || e2e_fail "the restart shows no blank text"
e2e_focus "$win"
xdotool key --delay 150 alt+f r 0
e2e_wait_window "Tarnwick Editor - \[$c\]" >/dev/null || e2e_fail "the read history did not reopen the file"
xdotool key --delay 150 alt+f r 2
e2e_wait_window "Tarnwick Editor - \[$a\]" >/dev/null || e2e_fail "the read history does not hold the first file third"
echo "e2e documents: ok"
