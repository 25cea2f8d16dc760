#!/usr/bin/env bash
# Runs the Re = 1000 example's settings (MSI, CDS, dt = 0.1, nit_uv = 5) at other Reynolds
# numbers, grids and nit_p, and prints a Markdown table of how each run ended, its outer
# iterations and seconds. Usage: scripts/malhas-finas.sh "Re N nit_p" ...
# Example: scripts/malhas-finas.sh "100 128 100" "1000 256 300"
# ITMAX (default 20000) is the limit of outer iterations.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELNA_TESTS=ON >/dev/null
cmake --build build/release --target quelna >/dev/null
exe=$PWD/build/release/quelna
echo "| Re | N | nit_p | outcome | outer iterations | last residual ratio | seconds |"
echo "|---|---|---|---|---|---|---|"
for variante in "$@"; do
  read -r re n nit_p <<<"$variante"
  pasta=$(mktemp -d)
  cp -r casos/ghia_re1000/. "$pasta"
  awk -v re="$re" -v n="$n" -v np="$nit_p" -v itmax="${ITMAX:-20000}" '
    NR==2 || NR==3 {$1=n} NR==6 {$1=itmax} NR==12 {$1=np} NR==14 {$1=re} {print}' \
    "$pasta/Quelna_1p3.ent" > "$pasta/caso.tmp" && mv "$pasta/caso.tmp" "$pasta/Quelna_1p3.ent"
  estado=0
  (cd "$pasta" && "$exe" </dev/null 2>/dev/null) || estado=$?
  ultima=$(tail -n 1 "$pasta/r.dat")
  razao=$(echo "$ultima" | awk '{print $2}')
  tempo=$(grep -a 'tempo de processamento' "$pasta/ghia_re1000" | awk '{print $1}')
  case $estado in
    0) if awk -v r="$razao" 'BEGIN {exit !(r <= 1e-8)}'; then desfecho=converged; else desfecho="itmax"; fi ;;
    3) desfecho=diverged ;;
    *) desfecho="exit $estado" ;;
  esac
  echo "| $re | $n | $nit_p | $desfecho | $(echo "$ultima" | awk '{print $1}') | $razao | $tempo |"
  rm -rf "$pasta"
done
