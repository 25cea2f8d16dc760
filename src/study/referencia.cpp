#include "study/referencia.hpp"

#include <cmath>
#include <cstdlib>

#include "input/shih.hpp"

namespace quelna::estudo {

namespace {

Referencia interpola(const std::vector<std::pair<double, double>>& t, double pos, const std::string& fonte) {
    Referencia r;
    for (std::size_t k = 0; k < t.size(); ++k)
        if (std::fabs(t[k].first - pos) < 5e-5) return {true, t[k].second, false, fonte};
    for (std::size_t k = 1; k < t.size(); ++k)
        if (pos > t[k - 1].first && pos < t[k].first) {
            const auto [a, fa] = t[k - 1];
            const auto [b, fb] = t[k];
            return {true, fa + (fb - fa) * (pos - a) / (b - a), true, fonte};
        }
    return r;
}

// The position inside "u(y=0.25)".
bool posicao(const std::string& nome, const char* prefixo, double& pos) {
    const std::string p(prefixo);
    if (nome.rfind(p, 0) != 0) return false;
    pos = std::strtod(nome.c_str() + p.size(), nullptr);
    return true;
}

}  // namespace

Referencia referencia(const std::string& nome, int problema, double Re) {
    double pos = 0;
    if (problema == 1) {
        const std::string fonte = "solução analítica de Shih";
        const double mi = 1.0 / Re;
        // psi = 8 f(x) g(y) has its minimum 8 f(1/2) g(1/sqrt 2) = -1/8 at the vortex centre.
        if (nome == "psi_min") return {true, -0.125, false, fonte};
        if (nome == "fluxo_total") return {true, 0.125, false, fonte};
        if (nome == "u_central") return {true, shih::u(0.5, 0.5), false, fonte};
        if (nome == "v_central") return {true, shih::v(0.5, 0.5), false, fonte};
        // mi * integral of du/dy on the lid = 8 mi g''(1) F(1) = 8 mi / 3; du/dy = 8 f(1/2) g''(1) = 5.
        if (nome == "forca_uds" || nome == "forca_uds2") return {true, 8.0 * mi / 3.0, false, fonte};
        if (nome == "dudy_uds" || nome == "dudy_uds2") return {true, 5.0, false, fonte};
        // The flux of v through y = 1/2 for x in [0, 1/2]: -8 g(1/2) f(1/2) = 3/32.
        if (nome == "fluxo_vn") return {true, 3.0 / 32.0, false, fonte};
        if (posicao(nome, "u(y=", pos)) return {true, shih::u(0.5, pos), false, fonte};
        if (posicao(nome, "v(x=", pos)) return {true, shih::v(pos, 0.5), false, fonte};
        return {};
    }
    for (const auto& t : tabelas_ghia()) {
        if (std::fabs(Re - t.Re) > 1e-9) continue;
        const std::string fonte = "Ghia et al. (1982), Re = " + std::to_string(t.Re);
        if (nome == "u_central") return interpola(t.u, 0.5, fonte);
        if (nome == "v_central") return interpola(t.v, 0.5, fonte);
        if (posicao(nome, "u(y=", pos)) return interpola(t.u, pos, fonte);
        if (posicao(nome, "v(x=", pos)) return interpola(t.v, pos, fonte);
    }
    return {};
}

}  // namespace quelna::estudo
