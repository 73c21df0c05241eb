#!/usr/bin/env bash
# The real program under Xvfb: a second start hands its files to the first and
# ends at once; the first opens each of them, a relative name as the sender
# meant it; a FIFO handed over is refused and leaves the program usable.
source "$(dirname "$0")/lib.sh"
editor=$1
e2e_start_x

first=$E2E_DATA/crlf-sample.txt
second=$E2E_DATA/lf-sample.txt
third=$E2E_DATA/cr-sample.txt

# The running program works in one folder, later starts in another.
mkdir -p "$E2E_TMP/here" "$E2E_TMP/there"
printf 'here\r\n' >"$E2E_TMP/here/rel.txt"
printf 'there\r\n' >"$E2E_TMP/there/rel.txt"
cd "$E2E_TMP/here"

"$editor" "$first" >"$E2E_TMP/editor.log" 2>&1 &
E2E_PIDS+=($!)
editor_pid=$!
e2e_wait_window "Tarnwick Editor - \[$first\]" >/dev/null || e2e_fail "the first file did not open"

start=$SECONDS
timeout 20 "$editor" "$second" "$third" || e2e_fail "the second start did not end with 0"
[ $((SECONDS - start)) -lt 10 ] || e2e_fail "the second start did not end at once"
e2e_wait_window "Tarnwick Editor - \[$third\]" >/dev/null || e2e_fail "the handed-over files did not open"
[ "$(pgrep -c -f "^$editor")" -eq 1 ] || e2e_fail "a second instance kept running"
kill -0 "$editor_pid" || e2e_fail "the first instance died"

# The empty argument ends the list: nothing after it is handed over.
timeout 20 "$editor" "$second" "" "$first" || e2e_fail "second start with an empty argument"
# The running program says the file is open already; the second start did
# not wait for that answer.
box=$(e2e_wait_window "^Tarnwick Editor$") || e2e_fail "no word that the file is open already"
e2e_focus "$box" || true
xdotool key --delay 100 Return
e2e_wait_window "Tarnwick Editor - \[$second\]" >/dev/null || e2e_fail "an open file did not come to the front"

# "rel.txt" from the other folder is that folder's file.
(cd "$E2E_TMP/there" && timeout 20 "$editor" rel.txt) || e2e_fail "the relative hand-off did not end with 0"
e2e_wait_window "Tarnwick Editor - \[$E2E_TMP/there/rel.txt\]" >/dev/null ||
    e2e_fail "a relative name from another folder did not open the sender's file"

# A FIFO is no text file: it is refused at once, and the program goes on.
mkfifo "$E2E_TMP/there/pipe"
timeout 20 "$editor" "$E2E_TMP/there/pipe" || e2e_fail "the FIFO hand-off did not end with 0"
box=$(e2e_wait_window "^Tarnwick Editor$") || e2e_fail "the FIFO was not refused"
e2e_focus "$box" || true
xdotool key --delay 100 Return
win=$(e2e_wait_window "Tarnwick Editor - \[") || e2e_fail "the frame is gone"
e2e_focus "$win"
xdotool key --delay 100 ctrl+n
e2e_wait_window "Tarnwick Editor - \[NONAME" >/dev/null || e2e_fail "Ctrl+N did nothing after the FIFO"
echo "e2e handoff: ok"
