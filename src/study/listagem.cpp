#include "study/listagem.hpp"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <sstream>

#include "platform/formato.hpp"
#include "run/resultados.hpp"

namespace quelna::estudo {

namespace {

std::vector<std::string> linhas(const std::string& texto) {
    std::vector<std::string> l;
    std::istringstream in(texto);
    for (std::string s; std::getline(in, s);) l.push_back(s);
    return l;
}

// The number after the last "=" of a line.
bool depois_do_igual(const std::string& linha, double& v) {
    const auto igual = linha.rfind('=');
    if (igual == std::string::npos) return false;
    char* fim = nullptr;
    v = std::strtod(linha.c_str() + igual + 1, &fim);
    return fim != linha.c_str() + igual + 1;
}

std::string rotulo(double posicao) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%g", posicao);
    return buf;
}

}  // namespace

ValoresDaListagem le_listagem(const std::string& texto) {
    const auto l = linhas(texto);
    ValoresDaListagem r;
    std::vector<RotuloDeResultado> resultados(std::begin(rotulos_dos_resultados), std::end(rotulos_dos_resultados));
    resultados.push_back(rotulo_psi_min);
    for (const auto& [texto_rotulo, nome] : resultados) {
        const std::string procura = "     " + latin1(texto_rotulo);
        for (const auto& linha : l)
            if (linha.rfind(procura, 0) == 0) {
                double v = 0;
                if (depois_do_igual(linha, v)) r.valores.push_back({nome, v});
                break;
            }
    }
    // The velocities of interest: the lines of two numbers after their headings.
    const std::pair<const char*, bool> blocos[] = {{"     velocidade u de interesse em x = 0.5", true},
                                                   {"     velocidade v de interesse em y = 0.5", false}};
    for (const auto& [cabeca, e_u] : blocos)
        for (std::size_t k = 0; k < l.size(); ++k) {
            if (l[k] != cabeca) continue;
            for (std::size_t m = k + 3; m < l.size() && !l[m].empty(); ++m) {
                double a = 0, b = 0;
                if (std::sscanf(l[m].c_str(), "%lf %lf", &a, &b) != 2) break;
                if (e_u)
                    r.valores.push_back({"u(y=" + rotulo(b) + ")", a});
                else
                    r.valores.push_back({"v(x=" + rotulo(a) + ")", b});
            }
            break;
        }
    // The residual table: the lines of an iteration and a ratio after its heading.
    const std::string tabela = "  " + latin1("Iteração") + "   Norma L1";
    for (std::size_t k = 0; k < l.size(); ++k) {
        if (l[k].rfind(tabela, 0) != 0) continue;
        for (std::size_t m = k + 2; m < l.size() && !l[m].empty(); ++m) {
            int it = 0;
            char razao[32] = {};
            if (std::sscanf(l[m].c_str(), "%d %31s", &it, razao) != 2) break;
            r.iteracoes = it;
            r.razao = std::strtod(razao, nullptr);  // "NaN" too
        }
        break;
    }
    for (const auto& linha : l)
        if (const auto fim = linha.find(" = tempo de processamento (s)"); fim != std::string::npos) {
            r.completa = true;
            r.segundos = std::strtod(linha.c_str(), nullptr);
        }
    return r;
}

}  // namespace quelna::estudo
