#!/usr/bin/env bash
# Builds the benchmark harness (optimized) and runs it; the table of ns per volume and of the
# ratios of the program's kernels to the literal loops comes last. Extra arguments go to Google
# Benchmark (for example --benchmark_filter='gauss_seidel').
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/dependencias.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELNA_BENCH=ON -DQUELNA_TESTS=OFF >/dev/null
scripts/compila.sh build/bench --target quelna_bench
exec build/bench/bench/quelna_bench "$@"
