#!/usr/bin/env bash
# The real program under Xvfb: text another program put on the clipboard,
# with LF, CR and CR LF breaks, is pasted with Ctrl+V and saved with CR LF
# breaks only; Alt with a letter, a menu key, types nothing.
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-paste)
e2e_start_x

doc=$E2E_TMP/doc.txt
printf 'end\r\n' >"$doc"
"$editor" "$doc" >"$E2E_TMP/editor.log" 2>&1 &
E2E_PIDS+=($!)
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]") || e2e_fail "the file did not open"
e2e_focus "$win"

printf '一行目\n二行目\rthree\r\nfour\n' | xclip -selection clipboard
xdotool key --delay 80 alt+j
xdotool key --delay 80 ctrl+v
xdotool key --delay 80 ctrl+s

expected=$E2E_TMP/expected.txt
printf '一行目\r\n二行目\r\nthree\r\nfour\r\nend\r\n' | python3 -c \
    'import sys; sys.stdout.buffer.write(sys.stdin.buffer.read().decode().encode("cp932"))' \
    >"$expected"
e2e_wait_file "$doc" "$expected" 20 "the saved file does not hold the pasted lines with CR LF breaks"
echo "e2e paste from other programs: ok"
