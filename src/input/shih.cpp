#include "input/shih.hpp"

#include "platform/arquivo.hpp"
#include "platform/formato.hpp"

namespace quelna::shih {

namespace {

double f(double x) { return x * x * x * x - 2.0 * x * x * x + x * x; }
double f1(double x) { return 4.0 * x * x * x - 6.0 * x * x + 2.0 * x; }
double f3(double x) { return 24.0 * x - 12.0; }
double F(double x) { return 0.2 * x * x * x * x * x - 0.5 * x * x * x * x + x * x * x / 3.0; }
// f*f'' - (f')^2
double F1(double x) {
    return -4.0 * x * x * x * x * x * x + 12.0 * x * x * x * x * x - 14.0 * x * x * x * x + 8.0 * x * x * x -
           2.0 * x * x;
}
double F2(double x) { return 0.5 * f(x) * f(x); }
double g(double y) { return y * y * y * y - y * y; }
double g1(double y) { return 4.0 * y * y * y - 2.0 * y; }
double g2(double y) { return 12.0 * y * y - 2.0; }
double g3(double y) { return 24.0 * y; }
// g*g''' - g'*g''
double G1(double y) { return -24.0 * y * y * y * y * y + 8.0 * y * y * y - 4.0 * y; }

}  // namespace

double u(double x, double y) { return 8.0 * f(x) * g1(y); }

double v(double x, double y) { return -8.0 * f1(x) * g(y); }

double p(double x, double y, double mi) {
    return 8.0 * mi * (F(x) * g3(y) + f1(x) * g1(y)) + 64.0 * F2(x) * (g(y) * g2(y) - g1(y) * g1(y));
}

double fonte(double x, double y, double mi) {
    return -8.0 * mi * (24.0 * F(x) + 2.0 * f1(x) * g2(y) + f3(x) * g(y)) -
           64.0 * (F2(x) * G1(y) - g(y) * g1(y) * F1(x));
}

}  // namespace quelna::shih

namespace quelna {

double x_coluna(const CaseData& caso, int i) {
    if (i == 1) return 0.0;
    if (i == caso.nx) return caso.Lx;
    return (i - 1.5) * caso.dx;
}

double y_linha(const CaseData& caso, int j) {
    if (j == 1) return 0.0;
    if (j == caso.ny) return caso.Ly;
    return (j - 1.5) * caso.dy;
}

void analitica_shih(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    for (int i = 1; i <= nx; ++i) {
        const double x = x_coluna(caso, i);
        for (int j = 1; j <= ny; ++j) {
            const double y = y_linha(caso, j);
            const int P = (j - 1) * nx + i;
            c.uex[P] = shih::u(x, y);
            c.vex[P] = shih::v(x, y);
            c.pex[P] = shih::p(x, y, caso.mi);
            c.fonte_v[P] = shih::fonte(x, y, caso.mi);
        }
    }

    ArquivoTexto ucex(arquivo_ucex);
    for (int j = 1; j <= ny; ++j) {
        const double y = y_linha(caso, j);
        ucex.linha(real_curto(shih::u(0.5 * caso.Lx, y)) + real_curto(y));
    }
    ucex.fecha();

    ArquivoTexto vcex(arquivo_vcex);
    for (int i = 1; i <= nx; ++i) {
        const double x = x_coluna(caso, i);
        vcex.linha(real_curto(x) + real_curto(shih::v(x, 0.5 * caso.Ly)));
    }
    vcex.fecha();
}

void faces_shih(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    for (int i = 2; i <= nx - 2; ++i)
        for (int j = 2; j <= ny - 1; ++j) {
            const double xe = (i - 1) * caso.dx, y = (j - 1.5) * caso.dy;
            c.ue[(j - 1) * nx + i] = shih::u(xe, y);
        }
    for (int i = 2; i <= nx - 1; ++i)
        for (int j = 2; j <= ny - 2; ++j) {
            const double x = (i - 1.5) * caso.dx, yn = (j - 1) * caso.dy;
            c.vn[(j - 1) * nx + i] = shih::v(x, yn);
        }
}

}  // namespace quelna
