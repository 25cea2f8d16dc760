#!/usr/bin/env bash
# Runs an example case with the program's kernels and with the literal loops, checks that the
# listings are identical apart from the date line and the processing time, and that the
# iteration and residual files are the same bytes, and prints the processing times (the
# cycle's, from the listings) and their ratios.
# Usage: [REPETICOES=n] [THREADS="1 2 ..."] scripts/compara-nucleos.sh [case folder under casos/]
# THREADS runs the program once for each QUELNA_THREADS value given (default: unset, the
# program's own choice); each gets a row against the same literal run.
set -euo pipefail
cd "$(dirname "$0")/.."
caso=${1:-ghia_re100}
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELNA_TESTS=ON >/dev/null
cmake --build build/release --target quelna quelna_literal >/dev/null
# REPETICOES (default 1) runs of each, alternating: the table keeps the shortest time of each,
# since on a shared machine the longer ones also measure the neighbours.
repeticoes=${REPETICOES:-1}
read -r -a lados <<<"${THREADS:-padrao}"
exe_programa=$PWD/build/release/quelna
exe_literal=$PWD/build/release/quelna_literal
nome=$(awk -F"'" 'NR==1 {print $2}' "casos/$caso/Quelna_1p3.ent")
tempo() { grep -a ' = tempo de processamento (s)' "$1" | awk '{print $1}'; }
filtra() { grep -a -v -e '     Dia = ' -e ' = tempo de processamento (s)' "$1"; }
menor() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }'; }
declare -A tp
tl=""; igual="identical"
for ((n = 1; n <= repeticoes; n++)); do
  raiz=$(mktemp -d)
  cp -r "casos/$caso" "$raiz/literal"
  (cd "$raiz/literal" && "$exe_literal" </dev/null)
  tl=$(menor "$tl" "$(tempo "$raiz/literal/$nome")")
  for t in "${lados[@]}"; do
    cp -r "casos/$caso" "$raiz/$t"
    if [ "$t" = padrao ]; then
      (cd "$raiz/$t" && env -u QUELNA_THREADS "$exe_programa" </dev/null)
    else
      (cd "$raiz/$t" && QUELNA_THREADS=$t "$exe_programa" </dev/null)
    fi
    tp[$t]=$(menor "${tp[$t]:-}" "$(tempo "$raiz/$t/$nome")")
    if ! diff <(filtra "$raiz/$t/$nome") <(filtra "$raiz/literal/$nome") >/dev/null ||
       ! cmp -s "$raiz/$t/$nome.itn" "$raiz/literal/$nome.itn" || ! cmp -s "$raiz/$t/r.dat" "$raiz/literal/r.dat"; then
      igual="DIFFERENT"
    fi
  done
  rm -rf "$raiz"
done
for t in "${lados[@]}"; do
  rotulo=$caso
  [ "$t" = padrao ] || rotulo="$caso, QUELNA_THREADS=$t"
  awk -v p="${tp[$t]}" -v l="$tl" -v caso="$rotulo" -v igual="$igual" 'BEGIN {
    printf "| %s | %.2f | %.2f | %.2f | %s |\n", caso, p, l, p / l, igual }'
done
[ "$igual" = identical ]
