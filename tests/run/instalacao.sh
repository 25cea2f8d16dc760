#!/usr/bin/env bash
# Installs a build into a temporary prefix and runs the installed quelna on a copy of the
# installed default example, shrunk to a small grid. Usage: instalacao.sh BUILD_FOLDER
set -euo pipefail
build=$1
prefixo=$(mktemp -d)
trap 'rm -rf "$prefixo"' EXIT
cmake --install "$build" --prefix "$prefixo" >/dev/null
for f in bin/quelna bin/quelna-estudo share/quelna/casos/ghia_re100/Quelna_1p3.ent share/quelna/casos/shih/r.gnu; do
  [ -e "$prefixo/$f" ] || { echo "não instalado: $f"; exit 1; }
done
cp -r "$prefixo/share/quelna/casos/ghia_re100" "$prefixo/caso"
sed -i '2s/^64 /8  /; 3s/^64 /8  /; 6s/^[0-9]* /20 /' "$prefixo/caso/Quelna_1p3.ent"
"$prefixo/bin/quelna" "$prefixo/caso" </dev/null
grep -aq 'tempo de processamento' "$prefixo/caso/ghia_re100"
[ "$(wc -l < "$prefixo/caso/u.dat")" -eq 10 ]
echo "instalado e rodado em $prefixo"
