#!/usr/bin/env bash
# Cross-builds quelna.exe and quelna-estudo.exe for 64-bit Windows with mingw-w64 (static: they
# need nothing but what Windows has) and packs them with the example cases and LEIAME.txt into
# dist/quelna-1.3-windows.zip. Usage: bash scripts/windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/dependencias.sh windows

cmake -S . -B build/windows -G Ninja --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release \
  -DQUELNA_TESTS=OFF >/dev/null
scripts/compila.sh build/windows --target quelna quelna-estudo

pacote=build/windows/pacote/quelna-1.3
rm -rf build/windows/pacote
mkdir -p "$pacote/casos" dist
cp build/windows/quelna.exe build/windows/quelna-estudo.exe "$pacote/"
for caso in casos/*/; do
  nome=$(basename "$caso")
  mkdir -p "$pacote/casos/$nome"
  cp "$caso"Quelna_1p3.ent "$caso"*.gnu "$caso"ghia_*.dat "$pacote/casos/$nome/"
done
# Notepad reads the Latin-1 text with Windows line ends.
iconv -f utf-8 -t latin1 docs/LEIAME.txt | sed 's/$/\r/' >"$pacote/LEIAME.txt"
rm -f dist/quelna-1.3-windows.zip
(cd build/windows/pacote && zip -qr -X ../../../dist/quelna-1.3-windows.zip quelna-1.3)
echo "dist/quelna-1.3-windows.zip: $(unzip -l dist/quelna-1.3-windows.zip | tail -1 | awk '{print $2}') arquivos"
