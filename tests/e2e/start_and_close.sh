#!/usr/bin/env bash
# End to end: the real program in a copy of the program folder under Xvfb; its window appears,
# a termination request closes it the ordinary way, and the settings file it writes holds the
# known sections.
set -euo pipefail
build="$1"
demo="${2:-$1}"  # the pristine demo program folder (catalogue and pictures)
# Every wait polls with a generous limit: a loaded machine may take long, a fixed sleep is never enough.
limit=30

# Polls a command until it succeeds or the limit passes.
wait_for() {
  local deadline=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
window_shown() { xwininfo -root -tree 2>/dev/null | grep -q '"Velkor Adatbázis"'; }
app_ended() { ! kill -0 "$app" 2>/dev/null; }
dir=$(mktemp -d)
trap 'kill ${app:-} ${xvfb:-} 2>/dev/null || true; rm -rf "$dir"' EXIT
cp -r "$build/VelkorDB" "$demo/DB" "$demo/GFX" "$dir/"

# Xvfb picks a free display itself and writes its number, so parallel runs never collide.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" >/dev/null 2>&1 &
xvfb=$!
display_known() { [ -s "$dir/display" ]; }
wait_for display_known || { echo "Xvfb did not start within ${limit} s"; exit 1; }
export DISPLAY=":$(head -n1 "$dir/display")"
wait_for xwininfo -root >/dev/null 2>&1 || { echo "Xvfb did not answer within ${limit} s"; exit 1; }
rm -f "$dir/display"

# A program that ends before its window shows (an X connection refused while the machine is
# loaded) is started again, twice at most; a window that never shows fails the test.
shown_or_ended() { window_shown || app_ended; }
for attempt in 1 2 3; do
  (cd "$dir" && QT_QPA_PLATFORM=xcb exec ./VelkorDB) &
  app=$!
  wait_for shown_or_ended || { echo "the main window did not appear within ${limit} s"; exit 1; }
  window_shown && break
  wait "$app" 2>/dev/null || true
  echo "attempt $attempt: the program ended before its window showed"
  [ "$attempt" -lt 3 ] || { echo "the main window did not appear"; exit 1; }
done

kill -TERM "$app"
wait_for app_ended || { echo "the program did not end within ${limit} s"; exit 1; }
wait "$app" 2>/dev/null || true
app=""

ini="$dir/velkor.ini"
[ -f "$ini" ] || { echo "no settings file written"; exit 1; }
for section in PATHS GFX cCols_ORDER cCols_ORDERNUM cCols_VISIBLE cCols_WIDTH cCols_ORDERING; do
  grep -q "^\[$section\]" "$ini" || { echo "section $section missing"; cat "$ini"; exit 1; }
done
grep -q '^GfxPath=GFX' "$ini" || { echo "GfxPath not written"; exit 1; }
echo "end-to-end start and close: OK"
