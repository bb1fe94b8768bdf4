#!/usr/bin/env bash
# Sets up what is missing, builds Kurvex and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec build/app/kurvex "$@"
