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
#include "output/escoamento.hpp"
#include "output/saidas.hpp"
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

std::string com_valores(const std::string& texto, const std::vector<std::pair<int, std::string>>& trocas) {
    std::string r;
    std::size_t ini = 0;
    for (int linha = 1; ini <= texto.size(); ++linha) {
        auto fim = texto.find('\n', ini);
        const bool ultima = fim == std::string::npos;
        std::string l = texto.substr(ini, ultima ? std::string::npos : fim - ini);
        for (const auto& [n, valor] : trocas) {
            if (n != linha) continue;
            // The value is the first word after the blanks (or the quoted text); the remark after it stays.
            const auto a = l.find_first_not_of(" \t");
            std::size_t b = l.size();
            if (a != std::string::npos && (l[a] == '\'' || l[a] == '"')) {
                const auto fecha = l.find(l[a], a + 1);
                b = fecha == std::string::npos ? l.size() : fecha + 1;
            } else if (a != std::string::npos) {
                b = l.find_first_of(" \t,/\r", a);
                if (b == std::string::npos) b = l.size();
            }
            const std::size_t antes = a == std::string::npos ? l.size() : a;
            l = l.substr(0, antes) + valor + l.substr(std::max(b, antes));
        }
        r += l;
        if (ultima) break;
        r += '\n';
        ini = fim + 1;
    }
    return r;
}

std::string com_malha(const std::string& texto, int n) {
    return com_valores(texto, {{2, std::to_string(n)}, {3, std::to_string(n)}});
}

ValorDoCaso le_valor_do_caso(const std::string& texto) {
    const auto igual = texto.find('=');
    if (igual == std::string::npos || igual == 0 || igual + 1 == texto.size())
        throw std::invalid_argument("--valor " + texto + ": escreva NOME=VALOR ou NOME=VALOR@N1,N2");
    ValorDoCaso v;
    v.nome = texto.substr(0, igual);
    const auto arroba = texto.find('@', igual);
    v.valor = texto.substr(igual + 1, arroba == std::string::npos ? std::string::npos : arroba - igual - 1);
    if (v.nome == "nx" || v.nome == "ny")
        throw std::invalid_argument("--valor " + texto + ": nx e ny são as malhas do estudo");
    const auto nome = std::find_if(std::begin(nomes_dos_valores), std::end(nomes_dos_valores),
                                   [&](const char* n) { return v.nome == n; });
    if (nome == std::end(nomes_dos_valores))
        throw std::invalid_argument("--valor " + texto + ": \"" + v.nome + "\" não é um valor do arquivo de dados");
    v.linha = static_cast<int>(nome - std::begin(nomes_dos_valores)) + 1;
    if (v.valor.empty()) throw std::invalid_argument("--valor " + texto + ": falta o valor");
    if (arroba != std::string::npos) {
        const std::string lista = texto.substr(arroba + 1);
        for (std::size_t ini = 0; ini <= lista.size();) {
            const auto fim = lista.find(',', ini);
            const std::string n = lista.substr(ini, fim == std::string::npos ? std::string::npos : fim - ini);
            char* resto = nullptr;
            const long m = std::strtol(n.c_str(), &resto, 10);
            if (n.empty() || *resto != '\0' || m < 1 || m > 100000)
                throw std::invalid_argument("--valor " + texto + ": \"" + n + "\" não é uma malha");
            v.malhas.push_back(static_cast<int>(m));
            if (fim == std::string::npos) break;
            ini = fim + 1;
        }
    }
    return v;
}

std::string nome_do_desfecho(DesfechoMalha d) {
    switch (d) {
    case DesfechoMalha::convergiu: return "convergiu";
    case DesfechoMalha::itmax: return "parou em itmax";
    case DesfechoMalha::divergiu: return "divergiu";
    case DesfechoMalha::interrompida: return "interrompida";
    case DesfechoMalha::falhou: return "falhou";
    case DesfechoMalha::nao_rodou: return "não rodou";
    case DesfechoMalha::nao_multipla: return "não é múltipla da malha-base";
    }
    return {};
}

