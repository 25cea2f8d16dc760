#include "study/referencia.hpp"

#include <cmath>
#include <cstdlib>

#include "input/shih.hpp"

namespace quelna::estudo {

namespace {

bool suspeita(int Re, bool u, double pos) {
    for (const auto& x : entradas_suspeitas())
        if (x.Re == Re && x.u == u && std::fabs(x.posicao - pos) < 5e-5) return true;
    return false;
}

// The published value at that very station.
Referencia na_estacao(const TabelaGhia& t, bool u, double pos) {
    for (const auto& [p, v] : u ? t.u : t.v)
        if (std::fabs(p - pos) < 5e-5 && !suspeita(t.Re, u, p))
            return {true, v, false, "Ghia et al. (1982), Re = " + std::to_string(t.Re) + (u ? ", tabela I" : ", tabela II")};
    return {};
}

// The position inside "u(y=0.25)".
bool posicao(const std::string& nome, const char* prefixo, double& pos) {
    const std::string p(prefixo);
    if (nome.rfind(p, 0) != 0) return false;
    pos = std::strtod(nome.c_str() + p.size(), nullptr);
    return true;
}

}  // namespace

const std::vector<EntradaSuspeita>& entradas_suspeitas() {
    static const std::vector<EntradaSuspeita> e = {
        {400, false, 0.9063,
         "v = -0.23827 em x = 0.9063 (Re = 400) fica a cerca de 0,15 de toda malha convergida e quebra a "
         "suavidade do perfil entre -0.44993 e -0.22847: um erro de impressão da tabela publicada"},
    };
    return e;
}

std::vector<std::pair<double, double>> estacoes_do_perfil(bool u, int problema, double Re) {
    std::vector<std::pair<double, double>> r;
    if (problema == 1) {
        for (int k = 1; k < 16; ++k) {
            const double s = k / 16.0;
            r.push_back({s, u ? shih::u(0.5, s) : shih::v(s, 0.5)});
        }
        return r;
    }
    for (const auto& t : tabelas_ghia()) {
        if (std::fabs(Re - t.Re) > 1e-9) continue;
        for (const auto& [p, v] : u ? t.u : t.v)
            if (p > 0.0 && p < 1.0 && !suspeita(t.Re, u, p)) r.push_back({p, v});
    }
    return r;
}

double interpola_perfil(const std::vector<std::pair<double, double>>& perfil, double posicao) {
    const std::size_t n = perfil.size();
    if (n == 0) return std::nan("");
    if (n == 1) return perfil[0].second;
    std::size_t k = 1;
    while (k < n - 1 && perfil[k].first < posicao) ++k;
    // perfil[k - 1] <= posicao <= perfil[k] (or the ends): the four around that interval.
    if (n < 4) {
        const auto [a, fa] = perfil[k - 1];
        const auto [b, fb] = perfil[k];
        return fa + (fb - fa) * (posicao - a) / (b - a);
    }
    std::size_t ini = k >= 2 ? k - 2 : 0;
    if (ini + 4 > n) ini = n - 4;
    double soma = 0.0;
    for (std::size_t i = ini; i < ini + 4; ++i) {
        double peso = 1.0;
        for (std::size_t j = ini; j < ini + 4; ++j)
            if (j != i) peso *= (posicao - perfil[j].first) / (perfil[i].first - perfil[j].first);
        soma += peso * perfil[i].second;
    }
    return soma;
}

Referencia referencia(const std::string& nome, int problema, double Re) {
    double pos = 0;
    // A wall or the lid carries its boundary value, not a result.
    if ((posicao(nome, "u(y=", pos) || posicao(nome, "v(x=", pos)) && (pos <= 0.0 || pos >= 1.0)) return {};
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
        if (nome == "psi_primario") return {true, -0.125, false, fonte};
        if (nome == "x_primario") return {true, 0.5, false, fonte};
        if (nome == "y_primario") return {true, 1.0 / std::sqrt(2.0), false, fonte};
        // u(1/2, y) = 2y^3 - y is least at y = 1/sqrt 6; v(x, 1/2) = 3x(2x - 1)(x - 1) is extreme
        // at x = 1/2 -+ 1/(2 sqrt 3).
        const double y_u = 1.0 / std::sqrt(6.0), x_max = 0.5 - 0.5 / std::sqrt(3.0), x_min = 0.5 + 0.5 / std::sqrt(3.0);
        if (nome == "u_min") return {true, shih::u(0.5, y_u), false, fonte};
        if (nome == "y(u_min)") return {true, y_u, false, fonte};
        if (nome == "v_max") return {true, shih::v(x_max, 0.5), false, fonte};
        if (nome == "x(v_max)") return {true, x_max, false, fonte};
        if (nome == "v_min") return {true, shih::v(x_min, 0.5), false, fonte};
        if (nome == "x(v_min)") return {true, x_min, false, fonte};
        return {};
    }
    // Ghia's vortex centres, Table V: the primary vortex's psi and position, the positions of the
    // bottom-left and bottom-right eddies.
    const struct {
        int Re;
        double psi, x, y, x_ie, y_ie, x_id, y_id;
    } vortices_ghia[] = {{100, -0.103423, 0.6172, 0.7344, 0.0313, 0.0391, 0.9453, 0.0625},
                         {400, -0.113909, 0.5547, 0.6055, 0.0508, 0.0469, 0.8906, 0.1250},
                         {1000, -0.117929, 0.5313, 0.5625, 0.0859, 0.0781, 0.8594, 0.1094}};
    for (const auto& g : vortices_ghia) {
        if (std::fabs(Re - g.Re) > 1e-9) continue;
        const std::string fonte = "Ghia et al. (1982), Re = " + std::to_string(g.Re) + ", tabela V";
        const std::pair<const char*, double> valores[] = {
            {"psi_min", g.psi},           {"psi_primario", g.psi},        {"x_primario", g.x},
            {"y_primario", g.y},          {"x_inferior_esquerdo", g.x_ie}, {"y_inferior_esquerdo", g.y_ie},
            {"x_inferior_direito", g.x_id}, {"y_inferior_direito", g.y_id}};
        for (const auto& [n, v] : valores)
            if (nome == n) return {true, v, false, fonte};
    }
    for (const auto& t : tabelas_ghia()) {
        if (std::fabs(Re - t.Re) > 1e-9) continue;
        if (nome == "u_central") return na_estacao(t, true, 0.5);
        if (nome == "v_central") return na_estacao(t, false, 0.5);
        if (posicao(nome, "u(y=", pos)) return na_estacao(t, true, pos);
        if (posicao(nome, "v(x=", pos)) return na_estacao(t, false, pos);
    }
    return {};
}

}  // namespace quelna::estudo
