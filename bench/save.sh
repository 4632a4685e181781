#!/usr/bin/env bash
# Times Save listed rows as... on the rows that a Pick leaves of the 10-million-row file, against
# cp of the same bytes: the saved file copied with cp, and with cp followed by a flush of the copy
# to the disk (sync FILE), which is what the save does before it renames its file into place.
#
#   bench/save.sh [FILE [RUNS]]      defaults: /tmp/lintaro-10m.qdx, 3 runs
#
# The Pick keeps every row (every id starts with R), after two clicks on the name column's title,
# so the rows are saved in sorted order, each from its own place in the file. Medians of RUNS.
source "$(dirname "$0")/setup.sh"
saved=$out/saved.qdx
copy=$out/copy.qdx

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
seconds() {  # wall seconds of a command
  local from to
  from=$(date +%s.%N)
  "$@"
  to=$(date +%s.%N)
  awk -v a="$from" -v b="$to" 'BEGIN { printf "%.3f\n", b - a }'
}

: > "$out/save.txt"
: > "$out/cp.txt"
: > "$out/cp-sync.txt"
for ((r = 1; r <= runs; r++)); do
  rm -f "$saved" "$copy"
  "$build/bin/lintaro-bench" --pick 0 --match R --save "$saved" "$file" > "$out/program.$r.txt"
  awk '/^save listed rows/ { print $(NF - 3) }' "$out/program.$r.txt" >> "$out/save.txt"
  rm -f "$copy"
  seconds cp "$saved" "$copy" >> "$out/cp.txt"
  rm -f "$copy"
  seconds sh -c "cp '$saved' '$copy' && sync '$copy'" >> "$out/cp-sync.txt"
done
cmp -s <(sed -n '1p' "$file") <(sed -n '1p' "$saved") || { echo "the titles were not saved" >&2; exit 1; }
bytes=$(stat -c %s "$saved")
save=$(median < "$out/save.txt")
cp_s=$(median < "$out/cp.txt")
cp_sync=$(median < "$out/cp-sync.txt")
printf 'saved %s bytes, %s rows\n' "$bytes" "$(($(wc -l < "$saved") - 1))"
printf 'save listed rows  %6.2f s\n' "$save"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf 'cp                %6.2f s   save / cp        %s\n' "$cp_s" "$(ratio "$save" "$cp_s")"
printf 'cp + sync         %6.2f s   save / cp + sync %s\n' "$cp_sync" "$(ratio "$save" "$cp_sync")"
