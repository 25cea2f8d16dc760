#!/usr/bin/env bash
# The Windows executables under Wine, in a fresh prefix, without a display:
#  - the three example cases write the listing (apart from its date and time lines), the
#    iteration file, r.dat, u.dat and v.dat stored beside them, byte for byte, as the Linux
#    build does; the default example's every file is the Linux build's;
#  - a bad case file gives the Linux build's message and exit status 2;
#  - on a console, the viewer and the plotter are started as programs (stand-ins named
#    notepad.exe and gnuplot.exe record their arguments), and a hostile case name only names files;
#  - names of the case reach the file system as the same characters (Latin-1 and UTF-8 cases);
#  - the kernels built for wide registers leave them clean and never move them to the stack with
#    an aligned instruction (Windows aligns the stack to 16 bytes only).
# Usage: wine.sh LINUX_QUELNA WINDOWS_BUILD_FOLDER SOURCE_FOLDER
set -euo pipefail
linux=$1
win=$2
fontes=$3
tmp=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$tmp"' EXIT
export WINEPREFIX="$tmp/prefixo" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wineboot -i >/dev/null 2>&1 || true
falhas=0
falha() { echo "FALHA: $*"; falhas=$((falhas + 1)); }
sem_data() { grep -av -e '^     Dia = ' -e ' = tempo de processamento (s)$' "$1"; }
# Runs quelna.exe in folder $1 in batch (no console), standard error to $1/erro.txt; the exit status.
roda() { (cd "$1" && wine "$win/quelna.exe" </dev/null >saida.txt 2>erro.txt) && echo 0 || echo $?; }

# The examples against the files stored beside them.
for exemplo in ghia_re100 shih ghia_re1000; do
  p="$tmp/$exemplo"
  mkdir -p "$p"
  cp "$fontes/casos/$exemplo/Quelna_1p3.ent" "$p/"
  estado=$(roda "$p")
  [ "$estado" = 0 ] || { falha "$exemplo: saída $estado"; cat "$p/erro.txt"; continue; }
  iguais=""
  for f in "$fontes/casos/$exemplo/esperado/"*; do
    nome=$(basename "$f")
    if [ -f "$p/$nome.itn" ] || grep -aq '^     Dia = ' "$f"; then
      cmp -s <(sem_data "$f") <(sem_data "$p/$nome") || falha "$exemplo: a listagem $nome difere"
    else
      cmp -s "$f" "$p/$nome" || falha "$exemplo: $nome difere"
    fi
    iguais="$iguais $nome"
  done
  echo "$exemplo no Wine: iguais aos guardados:$iguais"
done
# The default example's every file, the flow's included, against the Linux build's.
mkdir -p "$tmp/linux"
cp "$fontes/casos/ghia_re100/Quelna_1p3.ent" "$tmp/linux/"
(cd "$tmp/linux" && PATH=/nonexistent "$linux" </dev/null >/dev/null 2>&1)
for f in ghia_re100.itn r.dat u.dat v.dat psi.dat vortices.dat ghia_re100.vti; do
  cmp -s "$tmp/linux/$f" "$tmp/ghia_re100/$f" || falha "ghia_re100: $f difere do Linux"
done

# A bad case file: the same message, the same status, nothing written.
for lado in linux wine; do
  mkdir -p "$tmp/ruim_$lado"
  sed '3s/^64 /6x4 /' "$fontes/casos/ghia_re100/Quelna_1p3.ent" >"$tmp/ruim_$lado/Quelna_1p3.ent"
done
(cd "$tmp/ruim_linux" && "$linux" </dev/null 2>erro.txt) && estado_linux=0 || estado_linux=$?
estado_wine=$(roda "$tmp/ruim_wine")
[ "$estado_linux" = 2 ] && [ "$estado_wine" = 2 ] || falha "caso ruim: saída $estado_linux no Linux, $estado_wine no Wine"
# The console's line ends are Windows' own (CR LF); the text is the same.
cmp -s "$tmp/ruim_linux/erro.txt" <(tr -d '\r' <"$tmp/ruim_wine/erro.txt") ||
  falha "caso ruim: mensagens diferentes: $(cat "$tmp/ruim_linux/erro.txt") / $(cat "$tmp/ruim_wine/erro.txt")"
