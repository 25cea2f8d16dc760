#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "input/caso.hpp"
#include "platform/arquivo.hpp"
#include "platform/formato.hpp"
#include "platform/memoria.hpp"

namespace quelna {

namespace {

// A value written in a message: what the line holds, cut to something readable.
std::string mostra(std::string_view texto) {
    std::string s;
    for (const char c : texto.substr(0, 40)) {
        const auto b = static_cast<unsigned char>(c);
        s += (b < 0x20 || b == 0x7F) ? '?' : c;
    }
    if (texto.size() > 40) s += "...";
    return "\"" + s + "\"";
}

class Leitor {
public:
    Leitor(std::string_view conteudo, std::string nome) : nome_(std::move(nome)) {
        // UTF-8 when marked so or when it holds a multibyte character, and only when well formed:
        // otherwise every byte is a Latin-1 character.
        const bool marca = conteudo.substr(0, 3) == "\xEF\xBB\xBF";
        if (marca) conteudo.remove_prefix(3);
        utf8_ = marca ? e_utf8(conteudo) : e_utf8_multibyte(conteudo);
        std::size_t ini = 0;
        while (ini < conteudo.size()) {
            auto fim = conteudo.find('\n', ini);
            if (fim == std::string_view::npos) fim = conteudo.size();
            auto linha = conteudo.substr(ini, fim - ini);
            if (!linha.empty() && linha.back() == '\r') linha.remove_suffix(1);
            linhas_.push_back(linha);
            ini = fim + 1;
        }
    }

    bool utf8() const { return utf8_; }

    // Line n, named as in the table of the case's values.
    [[noreturn]] void falha(int n, const std::string& motivo) const {
        const char* valor = nomes_dos_valores[n - 1];
        throw ErroCaso(nome_ + ", linha " + std::to_string(n) + " (" + valor + "): " + motivo);
    }

    // The text of line n from its first non-blank character on.
    std::string_view inicio(int n) const {
        if (n > static_cast<int>(linhas_.size()))
            falha(n, "o arquivo termina na linha " + std::to_string(linhas_.size()) +
                                "; são necessárias 21 linhas, uma para cada valor");
        auto s = linhas_[static_cast<std::size_t>(n - 1)];
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        if (s.empty()) falha(n, "linha sem valor");
        return s;
    }

    // A number ends at a blank, a comma or a slash; whatever follows is a remark.
    static std::string_view palavra(std::string_view s) {
        const auto fim = s.find_first_of(" \t,/");
        return s.substr(0, fim);
    }

    int inteiro(int n) const {
        const auto w = palavra(inicio(n));
        std::size_t k = 0;
        if (k < w.size() && (w[k] == '+' || w[k] == '-')) ++k;
        bool digitos = k < w.size();
        for (std::size_t m = k; m < w.size(); ++m) digitos = digitos && w[m] >= '0' && w[m] <= '9';
        if (!digitos) falha(n, mostra(w) + " não é um número inteiro (escreva sem ponto decimal)");
        errno = 0;
        const long long v = std::strtoll(std::string(w).c_str(), nullptr, 10);
        if (errno == ERANGE || v < INT_MIN || v > INT_MAX)
            falha(n, mostra(w) + " está fora do intervalo de um inteiro de 32 bits");
        return static_cast<int>(v);
    }

    double real(int n) const {
        const auto w = palavra(inicio(n));
        // [sign] digits [. digits] [exponent e, E, d or D with optional sign and digits]
        std::size_t k = 0;
        if (k < w.size() && (w[k] == '+' || w[k] == '-')) ++k;
        std::size_t digitos = 0;
        while (k < w.size() && w[k] >= '0' && w[k] <= '9') ++k, ++digitos;
        if (k < w.size() && w[k] == '.') {
            ++k;
            while (k < w.size() && w[k] >= '0' && w[k] <= '9') ++k, ++digitos;
        }
        bool valido = digitos > 0;
        std::string texto(w.substr(0, k));
        if (valido && k < w.size() && std::string_view("eEdD").find(w[k]) != std::string_view::npos) {
            texto += 'e';
            ++k;
            std::size_t ini = k;
            if (k < w.size() && (w[k] == '+' || w[k] == '-')) texto += w[k++];
            ini = k;
            while (k < w.size() && w[k] >= '0' && w[k] <= '9') texto += w[k++];
            valido = k > ini;
        }
        if (!valido || k != w.size()) falha(n, mostra(w) + " não é um número real");
        const double v = std::strtod(texto.c_str(), nullptr);
        if (!std::isfinite(v)) falha(n, mostra(w) + " é grande demais para um número real");
        return v;
    }

