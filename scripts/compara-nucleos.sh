#!/usr/bin/env bash
# Runs an example case twice, with the program's kernels and with the literal loops, checks
# that the listings are identical apart from the date line and the processing time, and prints
# both processing times (the cycle's, from the listings) and their ratio.
# Usage: scripts/compara-nucleos.sh [case folder under casos/]
set -euo pipefail
cd "$(dirname "$0")/.."
caso=${1:-ghia_re100}
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELNA_TESTS=ON >/dev/null
cmake --build build/release --target quelna quelna_literal >/dev/null
# REPETICOES (default 1) runs of each, alternating: the table keeps the shortest time of each,
# since on a shared machine the longer ones also measure the neighbours.
repeticoes=${REPETICOES:-1}
exe_programa=$PWD/build/release/quelna
exe_literal=$PWD/build/release/quelna_literal
nome=$(awk -F"'" 'NR==1 {print $2}' "casos/$caso/Quelna_1p3.ent")
tempo() { grep -a ' = tempo de processamento (s)' "$1" | awk '{print $1}'; }
filtra() { grep -a -v -e '     Dia = ' -e ' = tempo de processamento (s)' "$1"; }
menor() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }'; }
tp=""; tl=""; igual="identical"
for ((n = 1; n <= repeticoes; n++)); do
  raiz=$(mktemp -d)
  for lado in programa literal; do
    cp -r "casos/$caso" "$raiz/$lado"
  done
  (cd "$raiz/programa" && "$exe_programa" </dev/null)
  (cd "$raiz/literal" && "$exe_literal" </dev/null)
  tp=$(menor "$tp" "$(tempo "$raiz/programa/$nome")"); tl=$(menor "$tl" "$(tempo "$raiz/literal/$nome")")
  if ! diff <(filtra "$raiz/programa/$nome") <(filtra "$raiz/literal/$nome") >/dev/null ||
     ! cmp -s "$raiz/programa/$nome.itn" "$raiz/literal/$nome.itn" || ! cmp -s "$raiz/programa/r.dat" "$raiz/literal/r.dat"; then
    igual="DIFFERENT"
  fi
  rm -rf "$raiz"
done
awk -v p="$tp" -v l="$tl" -v caso="$caso" -v igual="$igual" 'BEGIN {
  printf "| %s | %.2f | %.2f | %.2f | %s |\n", caso, p, l, p / l, igual }'
[ "$igual" = identical ]
