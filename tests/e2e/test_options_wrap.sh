#!/usr/bin/env bash
# The real program under Xvfb: F4 opens "詳細設定", a new wrap column and
# "変更" re-wrap the open document at once, and the column is still there
# after a restart. The wrap shows in where End puts the caret: typing there
# and saving puts the typed text at that column of the long line.
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-options)
e2e_start_x

line=$(printf 'a%.0s' $(seq 100))
doc=$E2E_TMP/long.txt

# Opens a fresh copy of the long line, types $1 at the end of its first row,
# saves, and writes the column where the text landed into $E2E_TMP/column.
typed_column() {
    printf '%s\r\n' "$line" >"$doc"
    "$editor" "$doc" >>"$E2E_TMP/editor.log" 2>&1 &
    E2E_PIDS+=($!)
    editor_pid=$!
    win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]") || e2e_fail "the file did not open"
    e2e_focus "$win"
    if [ -n "${2:-}" ]; then "$2"; fi
    xdotool key --delay 50 ctrl+Home End
    xdotool type --delay 20 "$1"
    xdotool key --delay 50 ctrl+s
    local deadline=$((SECONDS + 20))
    until grep -q "$1" "$doc"; do
        [ $SECONDS -lt $deadline ] || e2e_fail "the typed text was not saved"
        sleep 0.2
    done
    head -n1 "$doc" | awk -v t="$1" '{ print index($0, t) - 1 }' >"$E2E_TMP/column"
}

# F4, the wrap column list of the first page set to 40, "変更".
set_column_40() {
    xdotool key --delay 50 F4
    local dialog
    dialog=$(e2e_wait_window "^詳細設定$") || e2e_fail "F4 did not open the options"
    e2e_focus "$dialog"
    # The first page's controls in order: three mark boxes, the two
    # association buttons, quoting box and marks, the wrap box, then the
    # column list.
    xdotool key --delay 50 Tab Tab Tab Tab Tab Tab Tab Tab
    xdotool type --delay 50 "40"
    # On past line spacing, tab width, scroll step and underline to "変更".
    xdotool key --delay 50 Tab Tab Tab Tab Tab space
    local deadline=$((SECONDS + 10))
    while xdotool search --onlyvisible --name "^詳細設定$" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || e2e_fail "the options did not close on 変更"
        sleep 0.2
    done
    # Without a window manager nothing hands the frame the focus back.
    e2e_focus "$win"
}

# Before: the default column.
typed_column X
[ "$(cat "$E2E_TMP/column")" -eq 70 ] || e2e_fail "the first row does not end at the default column 70"
e2e_end_program "$win" "$editor_pid"
# The dialog re-wraps the document that is open.
typed_column Y set_column_40
column=$(cat "$E2E_TMP/column")
[ "$column" -eq 40 ] || e2e_fail "after 変更 the first row ends at $column, not 40"
e2e_end_program "$win" "$editor_pid"
# A restart keeps the column.
typed_column Z
column=$(cat "$E2E_TMP/column")
[ "$column" -eq 40 ] || e2e_fail "after a restart the first row ends at $column, not 40"
e2e_end_program "$win" "$editor_pid"
echo "e2e options wrap: ok"