[ "$(ls "$tmp/ruim_wine" | sort | tr '\n' ' ')" = "Quelna_1p3.ent erro.txt saida.txt " ] || falha "caso ruim: gravou $(ls "$tmp/ruim_wine")"
echo "caso ruim: saída $estado_wine, $(cat "$tmp/ruim_wine/erro.txt")"

# A device's name as the case name: refused, as not a regular file, before anything is written.
mkdir -p "$tmp/dispositivo"
sed "1s/^'ghia_re100'  /'NUL'         /" "$fontes/casos/ghia_re100/Quelna_1p3.ent" >"$tmp/dispositivo/Quelna_1p3.ent"
estado=$(roda "$tmp/dispositivo")
[ "$estado" = 2 ] && grep -q '"NUL": não é um arquivo comum' "$tmp/dispositivo/erro.txt" ||
  falha "caso NUL: saída $estado, $(cat "$tmp/dispositivo/erro.txt")"
echo "caso NUL: saída $estado, $(tr -d '\r' <"$tmp/dispositivo/erro.txt")"

# On a console (a terminal of its own): the viewer and the plotter as programs, never through
# the command interpreter. The stand-ins record every start; "x & del y" only names files.
x86_64-w64-mingw32-g++-posix -O2 -static -o "$tmp/registra.exe" "$fontes/tests/windows/registra.cpp"
mkdir -p "$tmp/bin"
for programa in notepad gnuplot del x cmd; do cp "$tmp/registra.exe" "$tmp/bin/$programa.exe"; done
export WINEPATH="$(winepath -w "$tmp/bin")" QUELNA_REGISTRO="$(winepath -w "$tmp/registro.txt")"
p="$tmp/hostil"
mkdir -p "$p"
cp "$fontes/casos/ghia_re100/"*.gnu "$p/"
sed "1s/^'ghia_re100'  /'x \& del y'   /; 2s/^64 /8  /; 3s/^64 /8  /; 6s/^5000 /20   /" \
  "$fontes/casos/ghia_re100/Quelna_1p3.ent" >"$p/Quelna_1p3.ent"
echo "do usuário" >"$p/y"
(cd "$p" && script -qec "wine '$win/quelna.exe'" /dev/null >"$tmp/console.txt" 2>&1) || falha "no console: saída $?"
# Wine's console shows the window's title as the terminal's (an OSC 0 sequence).
grep -aq $'\e\]0;QUELNA 1.3 (Escoamento Bidimensional de Fluido Incompress' "$tmp/console.txt" ||
  falha "o console não recebeu o título"
esperado="notepad.exe|.\\Quelna_1p3.ent"
for roteiro in r u_Ghia v_Ghia psi; do
  esperado="$esperado
gnuplot.exe|-e|set terminal pngcairo size 900,700 enhanced font 'sans,11'; set output 'NUL'|$roteiro.gnu|-e|set output '$roteiro.png'; replot; unset output
gnuplot.exe|$roteiro.gnu|-e|pause mouse close"
done
esperado="$esperado
notepad.exe|.\\x & del y.itn
notepad.exe|.\\x & del y"
[ "$(tr -d '\r' <"$tmp/registro.txt")" = "$esperado" ] || { falha "programas iniciados no console:"; cat "$tmp/registro.txt"; }
[ "$(cat "$p/y")" = "do usuário" ] || falha "o arquivo y foi mexido"
[ -f "$p/x & del y" ] && [ -f "$p/x & del y.itn" ] && [ -f "$p/x & del y.vti" ] || falha "listagem de 'x & del y': $(ls "$p")"
echo "no console: o título da janela, $(wc -l <"$tmp/registro.txt") programas iniciados, cada um com seus argumentos; y intacto"

