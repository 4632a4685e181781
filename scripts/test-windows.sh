#!/usr/bin/env bash
# Builds the 32-bit Windows parts with MinGW-w64 into build/windows and runs their tests under
# Wine, headless in Xvfb. Installs what is missing (needs root or sudo). The Wine prefix, its home
# and temporary folders live under build/windows and are kept, so a second run only rebuilds what
# changed.
#
# Wine runs a 32-bit Windows program through a 32-bit Linux loader. Where the kernel cannot start
# 32-bit programs, the same sources are also built for 64-bit Windows into build/windows/x86_64 and
# those tests run under 64-bit Wine instead; the 32-bit build is still made and checked.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
mkdir -p "$out"
timings=()
lap() {
  timings+=("$1: ${SECONDS}s")
  SECONDS=0
}
SECONDS=0

# A 93-byte 32-bit Linux program that only exits: whether this host can start one.
can_run_32bit() {
  local probe=$out/probe32
  if [ ! -x "$probe" ]; then
    printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0'\
'\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08'\
'\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0\xb8\x01\0\0\0\x31\xdb\xcd\x80' > "$probe"
    chmod +x "$probe"
  fi
  "$probe" 2> /dev/null
}

native32=false
can_run_32bit && native32=true

packages=(cmake ninja-build file g++-mingw-w64-i686 libgtest-dev xvfb xauth)
if $native32; then
  packages+=(wine wine32:i386)
else
  packages+=(wine wine64 g++-mingw-w64-x86-64)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  if $native32 && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" > /dev/null
fi
lap install

build() {  # build folder, toolchain file
  if [ ! -f "$1/build.ninja" ]; then
    cmake -S "$root" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/$2" > /dev/null
  fi
  cmake --build "$1" -j2
}
tests_exe=platform/win32/native/tests/lintaro-native-tests.exe
build "$out" cmake/mingw-i686.cmake
if ! file "$out/$tests_exe" | grep -q "PE32 executable"; then
  echo "not a 32-bit Windows program: $out/$tests_exe" >&2
  exit 1
fi
if $native32; then
  wine=(wine)
  run_dir=$out
else
  export WINELOADER=/usr/lib/wine/wine64
  wine=("$WINELOADER")
  run_dir=$out/x86_64
  build "$run_dir" cmake/mingw-x86_64.cmake
  echo "This host cannot start 32-bit programs: running the 64-bit build's tests under wine64."
fi
lap build

# Wine, kept apart from the user's own: its prefix, home and temporary folders are ours.
export WINEPREFIX=$out/wine-prefix
export HOME=$out/home
export TMPDIR=$out/tmp
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
export WINEDEBUG=-all
mkdir -p "$HOME" "$TMPDIR"
ready=$WINEPREFIX/.lintaro-ready
if [ ! -f "$ready" ] || [ "$(cat "$ready")" != "${wine[*]}" ]; then
  rm -rf "$WINEPREFIX"
  # No Mono or Gecko: nothing here needs them, and their installers would ask to download.
  WINEDLLOVERRIDES="mscoree,mshtml=;$WINEDLLOVERRIDES" "${wine[@]}" wineboot -i > /dev/null 2>&1
  # A virtual desktop stands in for a window manager, without which every hide or destroy of a
  # top-level window waits for one.
  "${wine[@]}" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f > /dev/null
  "${wine[@]}" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
    > /dev/null
  /usr/lib/wine/wineserver -w
  echo "${wine[*]}" > "$ready"
fi
lap "wine prefix"

status=0
xvfb-run -a -s "-screen 0 1024x768x24" "${wine[@]}" "$run_dir/$tests_exe" || status=$?
/usr/lib/wine/wineserver -w
lap run
printf '%s\n' "${timings[@]}"
exit $status
