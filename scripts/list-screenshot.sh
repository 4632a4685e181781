#!/usr/bin/env bash
# The picture of the list in the README (docs/screenshot-list.png): the example sorted by its
# second column, whose title shows the arrow, with the list's context menu open on a row. Taken
# under Xvfb with the window system's own tools: real clicks on the title and on the row.
#
#   scripts/list-screenshot.sh [BIN] [OUT.png]
#
# BIN is the folder of the built programs (build/release/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${1:-build/release/bin}")
out=$(realpath -m "${2:-docs/screenshot-list.png}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -p "$HOME"

shoot() {  # inside the X server
  "$bin/lintaro" examples/people.qdx &
  local program=$! window=""
  for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name "people.qdx" 2> /dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.05
  done
  [ -n "$window" ] || { echo "no window" >&2; return 1; }
  sleep 0.5
  # The list's header sits below the menu bar; its second title starts past the first column.
  xdotool mousemove --window "$window" 75 33 click 1
  sleep 0.5
  xdotool mousemove --window "$window" 40 92 click 3
  sleep 0.8
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "$((WIDTH + 160))x$((HEIGHT + 40))+$((X - 10))+$((Y - 10))" \
          +repage "$out"
  kill "$program"
  wait "$program" || true
}
export bin out work
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$(declare -f shoot); shoot"
echo "$out"
