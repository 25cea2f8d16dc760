#!/usr/bin/env bash
# Runs each example case, shrunk to a small grid and a few iterations, with the plotter on PATH:
# every picture its scripts draw comes out, the stream function's among them, gnuplot says
# nothing, and the fields file and the vortex table are there. Usage: figuras_dos_exemplos.sh QUELNA CASES
set -euo pipefail
quelna=$1
casos=$2
command -v gnuplot >/dev/null || { echo "gnuplot ausente"; exit 1; }
pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
for exemplo in ghia_re100 ghia_re1000 shih; do
  rm -rf "${pasta:?}"/*
  cp "$casos/$exemplo"/*.gnu "$casos/$exemplo"/*.dat "$casos/$exemplo/Quelna_1p3.ent" "$pasta/"
  sed -i '2s/^[0-9]* /16 /; 3s/^[0-9]* /12 /; 6s/^[0-9]* /30 /' "$pasta/Quelna_1p3.ent"
  (cd "$pasta" && "$quelna" </dev/null >/dev/null 2>"$pasta/erro.txt")
  caso=$(LC_ALL=C sed -n "1s/^'\([^']*\)'.*/\1/p" "$pasta/Quelna_1p3.ent")
  for f in psi.png r.png "$caso.vti" vortices.dat psi.dat; do
    [ -s "$pasta/$f" ] || { echo "$exemplo: falta $f"; cat "$pasta/erro.txt"; exit 1; }
  done
  [ "$(ls "$pasta"/*.png | wc -l)" -eq 4 ] || { echo "$exemplo: figuras: $(ls "$pasta"/*.png)"; exit 1; }
  if ls "$pasta"/*.log >/dev/null 2>&1; then echo "$exemplo: o gnuplot reclamou:"; cat "$pasta"/*.log; exit 1; fi
  [ ! -s "$pasta/erro.txt" ] || { echo "$exemplo:"; cat "$pasta/erro.txt"; exit 1; }
  grep -q '^primario ' "$pasta/vortices.dat" || { echo "$exemplo: sem vórtice primário"; exit 1; }
  echo "$exemplo: $(cd "$pasta" && ls *.png | tr '\n' ' ')"
done
