#!/usr/bin/env bash
# Every function of the program that uses the 256- or 512-bit registers must clear their upper
# halves (vzeroupper) before it returns or jumps into another function: the kernels that run
# after it are two-lane code, and on some processors every such instruction then waits on the
# register it writes (the MSI factorization ran four times slower). Reads the disassembly of the
# executable given and lists the functions that leave them dirty.
set -euo pipefail
exe=$1
"${OBJDUMP:-objdump}" -d --no-show-raw-insn -C "$exe" | awk '
  /^[0-9a-f]+ <.*>:$/ { funcao = $0; sujo = 0; next }
  /\tvzeroupper/ { sujo = 0; next }
  /%[yz]mm[0-9]/ { sujo = 1 }
  sujo && (/\tret/ || (/\tjmp +[0-9a-f]+ </ && !/\+0x[0-9a-f]+>$/)) { print funcao; ruins++; sujo = 0 }
  END { if (ruins) { printf "%d funções saem com os registros largos sujos\n", ruins > "/dev/stderr"; exit 1 } }
' | sort -u
