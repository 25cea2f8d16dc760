#!/usr/bin/env bash
# Runs an example case with each solver and prints a Markdown table of the outer iterations
# and seconds each took. Usage: scripts/compara-solvers.sh CASE "solver dt nit_uv nit_p w" ...
# Example: scripts/compara-solvers.sh ghia_re100 "1 0.2 4 20 1.5" "2 0.2 2 5 1.5"
# ITMAX=20000 in the environment raises the case's limit of outer iterations.
set -euo pipefail
cd "$(dirname "$0")/.."
caso=$1
shift
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELNA_TESTS=ON >/dev/null
cmake --build build/release --target quelna >/dev/null
exe=$PWD/build/release/quelna
nomes=(- Jacobi Gauss-Seidel SOR ADI MSI)
echo "| solver | dt | nit_uv | nit_p | w | outer iterations | last residual ratio | seconds |"
echo "|---|---|---|---|---|---|---|---|"
for variante in "$@"; do
  read -r solver dt nit_uv nit_p w <<<"$variante"
  pasta=$(mktemp -d)
  cp -r "casos/$caso/." "$pasta"
  awk -v s="$solver" -v dt="$dt" -v nu="$nit_uv" -v np="$nit_p" -v w="$w" -v itmax="${ITMAX:-}" '
    NR==4 {$1=dt} NR==6 && itmax != "" {$1=itmax} NR==7 {$1=s} NR==11 {$1=nu} NR==12 {$1=np} NR==13 {$1=w} {print}' \
    "$pasta/Quelna_1p3.ent" > "$pasta/caso.tmp" && mv "$pasta/caso.tmp" "$pasta/Quelna_1p3.ent"
  # A run that diverges exits with 3; its row shows where.
  (cd "$pasta" && "$exe" </dev/null 2>/dev/null) || true
  nome=$(awk -F"'" 'NR==1 {print $2}' "$pasta/Quelna_1p3.ent")
  ultima=$(tail -n 1 "$pasta/r.dat")
  tempo=$(grep -a 'tempo de processamento' "$pasta/$nome" | awk '{print $1}')
  echo "| ${nomes[$solver]} | $dt | $nit_uv | $nit_p | $w | $(echo "$ultima" | awk '{print $1}') | $(echo "$ultima" | awk '{print $2}') | $tempo |"
  rm -rf "$pasta"
done