    // A text in apostrophes or quotation marks keeps its blanks (a doubled delimiter stands for
    // itself); a bare text ends at a blank, a comma or a slash. Cut or padded to `largura`.
    std::string texto(int n, std::size_t largura) const {
        const std::string original = bruto(n);
        const std::string t = utf8_ ? utf8_para_latin1(original) : original;
        for (const std::string* s : {&original, &t})
            for (const char c : *s)
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                    falha(n, "o texto " + mostra(t) + " contém caracteres de controle");
        return ajusta(t, largura);
    }

    // The text of line n as the file holds it, before any conversion or cut.
    std::string bruto(int n) const {
        auto s = inicio(n);
        std::string t;
        if (s.front() == '\'' || s.front() == '"') {
            const char aspa = s.front();
            std::size_t k = 1;
            for (;; ++k) {
                if (k >= s.size()) falha(n, "texto sem aspas de fechamento: " + mostra(s));
                if (s[k] == aspa) {
                    if (k + 1 < s.size() && s[k + 1] == aspa) {
                        t += aspa;
                        ++k;
                        continue;
                    }
                    break;
                }
                t += s[k];
            }
        } else {
            t = std::string(s.substr(0, s.find_first_of(" \t,/")));
        }
        return t;
    }

private:
    std::string nome_;
    std::vector<std::string_view> linhas_;
    bool utf8_ = false;
};

std::string curto(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// The first n characters of a UTF-8 text, padded with blanks to n characters: the name of
// the case as the file system gets it, every character kept, those beyond Latin-1 too.
std::string ajusta_utf8(const std::string& s, std::size_t n) {
    std::size_t k = 0, caracteres = 0;
    while (k < s.size() && caracteres < n) {
        ++k;
        while (k < s.size() && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80) ++k;
        ++caracteres;
    }
    return s.substr(0, k) + std::string(n - caracteres, ' ');
}

// Why a case name cannot name the listing, or empty: the listing and the iteration file are
// written in the working folder, under a plain file name.
std::string nome_invalido(const std::string& nome) {
    if (nome.find_first_of("/\\") != std::string::npos)
        return "tem uma barra; a listagem é gravada na pasta do caso e o nome deve ser um nome de arquivo simples";
    if (nome == "." || nome == "..") return "não é um nome de arquivo; a listagem é gravada com o nome do experimento";
    return {};
}

}  // namespace

void deriva_malha(CaseData& c) {
    c.Lx = 1.0;
    c.Ly = 1.0;
    c.Uplaca = 1.0;
    c.nx = c.nx + 2;
    c.ny = c.ny + 2;
    c.dx = 1.0 / (c.nx - 2);
    c.dy = 1.0 / (c.ny - 2);
    c.mi = 1.0 / c.Re;
    c.N = c.nx * c.ny;
}

CaseData le_caso_texto(std::string_view conteudo, const std::string& nome) {
    const Leitor in(conteudo, nome);
    CaseData c;
    c.caso = in.texto(1, 20);
    const std::string caso_no_arquivo = in.utf8() ? ajusta_utf8(in.bruto(1), 20) : c.caso;
    c.nx = in.inteiro(2);
    c.ny = in.inteiro(3);
    c.dt = in.real(4);
    c.tolm = in.real(5);
    c.itmax = in.inteiro(6);
    c.solver = in.inteiro(7);
    c.nmassa = in.inteiro(8);
    c.tol_uv = in.real(9);
    c.tol_p = in.real(10);
    c.nit_uv = in.inteiro(11);
    c.nit_p = in.inteiro(12);
    c.w = in.real(13);
    c.Re = in.real(14);
    c.beta = in.real(15);
    c.campos = in.inteiro(16);
    c.freq = in.inteiro(17);
    c.problema = in.inteiro(18);
    c.inicial = in.inteiro(19);
    c.malha = in.inteiro(20);
    c.titulo = in.texto(21, 50);

    // The values the computation cannot do without.
    if (sem_brancos(c.caso).empty())
        in.falha(1, "o nome do experimento está vazio; ele dá nome à listagem");
    if (c.nx < 1) in.falha(2, std::to_string(c.nx) + " volumes; é preciso pelo menos 1 volume real");
    if (c.ny < 1) in.falha(3, std::to_string(c.ny) + " volumes; é preciso pelo menos 1 volume real");
    if (!(c.dt > 0.0)) in.falha(4, "valor " + curto(c.dt) + "; o incremento de tempo deve ser positivo");
    if (!(c.Re > 0.0)) in.falha(14, "valor " + curto(c.Re) + "; o número de Reynolds deve ser positivo");
    // The viscosity is 1/Re: a Reynolds number so small that it overflows leaves no number to compute with.
    if (!std::isfinite(1.0 / c.Re))
        in.falha(14, "valor " + curto(c.Re) + "; a viscosidade 1/Re passa do maior número real");
    if (c.malha < 1) in.falha(20, std::to_string(c.malha) + "; a malha-base deve ser pelo menos 1");

    const long long nx = static_cast<long long>(c.nx) + 2, ny = static_cast<long long>(c.ny) + 2;
    if (nx * ny > INT_MAX)
        in.falha(3, std::to_string(c.nx) + " x " + std::to_string(c.ny) +
                              " volumes passam do limite de " + std::to_string(INT_MAX) + " volumes");

    deriva_malha(c);

    const double precisa = bytes_dos_campos(c);
    const Memoria tem = memoria_disponivel();
    if (tem.bytes > 0.0 && precisa > 0.8 * tem.bytes) {
        char msg[200];
        std::snprintf(msg, sizeof msg, "%d x %d volumes precisam de %.1f GiB de memória; %s %.1f GiB",
                      c.nx - 2, c.ny - 2, precisa / 1073741824.0,
                      tem.pelo_limite ? "o limite de memória do processo é" : "a máquina tem",
                      tem.bytes / 1073741824.0);
        in.falha(3, msg);
    }

    // The time term of the momentum rows is dx*dy/dt.
    if (!std::isfinite(c.dx * c.dy / c.dt))
        in.falha(4, "valor " + curto(c.dt) + "; o termo transiente dx*dy/dt passa do maior número real");

    c.nome_listagem = sem_brancos_finais(caso_no_arquivo);
    c.nome_iteracoes = sem_brancos(caso_no_arquivo) + ".itn";
    c.nome_campos = sem_brancos(caso_no_arquivo) + ".vti";
    if (const std::string motivo = nome_invalido(c.nome_listagem); !motivo.empty())
        in.falha(1, mostra(c.nome_listagem) + " " + motivo);
    return c;
}

CaseData le_caso(const std::string& nome) {
    std::string conteudo;
    const int erro = le_arquivo_comum(nome, limite_de_leitura, conteudo);
    if (erro == ENOENT) throw ErroCaso(nome + ": arquivo de dados não encontrado na pasta atual");
    if (erro == EISDIR) throw ErroCaso(nome + ": é uma pasta, não o arquivo de dados");
    if (erro == EFBIG)
        throw ErroCaso(nome + ": tem mais de " + std::to_string(limite_de_leitura >> 20) +
                       " MiB; o arquivo de dados tem 21 linhas");
    if (erro != 0) throw ErroCaso(nome + ": não foi possível ler o arquivo de dados: " + motivo_do_sistema(erro));
    return le_caso_texto(conteudo, nome);
}

}  // namespace quelna
