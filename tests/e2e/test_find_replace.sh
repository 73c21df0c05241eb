#!/usr/bin/env bash
# The real program under Xvfb: a Japanese string put on the clipboard by
# another program is pasted into "検索" (Ctrl+F), which finds it; a letter is
# typed at the hit; the same string pasted into "置換" (Ctrl+H) is replaced
# everywhere without questions; and the saved file has exactly those bytes
# changed, at character boundaries only. The sample comes after 700 KB of
# lines, so the search runs over rows loaded in bulk, with one hit among them.
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-replace)
e2e_start_x

doc=$E2E_TMP/doc.txt
original=$E2E_TMP/original.txt
python3 - "$E2E_DATA/crlf-sample.txt" "$original" <<'PY'
import sys
# The halves of 記号 apart, and katakana whose trail bytes look like letters.
lines = ['記録の%d番号 ソース ZEBRA\r\n' % i for i in range(20000)]
lines[15000] = '途中の記号\r\n'
head = ''.join(lines).encode('cp932')
open(sys.argv[2], 'wb').write(head + open(sys.argv[1], 'rb').read())
PY
cp "$original" "$doc"
"$editor" "$doc" >"$E2E_TMP/editor.log" 2>&1 &
E2E_PIDS+=($!)
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]") || e2e_fail "the file did not open"
e2e_focus "$win"

# "記号" onto the clipboard from outside, as text (UTF-8), the way another
# program offers it.
printf '記号' | xclip -selection clipboard
xdotool key --delay 80 ctrl+f
box=$(e2e_wait_window "^検索$") || e2e_fail "Ctrl+F did not open the find dialog"
e2e_focus "$box" || true
# Search from the top: the caret goes to the first hit; Esc closes the
# dialog and a typed letter lands at the hit.
xdotool key --delay 80 ctrl+v Return
sleep 0.5
xdotool key --delay 80 Escape
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]")
e2e_focus "$win"
xdotool type --delay 40 "Q"
xdotool key --delay 80 ctrl+h
box=$(e2e_wait_window "^置換$") || e2e_fail "Ctrl+H did not open the replace dialog"
e2e_focus "$box" || true
# The search field has the focus: paste, then the replacement, then
# "置き換えの確認をしない", then back to "全て置換".
xdotool key --delay 80 ctrl+v Tab
xdotool type --delay 40 "XY"
xdotool key --delay 80 Tab space shift+Tab shift+Tab shift+Tab space
sleep 0.5
xdotool key --delay 80 Escape
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]")
e2e_focus "$win"
xdotool key --delay 80 ctrl+s

python3 - "$original" "$E2E_TMP/expected.txt" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
find, repl = '記号'.encode('cp932'), b'XY'
out, i, typed = bytearray(), 0, False
while i < len(data):
    if data.startswith(find, i):
        if not typed:
            out += b'Q'
            typed = True
        out += repl
        i += len(find)
        continue
    step = 2 if (0x81 <= data[i] <= 0x9F or 0xE0 <= data[i] <= 0xFC) and i + 1 < len(data) else 1
    out += data[i:i + step]
    i += step
if not out.endswith(b'\r\n'):
    out += b'\r\n'
assert out != data
open(sys.argv[2], 'wb').write(out)
PY
e2e_wait_file "$doc" "$E2E_TMP/expected.txt" 20 "the saved file is not the original with Q at the first hit and every 記号 replaced"
echo "e2e find and replace: ok"
