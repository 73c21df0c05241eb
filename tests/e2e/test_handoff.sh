#!/usr/bin/env bash
# The real program under Xvfb: a second start hands its files to the first and
# ends at once; the first opens each of them.
source "$(dirname "$0")/lib.sh"
editor=$1
corpus=${TW_CORPUS_DIR:?}
e2e_start_x

first=$corpus/aozoraepub3-test_ruby.txt
second=$corpus/aozoraepub3-test_btm.txt
third=$corpus/aozoraepub3-test_latin.txt

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
echo "e2e handoff: ok"
