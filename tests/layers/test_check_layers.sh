#!/usr/bin/env bash
# The layer check finds an upward include and a Qt header in a toolkit-free
# layer, and passes the project itself.
set -euo pipefail
check=$1/scripts/check-layers.py
python3 "$check" "$1"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/editor" "$tree/app"
echo '#include "app/FrameWindow.h"' >"$tree/editor/Up.cpp"
if python3 "$check" "$tree"; then echo "an upward include passed"; exit 1; fi
echo '#include <QString>' >"$tree/editor/Up.cpp"
if python3 "$check" "$tree"; then echo "a Qt header in the engine passed"; exit 1; fi
echo '#include "headless/EditorModel.h"' >"$tree/editor/Up.cpp"
if python3 "$check" "$tree"; then echo "a test helper in the engine passed"; exit 1; fi
echo '#include "editor/VellEdit.h"' >"$tree/app/Down.cpp"
rm "$tree/editor/Up.cpp"
mkdir -p "$tree/fuzz"
printf '#include "headless/EditorModel.h"\n#include "editor/VellEdit.h"\n' >"$tree/fuzz/Top.cpp"
python3 "$check" "$tree"
