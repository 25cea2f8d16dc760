#!/usr/bin/env bash
# Builds quelna and runs every test twice, in an optimized build and in a build under
# AddressSanitizer and UndefinedBehaviorSanitizer; between them, the Windows build under Wine;
# then the tests of the threaded code under ThreadSanitizer, and a short libFuzzer run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/dependencias.sh testes

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELNA_TESTS=ON >/dev/null
scripts/compila.sh build/release
ctest --test-dir build/release --output-on-failure -j2

# The Windows executables, cross-built and packed, then run under Wine against the Linux build.
bash scripts/windows.sh
bash tests/windows/wine.sh "$PWD/build/release/quelna" "$PWD/build/windows" "$PWD"

cmake -S . -B build/sanitizers -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELNA_SANITIZE=ON >/dev/null
scripts/compila.sh build/sanitizers
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitizers --output-on-failure -j2

# The team of threads, the loops it shares and whole runs on 1, 2 and 3 threads, under
# ThreadSanitizer: a race or a lock taken out of order fails the test.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELNA_TSAN=ON >/dev/null
scripts/compila.sh build/tsan --target quelna_testes
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build/tsan --output-on-failure -j2 -R '^(Team|SplitRows|Threads|Formas/FastKernels)\.'

# The case reader and whole runs on tiny grids under libFuzzer, for a short fixed time.
cmake -S . -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUELNA_FUZZ=ON -DQUELNA_TESTS=OFF >/dev/null
scripts/compila.sh build/fuzz
ctest --test-dir build/fuzz --output-on-failure
