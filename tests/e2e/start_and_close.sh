#!/usr/bin/env bash
# End to end: the real program in a copy of the program folder under Xvfb; its window appears,
# a termination request closes it the ordinary way, and the settings file it writes holds the
# known sections.
set -euo pipefail
build="$1"
demo="${2:-$1}"  # the pristine demo program folder (catalogue and pictures)
dir=$(mktemp -d)
trap 'kill ${app:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$dir"' EXIT
cp -r "$build/VelkorDB" "$demo/DB" "$demo/GFX" "$dir/"

display=""
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X${n}-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done

(cd "$dir" && QT_QPA_PLATFORM=xcb exec ./VelkorDB) &
app=$!
found=0
for _ in $(seq 100); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Velkor Adatbázis"'; then found=1; break; fi
  sleep 0.1
done
[ "$found" = 1 ] || { echo "the main window did not appear"; exit 1; }

kill -TERM "$app"
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then echo "the program did not end"; exit 1; fi
app=""

ini="$dir/velkor.ini"
[ -f "$ini" ] || { echo "no settings file written"; exit 1; }
for section in PATHS GFX cCols_ORDER cCols_ORDERNUM cCols_VISIBLE cCols_WIDTH cCols_ORDERING; do
  grep -q "^\[$section\]" "$ini" || { echo "section $section missing"; cat "$ini"; exit 1; }
done
grep -q '^GfxPath=GFX' "$ini" || { echo "GfxPath not written"; exit 1; }
echo "end-to-end start and close: OK"
