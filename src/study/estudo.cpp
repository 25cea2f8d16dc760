#include "study/estudo.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <limits>
#include <set>
#include <sstream>
#include <stdexcept>

#include "input/caso.hpp"
#include "input/shih.hpp"
#include "platform/arquivo.hpp"
#include "platform/comando.hpp"
#include "platform/formato.hpp"
#include "run/execucao.hpp"

namespace fs = std::filesystem;

namespace quelna::estudo {

namespace {

// A listing with its field tables on a fine grid runs to hundreds of megabytes.
constexpr std::size_t limite_da_listagem = std::size_t(1) << 30;

// A missing or unreadable file reads as empty: the grid then has no values, and says why.
std::string le(const std::string& nome) {
    std::string texto;
    le_arquivo_comum(nome, limite_da_listagem, texto);
    return texto;
}

void escreve(const std::string& nome, const std::string& texto) { grava_arquivo(nome, texto); }

// The mark of a grid folder made by a study: a study deletes only folders that hold it.
constexpr const char* marca_do_estudo = ".quelna-estudo";

// True when `dentro` is `pasta` or lies below it.
bool contida(const fs::path& dentro, const fs::path& pasta) {
    const fs::path a = fs::weakly_canonical(dentro), b = fs::weakly_canonical(pasta);
    auto ia = a.begin(), ib = b.begin();
    for (; ia != a.end() && ib != b.end(); ++ia, ++ib)
        if (*ia != *ib) return false;
    return ib == b.end();
}

// An existing grid folder is replaced only when a study made it, and never when the case lies in it.
void confere_pasta_da_malha(const fs::path& pasta, const fs::path& caso) {
    if (contida(caso, pasta))
        throw std::runtime_error("a pasta do caso está dentro de \"" + pasta.string() +
                                 "\", que o estudo recria; escolha outra --saida");
    const auto st = fs::symlink_status(pasta);
    if (!fs::exists(st)) return;
    if (!fs::is_directory(st) || !fs::exists(pasta / marca_do_estudo))
        throw std::runtime_error("\"" + pasta.string() + "\" já existe e não foi criada pelo quelna-estudo; nada foi "
                                 "apagado (escolha outra --saida ou apague-a)");
}

std::string num(double v, int digitos = 6) {
    if (!std::isfinite(v)) return "—";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digitos, v);
    return buf;
}

}  // namespace

std::string com_malha(const std::string& texto, int n) {
    std::string r;
    std::size_t ini = 0;
    for (int linha = 1; ini <= texto.size(); ++linha) {
        auto fim = texto.find('\n', ini);
        const bool ultima = fim == std::string::npos;
        std::string l = texto.substr(ini, ultima ? std::string::npos : fim - ini);
        if (linha == 2 || linha == 3) {
            // The value is the first word after the blanks; the remark after it stays.
            const auto a = l.find_first_not_of(" \t");
            const auto b = a == std::string::npos ? l.size() : l.find_first_of(" \t,/\r", a);
            l = l.substr(0, a == std::string::npos ? l.size() : a) + std::to_string(n) +
                (b == std::string::npos ? std::string() : l.substr(b));
        }
        r += l;
        if (ultima) break;
        r += '\n';
        ini = fim + 1;
    }
    return r;
}

