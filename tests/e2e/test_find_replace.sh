#!/usr/bin/env bash
# The real program under Xvfb: the first two characters of a corpus file are
# copied to the clipboard, pasted into "置換" (Ctrl+H), every occurrence is
# replaced without questions, and the saved file has exactly those bytes
# replaced, at character boundaries only.
source "$(dirname "$0")/lib.sh"
cp "$1" "$E2E_TMP/tarnwick-editor-replace"
editor=$E2E_TMP/tarnwick-editor-replace
corpus=${TW_CORPUS_DIR:?}
e2e_start_x

doc=$E2E_TMP/doc.txt
cp "$corpus/aozoraepub3-test_chuki.txt" "$doc"
"$editor" "$doc" >"$E2E_TMP/editor.log" 2>&1 &
E2E_PIDS+=($!)
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]") || e2e_fail "the file did not open"
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"

# "注記" onto the clipboard from the text itself.
xdotool key --delay 80 ctrl+Home shift+Right shift+Right ctrl+c
xdotool key --delay 80 ctrl+h
box=$(e2e_wait_window "^置換$") || e2e_fail "Ctrl+H did not open the replace dialog"
xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus --sync "$box" || true
# The search field has the focus: paste, then the replacement, then
# "置き換えの確認をしない", then back to "全て置換".
xdotool key --delay 80 ctrl+v Tab
xdotool type --delay 40 "XY"
xdotool key --delay 80 Tab space shift+Tab shift+Tab shift+Tab space
sleep 0.5
xdotool key --delay 80 Escape
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]")
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
xdotool key --delay 80 ctrl+s

python3 - "$corpus/aozoraepub3-test_chuki.txt" "$E2E_TMP/expected.txt" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
find, repl = '注記'.encode('cp932'), b'XY'
out, i = bytearray(), 0
while i < len(data):
    if data.startswith(find, i):
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
deadline=$((SECONDS + 20))
until cmp -s "$doc" "$E2E_TMP/expected.txt"; do
    [ $SECONDS -lt $deadline ] || {
        cmp "$doc" "$E2E_TMP/expected.txt" >&2 || true
        e2e_fail "the saved file is not the original with every 注記 replaced"
    }
    sleep 0.2
done
echo "e2e find and replace: ok"
