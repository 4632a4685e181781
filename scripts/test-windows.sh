#!/usr/bin/env bash
# The Windows build and its tests: builds lintaro.exe and lintaro-script.exe for 32-bit Windows
# with MinGW-w64 into build/windows, and runs under Wine, headless in Xvfb: the unit tests, the
# native shim's tests, every end-to-end script (and the public examples, where they are) through
# lintaro-script.exe, whose output must be the very bytes of the Linux build's, and a desktop test
# that drives lintaro.exe from another program. Makes the downloads (scripts/package-windows.py):
# build/windows/lintaro-<version>-win32.zip and -win64.zip, and an installer for each, and checks
# them. Installs what is missing (needs root or sudo).
# The Wine prefix, its home and temporary folders live under build/windows and are kept, so a
# second run only rebuilds what changed.
#
# The same sources are also built for 64-bit Windows into build/windows/x86_64, for a download of
# their own. Wine runs a 32-bit Windows program through a 32-bit Linux loader: where the kernel
# cannot start 32-bit programs, the tests run the 64-bit build under 64-bit Wine instead, and the
# 32-bit build is made and checked but not run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
linux=$out/linux
mkdir -p "$out"

# Wine, kept apart from the user's own: its prefix, home and temporary folders are ours.
export WINEPREFIX=$out/wine-prefix
export HOME=$out/home
export TMPDIR=$out/tmp
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
export WINEDEBUG=-all
mkdir -p "$HOME" "$TMPDIR"

lap() {
  printf '%-22s %4ds\n' "$1:" "$SECONDS"
  SECONDS=0
}

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

if can_run_32bit; then
  wine=(wine)
  run_dir=$out
  run_arch=win32
else
  wine=(/usr/lib/wine/wine64)
  run_dir=$out/x86_64
  run_arch=win64
fi
export WINELOADER=${wine[0]}

project_version() {
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt"
}

# The tests, inside one X server that this script starts again for them (see the end).
run_tests() {
  SECONDS=0
  local status=0
  local exes=("$run_dir/bin/lintaro_tests.exe"
              "$run_dir/bin/lintaro-native-tests.exe"
              "$run_dir/bin/lintaro-desktop-tests.exe")
  # One Wine server for the whole run, so that each program starts in a fraction of a second.
  /usr/lib/wine/wineserver -p
  for exe in "${exes[@]}"; do
    echo "== $(basename "$exe")"
    "${wine[@]}" "$exe" --gtest_brief=1 || status=1
    lap "$(basename "$exe" .exe)"
  done
  echo "== end-to-end scripts through lintaro-script.exe, the same bytes as the Linux build's"
  LINTARO_SCRIPT_EXE=$run_dir/bin/lintaro-script.exe python3 tests/scripts/run.py \
    --driver scripts/wine-script-driver.py --same-as "$linux/bin/lintaro-script" tests/scripts \
    --optional "$root/../shared/script-examples" || status=1
  lap "scripts"
  downloads || status=1
  lap "downloads"
  /usr/lib/wine/wineserver -k
  small_address_space || status=1
  lap "small address space"
  return $status
}

# The download that runs here, unzipped as a user would, shows the example; its installer puts
# the program, a Start menu entry and an entry in the installed programs' list in place for the
# current user, and its uninstaller takes them away again, with the association that the
# installed program made.
downloads() {
  local name=lintaro-$(project_version)-$run_arch
  local unpacked=$TMPDIR/unpacked
  rm -rf "$unpacked"
  python3 -m zipfile -e "$out/$name.zip" "$unpacked"
  echo "== $name.zip, unpacked: lintaro.exe examples\\people.qdx"
  LINTARO_UNPACKED=$("${wine[@]}" winepath -w "$unpacked") "${wine[@]}" \
    "$run_dir/bin/lintaro-desktop-tests.exe" --gtest_filter='*AnUnpackedCopy*' --gtest_brief=1 ||
    return 1

  echo "== $name-setup.exe /S, then its uninstaller"
  local folder key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lintaro'
  folder=$(windows_folder LOCALAPPDATA)/Programs/Lintaro
  local entry
  entry=$(windows_folder APPDATA)"/Microsoft/Windows/Start Menu/Programs/Lintaro.lnk"
  "${wine[@]}" "$out/$name-setup.exe" /S || return 1
  local missing=""
  for file in lintaro.exe README.txt LICENSE.txt THIRD-PARTY.txt examples/people.qdx \
              uninstall.exe; do
    [ -f "$folder/$file" ] || missing+=" $file"
  done
  [ -f "$entry" ] || missing+=" the Start menu entry"
  "${wine[@]}" reg query "$key" /v UninstallString > /dev/null 2>&1 || missing+=" $key"
  if [ -n "$missing" ]; then
    echo "the installer did not put in place:$missing" >&2
    return 1
  fi
  LINTARO_UNPACKED='%LOCALAPPDATA%\Programs\Lintaro' "${wine[@]}" \
    "$run_dir/bin/lintaro-desktop-tests.exe" --gtest_filter='*AnUnpackedCopy*' --gtest_brief=1 ||
    return 1
  # The uninstaller runs a copy of itself from the temporary folder and returns at once: what it
  # leaves is looked at until nothing is left, for half a minute at most.
  "${wine[@]}" "$folder/uninstall.exe" /S
  local left waited=0
  while left=$(left_by_uninstaller "$folder" "$entry" "$key") && [ -n "$left" ] &&
        [ $waited -lt 30 ]; do
    sleep 1
    waited=$((waited + 1))
  done
  if [ -n "$left" ]; then
    echo "the uninstaller left:$left" >&2
    return 1
  fi
}

