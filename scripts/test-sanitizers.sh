#!/usr/bin/env bash
# Builds Kurvex with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs every
# test headless under them; any finding fails its test. Not part of test.sh: the second build takes
# long. Arguments go to ctest (e.g. -R KitTest).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKURVEX_SANITIZE=ON "${launcher[@]}" >/dev/null
cmake --build build-asan -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Leaks are checked; the suppression file names only libraries we do not build.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/sanitizer-leaks.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-asan
ctest --output-on-failure -j "$(nproc)" "$@"
