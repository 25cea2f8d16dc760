#include "study/escoamento.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "platform/formato.hpp"

namespace quelna::estudo {

std::vector<Valor> le_vortices(const std::string& texto) {
    std::vector<Valor> r;
    std::istringstream in(texto);
    for (std::string linha; std::getline(in, linha);) {
        if (linha.empty() || linha[0] == '#') continue;
        std::istringstream l(linha);
        std::string nome;
        double x = 0, y = 0, psi = 0;
        if (!(l >> nome >> x >> y >> psi)) continue;
        r.push_back({"psi_" + nome, psi});
        r.push_back({"x_" + nome, x});
        r.push_back({"y_" + nome, y});
    }
    return r;
}

ExtremoDoPerfil extremo_do_perfil(const std::vector<std::pair<double, double>>& perfil, bool maximo) {
    ExtremoDoPerfil e;
    if (perfil.size() < 3) return e;
    std::size_t k = 0;
    for (std::size_t i = 1; i < perfil.size(); ++i)
        if (maximo ? perfil[i].second > perfil[k].second : perfil[i].second < perfil[k].second) k = i;
    if (k == 0 || k + 1 == perfil.size()) return e;
    const auto [a, fa] = perfil[k - 1];
    const auto [b, fb] = perfil[k];
    const auto [c, fc] = perfil[k + 1];
    // The parabola through three points of any spacing: f = fb + d1 (x - b) + d2 (x - b)^2.
    const double sab = (fb - fa) / (b - a), sbc = (fc - fb) / (c - b);
    const double d2 = (sbc - sab) / (c - a);
    const double d1 = sab + d2 * (b - a);
    e.existe = true;
    if (d2 == 0.0) {
        e.posicao = b, e.valor = fb;
        return e;
    }
    double h = -d1 / (2 * d2);
    // The vertex lies between the neighbours for a true extremum; no farther in any case.
    h = std::fmax(a - b, std::fmin(c - b, h));
    e.posicao = b + h;
    e.valor = fb + d1 * h + d2 * h * h;
    return e;
}

std::vector<Valor> extremos_dos_perfis(const std::vector<std::pair<double, double>>& perfil_u,
                                       const std::vector<std::pair<double, double>>& perfil_v) {
    std::vector<Valor> r;
    const auto poe = [&](const ExtremoDoPerfil& e, const char* nome, const char* onde) {
        if (!e.existe) return;
        r.push_back({nome, e.valor});
        r.push_back({onde, e.posicao});
    };
    poe(extremo_do_perfil(perfil_u, false), "u_min", "y(u_min)");
    poe(extremo_do_perfil(perfil_v, true), "v_max", "x(v_max)");
    poe(extremo_do_perfil(perfil_v, false), "v_min", "x(v_min)");
    return r;
}

bool valor_do_escoamento(const std::string& nome) {
    for (const char* inicio : {"psi_primario", "psi_inferior", "psi_superior", "x_", "y_", "x(", "y(", "u_min", "v_max",
                               "v_min"})
        if (nome.rfind(inicio, 0) == 0) return true;
    return false;
}

std::map<std::string, std::vector<double>> le_campos_vtk(const std::string& texto) {
    std::map<std::string, std::vector<double>> r;
    const std::string marca = "<DataArray type=\"Float64\" Name=\"";
    for (std::size_t ini = texto.find(marca); ini != std::string::npos; ini = texto.find(marca, ini + 1)) {
        const std::size_t nome_ini = ini + marca.size(), nome_fim = texto.find('"', nome_ini);
        const std::size_t dados = texto.find('>', nome_ini);
        if (nome_fim == std::string::npos || dados == std::string::npos) break;
        const std::size_t fim = texto.find('<', dados);
        if (fim == std::string::npos) break;
        std::string bytes;
        if (!de_base64(std::string_view(texto).substr(dados + 1, fim - dados - 1), bytes) || bytes.size() < 8) continue;
        std::uint64_t tamanho = 0;
        for (int k = 0; k < 8; ++k) tamanho |= std::uint64_t((unsigned char)bytes[k]) << (8 * k);
        if (tamanho % 8 != 0 || tamanho != bytes.size() - 8) continue;
        std::vector<double> v(tamanho / 8);
        for (std::size_t n = 0; n < v.size(); ++n) {
            std::uint64_t w = 0;
            for (int k = 0; k < 8; ++k) w |= std::uint64_t((unsigned char)bytes[8 + 8 * n + k]) << (8 * k);
            std::memcpy(&v[n], &w, 8);
        }
        r[texto.substr(nome_ini, nome_fim - nome_ini)] = std::move(v);
    }
    return r;
}

Normas normas(const std::vector<double>& erro) {
    Normas n;
    if (erro.empty()) return n;
    double soma = 0.0, quadrados = 0.0;
    for (const double e : erro) {
        if (!std::isfinite(e)) return {NAN, NAN, NAN};
        n.maximo = std::fmax(n.maximo, std::fabs(e));
        soma += std::fabs(e);
        quadrados += e * e;
    }
    n.l1 = soma / erro.size();
    n.l2 = std::sqrt(quadrados / erro.size());
    return n;
}

}  // namespace quelna::estudo
