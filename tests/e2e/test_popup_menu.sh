#!/usr/bin/env bash
# The real program under Xvfb: the Menu key and Shift+F10 open the document's
# pop-up menu at the caret, not at the mouse pointer; its keys step through
# it the way Windows menus do; Esc leaves the text and the selection as they
# were; and its conversion rewrites the selected line.
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-popup)
e2e_start_x

doc=$E2E_TMP/kana.txt
printf 'あいうえおかきくけこ\r\nさしすせそ\r\n' | iconv -f UTF-8 -t CP932 >"$doc"
"$editor" "$doc" >"$E2E_TMP/editor.log" 2>&1 &
E2E_PIDS+=($!)
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]") || e2e_fail "the file did not open"
e2e_focus "$win"
xdotool mousemove 1270 890  # far from the caret

# WxH+X+Y → "X Y"
corner() { sed -E 's/^[0-9]+x[0-9]+\+([0-9]+)\+([0-9]+)$/\1 \2/'; }

# At the start of the text, then after the line is selected with Shift+End.
xdotool key Menu
start=$(e2e_wait_popups 1 | corner) || e2e_fail "the Menu key opened no menu"
xdotool key Escape
e2e_wait_popups 0 >/dev/null || e2e_fail "Esc did not close the menu"
xdotool key --delay 50 shift+End Menu
end=$(e2e_wait_popups 1 | corner) || e2e_fail "the Menu key opened no menu on the selection"
read -r x0 y0 <<<"$start"
read -r x1 y1 <<<"$end"
[ "$y1" -eq "$y0" ] || e2e_fail "the menu is not below the caret row ($start, $end)"
# Ten full-width characters lie between the two caret places.
[ $((x1 - x0)) -ge 100 ] || e2e_fail "the menu did not follow the caret ($start, $end)"
read -r wx wy < <(xdotool getwindowgeometry "$win" | awk '/Position/{split($2, p, ","); print p[1], p[2]}')
[ "$x0" -gt "$wx" ] && [ "$y0" -gt "$wy" ] && [ "$y0" -lt $((wy + 200)) ] ||
    e2e_fail "the menu is not at the top of the document ($start, window at $wx $wy)"

# Shift+F10 opens the same menu at the same place; Esc leaves all as it was.
xdotool key shift+F10
again=$(e2e_wait_popups 1 | corner) || e2e_fail "Shift+F10 opened no menu"
[ "$again" = "$end" ] || e2e_fail "Shift+F10 opened the menu elsewhere ($again, not $end)"
xdotool key Escape
e2e_wait_popups 0 >/dev/null || e2e_fail "Esc did not close the menu"
xdotool key --delay 100 ctrl+c
deadline=$((SECONDS + 10))
until [ "$(xclip -o -selection clipboard 2>/dev/null)" = "あいうえおかきくけこ" ]; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the selection did not stay the first line"
    sleep 0.2
done
# Down ten times and Right open "変換" (the tallest submenu: eight entries),
# whatever is enabled; Down five times and Enter run its sixth entry,
# "カタカナに変換", on the selected first line; Ctrl+S saves the result.
xdotool key Menu
e2e_wait_popups 1 >/dev/null || e2e_fail "the Menu key opened no menu"
xdotool key --delay 60 Down Down Down Down Down Down Down Down Down Down Right
menus=$(e2e_wait_popups 2) || e2e_fail "Right opened no submenu"
submenu=$(printf '%s\n' "$menus" | sed -E 's/^[0-9]+x([0-9]+).*/\1/' | sort -n | head -n1)
[ "$submenu" -gt 120 ] || e2e_fail "Down ten times and Right did not reach 変換 ($menus)"
xdotool key --delay 60 Down Down Down Down Down Return
e2e_wait_popups 0 >/dev/null || e2e_fail "Enter did not close the menus"
xdotool key --delay 100 ctrl+s

expected=$E2E_TMP/expected.txt
printf 'アイウエオカキクケコ\r\nさしすせそ\r\n' | iconv -f UTF-8 -t CP932 >"$expected"
e2e_wait_file "$doc" "$expected" 10 "the saved file is not the first line in katakana"
echo "e2e pop-up menu: ok"