left_by_uninstaller() {  # the install folder, the Start menu entry, the uninstall key
  local left=""
  [ ! -e "$1" ] || left+=" $(find "$1" | tr '\n' ' ')"
  [ ! -e "$2" ] || left+=" the Start menu entry"
  ! "${wine[@]}" reg query "$3" > /dev/null 2>&1 || left+=" $3"
  ! "${wine[@]}" reg query 'HKCR\QDX file\shell\Open\command' > /dev/null 2>&1 ||
    left+=" the open command of .qdx files"
  echo "$left"
}

# The Linux path of a folder that Windows names by an environment variable, in the prefix.
windows_folder() {
  local path
  path=$("${wine[@]}" cmd /c "echo %$1%" | tr -d '\r')
  "${wine[@]}" winepath -u "$path" | sed 's:/$::'
}

# A 32-bit process has 2 to 4 GB of address space. Wine cannot start in so little, so the Linux
# build stands in, limited to 700 MB: a file of short rows whose bytes can be mapped, but whose row
# index does not fit beside them, must end with "Failed to open file.", not with the end of the
# program.
small_address_space() {
  local file=$TMPDIR/two-byte-rows.qdx
  [ -f "$file" ] || python3 -c "
import sys
with open(sys.argv[1], 'wb') as f:
    f.write(b'a;b\\n')
    for _ in range(20):
        f.write(b'x\\n' * 10000000)" "$file"
  local shown
  shown=$( (ulimit -v 720000; printf 'start %s\nkey Ctrl+I\nmenu ID_FILE_EXIT\n' "$file" |
    "$linux/bin/lintaro-script") ) || true
  local want="box Error: Failed to open file."
  if ! grep -qxF "$want" <<< "$shown" || ! grep -qx "exit" <<< "$shown"; then
    echo "a file beyond a small address space: wanted \"$want\" and a clean exit, got:" >&2
    echo "$shown" >&2
    return 1
  fi
}
if [ "${1:-}" = --run-tests ]; then
  run_tests
  exit
fi

SECONDS=0
packages=(cmake ninja-build file python3 g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 nsis
          libgtest-dev xvfb xauth)
if [ "${wine[0]}" = wine ]; then
  packages+=(wine wine32:i386)
else
  packages+=(wine wine64)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  if [ "${wine[0]}" = wine ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" > /dev/null
fi
lap install

build() {  # build folder, CMake arguments...
  local folder=$1
  shift
  if [ ! -f "$folder/build.ninja" ]; then
    cmake -S "$root" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" > /dev/null
  fi
  cmake --build "$folder" -j2
}
build "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
# The product: 32-bit, a GUI program and a console one, large-address-aware, needing no DLL but
# Windows' own.
expect_pe() {  # file, what `file` says
  if ! file "$1" | grep -q "$2"; then
    echo "not a $2: $(file "$1")" >&2
    exit 1
  fi
  local headers
  headers=$(x86_64-w64-mingw32-objdump -p "$1")
  if ! grep -q "large address aware" <<< "$headers"; then
    echo "not large-address-aware: $1" >&2
    exit 1
  fi
  if grep "DLL Name" <<< "$headers" | grep -viqE "(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ole32|shell32|user32)\.dll"; then
    echo "needs a DLL that Windows lacks: $1" >&2
    exit 1
  fi
}
expect_pe "$out/bin/lintaro.exe" "PE32 executable (GUI) Intel 80386"
expect_pe "$out/bin/lintaro-script.exe" "PE32 executable (console) Intel 80386"
lap "build 32-bit"
if [ "$run_dir" != "$out" ]; then
  echo "This host cannot start 32-bit programs: the tests run the 64-bit build under wine64."
fi
build "$out/x86_64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
lap "build 64-bit"
# The downloads, and the program in each: the 32-bit one is what the 32-bit build made.
python3 scripts/package-windows.py --version "$(project_version)" --out "$out" --win32 "$out" \
  --win64 "$out/x86_64"
for arch in win32 win64; do
  python3 -m zipfile -e "$out/lintaro-$(project_version)-$arch.zip" "$TMPDIR/$arch"
done
expect_pe "$TMPDIR/win32/lintaro.exe" "PE32 executable (GUI) Intel 80386"
expect_pe "$TMPDIR/win64/lintaro.exe" "PE32+ executable (GUI) x86-64"
rm -rf "$TMPDIR/win32" "$TMPDIR/win64"
lap "downloads"
# The Linux build whose output the Windows one must match.
build "$linux" -DLINTARO_QT=OFF -DLINTARO_TESTS=OFF > /dev/null
lap "build Linux driver"

ready=$WINEPREFIX/.lintaro-ready
if [ ! -f "$ready" ] || [ "$(cat "$ready")" != "${wine[*]}" ]; then
  rm -rf "$WINEPREFIX"
  # No Mono or Gecko: nothing here needs them, and their installers would ask to download.
  WINEDLLOVERRIDES="mscoree,mshtml=;$WINEDLLOVERRIDES" "${wine[@]}" wineboot -i > /dev/null 2>&1
  /usr/lib/wine/wineserver -w
  echo "${wine[*]}" > "$ready"
fi
# A virtual desktop stands in for a window manager, without which every hide or destroy of a
# top-level window waits for one.
"${wine[@]}" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f > /dev/null 2>&1
"${wine[@]}" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
  > /dev/null 2>&1
/usr/lib/wine/wineserver -w
lap "wine prefix"

xvfb-run -a -s "-screen 0 1024x768x24" "$0" --run-tests
