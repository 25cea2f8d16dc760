#!/usr/bin/env bash
# Installs what building, testing and running quelna need, from Debian's packages, when missing.
set -euo pipefail

faltam=()
precisa() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed' || faltam+=("$1"); }
precisa g++
precisa cmake
precisa ninja-build
precisa libgtest-dev
precisa libbenchmark-dev
precisa gnuplot-nox
precisa parallel
precisa rsync
precisa openssh-server
precisa openssh-client
precisa slurm-wlm
precisa munge
precisa clang
precisa libclang-rt-14-dev

[ ${#faltam[@]} -eq 0 ] && exit 0
echo "instalando: ${faltam[*]}"
if [ "$(id -u)" -eq 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${faltam[@]}" >/dev/null
elif command -v sudo >/dev/null; then
  sudo apt-get update -qq
  sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${faltam[@]}" >/dev/null
else
  echo "faltam pacotes e não há como instalá-los sem root: ${faltam[*]}" >&2
  exit 1
fi
