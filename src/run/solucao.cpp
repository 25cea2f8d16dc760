#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "discretization/equacoes.hpp"
#include "output/escoamento.hpp"
#include "output/saidas.hpp"
#include "platform/comando.hpp"
#include "platform/formato.hpp"
#include "platform/processo.hpp"
#include "platform/sinais.hpp"
#include "run/execucao.hpp"
#include "run/norma.hpp"
#include "run/prova_da_equipe.hpp"
#include "solvers/solvers.hpp"
#include "vetor/faixas.hpp"

namespace quelna {

namespace {

// Progress of a long run on one self-rewriting line of standard error, on a terminal only,
// replaced at the end of the cycle by the verdict.
class Progresso {
public:
    explicit Progresso(int itmax) : ativo_(erro_no_terminal()), itmax_(itmax) {}
    void mostra(int it, double razao, double tolm, double segundos) {
        estima(it, razao, segundos);
        if (!ativo_ || segundos < proximo_) return;
        proximo_ = segundos + 0.25;
        std::string falta;
        if (queda_ > 0.0 && std::isfinite(razao) && razao > tolm) {
            // The ratio falls about geometrically: the iterations to tolm at the recent rate.
            const double faltam_it = std::min(std::log(razao / tolm) / queda_, double(itmax_ - it));
            falta = "   faltam ~" + fixo(faltam_it * segundos / it, 1, 0) + " s";
        }
        std::fprintf(stderr, "\r  iteração %d/%d   resíduo %s   %.1f s%s\033[K", it, itmax_,
                     real_e(razao, 1, 3).c_str(), segundos, falta.c_str());
        std::fflush(stderr);
        escrito_ = true;
    }
    // The verdict on the line of the progress (a diverged run says so on a line of its own).
    void conclui(const std::string& linha, bool divergiu) {
        if (ativo_ && escrito_) std::fputs("\r\033[K", stderr);
        if (ativo_ && !divergiu) std::fprintf(stderr, "quelna: %s\n", linha.c_str());
        std::fflush(stderr);
        escrito_ = false;
    }
    ~Progresso() {
        if (escrito_) std::fputs("\r\033[K", stderr);
    }

private:
    // The rate of fall of log(ratio) per iteration, over the last stretch of about a second.
    void estima(int it, double razao, double segundos) {
        if (!(razao > 0.0) || !std::isfinite(razao)) return;
        if (it_base_ == 0 || segundos - t_base_ > 1.0) {
            if (it_base_ != 0 && it > it_base_) queda_ = std::log(razao_base_ / razao) / (it - it_base_);
            it_base_ = it;
            razao_base_ = razao;
            t_base_ = segundos;
        }
    }

