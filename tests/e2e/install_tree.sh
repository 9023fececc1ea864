#!/usr/bin/env bash
# The installed tree: the program, its menu entry and icon sizes, the demo; started from a prefix it
# cannot write, the program keeps its settings and catalogue in the user's data folder.
set -euo pipefail
build="$1"
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/bin/VelkorDB" ] || { echo "no program installed"; exit 1; }
desktop="$prefix/share/applications/velkor.desktop"
[ -f "$desktop" ] || { echo "no menu entry installed"; exit 1; }
grep -q '^Categories=Game;CardGame;' "$desktop" || { echo "menu entry without its categories"; exit 1; }
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop"
else
  echo "desktop-file-validate missing: the menu entry was not validated"
fi
for size in 16 22 24 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/velkor.png"
  [ -f "$icon" ] || { echo "icon $size missing"; exit 1; }
  head -c 24 "$icon" | od -An -tx1 | tr -d ' \n' | grep -q "^89504e47" || { echo "icon $size is not a PNG"; exit 1; }
done
[ -f "$prefix/share/velkor/demo/DB/Velkor.db" ] || { echo "demo catalogue not installed"; exit 1; }

home="$work/home"
mkdir -p "$home"
run=(env -i PATH="$PATH" HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
     QT_QPA_PLATFORM=offscreen VELKOR_EXIT_AFTER_START=1 "$prefix/bin/VelkorDB")
if [ "$(id -u)" = 0 ]; then
  # root writes anywhere: run as an unprivileged user, for whom the prefix is read-only
  chmod -R a+rX "$work"
  chown -R nobody "$home"
  mkdir -p "$home/run" && chown nobody "$home/run" && chmod 700 "$home/run"
  timeout 60 setpriv --reuid=nobody --regid=nogroup --clear-groups "${run[@]}" >/dev/null 2>&1 || true
else
  chmod -R a-w "$prefix"
  mkdir -p "$home/run" && chmod 700 "$home/run"
  timeout 60 "${run[@]}" >/dev/null 2>&1 || true
fi
data="$home/data/Velkor Adatbázis"
[ -f "$data/DB/Velkor.db" ] || { echo "no catalogue in the data folder"; ls -R "$home" | head -20; exit 1; }
[ -f "$data/velkor.ini" ] || { echo "no settings written in the data folder"; ls -R "$home" | head -20; exit 1; }
[ ! -e "$prefix/bin/velkor.ini" ] || { echo "settings written beside the installed program"; exit 1; }
echo "installed tree: OK"
