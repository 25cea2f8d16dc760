#include "discretization/equacoes.hpp"
#include "discretization/formulas.hpp"
#include "vetor/processador.hpp"
#include "vetor/vetor.hpp"

namespace quelna {

namespace {

using namespace formulas;

// Neither pass reads a face velocity it computes, so the volumes go row by row, in the order they
// lie in memory, L faces of a row at a time and the rest one by one.
template <typename V>
__attribute__((always_inline)) inline void faces(const CaseData& caso, Campos& c) {
    constexpr int L = sizeof(V) / sizeof(double);
    const int nx = caso.nx, ny = caso.ny;
    for (int j = 2; j <= ny - 1; ++j) {
        const int linha = (j - 1) * nx;
        int i = 2;
        for (; i + L - 1 <= nx - 2; i += L) detalhe::guarda(&c.ue[linha + i], ue_da_face<V>(caso, c, linha + i));
        for (; i <= nx - 2; ++i) c.ue[linha + i] = ue_da_face<double>(caso, c, linha + i);
    }
    for (int j = 2; j <= ny - 2; ++j) {
        const int linha = (j - 1) * nx;
        int i = 2;
        for (; i + L - 1 <= nx - 1; i += L) detalhe::guarda(&c.vn[linha + i], vn_da_face<V>(caso, c, linha + i));
        for (; i <= nx - 1; ++i) c.vn[linha + i] = vn_da_face<double>(caso, c, linha + i);
    }
}

void faces_sse2(const CaseData& caso, Campos& c) { faces<detalhe::par>(caso, c); }
QUELNA_AVX512 void faces_avx512(const CaseData& caso, Campos& c) { faces<detalhe::oito>(caso, c); }

}  // namespace

void velocidades_face(const CaseData& caso, Campos& c) {
    (usa_avx512() ? faces_avx512 : faces_sse2)(caso, c);
}

}  // namespace quelna
