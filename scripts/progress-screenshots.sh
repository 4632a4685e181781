#!/usr/bin/env bash
# The desktop program while it loads a file of five million rows, and once it has: two pictures of
# the whole X screen, taken under Xvfb with the window system's own tools. While the file loads,
# the window shows its menu bar, its list and a progress bar over the list, not an unpainted
# window; afterwards the rows.
#
#   scripts/progress-screenshots.sh [BIN] [OUT]
#
# BIN is the folder of the built programs (build/release/bin), OUT where the pictures go (docs):
# progress-loading.png and progress-loaded.png. Fails when the window never showed the file.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/release/bin}
out=${2:-docs}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -p "$HOME" "$out"
file=$work/five-million.qdx
python3 - "$file" <<'PY'
import sys
cities = [b"Lund", b"Malmo", b"Kiruna", b"Umea", b"Stockholm", b"Goteborg"]
with open(sys.argv[1], "wb") as f:
    f.write(b"id;name;city;amount;note\n")
    block = []
    for i in range(5_000_000):
        block.append(b"%d;name%d;%s;%d;row %d of the test\n" % (i, i * 7919 % 1000003, cities[i % 6], i * 31 % 100000, i))
        if len(block) == 100_000:
            f.write(b"".join(block))
            block = []
    f.write(b"".join(block))
PY

shoot() {  # inside the X server
  "$bin/lintaro" "$file" &
  local program=$! window="" name="" shot=$work/shot.png loading=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "^Lintaro 1" 2> /dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "no window" >&2; return 1; }
  # The work shows its progress after half a second: the picture is taken a little later, while
  # the title still says that the file is not listed yet.
  sleep 1
  name=$(xdotool getwindowname "$window")
  import -window root "$shot"
  if [ "$name" != "$file" ]; then
    cp "$shot" "$out/progress-loading.png"
    loading=yes
  fi
  for _ in $(seq 600); do
    [ "$(xdotool getwindowname "$window")" = "$file" ] && break
    sleep 0.1
  done
  sleep 0.5
  import -window root "$out/progress-loaded.png"
  echo "title while loading: $name; loading picture: ${loading:-not taken, the load was over}"
  xdotool windowfocus --sync "$window" key Escape
  wait "$program"
}
export bin file out work
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$(declare -f shoot); shoot"
