#!/usr/bin/env bash
# Builds quelna (optimized) and runs an example case in a folder of its own under saida/.
# Usage: scripts/exemplo.sh [case folder under casos/, default ghia_re100]
set -euo pipefail
cd "$(dirname "$0")/.."
caso=${1:-ghia_re100}
[ -f "casos/$caso/Quelna_1p3.ent" ] || { echo "caso de exemplo inexistente: casos/$caso" >&2; exit 2; }

scripts/dependencias.sh exemplo
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELNA_TESTS=OFF >/dev/null
scripts/compila.sh build/release --target quelna quelna-estudo

rm -rf "saida/$caso"
mkdir -p saida
cp -r "casos/$caso" "saida/$caso"
rm -rf "saida/$caso/esperado"  # the stored outputs the tests compare with
(cd "saida/$caso" && ../../build/release/quelna)
echo "resultados em saida/$caso: a listagem, o arquivo .itn, r.dat, u.dat, v.dat, os campos para o ParaView (.vti), psi.dat, vortices.dat e as figuras *.png"
