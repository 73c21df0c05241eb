#!/usr/bin/env bash
# The program as `cmake --install` lays it out (bin/, share/tarnwick-editor/),
# under Xvfb: "ReadMe(&R)" of "その他(&O)" opens the installed help text, and
# the settings go to the configuration folder, not into the program's bin/,
# although that is writable here as /usr/bin is for root.
source "$(dirname "$0")/lib.sh"
build=${2:?the build folder}
prefix=$E2E_TMP/prefix
cmake --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" 2>&1 ||
    { cat "$E2E_TMP/install.log" >&2; e2e_fail "cmake --install did not install"; }
editor=$prefix/bin/tarnwick-editor
[ -x "$editor" ] || e2e_fail "no program in $prefix/bin"
e2e_start_x

unset TARNWICK_EDITOR_HOME  # the installed program chooses its folder itself
export XDG_CONFIG_HOME=$E2E_TMP/config
"$editor" >"$E2E_TMP/editor.log" 2>&1 &
E2E_PIDS+=($!)
editor_pid=$!
win=$(e2e_wait_window "Tarnwick Editor - \[NONAME1\]") || e2e_fail "the installed program did not start"
e2e_focus "$win"
xdotool key --delay 150 alt+o r
readme=$prefix/share/tarnwick-editor/ReadMe.txt
win=$(e2e_wait_window "Tarnwick Editor - \[$readme\]") || e2e_fail "ReadMe did not open from share/"

e2e_focus "$win"
xdotool key --delay 150 alt+f x
deadline=$((SECONDS + 20))
while kill -0 "$editor_pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || e2e_fail "the program did not end"
    sleep 0.2
done
[ -s "$XDG_CONFIG_HOME/tarnwick-editor/Option.dat" ] || e2e_fail "no settings in the configuration folder"
[ ! -e "$prefix/bin/Option.dat" ] || e2e_fail "settings were written beside the installed program"
echo "e2e installed: ok"
