// quelna: two-dimensional laminar incompressible flow in a lid-driven square cavity.
#include <cerrno>
#include <iostream>

#include "platform/arquivo.hpp"
#include "platform/janela.hpp"
#include "platform/processo.hpp"
#include "platform/sinais.hpp"
#include "run/execucao.hpp"
#include "vetor/traducao.hpp"

namespace {

const char* const uso = "uso: quelna [PASTA | --help | --version]\n";

void ajuda() {
    std::cout << "quelna 1.3 - escoamento bidimensional, laminar e incompressível numa cavidade quadrada\n"
                 "com tampa móvel, pelo método dos volumes finitos.\n\n"
              << uso
              << "\nLê o caso do arquivo \"Quelna_1p3.ent\" da PASTA dada (sem argumento, da pasta atual) e grava\n"
                 "ali a listagem (com o nome do caso), o arquivo de iterações (.itn), r.dat, u.dat, v.dat e, no\n"
                 "problema de Shih, ucex.dat e vcex.dat; depois da listagem, os campos para o ParaView (o nome do\n"
                 "caso com .vti), a função de corrente nos nós (psi.dat) e os centros dos vórtices (vortices.dat).\n"
                 "Os roteiros r.gnu, u_*.gnu, v_*.gnu e psi.gnu da pasta são desenhados pelo gnuplot em figuras\n"
                 "PNG ao lado deles. Os textos dos arquivos são em português, em Latin-1. Os roteiros são\n"
                 "programas do gnuplot: rode só os de quem você confia.\n\n"
                 "  --help     mostra esta ajuda\n"
                 "  --version  mostra a versão\n\n"
                 "QUELNA_THREADS=n no ambiente faz a execução usar n threads (de 1 a 256; 1 é o programa numa\n"
                 "thread só); sem ela, algumas iterações, de tempos em tempos, experimentam uma thread por\n"
                 "processador, e a execução fica com elas enquanto ganhar tempo. O resultado é o mesmo, byte\n"
                 "a byte, com qualquer número de threads.\n\n"
                 "Ctrl-C (ou SIGTERM) durante as iterações encerra o ciclo ao fim da iteração corrente e grava\n"
                 "todos os resultados dos campos obtidos; um segundo sinal interrompe na hora.\n\n"
                 "Saída: 0 execução completa (convergiu ou chegou a itmax); 1 arquivo que não pôde ser gravado;\n"
                 "2 caso inválido, uso errado ou memória insuficiente; 3 a solução divergiu (resíduo NaN ou\n"
                 "infinito: o ciclo para nessa iteração e grava os resultados dos campos que tem);\n"
                 "130 (ou 143) execução interrompida por Ctrl-C (ou SIGTERM), com os resultados gravados.\n";
}

}  // namespace

int main(int argc, char** argv) {
    quelna::protege_saidas_padrao();
    const std::vector<std::string> args = quelna::argumentos(argc, argv);
    if (args.size() == 2 && args[1] == "--help") {
        ajuda();
        return 0;
    }
    if (args.size() == 2 && args[1] == "--version") {
        std::cout << "quelna 1.3\n";
        return 0;
    }
    if (args.size() > 2 || (args.size() == 2 && args[1][0] == '-')) {
        std::cerr << "quelna: argumento não reconhecido: " << args[args.size() > 2 ? 2 : 1] << '\n' << uso;
        return quelna::saida_caso_invalido;
    }
    // The case of another folder runs as if started inside it: every file is read and written there.
    if (args.size() == 2) {
        if (const int erro = quelna::muda_de_pasta(args[1]); erro != 0) {
            std::cerr << "quelna: não foi possível entrar na pasta \"" << args[1] << "\": "
                      << (erro == ENOTDIR ? std::string("não é uma pasta") : quelna::motivo_do_sistema(erro)) << '\n';
            return quelna::saida_caso_invalido;
        }
    }
#ifdef QUELNA_LITERAL
    // Every kernel in its plain loop: the same run, for comparing the renderings' bytes and times.
    quelna::escolhe_traducao(quelna::Traducao::literal);
#endif
    quelna::instala_interrupcao();
    quelna::JanelaTexto janela;
    quelna::INITIALSETTINGS(janela);
    return quelna::principal(janela);
}
