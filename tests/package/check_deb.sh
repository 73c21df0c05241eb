#!/usr/bin/env bash
# Builds the .deb from a built tree (no rebuild) and checks what it holds: the
# program, its three help texts, the menu entry and the icon, nothing else,
# and the packages it depends on. Usage: check_deb.sh BUILD_DIR
set -euo pipefail
build=$1
out=$build/package
rm -rf "$out"
mkdir -p "$out"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log" >&2; fail "cpack did not make the package"; }
debs=("$out"/tarnwick-editor_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single tarnwick-editor_*.deb in $out"
deb=${debs[0]}
echo "package: $deb"

# Regular files only: folders come and go with the layout.
dpkg-deb -c "$deb" >"$out/contents"
awk '$1 !~ /^d/ {print $6}' "$out/contents" | sort >"$out/files"
sort >"$out/expected" <<'LIST'
./usr/bin/tarnwick-editor
./usr/share/applications/tarnwick-editor.desktop
./usr/share/icons/hicolor/48x48/apps/tarnwick-editor.png
./usr/share/icons/hicolor/scalable/apps/tarnwick-editor.svg
./usr/share/tarnwick-editor/History.txt
./usr/share/tarnwick-editor/Manual.txt
./usr/share/tarnwick-editor/ReadMe.txt
LIST
diff -u "$out/expected" "$out/files" || fail "the package does not hold exactly the expected files"
grep -q '^-rwxr-xr-x .* \./usr/bin/tarnwick-editor$' "$out/contents" ||
    fail "the program is not executable"

[ "$(dpkg-deb -f "$deb" Package)" = tarnwick-editor ] || fail "wrong package name"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//' >"$out/depends"
for needed in fonts-ipafont-gothic libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
    libstdc++6 libc6; do
    grep -qxF "$needed" "$out/depends" || fail "Depends lacks $needed"
done

# What was packed is what the build wrote, and the desktop accepts the entry.
dpkg-deb -x "$deb" "$out/root"
for help in ReadMe History Manual; do
    cmp -s "$build/bin/$help.txt" "$out/root/usr/share/tarnwick-editor/$help.txt" ||
        fail "$help.txt differs from the one the build wrote"
done
desktop-file-validate "$out/root/usr/share/applications/tarnwick-editor.desktop" ||
    fail "the desktop entry is not valid"
entry=$out/root/usr/share/applications/tarnwick-editor.desktop
for line in 'Name=Tarnwick Editor' 'Exec=tarnwick-editor %F' 'Icon=tarnwick-editor' \
    'MimeType=text/plain;' 'Categories=Utility;TextEditor;'; do
    grep -qxF "$line" "$entry" || fail "the desktop entry lacks '$line'"
done
echo "package: ok"
