#!/usr/bin/env bash
# Times whole processes of lintaro-script against the command-line tools a user would reach for and
# against DuckDB, on the same generated file, in one run, alternating, and prints the median of
# each; then the desktop program's first screen beside the headless open, and the memory of an open
# less the file's own mapped pages. Before the timings it checks that the peers' results agree.
#
#   bench/compare.sh [ROWS...]   default: 100000, 1000000 and 10000000 in turn
#
# From 50,000,000 rows on (5 GB and more) only the open, the sort and Pick run, beside `wc -l`: the
# other peers would take most of an hour, and DuckDB would hold the whole file in memory.
# Environment: RUNS (default 3); LINTARO_COMPARE_OUT (default /tmp/lintaro-compare), where the
# files, the raw timings (results.tsv) and the chart (times.png) go; LINTARO_SCRIPT, another build's
# lintaro-script to time instead of this checkout's; NO_DUCKDB=1 leaves DuckDB out.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${RUNS:-3}
out=${LINTARO_COMPARE_OUT:-/tmp/lintaro-compare}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100000 1000000 10000000)
big=50000000

# The peers and the measuring tools, from Debian's packages; DuckDB from npm, into the build folder.
need=()
command -v gawk > /dev/null || need+=(gawk)
command -v mawk > /dev/null || need+=(mawk)
[ -x /usr/bin/time ] || need+=(time)
command -v gnuplot > /dev/null || need+=(gnuplot-nox)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}" > /dev/null
fi

build=build/compare
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLINTARO_BENCH=ON \
  -DLINTARO_TESTS=OFF > /dev/null
targets=(qdx-gen lintaro-script)
grep -q '^build bin/lintaro-screenshot:' "$build/build.ninja" && targets+=(lintaro-screenshot)
cmake --build "$build" -j2 --target "${targets[@]}" > /dev/null
script=${LINTARO_SCRIPT:-$root/$build/bin/lintaro-script}
screenshot=$root/$build/bin/lintaro-screenshot
[ -x "$screenshot" ] || screenshot=""
duckdb=""
if [ -z "${NO_DUCKDB:-}" ]; then
  duckdb=$root/$build/duckdb
  mkdir -p "$duckdb"
  if [ ! -d "$duckdb/node_modules/@duckdb/node-api" ]; then
    (cd "$duckdb" && npm install --silent --no-audit --no-fund --prefix . @duckdb/node-api@1.5.6-r.1)
  fi
  cp bench/duckdb-peer.mjs "$duckdb/"
fi
mkdir -p "$out"
results="$out/results.tsv"
printf 'rows\tworkload\tlintaro_s\tpeer_s\tratio\tduckdb_s\tduckdb_ratio\tlintaro_cpu_s\tpeer_cpu_s\tduckdb_cpu_s\n' \
  > "$results"

