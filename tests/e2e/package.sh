#!/usr/bin/env bash
# The Debian package built from the tree: its files, its dependency line, its metadata validated,
# no lintian error, and the unpacked program started by an ordinary user, who gets a catalogue of
# their own and writes nothing under the package's folders.
set -euo pipefail
build="$1"
cmake --build "$build" --target package >/dev/null
deb=$(ls "$build"/velkor-adatbazis_*_amd64.deb | head -n 1)
[ -f "$deb" ] || { echo "no package built"; exit 1; }

files=$(dpkg-deb -c "$deb")
for f in ./usr/bin/VelkorDB ./usr/share/applications/velkor.desktop \
         ./usr/share/metainfo/hu.velkor.adatbazis.metainfo.xml \
         ./usr/share/doc/velkor-adatbazis/copyright ./usr/share/doc/velkor-adatbazis/changelog.gz \
         ./usr/share/man/man1/VelkorDB.1.gz \
         ./usr/share/icons/hicolor/16x16/apps/velkor.png ./usr/share/icons/hicolor/256x256/apps/velkor.png \
         ./usr/share/velkor/demo/DB/Velkor.db ./usr/share/velkor/demo/GFX/hatlap.jpg; do
  grep -q " $f\$" <<<"$files" || { echo "the package lacks $f"; exit 1; }
done
if grep -q -E '^d[^ ]*w[^ ]* ' <<<"$(grep '^d' <<<"$files" | cut -c5-)"; then
  echo "a folder of the package is group- or world-writable"; exit 1
fi
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6charts6 libsqlite3-0 libjpeg62-turbo libxlsxwriter qt6-qpa-plugins \
         qt6-translations-l10n; do
  grep -q "$d" <<<"$depends" || { echo "Depends lacks $d: $depends"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
dpkg-deb -x "$deb" "$root"
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/hu.velkor.adatbazis.metainfo.xml"
else
  echo "appstreamcli missing: the metadata was not validated"
fi
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$root/usr/share/applications/velkor.desktop"
fi
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb"
else
  echo "lintian missing: the package was not checked"
fi

# Started from the menu entry's command as an ordinary user.
before=$(find "$root" -printf '%p %s %T@\n' | sort)
home="$work/home"
mkdir -p "$home/run"
chmod -R a+rX "$work"
run=(env -i PATH="$root/usr/bin:$PATH" HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
     QT_QPA_PLATFORM=offscreen VELKOR_EXIT_AFTER_START=1 VelkorDB)
if [ "$(id -u)" = 0 ]; then
  chown -R nobody "$home" && chmod 700 "$home/run"
  timeout 60 setpriv --reuid=nobody --regid=nogroup --clear-groups "${run[@]}" >/dev/null 2>&1 || true
else
  chmod 700 "$home/run"
  timeout 60 "${run[@]}" >/dev/null 2>&1 || true
fi
data="$home/data/Velkor Adatbázis"
[ -f "$data/DB/Velkor.db" ] || { echo "no catalogue in the user's data folder"; ls -R "$home" | head; exit 1; }
[ -f "$data/velkor.ini" ] || { echo "no settings in the user's data folder"; exit 1; }
[ "$(find "$root" -printf '%p %s %T@\n' | sort)" = "$before" ] || { echo "the program wrote under the package's folders"; exit 1; }
echo "package: OK ($(basename "$deb"))"
