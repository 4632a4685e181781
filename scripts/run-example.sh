#!/usr/bin/env bash
# Installs what building and running the viewer needs, builds, and opens the bundled example in
# the viewer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLINTARO_TESTS=OFF > /dev/null
cmake --build build/release
if [ -x build/release/bin/lintaro ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/release/bin/lintaro examples/people.qdx
fi
echo "No display (or no desktop build): showing the example through lintaro-script instead."
exec build/release/bin/lintaro-script examples/demo.script
