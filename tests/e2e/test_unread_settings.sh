#!/usr/bin/env bash
# The real program run by a user who may write but not read the program's
# settings files: each file is named at start, and the end of the program
# leaves all three as they were, until what a file holds has changed.
source "$(dirname "$0")/lib.sh"
if [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null || ! id nobody >/dev/null 2>&1; then
    echo "e2e unread settings: skipped (needs root, setpriv and the user nobody)"
    exit 0
fi
editor=$(e2e_private_editor "$1" tarnwick-editor-unread)
e2e_start_x
chmod 755 "$E2E_TMP"

home=$E2E_TMP/nobody-home runtime=$E2E_TMP/nobody-runtime
mkdir -p "$home" "$runtime"
head -c 5784 /dev/urandom >"$home/Option.dat"
printf 'kept\r\n\003\r\n' >"$home/Clip.dat"
printf '[KeyBrd]\r\nkey1=CTRL+N\r\n' >"$home/KeyBrd.ini"
for f in Option.dat Clip.dat KeyBrd.ini; do cp "$home/$f" "$E2E_TMP/$f.orig"; done
printf 'text\r\n' >"$home/doc.txt"
chown -R nobody: "$home" "$runtime"
chmod 700 "$home" "$runtime"
chmod 200 "$home/Option.dat" "$home/Clip.dat" "$home/KeyBrd.ini"

# Starts the program as nobody, answers the boxes of the start, and waits
# for the frame to name its document ($1).
start_as_nobody() {
    local document=$1
    shift
    TARNWICK_EDITOR_HOME=$home TARNWICK_EDITOR_RUNTIME_DIR=$runtime HOME=$home \
        setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups -- \
        "$editor" "$@" >>"$E2E_TMP/editor.log" 2>&1 &
    E2E_PIDS+=($!)
    editor_pid=$!
    local deadline=$((SECONDS + 30))
    until xdotool search --name "Tarnwick Editor - \[$document\]" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || e2e_fail "the program did not start with $document"
        for box in $(xdotool search --onlyvisible --name "^Tarnwick Editor$" 2>/dev/null); do
            e2e_focus "$box" 2>/dev/null || true
            xdotool key Return
        done
        sleep 0.3
    done
}

end_program() {
    local win
    win=$(e2e_wait_window "Tarnwick Editor - \[") || e2e_fail "no frame to close"
    e2e_end_program "$win" "$editor_pid"
}

# Nothing changed: the files stay as the user had them.
start_as_nobody NONAME1
end_program
for f in Option.dat Clip.dat KeyBrd.ini; do
    cmp -s "$home/$f" "$E2E_TMP/$f.orig" || e2e_fail "$f was written over"
done

# Opening a file changes the read history that Option.dat holds: now it is written.
start_as_nobody "$home/doc.txt" "$home/doc.txt"
end_program
cmp -s "$home/Option.dat" "$E2E_TMP/Option.dat.orig" && e2e_fail "the changed read history was not stored"
[ "$(stat -c %s "$home/Option.dat")" -eq 5784 ] || e2e_fail "Option.dat is not a whole record"
cmp -s "$home/Clip.dat" "$E2E_TMP/Clip.dat.orig" || e2e_fail "the unchanged Clip.dat was written over"
cmp -s "$home/KeyBrd.ini" "$E2E_TMP/KeyBrd.ini.orig" || e2e_fail "KeyBrd.ini was written over"
echo "e2e unread settings: ok"
