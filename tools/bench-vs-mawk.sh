#!/usr/bin/env bash
# Measures the CPU time (user + system) of the yearly figures of a large log,
#   loglezer-stats --log FILE --json
# against an awk one-liner that sums the same two columns per year, and prints
# their ratio. The machine may be shared, so CPU time is measured, not wall
# time: the two commands run in turns, PAIRS pairs of them, and the median of
# each counts. Each command's peak memory (maximum resident set) is shown
# beside it.
#
# usage: tools/bench-vs-mawk.sh [LOG] [PAIRS]
#   LOG    the log to read; by default one of 1,000,000 lines is written by
#          build/make_bench_log into a temporary folder
#   PAIRS  pairs of runs (default 11)
# BUILD_DIR (default build) is where loglezer-stats and make_bench_log are.
# mawk is the reference only: this script installs nothing.
set -euo pipefail

cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
stats="$build_dir/loglezer-stats"
pairs=${2:-11}
target=0.16

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

# The user + system time of one run of the command, in milliseconds.
cpu_ms() {
    local TIMEFORMAT='%3U %3S' t
    t=$({ time "$@" >/dev/null; } 2>&1)
    awk -v t="$t" 'BEGIN { split(t, f, " "); printf "%d\n", (f[1] + f[2]) * 1000 + 0.5 }'
}

# The peak resident memory of one run of the command, in kilobytes, where
# GNU time is there to tell it.
peak_kb() {
    if [ -x /usr/bin/time ]; then
        /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
    else
        echo "?"
    fi
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

awk_program='{y=substr($1,8,4); d[y]+=$2; u[y]+=$3} END{for(k in d) print k, d[k], u[k]}'
stats_times=()
awk_times=()
for ((i = 0; i < pairs; i++)); do
    stats_times+=("$(cpu_ms "$stats" --log "$log" --json)")
    awk_times+=("$(cpu_ms mawk -F, "$awk_program" "$log")")
done
stats_ms=$(printf '%s\n' "${stats_times[@]}" | median)
awk_ms=$(printf '%s\n' "${awk_times[@]}" | median)

lines=$(wc -l <"$log")
bytes=$(wc -c <"$log")
echo "log: $log ($lines lines, $bytes bytes)"
echo "user + system CPU time, median of $pairs alternating pairs (all runs in ms):"
echo "loglezer-stats --json: $stats_ms ms (${stats_times[*]}), peak $(peak_kb "$stats" --log "$log" --json) KB"
echo "mawk per-year sums:    $awk_ms ms (${awk_times[*]}), peak $(peak_kb mawk -F, "$awk_program" "$log") KB"
awk -v s="$stats_ms" -v a="$awk_ms" -v t="$target" 'BEGIN {
    if (a == 0) { print "ratio: mawk took no measurable time"; exit }
    r = s / a
    printf "ratio: %.3f (target at most %.2f: %s)\n", r, t, r <= t ? "met" : "not met"
}'