namespace {

// The case text of one grid: its size and the values given for it.
std::string texto_da_malha(const std::string& texto, int n, const std::vector<ValorDoCaso>& valores) {
    std::vector<std::pair<int, std::string>> trocas = {{2, std::to_string(n)}, {3, std::to_string(n)}};
    for (const auto& v : valores) {
        if (!v.malhas.empty() && std::find(v.malhas.begin(), v.malhas.end(), n) == v.malhas.end()) continue;
        trocas.push_back({v.linha, v.valor});
    }
    return com_valores(texto, trocas);
}

// A centre-line profile file of a grid: lines of two numbers, (ue, y) or (x, vn), as (position, value).
std::vector<std::pair<double, double>> le_perfil(const std::string& nome, bool u) {
    std::vector<std::pair<double, double>> p;
    std::istringstream in(le(nome));
    for (double a = 0, b = 0; in >> a >> b;) p.push_back(u ? std::pair{b, a} : std::pair{a, b});
    std::sort(p.begin(), p.end());
    return p;
}

ErroDoPerfil erro_do_perfil(const std::vector<std::pair<double, double>>& perfil,
                            const std::vector<std::pair<double, double>>& estacoes) {
    ErroDoPerfil e;
    if (perfil.size() < 2 || estacoes.empty()) return e;
    double soma = 0.0;
    for (const auto& [pos, ref] : estacoes) {
        const double d = std::fabs(interpola_perfil(perfil, pos) - ref);
        e.maximo = std::max(e.maximo, d);
        soma += d * d;
    }
    e.estacoes = static_cast<int>(estacoes.size());
    e.rms = std::sqrt(soma / e.estacoes);
    return e;
}

}  // namespace

