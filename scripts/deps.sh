#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need; only what is missing.
set -euo pipefail
# fonts-symbola: pictographs (emoji) in card names print as themselves in a PDF.
# libqt6opengl6-dev: Qt Charts' CMake package needs the OpenGL module's CMake files, which Debian ships apart.
# xdg-utils: xdg-open, whose exit status tells whether a program took an exported workbook or the help page.
# dpkg-dev, file: the package's dependencies are read from the program's libraries; lintian and
# appstream check the package and its metadata.
PKGS=(build-essential cmake pkg-config qt6-base-dev libsqlite3-dev libjpeg62-turbo-dev
      libsimpleini-dev libxlsxwriter-dev libgtest-dev fonts-liberation fonts-dejavu-core
      libicu-dev qt6-translations-l10n qt6-charts-dev libqt6opengl6-dev desktop-file-utils sqlite3
      xvfb xauth x11-utils xdotool imagemagick unzip xdg-utils poppler-utils fonts-symbola
      dpkg-dev file lintian appstream)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Telepítés: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# A real spreadsheet program, for the test that reads exported card lists back (formulas included):
# about 15 s to install; the test command asks for it (VELKOR_SPREADSHEET=1), the start command does
# not. Without it that test is skipped with a message, and a failed install stops nothing.
if [ "${VELKOR_SPREADSHEET:-0}" = 1 ] && ! command -v soffice >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Telepítés: libreoffice-calc-nogui"
  { $SUDO apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends libreoffice-calc-nogui; } ||
    echo "A LibreOffice nem telepíthető: az exportált táblázatok visszaolvasása kimarad."
fi
