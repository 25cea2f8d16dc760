// The fast forms of the plinha assembly (the same loop, built for the wider registers) and of the
// velocity corrections (the volumes of a row as many at a time as the lanes hold).
#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"
#include "vetor/faixas.hpp"

namespace quelna {

void coeficientes_plinha(const CaseData& caso, Campos& c) {
    const auto corpo = [](auto, const CaseData& caso, Campos& c, int ja, int jb)
                           __attribute__((always_inline)) { formulas::linhas_de_plinha(caso, c, ja, jb); };
    na_traducao_por_linhas(2, caso.ny - 1, caso.nx, literal::coeficientes_plinha, corpo, caso, c);
}

void corrige_uv(const CaseData& caso, Campos& c) {
    const auto corpo = [](auto lanes, const CaseData& caso, Campos& c, int ja, int jb) __attribute__((always_inline)) {
        using V = typename decltype(lanes)::tipo;
        const int nx = caso.nx;
        const double* pl = c.plinha.data();
        double* u = c.u.data();
        double* v = c.v.data();
        for (int j = ja; j <= jb; ++j)
            detalhe::ao_longo<V>((j - 1) * nx + 2, j * nx - 1, [&](auto l, int P) __attribute__((always_inline)) {
                using T = typename decltype(l)::tipo;
                detalhe::guarda(u + P, formulas::corrigida_no_no<T>(u, pl, P, 1, caso.dt, caso.dx));
                detalhe::guarda(v + P, formulas::corrigida_no_no<T>(v, pl, P, nx, caso.dt, caso.dy));
            });
    };
    if (traducao() == Traducao::literal) return literal::corrige_uv(caso, c);
    por_linhas(2, caso.ny - 1, caso.nx, [&](int ja, int jb) { nas_larguras(corpo, caso, c, ja, jb); });
    velocidades_ficticias(caso, c);
}

void corrige_face(const CaseData& caso, Campos& c) {
    const auto corpo = [](auto lanes, const CaseData& caso, Campos& c, int ja, int jb) __attribute__((always_inline)) {
        using V = typename decltype(lanes)::tipo;
        const int nx = caso.nx, ny = caso.ny;
        const double* pl = c.plinha.data();
        double* ue = c.ue.data();
        double* vn = c.vn.data();
        for (int j = ja; j <= jb; ++j)
            detalhe::ao_longo<V>((j - 1) * nx + 2, j * nx - 2, [&](auto l, int P) __attribute__((always_inline)) {
                using T = typename decltype(l)::tipo;
                detalhe::guarda(ue + P, formulas::corrigida_na_face<T>(ue, pl, P, 1, caso.dt, caso.dx));
            });
        for (int j = ja; j <= jb && j <= ny - 2; ++j)
            detalhe::ao_longo<V>((j - 1) * nx + 2, j * nx - 1, [&](auto l, int P) __attribute__((always_inline)) {
                using T = typename decltype(l)::tipo;
                detalhe::guarda(vn + P, formulas::corrigida_na_face<T>(vn, pl, P, nx, caso.dt, caso.dy));
            });
    };
    na_traducao_por_linhas(2, caso.ny - 1, caso.nx, literal::corrige_face, corpo, caso, c);
}

}  // namespace quelna
