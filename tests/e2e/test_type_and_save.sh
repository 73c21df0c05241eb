#!/usr/bin/env bash
# The real program under Xvfb: typing at the start of a Shift-JIS file and saving
# with Ctrl+S puts exactly the typed bytes in front of the file's own.
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-typing)
e2e_start_x

doc=$E2E_TMP/doc.txt
cp "$E2E_DATA/crlf-sample.txt" "$doc"
chmod u+w "$doc"  # a copy of a read-only checkout would open read-only
"$editor" "$doc" >"$E2E_TMP/editor.log" 2>&1 &
E2E_PIDS+=($!)
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]") || e2e_fail "the file did not open"
e2e_focus "$win"

xdotool type --delay 20 "Hello, tw 123"
xdotool key --delay 20 Return
xdotool key --delay 20 ctrl+s

expected=$E2E_TMP/expected.txt
{ printf 'Hello, tw 123\r\n'; cat "$E2E_DATA/crlf-sample.txt"; } >"$expected"
e2e_wait_file "$doc" "$expected" 20 "the saved file is not the typed text followed by the original"

# A picture of the running program with marks and a selection, kept in the
# build folder for people to look at.
if [ -n "${TW_SCREENSHOT_DIR:-}" ]; then
    xdotool key --delay 20 ctrl+Home shift+Down shift+Down shift+End
    sleep 0.5
    xwd -root -silent >"$E2E_TMP/shot.xwd" 2>/dev/null || true
    if command -v convert >/dev/null && convert "$E2E_TMP/shot.xwd" "$TW_SCREENSHOT_DIR/editor-e2e.png" 2>/dev/null; then :; else
        cp "$E2E_TMP/shot.xwd" "$TW_SCREENSHOT_DIR/editor-e2e.xwd" 2>/dev/null || true
    fi
fi
echo "e2e type and save: ok"
