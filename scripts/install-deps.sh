#!/usr/bin/env bash
# Installs what building and testing Lintaro needs on Debian 12. Needs root (or sudo).
set -euo pipefail
packages=(cmake ninja-build g++ python3 clang-format libgtest-dev libbenchmark-dev qt6-base-dev
          xvfb xauth xdotool)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
