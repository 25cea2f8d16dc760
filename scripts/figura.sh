#!/usr/bin/env bash
# Runs the default example and copies its u profile picture to docs/ for the README.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/exemplo.sh ghia_re100
cp saida/ghia_re100/u_Ghia.png docs/u_ghia_re100.png
echo "docs/u_ghia_re100.png"
