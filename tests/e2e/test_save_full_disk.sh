#!/usr/bin/env bash
# The real program saving onto a disk with no room left (a small tmpfs filled
# up): Ctrl+S must say the save failed, leave the file as it was with nothing
# beside it, and save whole once there is room again.
if [ -z "${TW_E2E_OWN_MOUNTS:-}" ]; then
    # The small disk lives in a mount namespace of the test's own, so that it
    # goes away with the test whatever happens; without root, in a user
    # namespace of its own as well.
    for how in -m -rm; do
        if unshare $how --propagation private true 2>/dev/null; then
            TW_E2E_OWN_MOUNTS=1 exec unshare $how --propagation private bash "$0" "$@"
        fi
    done
    echo "skipped: no private mount namespace here (needs root or user namespaces)"
    exit 77
fi
source "$(dirname "$0")/lib.sh"
editor=$(e2e_private_editor "$1" tarnwick-editor-full-disk)

disk=$E2E_TMP/disk
mkdir -p "$disk"
if ! mount -t tmpfs -o size=64k tmpfs "$disk" 2>"$E2E_TMP/mount.log"; then
    echo "skipped: cannot mount a small tmpfs: $(cat "$E2E_TMP/mount.log")"
    exit 77
fi
doc=$disk/doc.txt
cp "$E2E_DATA/crlf-sample.txt" "$doc"
e2e_start_x
"$editor" "$doc" >"$E2E_TMP/editor.log" 2>&1 &
editor_pid=$!
E2E_PIDS+=($editor_pid)
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]") || e2e_fail "the file did not open"
e2e_focus "$win"
xdotool type --delay 20 "Hello"
xdotool key --delay 20 Return

# Every block of the disk taken: the temporary file can be made, not written.
dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null || true
xdotool key --delay 20 ctrl+s
e2e_wait_popups 1 >/dev/null || e2e_fail "the failed save was not reported"
cmp -s "$doc" "$E2E_DATA/crlf-sample.txt" || e2e_fail "the failed save changed the file"
left=$(ls -A "$disk" | grep -v -x -e doc.txt -e filler || true)
[ -z "$left" ] || e2e_fail "the failed save left: $left"
xdotool key --delay 100 Return
e2e_wait_popups 0 >/dev/null || e2e_fail "the message did not close"

rm "$disk/filler"
e2e_focus "$win"
xdotool key --delay 20 ctrl+s
expected=$E2E_TMP/expected.txt
{ printf 'Hello\r\n'; cat "$E2E_DATA/crlf-sample.txt"; } >"$expected"
e2e_wait_file "$doc" "$expected" 20 "the save after room was made is not the typed text and the original"
[ "$(ls -A "$disk")" = doc.txt ] || e2e_fail "files beside the saved one: $(ls -A "$disk")"
kill "$editor_pid"
wait "$editor_pid" 2>/dev/null || true
umount "$disk"
echo "e2e save onto a full disk: ok"
