#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the demo catalogue from its folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
cd build
exec ./VelkorDB
