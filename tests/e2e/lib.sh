# Shared by the end-to-end tests: a private X server, a private instance
# folder and program folder, and helpers to wait for windows.
set -euo pipefail

E2E_TMP=$(mktemp -d /tmp/tw-e2e-XXXXXX)
# The project's own Shift-JIS sample texts (tests/data).
E2E_DATA=$(cd "$(dirname "${BASH_SOURCE[0]}")/../data" && pwd)
export TARNWICK_EDITOR_RUNTIME_DIR=$E2E_TMP/runtime
export TARNWICK_EDITOR_HOME=$E2E_TMP/home
# The desktop's own settings too: the options dialog can change the
# association of text files, which must never reach the user's desktop.
export XDG_DATA_HOME=$E2E_TMP/data XDG_CONFIG_HOME=$E2E_TMP/config
mkdir -p "$TARNWICK_EDITOR_RUNTIME_DIR" "$TARNWICK_EDITOR_HOME"
chmod 700 "$TARNWICK_EDITOR_RUNTIME_DIR"
unset QT_QPA_PLATFORM
E2E_PIDS=()

e2e_cleanup() {
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# Starts Xvfb on a free display and exports DISPLAY. -noreset: otherwise the
# server resets whenever its last client leaves (each xdotool poll), and a
# program connecting during that reset is refused and aborts.
e2e_start_x() {
    Xvfb -displayfd 1 -screen 0 1280x900x24 -nolisten tcp -noreset >"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do
        [ -s "$E2E_TMP/display" ] && break
        sleep 0.1
    done
    [ -s "$E2E_TMP/display" ] || { echo "Xvfb did not start"; cat "$E2E_TMP/xvfb.log"; exit 1; }
    export DISPLAY=:$(head -n1 "$E2E_TMP/display")
}

# Waits until a window whose name matches the pattern exists; prints its id.
e2e_wait_window() {
    local pattern=$1 deadline=$((SECONDS + ${2:-20}))
    while [ $SECONDS -lt $deadline ]; do
        local id
        id=$(xdotool search --name "$pattern" 2>/dev/null | head -n1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    echo "no window matching '$pattern'" >&2
    xdotool search --name . getwindowname %@ >&2 2>/dev/null || true
    return 1
}

e2e_fail() {
    echo "FAIL: $*" >&2
    # What the program said (a sanitizer's report, say) goes with the failure.
    if [ -s "$E2E_TMP/editor.log" ]; then
        echo "--- editor.log" >&2
        tail -n 60 "$E2E_TMP/editor.log" >&2
    fi
    exit 1
}

# Gives a window the keyboard: activates it, or only focuses it where no
# window manager takes part. A window is named before it is mapped, and
# focusing it then fails (BadMatch), so this tries again for a while.
e2e_focus() {
    for _ in $(seq 50); do
        xdotool windowactivate --sync "$1" 2>/dev/null && return 0
        xdotool windowfocus --sync "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    xdotool windowfocus --sync "$1"
}

# A copy of the program under a name of the test's own, so that tests
# counting the processes of the real one are not confused when they run
# beside this one; prints its path.
e2e_private_editor() {
    cp "$1" "$E2E_TMP/$2"
    echo "$E2E_TMP/$2"
}

# Prints the geometry (WxH+X+Y) of every shown window of the program named
# just "Tarnwick Editor": its pop-up menus (and question boxes).
e2e_popups() {
    local id
    for id in $(xwininfo -root -tree | awk '/"Tarnwick Editor": \(/{print $1}'); do
        xwininfo -id "$id" | grep -q IsViewable && xwininfo -id "$id" | awk '/-geometry/{print $2}'
    done
    return 0
}

# Waits until the program shows exactly N such windows; prints their geometries.
e2e_wait_popups() {
    local n=$1 deadline=$((SECONDS + ${2:-10})) shown
    while [ $SECONDS -lt $deadline ]; do
        shown=$(e2e_popups)
        if [ "$(printf '%s' "$shown" | grep -c .)" -eq "$n" ]; then
            printf '%s\n' "$shown"
            return 0
        fi
        sleep 0.1
    done
    echo "expected $n pop-up windows, saw: $shown" >&2
    return 1
}

# Waits up to $3 seconds until file $1 holds exactly the bytes of file $2 (a
# save lands a moment after its key); fails with message $4 and shows where
# the two differ.
e2e_wait_file() {
    local file=$1 expected=$2 deadline=$((SECONDS + $3))
    until cmp -s "$file" "$expected"; do
        if [ $SECONDS -ge $deadline ]; then
            cmp "$file" "$expected" >&2 || true
            head -c 80 "$file" | od -An -c >&2 || true
            e2e_fail "$4"
        fi
        sleep 0.2
    done
}

# Ends the program through its menu (ファイル, 終了) from its frame $1 and
# waits until process $2 is gone.
e2e_end_program() {
    e2e_focus "$1"
    xdotool key --delay 100 alt+f
    xdotool key --delay 100 x
    local deadline=$((SECONDS + 20))
    while kill -0 "$2" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || e2e_fail "the program did not end"
        sleep 0.2
    done
}