Estudo faz_estudo(const std::string& pasta_caso, std::vector<int> tamanhos, const std::string& saida,
                  const OpcoesExecucao& opcoes) {
    const std::string arquivo = pasta_caso + "/" + arquivo_caso;
    std::string texto;
    if (const int erro = le_arquivo_comum(arquivo, limite_de_leitura, texto); erro != 0)
        throw ErroCaso(arquivo + (erro == ENOENT ? std::string(": arquivo de dados não encontrado")
                                                 : ": não foi possível ler o arquivo de dados: " + motivo_do_sistema(erro)));
    const CaseData base = le_caso_texto(texto, arquivo);
    confere_nome_reservado(base, arquivos_da_execucao());
    for (std::size_t k = 0; k < tamanhos.size(); ++k)
        for (std::size_t m = 0; m < k; ++m)
            if (tamanhos[k] == tamanhos[m])
                throw std::invalid_argument("a malha " + std::to_string(tamanhos[k]) + " foi dada mais de uma vez");

    Estudo e;
    e.caso = sem_brancos(base.caso);
    e.titulo = sem_brancos(base.titulo);
    e.problema = base.problema;
    e.malha_base = base.malha;
    e.Re = base.Re;
    e.beta = base.beta;

    std::sort(tamanhos.begin(), tamanhos.end());
    fs::create_directories(saida);
    const std::string raiz = fs::absolute(saida).lexically_normal().string();
    // Every folder is checked before any is deleted.
    for (const int n : tamanhos) confere_pasta_da_malha(raiz + "/malha_" + std::to_string(n), pasta_caso);
    std::vector<std::string> pastas;
    std::vector<std::size_t> indices;
    for (const int n : tamanhos) {
        Malha m;
        m.n = n;
        m.pasta = raiz + "/malha_" + std::to_string(n);
        if (n < 1 || n % base.malha != 0) {
            m.problema = "a malha " + std::to_string(n) + " não é múltipla da malha-base " + std::to_string(base.malha);
            e.avisos.push_back(m.problema);
            e.malhas.push_back(m);
            continue;
        }
        fs::remove_all(m.pasta);
        fs::create_directories(m.pasta);
        escreve(m.pasta + "/" + marca_do_estudo, "pasta de uma malha, criada pelo quelna-estudo\n");
        for (const auto& entrada : fs::directory_iterator(pasta_caso))
            if (entrada.is_regular_file() && entrada.path().filename() != marca_do_estudo)
                fs::copy_file(entrada.path(), m.pasta + "/" + entrada.path().filename().string());
        escreve(m.pasta + "/" + arquivo_caso, com_malha(texto, n));
        indices.push_back(e.malhas.size());
        pastas.push_back(m.pasta);
        e.malhas.push_back(m);
    }

    const std::vector<int> estados = roda_casos(pastas, opcoes);
    for (std::size_t k = 0; k < indices.size(); ++k) {
        Malha& m = e.malhas[indices[k]];
        m.estado = estados[k];
        m.valores = le_listagem(le(m.pasta + "/" + base.nome_listagem));
        if (m.estado < 0) {
            m.problema = "a malha " + std::to_string(m.n) + " não rodou: o quelna ou o motor de execução (" +
                         (opcoes.motor == Motor::local ? std::string("local")
                          : opcoes.motor == Motor::parallel ? std::string("GNU Parallel")
                                                            : std::string("Slurm")) +
                         ") não pôde ser iniciado";
            e.avisos.push_back(m.problema);
        } else if (m.estado != 0 || !m.valores.completa) {
            m.problema = "a malha " + std::to_string(m.n) + " falhou (saída " + std::to_string(m.estado) +
                         "; veja " + m.pasta + "/quelna.log)";
            e.avisos.push_back(m.problema);
        }
    }
    estima(e);
    return e;
}

void estima(Estudo& e) {
    // The values in the order of the first grid that has them.
    std::vector<std::string> nomes;
    std::set<std::string> vistos;
    for (const auto& m : e.malhas)
        for (const auto& v : m.valores.valores)
            if (vistos.insert(v.nome).second) nomes.push_back(v.nome);
    std::vector<const Malha*> boas;
    for (const auto& m : e.malhas)
        if (m.problema.empty()) boas.push_back(&m);
    e.linhas.clear();
    for (const auto& nome : nomes) {
        LinhaDoEstudo l;
        l.nome = nome;
        for (const auto& m : e.malhas) {
            double v = std::numeric_limits<double>::quiet_NaN();
            if (m.problema.empty())
                for (const auto& x : m.valores.valores)
                    if (x.nome == nome) v = x.valor;
            l.por_malha.push_back(v);
        }
        // The finest grids that have the value: phi1 the finest. The grid size itself is no
        // value to extrapolate.
        std::vector<std::pair<int, double>> fina;
        if (nome == "tamanho_medio") {
            e.linhas.push_back(l);
            continue;
        }
        for (std::size_t k = e.malhas.size(); k-- > 0 && fina.size() < 3;)
            if (std::isfinite(l.por_malha[k])) fina.push_back({e.malhas[k].n, l.por_malha[k]});
        if (fina.size() == 3)
            l.estimativa = tres_malhas(fina[0].second, fina[1].second, fina[2].second,
                                       double(fina[0].first) / fina[1].first, double(fina[1].first) / fina[2].first);
        else if (fina.size() == 2)
            l.estimativa = duas_malhas(fina[0].second, fina[1].second, double(fina[0].first) / fina[1].first,
                                       e.beta == 1.0 ? 2.0 : 1.0);
        l.referencia = referencia(nome, e.problema, e.Re);
        e.linhas.push_back(l);
    }
}

namespace {

std::string nome_problema(const Estudo& e) {
    return e.problema == 1 ? "Shih" : "Ghia";
}

}  // namespace