Estudo faz_estudo(const std::string& pasta_caso, std::vector<int> tamanhos, const std::string& saida,
                  const OpcoesExecucao& opcoes, const std::vector<ValorDoCaso>& valores) {
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
    // Each grid's case is read before anything runs: a value given with --valor that the reader
    // refuses stops the study here.
    std::vector<CaseData> casos;
    for (const int n : tamanhos) casos.push_back(le_caso_texto(texto_da_malha(texto, n, valores), arquivo));
    // What --valor gave every grid counts for the study as a whole (its reference included).
    if (!casos.empty()) {
        e.malha_base = casos.back().malha;
        e.problema = casos.back().problema;
        e.Re = casos.back().Re;
        e.beta = casos.back().beta;
    }
    fs::create_directories(saida);
    const std::string raiz = fs::absolute(saida).lexically_normal().string();
    // Every folder is checked before any is deleted.
    for (const int n : tamanhos) confere_pasta_da_malha(raiz + "/malha_" + std::to_string(n), pasta_caso);
    std::vector<std::string> pastas;
    std::vector<std::size_t> indices;
    for (std::size_t k = 0; k < tamanhos.size(); ++k) {
        const int n = tamanhos[k];
        Malha m;
        m.n = n;
        m.pasta = raiz + "/malha_" + std::to_string(n);
        m.tolm = casos[k].tolm;
        if (n < 1 || n % casos[k].malha != 0) {
            m.desfecho = DesfechoMalha::nao_multipla;
            m.problema =
                "a malha " + std::to_string(n) + " não é múltipla da malha-base " + std::to_string(casos[k].malha);
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
        escreve(m.pasta + "/" + arquivo_caso, texto_da_malha(texto, n, valores));
        indices.push_back(e.malhas.size());
        pastas.push_back(m.pasta);
        e.malhas.push_back(m);
    }

    const std::vector<int> estados = roda_casos(pastas, opcoes);
    for (std::size_t k = 0; k < indices.size(); ++k) {
        Malha& m = e.malhas[indices[k]];
        m.estado = estados[k];
        m.valores = le_listagem(le(m.pasta + "/" + base.nome_listagem));
        const std::string nome = "a malha " + std::to_string(m.n);
        const std::string it = std::to_string(m.valores.iteracoes);
        // A run that diverged reports the iteration where it did (a program that merely exits 3 failed).
        if (m.estado == saida_divergiu && m.valores.iteracoes > 0) {
            m.desfecho = DesfechoMalha::divergiu;
            m.problema = nome + " divergiu na iteração " + it + "; seus valores não entram em nenhuma estimativa";
            e.avisos.push_back(m.problema);
        } else if (m.estado == 130 || m.estado == 143) {
            m.desfecho = DesfechoMalha::interrompida;
            m.problema = nome + " foi interrompida na iteração " + it;
            e.avisos.push_back(m.problema);
        } else if (m.estado < 0) {
            m.desfecho = DesfechoMalha::nao_rodou;
            m.problema = "a malha " + std::to_string(m.n) + " não rodou: o quelna ou o motor de execução (" +
                         (opcoes.motor == Motor::local ? std::string("local")
                          : opcoes.motor == Motor::parallel ? std::string("GNU Parallel")
                                                            : std::string("Slurm")) +
                         ") não pôde ser iniciado";
            e.avisos.push_back(m.problema);
        } else if (m.estado != 0 || !m.valores.completa) {
            m.desfecho = DesfechoMalha::falhou;
            m.problema = "a malha " + std::to_string(m.n) + " falhou (saída " + std::to_string(m.estado) +
                         "; veja " + m.pasta + "/quelna.log)";
            e.avisos.push_back(m.problema);
        } else {
            m.desfecho = m.valores.razao <= m.tolm ? DesfechoMalha::convergiu : DesfechoMalha::itmax;
            const auto perfil_u = le_perfil(m.pasta + "/" + arquivo_u, true);
            const auto perfil_v = le_perfil(m.pasta + "/" + arquivo_v, false);
            m.erro_u = erro_do_perfil(perfil_u, estacoes_do_perfil(true, e.problema, e.Re));
            m.erro_v = erro_do_perfil(perfil_v, estacoes_do_perfil(false, e.problema, e.Re));
            // The flow itself: the vortex centres and the extrema of the profiles are values like
            // those of the listing, extrapolated across the grids.
            for (auto& v : le_vortices(le(m.pasta + "/" + arquivo_vortices))) m.valores.valores.push_back(v);
            for (auto& v : extremos_dos_perfis(perfil_u, perfil_v)) m.valores.valores.push_back(v);
            if (e.problema == 1) {
                const auto campos = le_campos_vtk(le(m.pasta + "/" + base.nome_campos));
                for (const char* f : {"u", "v", "p"})
                    if (const auto a = campos.find(std::string("erro_") + f); a != campos.end())
                        m.normas[f] = normas(a->second);
            }
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
            if (std::isfinite(l.por_malha[k])) {
                fina.push_back({e.malhas[k].n, l.por_malha[k]});
                if (e.malhas[k].desfecho == DesfechoMalha::itmax) l.em_itmax.push_back(e.malhas[k].n);
            }
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

std::string nome_problema(const Estudo& e) { return e.problema == 1 ? "Shih" : "Ghia"; }

// The observed order between the two finest grids that have a positive error.
double ordem_observada(const std::vector<std::pair<int, double>>& erros) {
    std::vector<std::pair<int, double>> bons;
    for (const auto& [n, er] : erros)
        if (std::isfinite(er) && er > 0.0) bons.push_back({n, er});
    if (bons.size() < 2) return std::numeric_limits<double>::quiet_NaN();
    const auto [n1, e1] = bons[bons.size() - 2];
    const auto [n2, e2] = bons.back();
    return std::log(e1 / e2) / std::log(double(n2) / n1);
}

bool usada(const Malha& m) { return m.problema.empty(); }

// Runs gnuplot on `script` inside `saida` (so that no path reaches the script) and says whether
// the picture came out. A log with nothing in it is not kept.
bool desenha(const std::string& saida, const std::string& script, const std::string& figura) {
    const std::string log = saida + "/gnuplot.log";
    std::filesystem::remove(saida + "/" + figura);
    executa_programa({"gnuplot", script}, log, saida);
    std::error_code ec;
    if (fs::exists(log, ec) && fs::file_size(log, ec) == 0) fs::remove(log, ec);
    return fs::exists(saida + "/" + figura, ec);
}

// The error of each value against its extrapolated value, and against the reference where one
// exists, over the grid spacing h = 1/N, log-log, with the observed slopes and lines of slope 1
// and 2; the profiles' largest errors against the reference too.
bool figura_do_erro(const Estudo& e, const std::string& saida) {
    struct Serie {
        std::string titulo;
        std::vector<std::pair<double, double>> pontos;  // (h, |error|)
        bool contra_referencia;
    };
    std::vector<Serie> series;
    const auto serie = [&](const std::string& nome, bool contra_ref, const std::vector<std::pair<int, double>>& erros) {
        Serie s{nome, {}, contra_ref};
        for (const auto& [n, er] : erros)
            if (std::isfinite(er) && er > 0.0) s.pontos.push_back({1.0 / n, er});
        if (s.pontos.size() < 2) return;
        const double p = ordem_observada(erros);
        s.titulo += std::string(contra_ref ? " - referência" : " - extrapolado") + " (inclinação " + num(p, 3) + ")";
        series.push_back(s);
    };
    for (const auto& l : e.linhas) {
        if (l.nome.rfind("u(", 0) == 0 || l.nome.rfind("v(", 0) == 0 || l.nome == "tamanho_medio" ||
            valor_do_escoamento(l.nome))
            continue;
        std::vector<std::pair<int, double>> contra_ext, contra_ref;
        for (std::size_t k = 0; k < e.malhas.size(); ++k) {
            const double v = l.por_malha[k];
            if (!std::isfinite(v)) continue;
            if (l.estimativa.valida) contra_ext.push_back({e.malhas[k].n, std::fabs(v - l.estimativa.extrapolado)});
            if (l.referencia.existe) contra_ref.push_back({e.malhas[k].n, std::fabs(v - l.referencia.valor)});
        }
        serie(l.nome, false, contra_ext);
        serie(l.nome, true, contra_ref);
    }
    for (const bool u : {true, false}) {
        std::vector<std::pair<int, double>> erros;
        for (const auto& m : e.malhas)
            if (usada(m) && (u ? m.erro_u : m.erro_v).estacoes > 0) erros.push_back({m.n, (u ? m.erro_u : m.erro_v).maximo});
        serie(u ? "perfil de u, erro máximo" : "perfil de v, erro máximo", true, erros);
    }
    if (series.empty()) return false;

    double hmin = 1e300, hmax = 0.0, eref = 0.0;
    std::ostringstream dados, gp;
    for (const auto& s : series) {
        dados << "# " << s.titulo << "\n";
        for (const auto& [h, er] : s.pontos) {
            dados << num(h, 12) << " " << num(er, 12) << "\n";
            hmin = std::min(hmin, h);
            hmax = std::max(hmax, h);
        }
        dados << "\n\n";
    }
    // The reference lines pass through the geometric mean of the errors on the finest grid.
    double soma_log = 0.0;
    int conta = 0;
    for (const auto& s : series)
        for (const auto& [h, er] : s.pontos)
            if (h == hmin) soma_log += std::log(er), ++conta;
    eref = std::exp(soma_log / std::max(conta, 1));
    escreve(saida + "/erro.dat", dados.str());

    const char* cores[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e", "#17becf", "#8c564b", "#e377c2",
                           "#7f7f7f", "#bcbd22"};
    gp << "set terminal pngcairo size 1400,800 enhanced font 'sans,11'\nset output 'erro.png'\nset encoding utf8\n"
       << "set logscale xy\nset format y '10^{%L}'\n"
       << "set xrange [" << num(hmin / 1.4, 6) << ":" << num(hmax * 1.4, 6) << "]\n";
    // The grids themselves mark the x axis: their spacings seldom span a power of ten.
    gp << "set xtics (";
    bool primeira = true;
    for (const auto& m : e.malhas)
        if (usada(m)) gp << (primeira ? "" : ", ") << "'1/" << m.n << "' " << num(1.0 / m.n, 12), primeira = false;
    gp << ")\n"
       << "set xlabel 'espaçamento da malha h = 1/N'\nset ylabel '|erro|'\nset grid\n"
       << "set lmargin at screen 0.07\nset rmargin at screen 0.60\n"
       << "set key outside right top Left reverse noenhanced samplen 3 spacing 1.1\n"
       << "set title " << aspas_gnuplot(utf8_de_latin1(e.caso) + ": convergência com a malha (cheio: contra o valor "
                                                   "extrapolado; vazio e tracejado: contra a referência)")
       << " noenhanced\n";
    gp << "plot ";
    int valor = -1;
    std::string anterior;
    for (std::size_t k = 0; k < series.size(); ++k) {
        const Serie& s = series[k];
        const std::string nome = s.titulo.substr(0, s.titulo.find(" - "));
        if (nome != anterior) ++valor, anterior = nome;
        const int ponto = 4 + 2 * (valor % 6);  // filled squares, circles, triangles...; the next type is the open one
        gp << (k ? ", \\\n     " : "") << "'erro.dat' index " << k << " using 1:2 with linespoints lw 2 lc rgb '"
           << cores[valor % 10] << "' pt " << (s.contra_referencia ? ponto : ponto + 1) << " ps 1.3"
           << (s.contra_referencia ? " dt 2" : "") << " title " << aspas_gnuplot(s.titulo);
    }
    gp << ", \\\n     " << num(eref, 12) << "*(x/" << num(hmin, 12) << ") with lines lw 1 lc rgb 'black' dt 3 title 'inclinação 1'"
       << ", \\\n     " << num(eref, 12) << "*(x/" << num(hmin, 12)
       << ")**2 with lines lw 1 lc rgb 'black' dt 4 title 'inclinação 2'\n";
    escreve(saida + "/erro.gnu", gp.str());
    return desenha(saida, "erro.gnu", "erro.png");
}

constexpr const char* nomes_das_normas[] = {"max", "L1", "L2"};

// A grid's norm (0 max, 1 L1, 2 L2) of the error of field f, NaN where it has none.
double norma_da_malha(const Malha& m, const char* f, int tipo) {
    const auto n = m.normas.find(f);
    if (n == m.normas.end()) return std::numeric_limits<double>::quiet_NaN();
    return tipo == 0 ? n->second.maximo : tipo == 1 ? n->second.l1 : n->second.l2;
}

// The norms of the Shih error over the field against the grid spacing, log-log, with their
// observed orders.
bool figura_das_normas(const Estudo& e, const std::string& saida) {
    std::ostringstream dados, gp;
    int series = 0;
    gp << "set terminal pngcairo size 1100,700 enhanced font 'sans,11'\nset output 'normas.png'\nset encoding utf8\n"
       << "set logscale xy\nset format y '10^{%L}'\nset grid\nset key outside right top Left reverse noenhanced\n"
       << "set xlabel 'espaçamento da malha h = 1/N'\nset ylabel 'norma do erro'\n"
       << "set title " << aspas_gnuplot(utf8_de_latin1(e.caso) + ": normas do erro em todo o campo (solução de Shih)")
       << " noenhanced\nset xtics (";
    bool primeira = true;
    double hmin = 1e300, hmax = 0.0;
    for (const auto& m : e.malhas)
        if (usada(m) && !m.normas.empty()) {
            gp << (primeira ? "" : ", ") << "'1/" << m.n << "' " << num(1.0 / m.n, 12), primeira = false;
            hmin = std::min(hmin, 1.0 / m.n);
            hmax = std::max(hmax, 1.0 / m.n);
        }
    gp << ")\n";
    if (hmax > 0.0) gp << "set xrange [" << num(hmin / 1.4, 6) << ":" << num(hmax * 1.4, 6) << "]\n";
    gp << "plot ";
    const char* cores[] = {"#1f77b4", "#d62728", "#2ca02c"};
    int cor = 0;
    for (const char* f : {"u", "v", "p"}) {
        for (int tipo = 0; tipo < 3; ++tipo) {
            const char* norma = nomes_das_normas[tipo];
            std::vector<std::pair<int, double>> erros;
            for (const auto& m : e.malhas)
                if (const double v = norma_da_malha(m, f, tipo); usada(m) && std::isfinite(v)) erros.push_back({m.n, v});
            if (erros.size() >= 2) {
                dados << "# " << f << " " << norma << "\n";
                for (const auto& [n, er] : erros) dados << num(1.0 / n, 12) << " " << num(er, 12) << "\n";
                dados << "\n\n";
                gp << (series ? ", \\\n     " : "") << "'normas.dat' index " << series << " using 1:2 with linespoints lw 2 lc rgb '"
                   << cores[cor] << "' dt " << tipo + 1 << " pt " << 5 + 2 * tipo << " ps 1.3 title "
                   << aspas_gnuplot(std::string(f) + ", norma " + norma + " (ordem " + num(ordem_observada(erros), 3) + ")");
                ++series;
            }
        }
        ++cor;
    }
    if (series == 0) return false;
    gp << "\n";
    escreve(saida + "/normas.dat", dados.str());
    escreve(saida + "/normas.gnu", gp.str());
    return desenha(saida, "normas.gnu", "normas.png");
}

// The centre-line profiles of every grid over the reference points.
bool figura_dos_perfis(const Estudo& e, const std::string& saida, bool e_u) {
    std::ostringstream p, ref;
    const std::string nome = e_u ? "perfis_u" : "perfis_v";
    p << "set terminal pngcairo size 900,700 noenhanced font 'sans,11'\nset output '" << nome << ".png'\n"
      << "set encoding utf8\nset grid\nset key " << (e_u ? "left top" : "right top") << " box opaque\n"
      << (e_u ? "set xlabel 'u em x = 0,5'\nset ylabel 'y'\n" : "set xlabel 'x'\nset ylabel 'v em y = 0,5'\n")
      << "set title " << aspas_gnuplot(utf8_de_latin1(e.caso) + ": perfis nas linhas centrais") << "\nplot ";
    bool primeiro = true;
    for (const auto& m : e.malhas) {
        if (!usada(m)) continue;
        p << (primeiro ? "" : ", ") << "'malha_" << m.n << "/" << (e_u ? arquivo_u : arquivo_v)
          << "' using 1:2 with lines lw 2 title 'N = " << m.n << "'";
        primeiro = false;
    }
    if (e.problema == 1) {
        for (int k = 0; k <= 40; ++k) {
            const double s = k / 40.0;
            ref << (e_u ? num(shih::u(0.5, s), 12) + " " + num(s, 12) : num(s, 12) + " " + num(shih::v(s, 0.5), 12)) << "\n";
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
    if (primeiro && ref.str().empty()) return false;
    escreve(saida + "/" + nome + ".gnu", p.str());
    return desenha(saida, nome + ".gnu", nome + ".png");
}

}  // namespace

std::vector<std::string> escreve_relatorio(const Estudo& e, const std::string& saida) {
    std::vector<std::string> figuras;
    if (figura_do_erro(e, saida)) figuras.push_back("erro.png");
    if (figura_dos_perfis(e, saida, true)) figuras.push_back("perfis_u.png");
    if (figura_dos_perfis(e, saida, false)) figuras.push_back("perfis_v.png");
    if (figura_das_normas(e, saida)) figuras.push_back("normas.png");

    std::ostringstream md, csv;
    md << "# Estudo de convergência de malha: " << utf8_de_latin1(e.caso) << "\n\n";
    md << "- título: " << utf8_de_latin1(e.titulo) << "\n";
    md << "- problema: " << nome_problema(e) << ", Re = " << num(e.Re) << ", beta = " << num(e.beta)
       << " (ordem formal " << (e.beta == 1.0 ? 2 : 1) << "), malha-base " << e.malha_base << "\n\n";

    // What each grid did.
    md << "| N | desfecho | iterações | resíduo final | tolm | segundos |\n|---|---|---|---|---|---|\n";
    for (const auto& m : e.malhas) {
        const bool rodou = m.desfecho != DesfechoMalha::nao_multipla && m.desfecho != DesfechoMalha::nao_rodou;
        md << "| " << m.n << " | " << nome_do_desfecho(m.desfecho) << " | "
           << (rodou && m.valores.iteracoes > 0 ? std::to_string(m.valores.iteracoes) : "—") << " | "
           << (rodou && m.valores.iteracoes > 0 ? real_e(m.valores.razao, 1, 3) : "—") << " | " << real_e(m.tolm, 1, 1)
           << " | " << (rodou && std::isfinite(m.valores.segundos) ? fixo(m.valores.segundos, 1, 2) : "—") << " |\n";
    }
    md << "\n";
    bool em_itmax = false;
    for (const auto& m : e.malhas) em_itmax = em_itmax || m.desfecho == DesfechoMalha::itmax;
    if (em_itmax)
        md << "Uma malha que parou em itmax com o resíduo acima de tolm entra nas estimativas, marcada com (itmax) em "
              "cada linha que a usa: o erro de iteração dela pode ser do tamanho do erro de discretização.\n\n";
    for (const auto& m : e.malhas)
        if (m.n % 2 == 1 && usada(m))
            md << "A malha " << m.n << " tem um número ímpar de volumes: os perfis e os valores das linhas centrais "
               << "ficam meio volume antes do centro, em x = " << num(0.5 - 0.5 / m.n, 6) << " (u) e y = "
               << num(0.5 - 0.5 / m.n, 6) << " (v), e são comparados com as referências em 0,5 assim mesmo.\n\n";

    const int usadas = static_cast<int>(std::count_if(e.malhas.begin(), e.malhas.end(), usada));
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
    csv << ",erro_extrapolado,malhas_em_itmax\n";
    for (std::size_t k = 0; k < e.malhas.size() + 6; ++k) md << "---|";
    md << "\n";
    // What each grid did, as rows of the table of values.
    const auto linha_das_malhas = [&](const char* nome, auto valor) {
        csv << nome;
        for (const auto& m : e.malhas) csv << "," << valor(m);
        csv << std::string(8 + e.malhas.size(), ',') << "\n";
    };
    linha_das_malhas("desfecho", [](const Malha& m) { return nome_do_desfecho(m.desfecho); });
    linha_das_malhas("iteracoes", [](const Malha& m) { return std::to_string(m.valores.iteracoes); });
    linha_das_malhas("razao_final", [](const Malha& m) { return num(m.valores.razao, 15); });
    linha_das_malhas("segundos", [](const Malha& m) { return num(m.valores.segundos, 15); });

    bool oscilou = false;
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
        const std::string marca = l.em_itmax.empty() ? "" : " (itmax)";
        md << " " << (s.valida ? num(s.p, 4) + (s.oscilatoria ? " (osc.)" : "") + marca : "—") << " | "
           << (s.valida ? num(s.extrapolado, 10) : "—") << " | " << (s.valida ? num(100 * s.gci, 3) : "—") << " | "
           << (r.existe ? num(r.valor, 10) : "—") << " | " << (r.existe ? num(ultimo - r.valor, 3) : "—") << " | "
           << (r.existe && s.valida ? num(s.extrapolado - r.valor, 3) : "—") << " |\n";
        csv << "," << (s.valida ? num(s.p, 15) : "") << "," << (s.valida ? num(s.extrapolado, 15) : "") << ","
            << (s.valida ? num(s.gci, 15) : "") << "," << (s.oscilatoria ? 1 : 0) << ","
            << (r.existe ? num(r.valor, 15) : "") << "," << (r.interpolada ? 1 : 0);
        for (const double v : l.por_malha) csv << "," << (r.existe && std::isfinite(v) ? num(v - r.valor, 15) : "");
        csv << "," << (r.existe && s.valida ? num(s.extrapolado - r.valor, 15) : "") << ",";
        for (std::size_t k = 0; k < l.em_itmax.size(); ++k) csv << (k ? ";" : "") << l.em_itmax[k];
        csv << "\n";
        oscilou = oscilou || s.oscilatoria;
    }
    md << "\n";
    if (oscilou) md << "(osc.): convergência oscilatória, as diferenças mudam de sinal entre as malhas.\n\n";

    // One row of errors per grid with their observed order, in estudo.md and estudo.csv.
    const auto linha_de_erros = [&](const std::string& rotulo, const std::string& nome, auto valor_da_malha) {
        std::vector<std::pair<int, double>> erros;
        md << "| " << rotulo << " |";
        csv << nome;
        for (const auto& m : e.malhas) {
            const double v = usada(m) ? valor_da_malha(m) : std::numeric_limits<double>::quiet_NaN();
            if (std::isfinite(v)) erros.push_back({m.n, v});
            md << " " << num(v, 4) << " |";
            csv << "," << num(v, 15);
        }
        const double p = ordem_observada(erros);
        md << " " << num(p, 3) << " |\n";
        csv << "," << (std::isfinite(p) ? num(p, 15) : "") << std::string(7 + e.malhas.size(), ',') << "\n";
    };

    // The profiles at the reference's own stations.
    const auto estacoes_u = estacoes_do_perfil(true, e.problema, e.Re), estacoes_v = estacoes_do_perfil(false, e.problema, e.Re);
    if (!estacoes_u.empty() && usadas > 0) {
        md << "Erro dos perfis nas estações da referência (o perfil de cada malha, u.dat e v.dat, interpolado por uma "
              "cúbica nos quatro valores mais próximos de cada estação; " << estacoes_u.size() << " estações de u, "
           << estacoes_v.size() << " de v, sem as paredes):\n\n| perfil |";
        for (const auto& m : e.malhas) md << " N = " << m.n << " |";
        md << " ordem observada |\n|---|";
        for (std::size_t k = 0; k <= e.malhas.size(); ++k) md << "---|";
        md << "\n";
        for (const bool u : {true, false})
            for (const bool maximo : {true, false})
                linha_de_erros(std::string(u ? "u" : "v") + ", erro " + (maximo ? "máximo" : "RMS"),
                               std::string(u ? "perfil_u" : "perfil_v") + (maximo ? "_max" : "_rms"),
                               [&](const Malha& m) {
                                   const ErroDoPerfil& ep = u ? m.erro_u : m.erro_v;
                                   return ep.estacoes > 0 ? (maximo ? ep.maximo : ep.rms)
                                                          : std::numeric_limits<double>::quiet_NaN();
                               });
        md << "\n";
    }
    // The norms of the Shih error over the whole field.
    bool ha_normas = false;
    for (const auto& m : e.malhas) ha_normas = ha_normas || (usada(m) && !m.normas.empty());
    if (ha_normas) {
        md << "Normas do erro em todo o campo, sobre os volumes reais (do arquivo de campos de cada malha; p relativa à "
              "sua média; L1 e L2 são a média de |erro| e a raiz da média de erro²):\n\n| erro | norma |";
        for (const auto& m : e.malhas) md << " N = " << m.n << " |";
        md << " ordem observada |\n|---|---|";
        for (std::size_t k = 0; k <= e.malhas.size(); ++k) md << "---|";
        md << "\n";
        for (const char* f : {"u", "v", "p"})
            for (const int tipo : {0, 1, 2})
                linha_de_erros(std::string(f) + " | " + nomes_das_normas[tipo],
                               std::string("norma_") + f + "_" + nomes_das_normas[tipo],
                               [&](const Malha& m) { return norma_da_malha(m, f, tipo); });
        md << "\n";
    }
    bool ha_vortices = false;
    for (const auto& l : e.linhas) ha_vortices = ha_vortices || l.nome == "x_primario";
    if (e.problema != 1 && ha_vortices)
        md << "Os centros dos vórtices de cada malha vêm de vortices.dat: o extremo de psi nos nós, deslocado pela "
              "quadrática nos 3 x 3 nós em volta. As posições da tabela V de Ghia et al. são as de nós de malhas de "
              "espaçamento 1/128 a 1/256: elas não decidem uma diferença menor que cerca de 0,004.\n\n";
    if (e.problema != 1)
        for (const auto& x : entradas_suspeitas())
            if (x.Re == static_cast<int>(e.Re))
                md << "Deixada de fora das comparações: " << x.motivo << ".\n\n";
    if (e.problema != 1)
        md << "As posições e os valores de Ghia et al. vêm de uma solução numérica em malha de 129 x 129 (espaçamento "
              "1/128): uma concordância melhor que cerca de 1e-3 não pode ser mostrada por ela.\n\n";

    std::set<std::string> fontes;
    for (const auto& l : e.linhas)
        if (l.referencia.existe) fontes.insert(l.referencia.fonte);
    for (const auto& f : fontes) md << "Referência: " << f << ".\n";
    if (!fontes.empty()) md << "\n";
    for (const auto& a : e.avisos) md << "- aviso: " << a << "\n";
    if (!e.avisos.empty()) md << "\n";
    const std::pair<const char*, const char*> legendas[] = {
        {"erro.png", "erro contra a malha"}, {"perfis_u.png", "perfis de u"}, {"perfis_v.png", "perfis de v"},
        {"normas.png", "normas do erro (Shih)"}};
    for (const auto& [figura, legenda] : legendas)
        if (std::find(figuras.begin(), figuras.end(), figura) != figuras.end())
            md << "![" << legenda << "](" << figura << ")\n\n";
    escreve(saida + "/estudo.md", md.str());
    escreve(saida + "/estudo.csv", csv.str());
    return figuras;
}

}  // namespace quelna::estudo
