#!/usr/bin/env bash
# Installs what is missing, makes a release build, and packs it as a Debian package in
# build/release.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests  # dpkg-dev and file for the package
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLINTARO_TESTS=OFF > /dev/null
cmake --build build/release -j2
(cd build/release && cpack -G DEB)
ls build/release/*.deb