# Ctrl-C on the console ends the cycle at the end of its iteration, every result written, 130.
p="$tmp/ctrl_c"
mkdir -p "$p"
cp "$fontes/casos/ghia_re1000/Quelna_1p3.ent" "$p/"
estado=$(/usr/bin/python3 "$fontes/tests/windows/ctrl_c.py" "$p" "$win/quelna.exe")
ultima=$(tail -n 1 "$p/r.dat" | awk '{print $1}')
[ "$estado" = 130 ] && tail -n 1 "$p/ghia_re1000" | grep -q ' = tempo de processamento (s)$' && [ "$ultima" -lt 1640 ] ||
  falha "Ctrl-C: saída $estado, última iteração $ultima"
echo "Ctrl-C: saída $estado na iteração $ultima, a listagem completa"

# Names beyond ASCII: a Latin-1 case file and a UTF-8 one give files of the same characters.
for codificacao in latin1 utf8; do
  p="$tmp/nome_$codificacao"
  mkdir -p "$p"
  if [ $codificacao = latin1 ]; then nome=$(printf 'a\347a\355'); visto="açaí"; else nome="ação€"; visto="ação€"; fi
  { printf "'%s'      caso\n" "$nome"; sed -n '2,21p' "$fontes/casos/ghia_re100/Quelna_1p3.ent" |
      sed '1s/^64 /8  /; 2s/^64 /8  /; 5s/^5000 /5    /'; } >"$p/Quelna_1p3.ent"
  [ $codificacao = utf8 ] && iconv -f latin1 -t utf-8 "$p/Quelna_1p3.ent" | sed "1s/.*/'ação€'      caso/" >"$p/c" && mv "$p/c" "$p/Quelna_1p3.ent"
  estado=$(roda "$p")
  [ "$estado" = 0 ] && [ -f "$p/$visto" ] && [ -f "$p/$visto.itn" ] && [ -f "$p/$visto.vti" ] ||
    falha "nome $codificacao: saída $estado, arquivos: $(ls "$p")"
done
echo "nomes: açaí (caso em Latin-1) e ação€ (caso em UTF-8) gravados com esses caracteres"

# Wide registers: clean on return, never spilled with an aligned move. The check itself is
# shown to catch such a move, which the assembler's option rewrites.
OBJDUMP=x86_64-w64-mingw32-objdump bash "$fontes/tests/solvers/registros_limpos.sh" "$win/quelna.exe" || falha "registros sujos"
alinhados() { x86_64-w64-mingw32-objdump -d --no-show-raw-insn "$1" | grep -E '\svmova(p[sd]|dq[a-z0-9]*)\s' |
  grep -E '%[yz]mm' | grep -E '\(%r[sb]p' || true; }
[ -z "$(alinhados "$win/quelna.exe")" ] || { falha "movimentos alinhados de registros largos na pilha:"; alinhados "$win/quelna.exe" | head; }
printf '\tvmovapd %%zmm1, 0x40(%%rsp)\n' >"$tmp/a.s"
x86_64-w64-mingw32-as -o "$tmp/a.o" "$tmp/a.s"
[ -n "$(alinhados "$tmp/a.o")" ] || falha "a conferência não vê um movimento alinhado"
x86_64-w64-mingw32-as -muse-unaligned-vector-move -o "$tmp/b.o" "$tmp/a.s"
[ -z "$(alinhados "$tmp/b.o")" ] || falha "a opção do montador não reescreve o movimento alinhado"
echo "registros largos: limpos ao sair, nenhum movimento alinhado na pilha"

[ $falhas = 0 ] || { echo "$falhas falhas"; exit 1; }
echo "Windows no Wine: tudo conferido"