    bool ativo_;
    int itmax_;
    bool escrito_ = false;
    double proximo_ = 0.5;
    int it_base_ = 0;
    double razao_base_ = 0.0, t_base_ = 0.0, queda_ = 0.0;
};

// The matrix a solve is given: its own, the one of the solve before (v's is u's), or the pressure
// correction's, the same in every call.
enum class Matriz { nova, anterior, fixa };

void resolve_sistema(const CaseData& caso, Campos& c, Campo& x, int nit, double tol, Trabalho& t,
                     Matriz m = Matriz::nova) {
    const Controles k{.nit = nit, .tol = tol, .w = caso.w, .matriz_fixa = m == Matriz::fixa,
                      .matriz_anterior = m == Matriz::anterior};
    resolve(caso.solver, Sistema{caso.nx, caso.ny, caso.N, c.a.data(), c.bp.data()}, k, x.data(), t);
}

// The next time step starts from the fields of this one, copied by rows on the threads that
// computed them.
void proximo_passo(const CaseData& caso, Campos& c) {
    const int nx = caso.nx;
    const std::pair<const Campo*, Campo*> pares[] = {{&c.u, &c.u0}, {&c.v, &c.v0}, {&c.ue, &c.ue0}, {&c.vn, &c.vn0}};
    por_linhas(1, caso.ny, nx, [&](int ja, int jb) {
        const int de = (ja - 1) * nx + 1, ate = jb * nx + 1;
        for (const auto& [f, f0] : pares) std::copy(f->begin() + de, f->begin() + ate, f0->begin() + de);
    });
    for (const auto& [f, f0] : pares) (*f0)[0] = (*f)[0];
}

bool reportada(const CaseData& caso, int it, double razao) {
    return it == 1 || (caso.freq >= 1 && it % caso.freq == 0) || it == caso.itmax || razao <= caso.tolm;
}

}  // namespace

std::string cabecalho_iteracoes() {
    std::string s;
    na_coluna(s, 1, latin1("Iteração"));
    na_coluna(s, 12, "fluxo de massa em x=0.5");
    na_coluna(s, 38, latin1("força"));
    na_coluna(s, 62, "u central");
    na_coluna(s, 86, "v central");
    na_coluna(s, 110, "p central");
    return s;
}

std::string linha_de_residuo(int it, double razao) { return "  " + inteiro(it, 8) + real_curto(razao); }

std::string linha_de_iteracao(int it, const Resultados& r) {
    return inteiro(it, 8) + "  " + real_longo(r.fluxo_x05) + real_longo(r.forca_uds2) + real_longo(r.u_central) +
           real_longo(r.v_central) + real_longo(r.p_central);
}

std::string veredito(const CaseData& caso, const EstadoCiclo& e) {
    const std::string razao = real_e(e.razao, 1, 6), segundos = fixo(e.tempo, 1, 2) + " s";
    const std::string it = std::to_string(e.iteracoes);
    switch (e.desfecho) {
    case Desfecho::convergiu:
        return "convergiu na iteração " + it + ": resíduo " + razao + " <= tolm " + real_e(caso.tolm, 1, 6) + ", " +
               segundos;
    case Desfecho::interrompido: return "interrompida na iteração " + it + ", resíduo " + razao + ", " + segundos;
    case Desfecho::divergiu:
        return "a solução divergiu na iteração " + it + " (resíduo " + razao +
               "); os resultados gravados são os campos dessa iteração, " + segundos;
    case Desfecho::itmax: break;
    }
    return "parou em itmax = " + std::to_string(caso.itmax) + " com resíduo " + razao + " (tolm " +
           real_e(caso.tolm, 1, 6) + "), " + segundos;
}

EstadoCiclo ciclo(const CaseData& caso, Campos& c, Trabalho& t, ArquivoTexto& listagem, ArquivoTexto& iteracoes,
                  ArquivoTexto& r_dat) {
    EstadoCiclo e;
    const int nx = caso.nx, ny = caso.ny, N = caso.N;
    Progresso progresso(caso.itmax);
    const double zero = relogio_parede();
    ProvaDaEquipe prova(equipe_atual(), equipe_a_provar(), solver_com_parceiro(caso.solver), por_linhas_divide(ny, nx));

    for (int it = 1; it <= caso.itmax; ++it) {
        const Escolha escolha = prova.para(it);
        const ComEquipe nesta(escolha.equipe, false, minimo_para_dividir(), escolha.parceiro);
        const double inicio = relogio_parede();
        double residuo = 0.0;

        coeficientes_uv(caso, c);
        termo_fonte_u(caso, c);
        contorno_u(caso, c);
        resolve_sistema(caso, c, c.u, caso.nit_uv, caso.tol_uv, t);
        norma(nx, ny, N, c.a.data(), c.bp.data(), c.u.data(), residuo);

        // The v equation shares the coefficients of the real rows with u, and its walls' rows are
        // written again with the same values: its matrix is u's.
        termo_fonte_v(caso, c);
        contorno_v(caso, c);
        resolve_sistema(caso, c, c.v, caso.nit_uv, caso.tol_uv, t, Matriz::anterior);
        norma(nx, ny, N, c.a.data(), c.bp.data(), c.v.data(), residuo);

        velocidades_face(caso, c);

        for (int passo = 1; passo <= caso.nmassa; ++passo) {
            coeficientes_plinha(caso, c);
            contorno_plinha(caso, c);
            // The pressure correction's matrix depends on the grid and dt alone.
            resolve_sistema(caso, c, c.plinha, caso.nit_p, caso.tol_p, t, Matriz::fixa);
            corrige_p(caso, c);
            corrige_uv(caso, c);
            corrige_face(caso, c);
        }
        norma(nx, ny, N, c.a.data(), c.bp.data(), c.plinha.data(), residuo);
        prova.mede(it, relogio_parede() - inicio);

        if (it == 1) e.residuo_1 = residuo;
        const double razao = residuo / e.residuo_1;
        e.iteracoes = it;
        e.razao = razao;

        // An interrupted or diverged run ends here as if this were the last iteration.
        const bool interrompido = sinal_recebido() != 0;
        const bool divergiu = !std::isfinite(residuo);
        if (reportada(caso, it, razao) || interrompido || divergiu) {
            const std::string linha = linha_de_residuo(it, razao);
            listagem.linha(linha);
            r_dat.linha(linha);
            e.ultimos = resultados(caso, c);
            iteracoes.linha(linha_de_iteracao(it, e.ultimos));
            listagem.descarrega();
            r_dat.descarrega();
            iteracoes.descarrega();
        }
        progresso.mostra(it, razao, caso.tolm, relogio_parede() - zero);

        if (divergiu) e.desfecho = Desfecho::divergiu;
        else if (razao <= caso.tolm) e.desfecho = Desfecho::convergiu;
        else if (interrompido) e.desfecho = Desfecho::interrompido;
        if (razao <= caso.tolm || interrompido || divergiu) break;

        proximo_passo(caso, c);
    }
    e.tempo = relogio_parede() - zero;
    progresso.conclui(veredito(caso, e), e.desfecho == Desfecho::divergiu);
    return e;
}

EstadoCiclo solucao(const CaseData& caso, Campos& c, Trabalho& t, ArquivoTexto& listagem, const Cabecalho& cab) {
    ArquivoTexto iteracoes(caso.nome_iteracoes);
    iteracoes.linha(cabecalho_iteracoes());
    iteracoes.descarrega();
    ArquivoTexto r_dat(arquivo_r);

    listagem.vazia();
    listagem.vazia();
    std::string cabeca;
    na_coluna(cabeca, 3, latin1("Iteração"));
    na_coluna(cabeca, 14, latin1("Norma L1 dos resíduos / norma na iteração 1"));
    listagem.linha(cabeca);
    listagem.vazia();

    const EstadoCiclo e = ciclo(caso, c, t, listagem, iteracoes, r_dat);
    // A diverged run says so in batch runs too, before the outputs of its fields follow.
    if (e.desfecho == Desfecho::divergiu) std::fprintf(stderr, "quelna: %s\n", veredito(caso, e).c_str());

    listagem.vazia();
    listagem.linha(latin1("     Norma L1 dos resíduos na iteração 1 =") + real_curto(e.residuo_1));
    r_dat.fecha();
    grafico_r(cab.titulo_grafico);
    libera_campos_do_ciclo(c);

    perfil_u(caso, c, listagem, cab.titulo_grafico);
    perfil_v(caso, c, listagem, cab.titulo_grafico);
    funcao_corrente(caso, c);
    if (caso.campos == 1) lista_campos(caso, c, listagem);
    const double minimo = psi_min(caso, c);
    lista_psi_min(minimo, listagem);
    u_interesse(caso, c, listagem);
    v_interesse(caso, c, listagem);
    lista_resultados(caso, e.ultimos, minimo, listagem);

    listagem.vazia();
    listagem.vazia();
    listagem.linha(fixo(e.tempo, 14, 2) + " = tempo de processamento (s)");
    // The listing is whole; what shows the flow itself follows it.
    listagem.descarrega();
    escoamento(caso, c, cab.titulo_grafico);

    iteracoes.fecha();
    // Padded to 70 characters, never cut: a name of many-byte characters may be longer.
    const std::string visor = "notepad " + caso.nome_iteracoes;
    const std::string comando = ajusta(visor, std::max<std::size_t>(70, visor.size()));
    const int estado = executar_comando(comando, static_cast<int>(comando.size()));
    (void)estado;
    return e;
}

}  // namespace quelna
