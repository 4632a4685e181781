#!/usr/bin/env bash
# Builds the benchmarks, makes the 10-million-row file if it is missing, runs the whole program on
# it and the load's parts several times each, and prints the least times.
#
#   bench/run.sh [FILE [RUNS]]        defaults: /tmp/lintaro-10m.qdx, 3 runs
#
# The machine should be otherwise idle; the least of several runs is the number to quote.
source "$(dirname "$0")/setup.sh"
cat "$file" > /dev/null  # into the page cache, as a file that was just opened would be

rm -f "$out"/program.*.txt "$out"/parts.txt
for ((r = 1; r <= runs; r++)); do
  "$build/bin/lintaro-bench" "$file" > "$out/program.$r.txt"
done
"$build/bin/lintaro-bench" --parts --repeat "$runs" "$file" > "$out/parts.txt"

echo "The whole program, $runs runs (outputs in $out):"
python3 bench/summarize.py "$out"/program.*.txt
echo
echo "The load's parts and the sorts, called directly:"
cat "$out/parts.txt"
