#!/usr/bin/env bash
# The real program under Xvfb: a line copied with Ctrl+C goes into the
# clipboard history, the program's end writes it to "Clip.dat", and after a
# new start the window F10 shows puts it back on the clipboard.
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-clips)
e2e_start_x

doc=$E2E_TMP/doc.txt
printf '履歴に残す行\r\n二行目\r\n' | iconv -f UTF-8 -t CP932 >"$doc"

start_editor() {
    "$editor" "$doc" >>"$E2E_TMP/editor.log" 2>&1 &
    E2E_PIDS+=($!)
    editor_pid=$!
    win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]") || e2e_fail "the file did not open"
    e2e_focus "$win"
}

wait_clipboard() {
    local deadline=$((SECONDS + 10))
    until [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; do
        [ $SECONDS -lt $deadline ] || e2e_fail "$2 (clipboard: $(xclip -o -selection clipboard 2>&1))"
        sleep 0.2
    done
}

start_editor
xdotool key --delay 60 shift+End ctrl+c
wait_clipboard "履歴に残す行" "Ctrl+C copied nothing"
xdotool key --delay 100 alt+f x
deadline=$((SECONDS + 20))
while kill -0 "$editor_pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the program did not end"
    sleep 0.2
done
{ printf '履歴に残す行' | iconv -f UTF-8 -t CP932; printf '\r\n\003\r\n'; } >"$E2E_TMP/Clip.expected"
cmp -s "$TARNWICK_EDITOR_HOME/Clip.dat" "$E2E_TMP/Clip.expected" || {
    od -c "$TARNWICK_EDITOR_HOME/Clip.dat" | head >&2
    e2e_fail "Clip.dat does not hold the copied line"
}

printf 'something else' | xclip -selection clipboard
start_editor
xdotool key F10
history=$(e2e_wait_window "^クリップボード履歴$") || e2e_fail "F10 showed no clipboard history"
e2e_focus "$history"
# The memo has the focus (and takes Tab itself): Shift+Tab reaches the list,
# Home picks its first line, and five more Shift+Tabs lead back over the
# buttons to "コピー".
xdotool key --delay 100 shift+Tab Home shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
wait_clipboard "履歴に残す行" "コピー did not put the stored line back"
echo "e2e clipboard history: ok"
