#!/usr/bin/env bash
# Runs quelna on the non-square Shih case and on a small Ghia case, then reads each fields file
# with VTK's Python reader (campos_vtk.py). Usage: campos_vtk.sh QUELNA SOURCE_FOLDER
set -euo pipefail
quelna=$1
fontes=$2
pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
cp "$fontes/tests/dados/shih_24x16/Quelna_1p3.ent" "$pasta/"
(cd "$pasta" && PATH=/nonexistent "$quelna" </dev/null >/dev/null 2>&1)
/usr/bin/python3 "$fontes/tests/output/campos_vtk.py" "$pasta" shih_24x16 24 16 1
rm -rf "$pasta"/*
cp "$fontes/casos/ghia_re100/Quelna_1p3.ent" "$pasta/"
sed -i '2s/^64 /20 /; 3s/^64 /12 /' "$pasta/Quelna_1p3.ent"
(cd "$pasta" && PATH=/nonexistent "$quelna" </dev/null >/dev/null 2>&1)
/usr/bin/python3 "$fontes/tests/output/campos_vtk.py" "$pasta" ghia_re100 20 12 0
