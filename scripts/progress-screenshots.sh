#!/usr/bin/env bash
# The desktop program while it loads a file of five million rows, and once it has: two pictures of
# the whole X screen, taken under Xvfb with the window system's own tools, and checked. While the
# file loads (from the moment the window shows until the title names the file), the window must
# show its menu bar and a progress bar over the list, not an unpainted window; afterwards the rows.
#
#   scripts/progress-screenshots.sh [BIN] [OUT]
#
# BIN is the folder of the built programs (build/release/bin), OUT where the pictures go (a fresh
# temporary folder unless given): progress-loading.png and progress-loaded.png. The big file is
# made in a temporary folder and removed at the end. Fails when a picture is missing or wrong.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${1:-build/release/bin}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out=${2:-$work/pictures}
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
  # The load begins once the window shows, and the title names the file once it has ended. The
  # file is read in place, so a fast machine loads it in less time than the half second after
  # which the work shows its progress. The program is held from its start and let run a few
  # milliseconds at a time: its clock goes on while it is held, its work hardly does. Each picture
  # is taken while it is held, so the title read after it tells whether the load was still running
  # then; the last picture before the title names the file stays.
  "$bin/lintaro" "$file" &
  local program=$! window="" pictures=0
  for _ in $(seq 6000); do
    kill -STOP "$program" || { echo "the program ended while it loaded" >&2; return 1; }
    if [ -z "$window" ]; then
      window=$(xdotool search --onlyvisible --name "." 2> /dev/null | head -1) || true
    elif [ "$(xdotool getwindowname "$window")" = "$file" ]; then
      break
    else
      import -window root "$out/progress-loading.png"
      pictures=$((pictures + 1))
    fi
    kill -CONT "$program"
    sleep 0.005
  done
  kill -CONT "$program"
  [ -n "$window" ] || { echo "no window" >&2; return 1; }
  echo "$pictures pictures while the window showed and the load ran"
  sleep 0.5
  import -window root "$out/progress-loaded.png"
  xdotool getwindowgeometry --shell "$window" > "$work/geometry"
  xdotool windowfocus --sync "$window" key Escape
  wait "$program"
}
export bin file out work
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$(declare -f shoot); shoot"

# The window's area in each picture: in the loading one the menu bar is drawn and a band of the
# bar's frame runs across the middle of the list; in the loaded one the rows are drawn there.
python3 - "$work/geometry" "$out/progress-loading.png" "$out/progress-loaded.png" <<'PY'
import subprocess, sys
geometry = dict(line.split("=") for line in open(sys.argv[1]).read().split())
x, y, w, h = (int(geometry[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

def pixels(path):
    ppm = subprocess.run(["convert", path, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "ppm:-"],
                         check=True, capture_output=True).stdout
    header, data = ppm.split(b"\n", 3)[:3], ppm.split(b"\n", 3)[3]
    width, height = map(int, header[1].split())
    return [[tuple(data[(r * width + c) * 3:(r * width + c) * 3 + 3]) for c in range(width)]
            for r in range(height)]

def grey(p):
    return max(p) - min(p) < 8 and 200 < p[0] < 250

def band_rows(rows):  # rows in the middle third of the window that are the bar's frame across
    third = rows[h // 3:2 * h // 3]
    return sum(1 for row in third if sum(grey(p) for p in row[w // 8:-w // 8]) > 0.9 * (w - w // 4))

failures = []
for name, loading in ((sys.argv[2], True), (sys.argv[3], False)):
    try:
        rows = pixels(name)
    except (subprocess.CalledProcessError, FileNotFoundError):
        failures.append(f"{name}: no picture")
        continue
    # Text is dark too, but covers a few pixels in a hundred; an unpainted window is black all over.
    dark = sum(max(p) < 30 for row in rows for p in row)
    if dark > w * h // 4:
        failures.append(f"{name}: {dark} of {w * h} pixels of the window are unpainted")
    menu = [p for row in rows[2:16] for p in row]  # light, with the dark letters of its items
    if sum(min(p) > 200 for p in menu) < len(menu) // 2 or not any(max(p) < 100 for p in menu):
        failures.append(f"{name}: no menu bar text")
    band = band_rows(rows)
    if loading and band < 3:
        failures.append(f"{name}: no progress bar over the list")
    if not loading and band > 0:
        failures.append(f"{name}: a bar still covers the list")
print("\n".join(failures) or f"the load drawn with its bar, then the rows: {sys.argv[2]}, {sys.argv[3]}")
sys.exit(1 if failures else 0)
PY
