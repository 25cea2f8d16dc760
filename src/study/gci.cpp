#include "study/gci.hpp"

#include <cmath>

namespace quelna::estudo {

namespace {

void completa(Estimativa& e, double phi1, double phi2, double r21, double seguranca) {
    const double rp = std::pow(r21, e.p);
    e.extrapolado = (rp * phi1 - phi2) / (rp - 1.0);
    e.ea = std::fabs((phi1 - phi2) / phi1);
    e.eext = std::fabs((e.extrapolado - phi1) / e.extrapolado);
    e.gci = seguranca * e.ea / (rp - 1.0);
}

}  // namespace

Estimativa tres_malhas(double phi1, double phi2, double phi3, double r21, double r32) {
    Estimativa e;
    const double e21 = phi2 - phi1, e32 = phi3 - phi2;
    if (e21 == 0.0 || e32 == 0.0 || !std::isfinite(e32 / e21) || r21 <= 1.0 || r32 <= 1.0) return e;
    const double razao = e32 / e21;
    const double s = razao > 0 ? 1.0 : -1.0;
    e.oscilatoria = s < 0;
    double p = std::fabs(std::log(std::fabs(razao))) / std::log(r21);
    for (int k = 0; k < 500; ++k) {
        const double q = std::log((std::pow(r21, p) - s) / (std::pow(r32, p) - s));
        const double novo = std::fabs(std::log(std::fabs(razao)) + q) / std::log(r21);
        if (!std::isfinite(novo)) return e;
        const bool parou = std::fabs(novo - p) <= 1e-12 * std::fmax(1.0, std::fabs(novo));
        p = novo;
        if (parou) break;
    }
    if (!(p > 0.0)) return e;
    e.p = p;
    completa(e, phi1, phi2, r21, 1.25);
    e.valida = std::isfinite(e.extrapolado);
    return e;
}

Estimativa duas_malhas(double phi1, double phi2, double r21, double p) {
    Estimativa e;
    if (r21 <= 1.0 || !(p > 0.0)) return e;
    e.p = p;
    completa(e, phi1, phi2, r21, 3.0);
    e.valida = std::isfinite(e.extrapolado);
    return e;
}

}  // namespace quelna::estudo
