#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every test: unit tests, end-to-end scripts, bad inputs, the desktop tests offscreen, and then a
# short run of every fuzz target (scripts/fuzz.sh; LINTARO_FUZZ_SECONDS, default 20 each).
# LINTARO_WERROR=ON makes every compiler warning an error (CI sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLINTARO_SANITIZE=ON \
      -DLINTARO_WERROR="${LINTARO_WERROR:-OFF}" > /dev/null
cmake --build build/asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/asan --output-on-failure -j2
scripts/fuzz.sh "${LINTARO_FUZZ_SECONDS:-20}"
