#!/usr/bin/env bash
# Installs what is missing on Debian 12 (needs root or sudo): what building and running Lintaro
# needs, and with --tests also what its tests, fuzz targets and benchmarks need (scripts/test.sh,
# .ci/run).
set -euo pipefail
build=(cmake ninja-build g++ qt6-base-dev)
tests=(python3 clang-format libgtest-dev libbenchmark-dev
       xvfb xauth xdotool xclip  # real X key events, and the X clipboard, in the desktop tests
       clang libclang-rt-14-dev util-linux)  # the fuzz targets; setpriv for the bad-input table
# The desktop's tools that the association and package tests use, and the package's checker and
# the manual-page reader: only these, not what they recommend (a terminal, X utilities...).
desktop=(xdg-utils libfile-mimeinfo-perl desktop-file-utils shared-mime-info dpkg-dev file
         lintian man-db
         imagemagick)  # import and convert: the pictures of a load (scripts/progress-screenshots.sh)
# Without --tests only what the build and the viewer depend on, not what their packages recommend
# (a GTK theme, translations, systemd...); the tests run where those are, as a desktop has them.
plain=(--no-install-recommends)
if [ "${1:-}" = --tests ]; then
  plain=()
else
  tests=()
  desktop=()
fi
missing() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || echo "$p"
  done
}
mapfile -t need < <(missing "${build[@]}" "${tests[@]}")
mapfile -t needDesktop < <(missing "${desktop[@]}")
if [ ${#need[@]} -gt 0 ] || [ ${#needDesktop[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  install=($SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq)
  [ ${#need[@]} -eq 0 ] || "${install[@]}" "${plain[@]}" "${need[@]}"
  [ ${#needDesktop[@]} -eq 0 ] || "${install[@]}" --no-install-recommends "${needDesktop[@]}"
fi
