# The chart of bench/compare.sh: seconds against rows for each workload, the viewer's as solid
# lines and the peer's as dashed ones, both axes logarithmic so that a straight line of slope 1
# means a cost that grows with the rows.
#   gnuplot -e "results='results.tsv'; output='times.png'" bench/times.gp
set terminal pngcairo size 900,600 font ",11"
set output output
set datafile separator "\t"
set logscale xy
set key left top
set grid
set xlabel "rows (about 104 bytes each)"
set ylabel "seconds, whole process, median"
set title "lintaro-script against its peers"
workloads = "open sort pick duplicates"
plot for [i = 1:4] results every ::1 using 1:(strcol(2) eq word(workloads, i) ? $3 : NaN) \
       with linespoints lw 2 lc i pt 7 title "lintaro ".word(workloads, i), \
     for [i = 1:4] results every ::1 using 1:(strcol(2) eq word(workloads, i) ? $4 : NaN) \
       with linespoints lw 1 dt 2 lc i pt 6 title "peer ".word(workloads, i)
