#!/usr/bin/env bash
# Installs from Debian's packages, when missing, what one use of the project needs:
#   scripts/dependencias.sh exemplo   building and running a case (compiler, CMake, Ninja, gnuplot)
#   scripts/dependencias.sh testes    the above, and what the tests use (GoogleTest, clang for the
#                                     fuzz target, the study's engines: GNU Parallel, ssh, Slurm;
#                                     VTK's Python reader for the fields file)
#   scripts/dependencias.sh bench     the above for building, and Google Benchmark
#   scripts/dependencias.sh pacote    the above for building, and dpkg-dev for CPack's dependencies
#   scripts/dependencias.sh windows   the above for building, mingw-w64 (-posix) and zip for the
#                                     Windows package
set -euo pipefail
uso=${1:-exemplo}

faltam=()
precisa() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed' || faltam+=("$1"); }
precisa g++
precisa cmake
precisa ninja-build
precisa gnuplot-nox
case $uso in
  exemplo) ;;
  testes)
    precisa libgtest-dev
    precisa clang
    precisa libclang-rt-14-dev
    precisa dpkg-dev
    precisa parallel
    precisa rsync
    precisa openssh-server
    precisa openssh-client
    precisa slurm-wlm
    precisa munge
    precisa python3-vtk9
    # The Windows build and Wine to run it.
    precisa g++-mingw-w64-x86-64-posix
    precisa zip
    precisa wine64
    ;;
  windows)
    precisa g++-mingw-w64-x86-64-posix
    precisa zip
    ;;
  bench) precisa libbenchmark-dev ;;
  pacote) precisa dpkg-dev ;;
  *) echo "uso: scripts/dependencias.sh [exemplo|testes|bench|pacote|windows]" >&2; exit 2 ;;
esac

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
