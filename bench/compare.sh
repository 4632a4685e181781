#!/usr/bin/env bash
# Times whole processes of lintaro-script against the command-line tools a user would reach for,
# on the same generated file, in one run, alternating, and prints the median of each.
#
#   bench/compare.sh [ROWS]      ROWS: one size; default: 100000, 1000000 and 10000000 in turn
#
# Environment: RUNS (default 3), LINTARO_COMPARE_OUT (default /tmp/lintaro-compare), where the
# files, the raw timings (results.tsv) and the chart (times.png, with gnuplot) go; LINTARO_SCRIPT,
# another build's lintaro-script to time instead of this checkout's, to compare two versions.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${RUNS:-3}
out=${LINTARO_COMPARE_OUT:-/tmp/lintaro-compare}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100000 1000000 10000000)

# The peers and the measuring tools, from Debian's packages.
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
  -DLINTARO_TESTS=OFF -DLINTARO_QT=OFF > /dev/null
cmake --build "$build" -j2 --target qdx-gen lintaro-script > /dev/null
script=${LINTARO_SCRIPT:-$root/$build/bin/lintaro-script}
mkdir -p "$out"
results="$out/results.tsv"
printf 'rows\tworkload\tlintaro_s\tpeer_s\tratio\tpeak_mib\tfile_mib\tlintaro_cpu_s\tpeer_cpu_s\n' \
  > "$results"

# Wall seconds, peak resident KiB and processor seconds (user and system) of one command, as GNU
# time reports them. On a shared machine the processor time is the steadier of the two.
measure() {
  /usr/bin/time -f '%e %M %U %S' -o "$out/time.txt" bash -c "$1" > /dev/null 2>&1
  awk '{ printf "%s %s %.2f\n", $1, $2, $3 + $4 }' "$out/time.txt"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The workloads: a script for the viewer, the peer's command, and the goal for the ratio.
workloads=(open sort pick duplicates)
declare -A goal=([open]=5 [sort]=0.25 [pick]=0.5 [duplicates]=0.15)
declare -A steps peer
steps[open]='start FILE'
peer[open]="wc -l FILE"
steps[sort]=$'start FILE\nclick-title 1'
peer[sort]="LC_ALL=C sort -s -t';' -k2,2 FILE"
steps[pick]=$'start FILE\ndialog ok field 6 match abc\nkey Ctrl+P'
peer[pick]="LC_ALL=C mawk -F';' 'index(tolower(\$7), \"abc\")' FILE"
steps[duplicates]=$'start FILE\ndialog ok field 1\nkey Ctrl+D'
peer[duplicates]="LC_ALL=C gawk -F';' 'NR == FNR { n[tolower(\$2)]++; next } n[tolower(\$2)] > 1' FILE FILE"

for rows in "${sizes[@]}"; do
  file=/tmp/lintaro-compare-$rows.qdx
  [ -f "$file" ] || "$build/bin/qdx-gen" --messy --rows "$rows" "$file"
  cat "$file" > /dev/null  # into the page cache, as a file just written or opened would be
  fileMiB=$(( $(stat -c %s "$file") / 1048576 ))
  declare -A mine=() theirs=() peak=() mineCpu=() theirsCpu=()
  for w in "${workloads[@]}"; do
    printf '%s\n' "${steps[$w]//FILE/$file}" > "$out/$w.script"
  done
  for ((r = 1; r <= runs; r++)); do
    for w in "${workloads[@]}"; do
      read -r s kib cpu < <(measure "'$script' '$out/$w.script'")
      mine[$w]+="$s "
      peak[$w]+="$kib "
      mineCpu[$w]+="$cpu "
      read -r s kib cpu < <(measure "${peer[$w]//FILE/$file}")
      theirs[$w]+="$s "
      theirsCpu[$w]+="$cpu "
    done
  done
  echo "$rows rows, $fileMiB MiB, median of $runs runs (seconds; processor seconds in brackets):"
  printf '  %-11s %9s %9s %8s %7s %9s %9s\n' workload lintaro peer ratio goal "(lintaro)" "(peer)"
  for w in "${workloads[@]}"; do
    a=$(tr ' ' '\n' <<< "${mine[$w]}" | grep . | median)
    b=$(tr ' ' '\n' <<< "${theirs[$w]}" | grep . | median)
    p=$(tr ' ' '\n' <<< "${peak[$w]}" | grep . | median)
    ac=$(tr ' ' '\n' <<< "${mineCpu[$w]}" | grep . | median)
    bc=$(tr ' ' '\n' <<< "${theirsCpu[$w]}" | grep . | median)
    ratio=$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
    printf '  %-11s %9s %9s %7sx %6sx %9s %9s\n' "$w" "$a" "$b" "$ratio" "${goal[$w]}" "($ac)" "($bc)"
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$rows" "$w" "$a" "$b" "$ratio" $((p / 1024)) \
      "$fileMiB" "$ac" "$bc" >> "$results"
  done
  p=$(tr ' ' '\n' <<< "${peak[open]}" | grep . | median)
  limit=$(( fileMiB + (40 * rows + 80000000) / 1048576 ))
  echo "  peak memory of an open: $((p / 1024)) MiB; goal: at most $limit MiB (file + 40 B/row + 80 MB)"
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
w=$(tr ' ' '\n' <<< "$times" | grep . | median)
wc=$(tr ' ' '\n' <<< "$cpus" | grep . | median)
echo "a first line of 200,000 fields, then Info: $w s, processor $wc s (goal: at most 1 s)"
printf 'wide\twide\t%s\t\t\t\t\t%s\t\n' "$w" "$wc" >> "$results"

if command -v gnuplot > /dev/null; then
  gnuplot -e "results='$results'; output='$out/times.png'" bench/times.gp && \
    echo "chart: $out/times.png"
fi
