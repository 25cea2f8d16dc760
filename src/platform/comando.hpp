// Outside programs: the text viewer and the plotter, run synchronously.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quelna {

// Runs a command line and waits for its end. Trailing blanks are removed; a line longer than
// 1024 characters runs nothing and gives -1. The result is the program's exit status, or -1
// when it cannot be started. No outcome stops the caller.
//
// No shell sees the line: its first word names the program and everything after the single
// blank that follows is one argument, verbatim, so that a case name like "x; rm -rf ~" only
// ever names a file. "notepad FILE" opens FILE in $VISUAL or $EDITOR when the program runs on
// a terminal (and does nothing otherwise); "wgnuplot SCRIPT" runs gnuplot on SCRIPT and leaves
// a PNG picture beside it; any other program is looked up on PATH.
int executar_comando(std::string_view comando, int comprimento);

// Runs argv[0] (looked up on PATH) with its arguments and waits. Standard output and error go
// to `saida` when it is not empty (a regular file only, as every output); the program runs in
// the folder `pasta` when that is not empty. Exit status, 128 + signal, or -1 when it cannot
// start.
int executa_programa(const std::vector<std::string>& argv, const std::string& saida = {},
                     const std::string& pasta = {});

// Where a program started by inicia_programa reads and writes: standard output and error to
// `saida` (as executa_programa), in the folder `pasta`, standard input from /dev/null when
// `sem_entrada`.
struct Redirecoes {
    std::string saida;
    std::string pasta;
    bool sem_entrada = false;
};

// Starts argv[0] (looked up on PATH) without waiting: its process number, or -1 when it cannot
// start. espera_programa waits for it; espera_algum_programa for whichever ends first (its number,
// -1 when none is left). Both give the exit status as executa_programa does.
int inicia_programa(const std::vector<std::string>& argv, const Redirecoes& r);
int espera_programa(int pid);
int espera_algum_programa(int& estado);

// The `saida` of a program whose output nobody reads.
#ifdef _WIN32
inline constexpr const char* saida_descartada = "NUL";
#else
inline constexpr const char* saida_descartada = "/dev/null";
#endif

// A text as one of gnuplot's quoted strings, every byte kept: in apostrophes, or in quotation
// marks with escapes when it holds an apostrophe.
std::string aspas_gnuplot(const std::string& texto);

// A file name as an argument that no program can take for an option ("-x" becomes "./-x").
std::string caminho_explicito(const std::string& nome);

// The name of the picture that the plot of `script` leaves ("r.gnu" gives "r.png").
std::string nome_da_figura(const std::string& script);

// Every file that the plotter writes for `script`: the picture and its log (removed when empty).
std::vector<std::string> saidas_do_plotador(const std::string& script);

}  // namespace quelna