# Wall seconds, peak resident KiB and processor seconds (user and system) of one command, as GNU
# time reports them. On a shared machine the processor time is the steadier of the two.
measure() {
  /usr/bin/time -f '%e %M %U %S' -o "$out/time.txt" bash -c "$1" > /dev/null 2>&1
  awk '{ printf "%s %s %.2f\n", $1, $2, $3 + $4 }' "$out/time.txt"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# The median of the numbers in a list of words; empty for none (a peer that did not run).
middle() { tr ' ' '\n' <<< "${1:-}" | { grep . || true; } | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

# The file as the system's cache holds a file read from disk: written by qdx-gen, its pages are
# small; read back after being dropped, they are as large as the cache makes them for any file it
# reads, which a mapping of it then maps whole (see docs/performance.md).
cache_as_read() {
  python3 -c 'import os, sys
os.posix_fadvise(os.open(sys.argv[1], os.O_RDONLY), 0, 0, os.POSIX_FADV_DONTNEED)' "$1"
  cat "$1" > /dev/null
}

# The workloads: a script for the viewer, the classic peer's command, the goal for the ratio, and
# the most that the viewer may take of DuckDB's time.
workloads=(open sort pick duplicates)
declare -A goal=([open]=2 [sort]=0.10 [pick]=0.25 [duplicates]=0.08)
duckdbGoal=0.10
declare -A steps peer
steps[open]='start FILE'
peer[open]="wc -l FILE"
steps[sort]=$'start FILE\nclick-title 1'
peer[sort]="LC_ALL=C sort -s -t';' -k2,2 FILE"
steps[pick]=$'start FILE\ndialog ok field 6 match abc\nkey Ctrl+P'
peer[pick]="LC_ALL=C mawk -F';' 'index(tolower(\$7), \"abc\")' FILE"
steps[duplicates]=$'start FILE\ndialog ok field 1\nkey Ctrl+D'
peer[duplicates]="LC_ALL=C gawk -F';' 'NR == FNR { n[tolower(\$2)]++; next } n[tolower(\$2)] > 1' FILE FILE"

# What Info shows after a workload: the rows listed.
listed() {
  printf '%s\nkey Ctrl+I\n' "${steps[$1]//FILE/$2}" | "$script" |
    sed -n 's/.*Displayed\\nRows   : \([0-9]*\).*/\1/p' | tail -1
}

# The peers agree: DuckDB's rows with wc's, mawk's and gawk's, its sorted names with GNU sort's,
# and the viewer's rows after an open and a Pick with wc's and mawk's. (The viewer's Duplicates
# keeps, of rows in byte order, those equal ignoring case to the next or the last kept one, which
# the awk's count of all equal names need not match; its count is shown beside it.)
check() {
  local file=$1 lines want got
  lines=$(($(wc -l < "$file") - 1))
  got=$(listed open "$file")
  [ "$got" = "$lines" ] || { echo "  lintaro lists $got rows, wc -l counts $lines" >&2; exit 1; }
  want=$(LC_ALL=C mawk -F';' 'index(tolower($7), "abc")' "$file" | wc -l)
  got=$(listed pick "$file")
  [ "$got" = "$want" ] || { echo "  lintaro picks $got rows, mawk $want" >&2; exit 1; }
  echo "  lintaro's Duplicates keeps $(listed duplicates "$file") rows; gawk's count of names \
met more than once ignoring case: $(LC_ALL=C gawk -F';' 'NR == FNR { n[tolower($2)]++; next }
    n[tolower($2)] > 1' "$file" "$file" | wc -l)"
  [ -n "$duckdb" ] || return 0
  for w in "${workloads[@]}"; do
    node "$duckdb/duckdb-peer.mjs" "$w" "$file" "$out/duckdb-$w.txt"
  done
  want=$(LC_ALL=C mawk -F';' 'index(tolower($7), "abc")' "$file" | wc -l)
  local gawkRows
  gawkRows=$(LC_ALL=C gawk -F';' 'NR == FNR { n[tolower($2)]++; next } n[tolower($2)] > 1' \
    "$file" "$file" | wc -l)
  for pair in "open $lines" "pick $want" "duplicates $gawkRows"; do
    set -- $pair
    got=$(head -1 "$out/duckdb-$1.txt")
    [ "$got" = "$2" ] || { echo "  DuckDB's $1 holds $got rows, the other peers $2" >&2; exit 1; }
  done
  tail -n +2 "$file" | LC_ALL=C sort -s -t';' -k2,2 | LC_ALL=C awk -F';' '{ print $2 }' \
    > "$out/sorted-names.txt"
  tail -n +2 "$out/duckdb-sort.txt" | cmp -s - "$out/sorted-names.txt" ||
    { echo "  DuckDB's sorted names differ from GNU sort's" >&2; exit 1; }
  echo "  DuckDB agrees with wc, mawk, gawk and GNU sort"
}

# The memory of an open, less the file's own pages: the viewer is left waiting for its next step
# after the open, and its mappings are read then.
open_memory() {
  local file=$1 fifo=$out/steps pid kib fileKib
  rm -f "$fifo" "$out/open.out"
  mkfifo "$fifo"
  "$script" < "$fifo" > "$out/open.out" &
  pid=$!
  exec 3> "$fifo"
  printf 'start %s\n' "$file" >&3
  for ((wait = 0; wait < 6000; wait++)); do
    grep -qxF "title $file" "$out/open.out" && break
    sleep 0.1
  done
  kib=$(awk '/^Rss:/ { print $2 }' "/proc/$pid/smaps_rollup")
  fileKib=$(awk -v f="$file" '$NF == f { on = 1; next } /^[0-9a-f]+-/ { on = 0 }
    on && /^Rss:/ { s += $2 } END { print s + 0 }' "/proc/$pid/smaps")
  exec 3>&-
  wait "$pid" || true
  echo $(((kib - fileKib) / 1024))
}

for rows in "${sizes[@]}"; do
  file=/tmp/lintaro-compare-$rows.qdx
  [ -f "$file" ] || "$build/bin/qdx-gen" --messy --rows "$rows" "$file"
  cache_as_read "$file"
  fileMiB=$(($(stat -c %s "$file") / 1048576))
  these=("${workloads[@]}")
  [ "$rows" -lt "$big" ] || these=(open sort pick)
  echo "$rows rows, $fileMiB MiB, load average $(cut -d' ' -f1-3 /proc/loadavg):"
  [ "$rows" -ge "$big" ] || check "$file"
  declare -A mine=() theirs=() duck=() mineCpu=() theirsCpu=() duckCpu=()
  for w in "${these[@]}"; do
    printf '%s\n' "${steps[$w]//FILE/$file}" > "$out/$w.script"
  done
  for ((r = 1; r <= runs; r++)); do
    for w in "${these[@]}"; do
      read -r s kib cpu < <(measure "'$script' '$out/$w.script'")
      mine[$w]+="$s "
      mineCpu[$w]+="$cpu "
      if [ "$rows" -lt "$big" ] || [ "$w" = open ]; then
        read -r s kib cpu < <(measure "${peer[$w]//FILE/$file}")
        theirs[$w]+="$s "
        theirsCpu[$w]+="$cpu "
      fi
      if [ -n "$duckdb" ] && [ "$rows" -lt "$big" ]; then
        read -r s kib cpu < <(measure "node '$duckdb/duckdb-peer.mjs' $w '$file'")
        duck[$w]+="$s "
        duckCpu[$w]+="$cpu "
      fi
    done
  done
  printf '  %-11s %9s %9s %7s %7s %9s %8s %7s   %s\n' workload lintaro peer ratio goal duckdb \
    ratio goal "(processor seconds: lintaro, peer, duckdb)"
  for w in "${these[@]}"; do
    a=$(middle "${mine[$w]}")
    b=$(middle "${theirs[$w]:-}")
    d=$(middle "${duck[$w]:-}")
    ac=$(middle "${mineCpu[$w]}")
    bc=$(middle "${theirsCpu[$w]:-}")
    dc=$(middle "${duckCpu[$w]:-}")
    printf '  %-11s %9s %9s %6sx %6sx %9s %7sx %6sx   (%s, %s, %s)\n' "$w" "$a" "${b:--}" \
      "$(ratio "$a" "${b:-0}")" "${goal[$w]}" "${d:--}" "$(ratio "$a" "${d:-0}")" "$duckdbGoal" \
      "$ac" "${bc:--}" "${dc:--}"
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$rows" "$w" "$a" "${b:-}" \
      "$(ratio "$a" "${b:-0}")" "${d:-}" "$(ratio "$a" "${d:-0}")" "$ac" "${bc:-}" "${dc:-}" \
      >> "$results"
  done
  limit=$(((8 * rows + 40000000) / 1048576))
  echo "  memory of an open less the file's mapped pages: $(open_memory "$file") MiB;" \
    "goal: at most $limit MiB (8 B/row + 40 MB)"
  if [ -n "$screenshot" ]; then
    shots=""
    for ((r = 1; r <= runs; r++)); do
      shots+="$(QT_QPA_PLATFORM=offscreen "$screenshot" "$out/first-screen.png" "$file" 2>&1 |
        sed -n 's/.*first screen drawn after \([0-9]*\) ms.*/\1/p') "
    done
    shown=$(awk -v ms="$(middle "$shots")" 'BEGIN { printf "%.2f", ms / 1000 }')
    opened=$(middle "${mine[open]}")
    echo "  the desktop program's first screen: $shown s, $(ratio "$shown" "$opened")x the headless" \
      "open ($opened s); goal: at most 1.25x"
    printf '%s\tdesktop\t%s\t%s\t%s\t\t\t\t\t\n' "$rows" "$shown" "$opened" \
      "$(ratio "$shown" "$opened")" >> "$results"
  fi
done

# A first line of 200,000 fields, then Info.
wide=/tmp/lintaro-compare-wide.qdx
[ -f "$wide" ] || awk 'BEGIN { for (i = 0; i < 200000; i++) printf "%s%s", (i ? ";" : ""), "t" i
                               print ""; for (r = 0; r < 1000; r++) print r ";x;" r }' > "$wide"
printf 'start %s\nmenu ID_VIEW_INFO\n' "$wide" > "$out/wide.script"
times=""
cpus=""
for ((r = 1; r <= runs; r++)); do
  read -r s kib cpu < <(measure "'$script' '$out/wide.script'")
  times+="$s "
  cpus+="$cpu "
done
echo "a first line of 200,000 fields, then Info: $(middle "$times") s," \
  "processor $(middle "$cpus") s (goal: at most 1 s)"

if command -v gnuplot > /dev/null && [ "$(cut -f1 "$results" | sort -u | wc -l)" -gt 2 ]; then
  gnuplot -e "results='$results'; output='$out/times.png'" bench/times.gp && \
    echo "chart: $out/times.png"
fi
