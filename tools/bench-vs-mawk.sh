#!/usr/bin/env bash
# Measures the user time of the yearly figures of a large log,
#   loglezer-stats --log FILE --json
# against an awk one-liner that sums the same two columns per year, and prints
# their ratio. The machine may be shared: each command runs RUNS times, in
# turns, and the least user time of each counts.
#
# usage: tools/bench-vs-mawk.sh [LOG] [RUNS]
#   LOG   the log to read; by default one of 1,000,000 lines is written by
#         build/make_bench_log into a temporary folder
#   RUNS  runs of each command (default 7)
# BUILD_DIR (default build) is where loglezer-stats and make_bench_log are.
# mawk is the reference only: this script installs nothing.
set -euo pipefail

cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
stats="$build_dir/loglezer-stats"
runs=${2:-7}
target=0.25

if ! command -v mawk >/dev/null 2>&1; then
    echo "mawk is missing: it is the reference of this comparison (apt-get install mawk)." >&2
    exit 2
fi
if [ ! -x "$stats" ]; then
    echo "$stats is missing: build the project first." >&2
    exit 2
fi

log=${1:-}
if [ -z "$log" ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    log="$tmp/bench.csv"
    "$build_dir/make_bench_log" "$log"
fi

# The user time of one run of the command, in milliseconds.
user_ms() {
    local TIMEFORMAT=%3U t
    t=$({ time "$@" >/dev/null; } 2>&1)
    echo $((10#${t/./}))
}

awk_program='{y=substr($1,8,4); d[y]+=$2; u[y]+=$3} END{for(k in d) print k, d[k], u[k]}'
best_stats=
best_awk=
for ((i = 0; i < runs; i++)); do
    s=$(user_ms "$stats" --log "$log" --json)
    a=$(user_ms mawk -F, "$awk_program" "$log")
    if [ -z "$best_stats" ] || [ "$s" -lt "$best_stats" ]; then best_stats=$s; fi
    if [ -z "$best_awk" ] || [ "$a" -lt "$best_awk" ]; then best_awk=$a; fi
done

lines=$(wc -l <"$log")
bytes=$(wc -c <"$log")
echo "log: $log ($lines lines, $bytes bytes), least user time of $runs runs each"
echo "loglezer-stats --json: $best_stats ms"
echo "mawk per-year sums:    $best_awk ms"
awk -v s="$best_stats" -v a="$best_awk" -v t="$target" 'BEGIN {
    if (a == 0) { print "ratio: mawk took no measurable time"; exit }
    r = s / a
    printf "ratio: %.3f (target at most %.2f: %s)\n", r, t, r <= t ? "met" : "not met"
}'
