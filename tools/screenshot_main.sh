#!/usr/bin/env bash
# Starts the real program from a copy of the program folder under Xvfb and takes a screenshot
# of the whole screen. Usage: tools/screenshot_main.sh <build folder> <out.png> [seconds]
set -euo pipefail
build="$1"; out="$2"; wait="${3:-3}"
dir=$(mktemp -d)
cp -r "$build/VelkorDB" "$build/demo/DB" "$build/demo/GFX" "$dir/"
export DISPLAY=:91
Xvfb :91 -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
(cd "$dir" && QT_QPA_PLATFORM=xcb ./VelkorDB) &
app=$!
sleep "$wait"
import -window root "$out"
kill $app 2>/dev/null || true
kill $xvfb 2>/dev/null || true
rm -rf "$dir"
