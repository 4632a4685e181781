# The chart of bench/compare.sh: seconds against rows for each workload, the viewer's as solid
# lines, the command-line peer's as dashed ones and DuckDB's as dotted ones, both axes logarithmic
# so that a straight line of slope 1 means a cost that grows with the rows.
#   gnuplot -e "results='results.tsv'; output='times.png'" bench/times.gp
set terminal pngcairo size 900,600 font ",11"
set output output
set datafile separator "\t"
set logscale xy
set key left top
set grid
set xlabel "rows (about 104 bytes each)"
set ylabel "seconds, whole process, median"
set title "lintaro-script against its peers and DuckDB"
set format x "10^{%L}"
set format y "%g"
workloads = "open sort pick duplicates"
rows(w) = sprintf("< awk -F'\t' '$2 == \"%s\"' '%s'", w, results)
plot for [i = 1:4] rows(word(workloads, i)) using 1:3 \
       with linespoints lw 2 lc i pt 7 title "lintaro ".word(workloads, i), \
     for [i = 1:4] rows(word(workloads, i)) using 1:4 \
       with linespoints lw 1 dt 2 lc i pt 6 title "peer ".word(workloads, i), \
     for [i = 1:4] rows(word(workloads, i)) using 1:6 \
       with linespoints lw 1 dt 3 lc i pt 4 title "DuckDB ".word(workloads, i)
