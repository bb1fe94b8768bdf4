#!/usr/bin/env bash
# Redraws the README's pictures (docs/pictures/) with the program itself, offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
QT_QPA_PLATFORM=offscreen build/tools/kurvex_pictures docs/pictures
