#!/usr/bin/env bash
# Shows an exported deck page in a real browser (headless Chromium) and saves what it shows.
# Usage: tools/render_deck_html.sh <build folder> <out folder> [page.htm]
# Without a page, the screenshot_summary tool first exports a demo deck whose names hold accented
# letters, "&", "<", a quote and a letter outside Windows-1250 (deck_export.htm in <out folder>).
# Needs Debian's chromium (apt-get install chromium); the automated tests do not.
set -euo pipefail
build="$1"; out="$2"; page="${3:-}"
mkdir -p "$out"
out=$(cd "$out" && pwd)
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
  echo "chromium is not installed (apt-get install chromium)" >&2
  exit 2
fi
if [ -z "$page" ]; then
  QT_QPA_PLATFORM=offscreen "$build/screenshot_summary" "$out" >/dev/null
  page="$out/deck_export.htm"
fi
page=$(cd "$(dirname "$page")" && pwd)/$(basename "$page")
png="$out/$(basename "${page%.*}").png"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
"$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir="$profile" \
  --window-size=800,1400 --screenshot="$png" "file://$page" >/dev/null 2>&1
[ -s "$png" ] && echo "saved $png"
