#!/usr/bin/env bash
# Takes docs/screenshot-windows.png: lintaro.exe of the 64-bit Windows build, under Wine in Xvfb,
# showing examples\people.qdx as a user opens it from the folder of the example. Run after
# scripts/test-windows.sh, whose build and Wine prefix it uses. Wine draws the window's frame
# itself, frame and caption included, when no window manager is asked to (the X11 driver's
# Managed=N); the screenshot is of that window alone, so the prefix's virtual desktop is switched
# off for it (test-windows.sh switches it on again each time it runs).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
exe=$out/x86_64/bin/lintaro.exe
if [ ! -x "$exe" ] || [ ! -f "$out/wine-prefix/.lintaro-ready" ]; then
  echo "no Windows build or Wine prefix: run scripts/test-windows.sh first" >&2
  exit 1
fi
export WINEPREFIX=$out/wine-prefix
export HOME=$out/home
export TMPDIR=$out/tmp
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
export WINEDEBUG=-all
export WINELOADER=/usr/lib/wine/wine64

if [ "${1:-}" = --in-x ]; then
  /usr/lib/wine/wine64 reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f > /dev/null 2>&1 ||
    true
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
  /usr/lib/wine/wine64 "$exe" 'examples\people.qdx' &
  program=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name 'people\.qdx' | head -n 1)
  # The rows are drawn once the file is loaded, after the window first shows.
  sleep 2
  import -window "$window" "$root/docs/screenshot-windows.png"
  kill "$program"
  /usr/lib/wine/wine64 reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f > /dev/null 2>&1
  /usr/lib/wine/wineserver -k
  exit
fi
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --in-x
echo "docs/screenshot-windows.png"
