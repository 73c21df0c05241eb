#!/usr/bin/env bash
# Japanese typed through a real input method: fcitx5 with Mozc, reached
# through Qt's fcitx module, in a private D-Bus session under Xvfb. "nihongo",
# Space, Enter and Ctrl+S put 日本語 in front of the file's own bytes; a
# composition of two clauses is drawn inline with the active clause
# highlighted, and the highlight follows when the next clause becomes active.
# Mozc's server refuses to run as root, so as root the session runs as nobody.
source "$(dirname "$0")/lib.sh"
here=$(cd "$(dirname "$0")" && pwd)

skip() {
    echo "e2e input method: skipped ($*)"
    exit 77
}

for tool in fcitx5 fcitx5-remote dbus-run-session dbus-send python3 xwd setsid; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -x /usr/lib/mozc/mozc_server ] || skip "mozc-server is not installed"
[ -e /usr/share/fcitx5/addon/mozc.conf ] || skip "fcitx5-mozc is not installed"
compgen -G "/usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so" \
    >/dev/null || skip "fcitx5-frontend-qt6 is not installed"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    command -v setpriv >/dev/null || skip "setpriv is missing, needed to leave root"
    id nobody >/dev/null 2>&1 || skip "there is no user nobody to run the input method as"
    as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --)
fi

editor=$(e2e_private_editor "$1" tarnwick-editor-ime)
e2e_start_x
chmod 755 "$E2E_TMP"
home=$E2E_TMP/ime-home
mkdir -p "$home/.config/fcitx5" "$home/runtime"
# Mozc is the group's second entry, so that it is what fcitx5 switches on.
cat >"$home/.config/fcitx5/profile" <<'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
EOF
doc=$home/doc.txt
cp "$E2E_DATA/crlf-sample.txt" "$doc"
[ ${#as_user[@]} -eq 0 ] || chown -R nobody: "$home"
chmod -R u+rwX "$home"
chmod 700 "$home" "$home/runtime"

# The session: the bus, fcitx5, the program; once the program has the
# focus, Mozc is switched on for it and "active" is written to the status.
cat >"$E2E_TMP/session.sh" <<'EOF'
#!/bin/bash
cd "$HOME"
echo "$DBUS_SESSION_BUS_ADDRESS" >"$HOME/bus"
status=$HOME/status
fcitx5 >"$HOME/fcitx5.log" 2>&1 &
for _ in $(seq 200); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2>/dev/null |
        grep -q 'boolean true' && break
    sleep 0.1
done
QT_IM_MODULE=fcitx "$EDITOR_BINARY" "$HOME/doc.txt" >"$HOME/editor.log" 2>&1 &
for _ in $(seq 300); do
    state=$(fcitx5-remote 2>/dev/null)
    if [ "$state" = 1 ] || [ "$state" = 2 ]; then
        fcitx5-remote -o
        [ "$(fcitx5-remote)" = 2 ] && { echo active >"$status"; break; }
    fi
    sleep 0.1
done
[ -s "$status" ] || echo "no input context took the focus (fcitx5 state: ${state:-none})" >"$status"
wait
EOF
chmod 755 "$E2E_TMP/session.sh"

# Everything of the session shares one process group, which the end of the
# test takes down whole (Mozc's server outlives fcitx5 otherwise).
session_pid=
end_session() {
    if [ -n "$session_pid" ]; then
        kill -TERM -- "-$session_pid" 2>/dev/null || true
        sleep 0.5
        kill -KILL -- "-$session_pid" 2>/dev/null || true
    fi
    e2e_cleanup
}
trap end_session EXIT

env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" HOME="$home" XDG_RUNTIME_DIR="$home/runtime" \
    LANG=C.UTF-8 EDITOR_BINARY="$editor" \
    TARNWICK_EDITOR_HOME="$home" TARNWICK_EDITOR_RUNTIME_DIR="$home/runtime" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" LSAN_OPTIONS="${LSAN_OPTIONS:-}" \
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
    setsid "${as_user[@]}" dbus-run-session -- "$E2E_TMP/session.sh" >"$E2E_TMP/session.log" 2>&1 &
session_pid=$!

fail() {
    for log in "$E2E_TMP/session.log" "$home/fcitx5.log" "$home/editor.log"; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 30 "$log" >&2; }
    done
    e2e_fail "$@"
}

deadline=$((SECONDS + 30))
until [ -s "$home/bus" ]; do
    kill -0 "$session_pid" 2>/dev/null ||
        skip "no D-Bus session could be started: $(head -n1 "$E2E_TMP/session.log")"
    [ $SECONDS -lt $deadline ] || fail "the D-Bus session did not start"
    sleep 0.1
done
win=$(e2e_wait_window "Tarnwick Editor - \[$doc\]" 60) || fail "the program did not open the file"
e2e_focus "$win"
deadline=$((SECONDS + 40))
until [ -s "$home/status" ]; do
    [ $SECONDS -lt $deadline ] || fail "fcitx5 did not take the program's input"
    sleep 0.2
done
[ "$(cat "$home/status")" = active ] || fail "$(cat "$home/status")"

# Converted by Mozc, committed with Enter, saved.
xdotool type --delay 80 nihongo
xdotool key --delay 200 space Return ctrl+s
expected=$E2E_TMP/expected.txt
{ printf '\x93\xfa\x96\x7b\x8c\xea'; cat "$E2E_DATA/crlf-sample.txt"; } >"$expected"
deadline=$((SECONDS + 30))
until cmp -s "$doc" "$expected"; do
    [ $SECONDS -lt $deadline ] || {
        head -c 32 "$doc" | od -An -tx1 >&2
        fail "the file does not hold 日本語 in front of its own bytes"
    }
    sleep 0.2
done

# Two clauses, 今日は|いい天気: the first is active, then the second.
xdotool type --delay 80 kyouhaiitenki
xdotool key space
sleep 1.5
xwd -id "$win" -silent >"$E2E_TMP/first-clause.xwd"
xdotool key Right
sleep 1.5
xwd -id "$win" -silent >"$E2E_TMP/second-clause.xwd"
[ -z "${TW_SCREENSHOT_DIR:-}" ] || cp "$E2E_TMP/first-clause.xwd" "$TW_SCREENSHOT_DIR/editor-ime-clauses.xwd"
python3 "$here/clause_highlight.py" "$E2E_TMP/first-clause.xwd" "$E2E_TMP/second-clause.xwd" ||
    fail "the active clause is not drawn highlighted"
cmp -s "$doc" "$expected" || fail "the composition reached the file before it was committed"
echo "e2e input method: ok"
