#!/usr/bin/env bash
# Measures Zelvo's speed: builds into build-bench/ with the micro-benchmarks (ZELVO_BENCH), runs
# them, then the whole-run benchmark against PROJ (cs2cs, cct) on a million points over France.
# Arguments go to the whole-run benchmark (bench/whole_run.py --help), e.g. --runs 3.
# The reference catalogue and grids are read from ZELVO_REFERENCE, by default the project's own
# tests/data/reference; nothing is written outside a temporary folder and build-bench/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build-bench" -DZELVO_BENCH=ON -DZELVO_TESTS=OFF

echo "== Micro-benchmarks (one core) =="
taskset -c "$(($(nproc) - 1))" "$root/build-bench/bin/zelvo_micro_benchmarks" --benchmark_min_time=0.2

reference=${ZELVO_REFERENCE:-$root/tests/data/reference}
echo
echo "== The window-mode file driver against the batch, in one process (one core) =="
taskset -c "$(($(nproc) - 1))" "$root/build-bench/bin/zelvo_driver_runs" "$reference" 1000000 3

echo
echo "== Whole runs against PROJ =="
python3 "$root/bench/whole_run.py" --zelvo "$root/build-bench/bin/zelvo" "$@"
