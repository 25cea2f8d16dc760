#include "platform/comando.hpp"

#include <filesystem>

#include "platform/processos.hpp"

namespace quelna {

namespace {

constexpr std::size_t comprimento_maximo = 1024;

// The script's name without ".gnu": the stem of its picture and of its log.
std::string raiz_do_script(const std::string& script) {
    const bool gnu = script.size() > 4 && script.compare(script.size() - 4, 4, ".gnu") == 0;
    return gnu ? script.substr(0, script.size() - 4) : script;
}

std::string nome_do_log(const std::string& script) { return raiz_do_script(script) + ".log"; }

// The text viewer, when the system has one for this run (a batch run has none: it goes on at
// once, as if the viewer had been closed unchanged).
int visualizador(const std::string& arquivo) {
    std::vector<std::string> argv = sistema::visualizador(arquivo);
    return argv.empty() ? 0 : executa_programa(argv);
}

// The plotter. The script is drawn once into nothing and then replotted into a PNG beside it,
// so that no display is needed; with a user at the desktop it is also shown in a window until
// the user closes it. gnuplot's messages go to a log beside the script.
int plotador(const std::string& script) {
    const std::string gnuplot = sistema::plotador();
    const std::string log = nome_do_log(script);
    const int st = executa_programa(
        {gnuplot, "-e", "set terminal pngcairo size 900,700 enhanced font 'sans,11'; set output '" +
                            std::string(saida_descartada) + "'",
         script, "-e", "set output " + aspas_gnuplot(nome_da_figura(script)) + "; replot; unset output"},
        log);
    // A log that says nothing is not kept.
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(log, ec)) &&
        std::filesystem::file_size(log, ec) == 0)
        std::filesystem::remove(log, ec);
    // The window is a courtesy: what its plotter says (a gnuplot without windows says so) is dropped.
    if (st == 0 && sistema::ha_quem_veja_janelas())
        executa_programa({gnuplot, script, "-e", "pause mouse close"}, saida_descartada);
    return st;
}

}  // namespace

std::string nome_da_figura(const std::string& script) { return raiz_do_script(script) + ".png"; }

std::vector<std::string> saidas_do_plotador(const std::string& script) {
    return {nome_da_figura(script), nome_do_log(script)};
}

std::string aspas_gnuplot(const std::string& texto) {
    if (texto.find('\'') == std::string::npos) return "'" + texto + "'";
    // gnuplot takes two apostrophes in a row for an empty string at the start of a text or
    // after a doubled one: a text with apostrophes goes in quotation marks instead, where only
    // the backslash and the quotation mark need escaping.
    std::string s = "\"";
    for (const char c : texto) {
        if (c == '\\' || c == '"') s += '\\';
        s += c;
    }
    return s + "\"";
}

std::string caminho_explicito(const std::string& nome) {
    return nome.empty() || nome.front() == '/' ? nome : "./" + nome;
}

int executa_programa(const std::vector<std::string>& argv, const std::string& saida, const std::string& pasta) {
    const int pid = inicia_programa(argv, {saida, pasta, false});
    return pid < 0 ? -1 : espera_programa(pid);
}

int executar_comando(std::string_view comando, int comprimento) {
    std::string linha(comando.substr(0, comprimento < 0 ? 0 : static_cast<std::size_t>(comprimento)));
    while (!linha.empty() && linha.back() == ' ') linha.pop_back();
    if (linha.size() > comprimento_maximo) return -1;
    if (linha.empty()) return -1;

    const auto branco = linha.find(' ');
    const std::string programa = linha.substr(0, branco);
    const bool tem_argumento = branco != std::string::npos;
    const std::string argumento = tem_argumento ? linha.substr(branco + 1) : std::string();

    if (programa == "notepad") return tem_argumento ? visualizador(argumento) : 0;
    if (programa == "wgnuplot") return tem_argumento ? plotador(argumento) : -1;
    if (tem_argumento) return executa_programa({programa, argumento});
    return executa_programa({programa});
}

}  // namespace quelna
