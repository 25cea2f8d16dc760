#!/usr/bin/env bash
# Builds a configured build folder quietly; when the build fails, the compiler's messages are
# shown. Usage: scripts/compila.sh BUILD_FOLDER [cmake --build options]
set -uo pipefail
pasta=$1
shift
if ! saida=$(cmake --build "$pasta" "$@" 2>&1); then
  printf '%s\n' "$saida" >&2
  echo "a compilação em $pasta falhou" >&2
  exit 1
fi
