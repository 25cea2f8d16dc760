#include "run/resultados.hpp"

#include <cmath>
#include <iterator>

#include "discretization/equacoes.hpp"
#include "platform/formato.hpp"

namespace quelna {

Resultados resultados(const CaseData& caso, const Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const int ic = nx / 2, jc = ny / 2;
    const double dx = caso.dx, dy = caso.dy, mi = caso.mi;
    const auto P = [nx](int i, int j) { return (j - 1) * nx + i; };
    Resultados r;

    r.u_central = 0.5 * (c.ue[P(ic, jc)] + c.ue[P(ic, jc + 1)]);
    r.v_central = 0.5 * (c.vn[P(ic, jc)] + c.vn[P(ic + 1, jc)]);
    r.p_central = 0.25 * (c.p[P(ic, jc)] + c.p[P(ic + 1, jc)] + c.p[P(ic, jc + 1)] + c.p[P(ic + 1, jc + 1)]);

    // Only what flows east through x = 0.5 counts; a face velocity that is not a number makes
    // the flux one too.
    for (int j = 2; j <= ny - 1; ++j)
        if (!(c.ue[P(ic, j)] <= 0.0)) r.fluxo_x05 += dy * c.ue[P(ic, j)];

    // Shear on the lid: second-order (UDS-2) and first-order (UDS) one-sided wall derivatives
    // from the real row next to the lid (centre dy/2 below it) and the row below that.
    double soma2 = 0.0, soma1 = 0.0;
    for (int i = 2; i <= nx - 1; ++i) {
        const double U = velocidade_tampa(caso, c, P(i, ny));
        soma2 += 8 * U + c.u[P(i, ny - 2)] - 9 * c.u[P(i, ny - 1)];
        soma1 += U - c.u[P(i, ny - 1)];
    }
    r.forca_uds2 = mi * dx / (3 * dy) * soma2;
    r.forca_uds = 2 * mi * dx / dy * soma1;

    // The lid velocity at x = 0.5 is 1 for either problem.
    r.dudy_uds2 = (8 + c.u[P(ic + 1, ny - 2)] - 9 * c.u[P(ic + 1, ny - 1)]) / (3 * dy);
    r.dudy_uds = 2 * (1 - c.u[P(ic + 1, ny - 1)]) / dy;

    for (int i = 2; i <= ic; ++i) r.fluxo_vn += dx * c.vn[P(i, jc)];
    return r;
}

void funcao_corrente(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    c.psi.assign(static_cast<std::size_t>(caso.N) + 1, 0.0);
    for (int i = 1; i <= nx - 1; ++i)
        for (int j = 2; j <= ny - 1; ++j) {
            const int P = (j - 1) * nx + i;
            c.psi[P] = c.psi[P - nx] + caso.dy * c.ue[P];
        }
}

double psi_min(const CaseData& caso, const Campos& c) {
    // A field that holds a value that is not a number has no minimum.
    double m = c.psi[1];
    for (int P = 2; P <= caso.N; ++P)
        if (std::isnan(c.psi[P]) || c.psi[P] < m) m = c.psi[P];
    return m;
}

double tamanho_medio(const CaseData& caso) {
    return std::sqrt(1.0 / ((caso.nx - 2.0) * (caso.ny - 2.0)));
}

void lista_psi_min(double valor, ArquivoTexto& listagem) {
    listagem.vazia();
    listagem.linha("     " + latin1(rotulo_psi_min.rotulo) + " " + real_longo(valor));
}

void lista_resultados(const CaseData& caso, const Resultados& r, double psi_minimo, ArquivoTexto& listagem) {
    // In the order of the labels' table.
    const double valores[] = {tamanho_medio(caso), -psi_minimo, r.forca_uds2, r.forca_uds, r.u_central,
                              r.v_central,         r.p_central, r.dudy_uds2,  r.dudy_uds,  r.fluxo_vn};
    static_assert(std::size(valores) == std::size(rotulos_dos_resultados));
    listagem.vazia();
    for (std::size_t k = 0; k < std::size(valores); ++k) {
        listagem.vazia();
        listagem.linha("     " + latin1(rotulos_dos_resultados[k].rotulo) + real_longo(valores[k]));
    }
}

}  // namespace quelna
