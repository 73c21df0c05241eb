#!/usr/bin/env bash
# The real program under Xvfb: Ctrl+P, "印刷実行" and a PDF file chosen in the
# file dialog, as on a machine without a print queue; the PDF holds the text.
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-print)
e2e_start_x

doc=$E2E_TMP/doc.txt
printf 'print me\r\n\x82\xa0\x82\xa2\r\n' >"$doc"  # あい
"$editor" "$doc" >"$E2E_TMP/editor.log" 2>&1 &
E2E_PIDS+=($!)
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]") || e2e_fail "the file did not open"
e2e_focus "$win"

xdotool key --delay 20 ctrl+p
dialog=$(e2e_wait_window "^プリント設定$") || e2e_fail "Ctrl+P showed no print settings"
e2e_focus "$dialog"
if [ -n "${TW_SCREENSHOT_DIR:-}" ] && command -v xwdtopnm >/dev/null; then
    sleep 0.3
    xwd -id "$dialog" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$TW_SCREENSHOT_DIR/print-dialog.png" 2>/dev/null || true
fi
# "印刷実行" is the default button; the file dialog suggests doc.pdf beside the text.
xdotool key --delay 20 Return
chooser=$(e2e_wait_window "PDF ファイルに印刷") || e2e_fail "no file dialog for the PDF"
e2e_focus "$chooser"
xdotool key --delay 20 Return

pdf=$E2E_TMP/doc.pdf
deadline=$((SECONDS + 20))
until [ -s "$pdf" ] && pdftotext "$pdf" "$E2E_TMP/doc.pdf.txt" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || e2e_fail "no PDF was printed"
    sleep 0.2
done
printf 'print me\nあい\n\n\f' >"$E2E_TMP/expected.txt"
cmp -s "$E2E_TMP/doc.pdf.txt" "$E2E_TMP/expected.txt" || {
    od -c "$E2E_TMP/doc.pdf.txt" | head >&2
    e2e_fail "the PDF does not hold the document's text"
}
# Printing closed the dialog.
deadline=$((SECONDS + 10))
while xdotool search --name "^プリント設定$" >/dev/null 2>&1 &&
    xwininfo -id "$dialog" 2>/dev/null | grep -q IsViewable; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the print settings stayed open"
    sleep 0.2
done
echo "e2e print: ok"
