#!/usr/bin/env bash
# A rebuild of the demo never replaces the player's catalogue: build the demo into a program
# folder, edit the catalogue there, rebuild the demo from changed sources, and the edit is still
# there; a picture the folder lacks is added, one it has is kept; reset-demo puts the demo back.
set -euo pipefail
mkdemo="$1"; src="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$src/demo" "$work/demo-src"
install_demo() { cmake -DFROM="$work/pristine" -DTO="$work/prog" "$@" -P "$src/demo/InstallDemo.cmake"; }

QT_QPA_PLATFORM=offscreen "$mkdemo" "$work/demo-src" "$work/pristine" >/dev/null
install_demo
[ -f "$work/prog/DB/Velkor.db" ] || { echo "no catalogue in the program folder"; exit 1; }

sqlite3 "$work/prog/DB/Velkor.db" "UPDATE TLAP SET L_NEV = 'Saját szerkesztés' WHERE L_ID = 1"
echo "player's own picture" > "$work/prog/GFX/hatlap.jpg"
rm -f "$work/prog/GFX/"$(ls "$work/pristine/GFX" | grep -v hatlap | head -n 1)

echo "-- changed source" >> "$work/demo-src/data/01_lookup.sql"
QT_QPA_PLATFORM=offscreen "$mkdemo" "$work/demo-src" "$work/pristine" >/dev/null
install_demo

name=$(sqlite3 "$work/prog/DB/Velkor.db" "SELECT L_NEV FROM TLAP WHERE L_ID = 1")
[ "$name" = "Saját szerkesztés" ] || { echo "the rebuild replaced the edited catalogue (L_NEV=$name)"; exit 1; }
grep -q "player's own picture" "$work/prog/GFX/hatlap.jpg" || { echo "the rebuild replaced an existing picture"; exit 1; }
[ "$(ls "$work/prog/GFX" | wc -l)" = "$(ls "$work/pristine/GFX" | wc -l)" ] || { echo "a missing picture was not added"; exit 1; }

install_demo -DRESET=ON >/dev/null
name=$(sqlite3 "$work/prog/DB/Velkor.db" "SELECT L_NEV FROM TLAP WHERE L_ID = 1")
[ "$name" != "Saját szerkesztés" ] || { echo "reset-demo did not restore the demo"; exit 1; }
echo "rebuild keeps the catalogue: OK"