void escreve_relatorio(const Estudo& e, const std::string& saida) {
    std::ostringstream md, csv;
    md << "# Estudo de convergência de malha: " << utf8_de_latin1(e.caso) << "\n\n";
    md << "- título: " << utf8_de_latin1(e.titulo) << "\n";
    md << "- problema: " << nome_problema(e) << ", Re = " << num(e.Re) << ", beta = " << num(e.beta)
       << " (ordem formal " << (e.beta == 1.0 ? 2 : 1) << "), malha-base " << e.malha_base << "\n";
    md << "- malhas (volumes reais em cada direção):";
    for (const auto& m : e.malhas) md << " " << m.n << (m.problema.empty() ? "" : " (sem valores)");
    md << "\n\n";
    const int usadas = static_cast<int>(std::count_if(e.malhas.begin(), e.malhas.end(),
                                                      [](const Malha& m) { return m.problema.empty(); }));
    md << (usadas >= 3 ? "Com as três malhas mais finas: ordem aparente p (iteração de ponto fixo), valor extrapolado e "
                         "GCI da malha fina com fator de segurança 1,25.\n\n"
                       : "Com duas malhas: extrapolação de Richardson com a ordem formal e fator de segurança 3.\n\n");
    md << "| valor |";
    csv << "valor";
    for (const auto& m : e.malhas) {
        md << " N = " << m.n << " |";
        csv << ",N=" << m.n;
    }
    md << " p | extrapolado | GCI fino (%) | referência | erro na malha mais fina | erro do extrapolado |\n|---|";
    csv << ",p,extrapolado,gci_fino,oscilatoria,referencia,referencia_interpolada";
    for (const auto& m : e.malhas) csv << ",erro_N=" << m.n;
    csv << ",erro_extrapolado\n";
    for (std::size_t k = 0; k < e.malhas.size() + 6; ++k) md << "---|";
    md << "\n";
    bool interpolou = false, oscilou = false;
    for (const auto& l : e.linhas) {
        md << "| " << l.nome << " |";
        csv << l.nome;
        double ultimo = std::numeric_limits<double>::quiet_NaN();
        for (const double v : l.por_malha) {
            md << " " << num(v, 10) << " |";
            csv << "," << num(v, 15);
            if (std::isfinite(v)) ultimo = v;
        }
        const Estimativa& s = l.estimativa;
        const Referencia& r = l.referencia;
        md << " " << (s.valida ? num(s.p, 4) + (s.oscilatoria ? " (osc.)" : "") : "—") << " | "
           << (s.valida ? num(s.extrapolado, 10) : "—") << " | " << (s.valida ? num(100 * s.gci, 3) : "—") << " | "
           << (r.existe ? num(r.valor, 10) + (r.interpolada ? " (interp.)" : "") : "—") << " | "
           << (r.existe ? num(ultimo - r.valor, 3) : "—") << " | "
           << (r.existe && s.valida ? num(s.extrapolado - r.valor, 3) : "—") << " |\n";
        csv << "," << (s.valida ? num(s.p, 15) : "") << "," << (s.valida ? num(s.extrapolado, 15) : "") << ","
            << (s.valida ? num(s.gci, 15) : "") << "," << (s.oscilatoria ? 1 : 0) << ","
            << (r.existe ? num(r.valor, 15) : "") << "," << (r.interpolada ? 1 : 0);
        for (const double v : l.por_malha) csv << "," << (r.existe && std::isfinite(v) ? num(v - r.valor, 15) : "");
        csv << "," << (r.existe && s.valida ? num(s.extrapolado - r.valor, 15) : "") << "\n";
        interpolou = interpolou || r.interpolada;
        oscilou = oscilou || s.oscilatoria;
    }
    md << "\n";
    if (oscilou) md << "(osc.): convergência oscilatória, as diferenças mudam de sinal entre as malhas.\n\n";
    if (interpolou)
        md << "(interp.): a referência foi interpolada linearmente entre dois pontos publicados; os pontos da "
              "malha-base não coincidem com os da tabela.\n\n";
    if (!e.linhas.empty() && e.linhas.front().referencia.existe)
        md << "Referência: " << e.linhas.front().referencia.fonte << ".\n\n";
    for (const auto& a : e.avisos) md << "- aviso: " << a << "\n";
    md << "\n![erro contra a malha](erro.png)\n\n![perfis de u](perfis_u.png)\n\n![perfis de v](perfis_v.png)\n";
    escreve(saida + "/estudo.md", md.str());
    escreve(saida + "/estudo.csv", csv.str());

    // Error against grid size, log-log, with the observed slope of the two finest grids.
    std::ostringstream erro_dat, gp;
    int series = 0;
    gp << "set terminal pngcairo size 900,700 noenhanced font 'sans,11'\nset output 'erro.png'\n"
       << "set encoding utf8\nset logscale xy\nset xlabel 'volumes reais em cada direção (N)'\n"
       << "set ylabel '|erro| contra a referência'\nset grid\nset key outside right\nset title "
       << aspas_gnuplot(utf8_de_latin1(e.caso) + ": erro de discretização") << "\nplot ";
    for (const auto& l : e.linhas) {
        if (!l.referencia.existe || (l.nome.rfind("u(", 0) == 0 || l.nome.rfind("v(", 0) == 0)) continue;
        std::vector<std::pair<int, double>> pts;
        for (std::size_t k = 0; k < e.malhas.size(); ++k)
            if (std::isfinite(l.por_malha[k]) && std::fabs(l.por_malha[k] - l.referencia.valor) > 0)
                pts.push_back({e.malhas[k].n, std::fabs(l.por_malha[k] - l.referencia.valor)});
        if (pts.size() < 2) continue;
        const auto& [n1, e1] = pts[pts.size() - 2];
        const auto& [n2, e2] = pts.back();
        const double inclinacao = std::log(e2 / e1) / std::log(double(n2) / n1);
        erro_dat << "# " << l.nome << "\n";
        for (const auto& [n, er] : pts) erro_dat << n << " " << num(er, 12) << "\n";
        erro_dat << "\n\n";
        gp << (series ? ", " : "") << "'erro.dat' index " << series << " using 1:2 with linespoints lw 2 title "
           << aspas_gnuplot(l.nome + " (inclinação " + num(inclinacao, 3) + ")");
        ++series;
    }
    gp << "\n";
    escreve(saida + "/erro.dat", erro_dat.str());
    if (series > 0) {
        escreve(saida + "/erro.gnu", gp.str());
        executa_programa({"gnuplot", "erro.gnu"}, saida + "/gnuplot.log", saida);
    }

    // The centre-line profiles of every grid over the reference points.
    for (const bool e_u : {true, false}) {
        std::ostringstream p, ref;
        const std::string nome = e_u ? "perfis_u" : "perfis_v";
        p << "set terminal pngcairo size 900,700 noenhanced font 'sans,11'\nset output '" << nome << ".png'\n"
          << "set encoding utf8\nset grid\nset key " << (e_u ? "left top" : "right top") << " box opaque\n"
          << (e_u ? "set xlabel 'u em x = 0,5'\nset ylabel 'y'\n" : "set xlabel 'x'\nset ylabel 'v em y = 0,5'\n")
          << "set title " << aspas_gnuplot(utf8_de_latin1(e.caso) + ": perfis nas linhas centrais") << "\nplot ";
        bool primeiro = true;
        for (const auto& m : e.malhas) {
            if (!m.problema.empty()) continue;
            p << (primeiro ? "" : ", ") << "'malha_" << m.n << "/" << (e_u ? "u.dat" : "v.dat")
              << "' using 1:2 with lines lw 2 title 'N = " << m.n << "'";
            primeiro = false;
        }
        if (e.problema == 1) {
            for (int k = 0; k <= 40; ++k) {
                const double s = k / 40.0;
                ref << (e_u ? num(shih::u(0.5, s), 12) + " " + num(s, 12) : num(s, 12) + " " + num(shih::v(s, 0.5), 12))
                    << "\n";
            }
        } else {
            for (const auto& t : tabelas_ghia())
                if (std::fabs(t.Re - e.Re) < 1e-9)
                    for (const auto& [pos, v] : e_u ? t.u : t.v)
                        ref << (e_u ? num(v, 12) + " " + num(pos, 12) : num(pos, 12) + " " + num(v, 12)) << "\n";
        }
        escreve(saida + "/" + nome + "_ref.dat", ref.str());
        if (!ref.str().empty())
            p << (primeiro ? "" : ", ") << "'" << nome << "_ref.dat' using 1:2 with points pt 7 ps 1.2 lc rgb '#c0392b' title '"
              << (e.problema == 1 ? "solução analítica de Shih" : "Ghia et al. (1982)") << "'";
        p << "\n";
        if (primeiro && ref.str().empty()) continue;
        escreve(saida + "/" + nome + ".gnu", p.str());
        executa_programa({"gnuplot", nome + ".gnu"}, saida + "/gnuplot.log", saida);
    }
}

}  // namespace quelna::estudo
