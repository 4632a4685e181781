# Read by the benchmark scripts that time the 10-million-row file: their two arguments, the
# Release build of the benchmarks, the file itself (made when it is missing) and the folder that
# takes their output.
#
#   source "$(dirname "$0")/setup.sh"     with the script's FILE and RUNS as $1 and $2
set -euo pipefail
cd "$(dirname "$0")/.."
file=${1:-/tmp/lintaro-10m.qdx}
runs=${2:-3}
build=build/bench
out=${LINTARO_BENCH_OUT:-/tmp/lintaro-bench-out}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLINTARO_BENCH=ON \
  -DLINTARO_TESTS=OFF -DLINTARO_QT=OFF > /dev/null
cmake --build "$build" -j2 --target qdx-gen lintaro-bench > /dev/null
[ -f "$file" ] || "$build/bin/qdx-gen" "$file"
mkdir -p "$out"
