// The assembly and correction routines as first written: the literal loops.
#include "discretization/equacoes.hpp"
#include "referencia.hpp"

namespace quelna::referencia {

namespace montagem {

// Upwind weight of a face: +0.5 when its velocity is non-negative, -0.5 otherwise.
inline double alfa(double velocidade) { return velocidade >= 0.0 ? 0.5 : -0.5; }

// UDS minus CDS advective outflow of a volume for field f, evaluated with its current values.
inline double correcao_adiada(const CaseData& caso, const Campos& c, const Campo& f, int P) {
    const int nx = caso.nx;
    const double Fw = caso.dy * c.ue[P - 1], Fe = caso.dy * c.ue[P];
    const double Fs = caso.dx * c.vn[P - nx], Fn = caso.dx * c.vn[P];
    const double alfa_w = alfa(c.ue[P - 1]), alfa_e = alfa(c.ue[P]);
    const double alfa_s = alfa(c.vn[P - nx]), alfa_n = alfa(c.vn[P]);
    const double fP = f[P];
    return Fe * alfa_e * (fP - f[P + 1]) - Fw * alfa_w * (f[P - 1] - fP) + Fn * alfa_n * (fP - f[P + nx]) -
           Fs * alfa_s * (f[P - nx] - fP);
}

// The wall rows shared by u and v: the mean of a fictitious value and its inward neighbour
// equals the wall velocity (bp set by the caller for the lid).
void linhas_de_contorno(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    for (int j = 1; j <= ny; ++j) {
        const int P = (j - 1) * nx + 1;
        c.a[P] = Linha{0.0, 0.0, 1.0, 1.0, 0.0};
        c.bp[P] = 0.0;
    }
    for (int j = 1; j <= ny; ++j) {
        const int P = j * nx;
        c.a[P] = Linha{0.0, 1.0, 1.0, 0.0, 0.0};
        c.bp[P] = 0.0;
    }
    for (int i = 2; i <= nx - 1; ++i) {
        c.a[i] = Linha{0.0, 0.0, 1.0, 0.0, 1.0};
        c.bp[i] = 0.0;
    }
    for (int i = 2; i <= nx - 1; ++i) {
        const int P = (ny - 1) * nx + i;
        c.a[P] = Linha{1.0, 0.0, 1.0, 0.0, 0.0};
        c.bp[P] = 0.0;
    }
}

}  // namespace

using namespace montagem;

void coeficientes_uv(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy;
    const double Dx = caso.mi * dy / dx, Dy = caso.mi * dx / dy;
    const double transiente = dx * dy / caso.dt;
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            const double Fw = dy * c.ue[P - 1], Fe = dy * c.ue[P];
            const double Fs = dx * c.vn[P - nx], Fn = dx * c.vn[P];
            const double alfa_w = alfa(c.ue[P - 1]), alfa_e = alfa(c.ue[P]);
            const double alfa_s = alfa(c.vn[P - nx]), alfa_n = alfa(c.vn[P]);
            // The upstream neighbour carries the whole advective flux.
            Linha& r = c.a[P];
            r.aw = -(Dx + (alfa_w + 0.5) * Fw);
            r.ae = -(Dx + (alfa_e - 0.5) * Fe);
            r.as = -(Dy + (alfa_s + 0.5) * Fs);
            r.an = -(Dy + (alfa_n - 0.5) * Fn);
            r.ap = transiente - (r.as + r.aw + r.ae + r.an);
        }
}

void termo_fonte_u(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            c.dc_u[P] = correcao_adiada(caso, c, c.u, P);
            c.bp[P] = dx * dy * c.u0[P] / dt + caso.beta * c.dc_u[P] - 0.5 * dy * (c.p[P + 1] - c.p[P - 1]);
        }
}

void termo_fonte_v(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            c.dc_v[P] = correcao_adiada(caso, c, c.v, P);
            c.bp[P] = dx * dy * c.v0[P] / dt + caso.beta * c.dc_v[P] - 0.5 * dx * (c.p[P + nx] - c.p[P - nx]) -
                      dx * dy * c.fonte_v[P];
        }
}

void velocidades_face(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt, beta = caso.beta;
    const auto& a = c.a;

    for (int i = 2; i <= nx - 2; ++i)
        for (int j = 2; j <= ny - 1; ++j) {
            const int P = (j - 1) * nx + i, E = P + 1;
            const auto& u = c.u;
            // The value at P enters through the west coefficient of E, and the one at E
            // through the east coefficient of P.
            const double S = a[P].as * u[P - nx] + a[P].aw * u[P - 1] + a[P].ae * u[E] + a[P].an * u[P + nx] +
                             a[E].as * u[E - nx] + a[E].aw * u[P] + a[E].ae * u[E + 1] + a[E].an * u[E + nx];
            const double A = a[P].ap + a[E].ap;
            c.ue[P] = (2 * dx * dy * c.ue0[P] / dt - S + beta * (c.dc_u[P] + c.dc_u[E])) / A -
                      2 * dy * (c.p[E] - c.p[P]) / A;
        }

    for (int i = 2; i <= nx - 1; ++i)
        for (int j = 2; j <= ny - 2; ++j) {
            const int P = (j - 1) * nx + i, Nn = P + nx;
            const auto& v = c.v;
            const double S = a[P].as * v[P - nx] + a[P].aw * v[P - 1] + a[P].ae * v[P + 1] + a[P].an * v[Nn] +
                             a[Nn].as * v[P] + a[Nn].aw * v[Nn - 1] + a[Nn].ae * v[Nn + 1] + a[Nn].an * v[Nn + nx];
            const double A = a[P].ap + a[Nn].ap;
            c.vn[P] = (2 * dx * dy * c.vn0[P] / dt - S + beta * (c.dc_v[P] + c.dc_v[Nn])) / A -
                      2 * dx * (c.p[Nn] - c.p[P]) / A - (c.fonte_v[P] + c.fonte_v[Nn]) * dx * dy / A;
        }
}

void coeficientes_plinha(const CaseData& caso, Campos& c) {
    const int nx = caso.nx, ny = caso.ny;
    const double dx = caso.dx, dy = caso.dy, dt = caso.dt;
    // On a uniform grid every real row has the same coefficients.
    const double aw = -(dy * dt / dx), ae = -(dy * dt / dx);
    const double as = -(dx * dt / dy), an = -(dx * dt / dy);
    const double ap = -(as + aw + ae + an);
    for (int j = 2; j <= ny - 1; ++j)
        for (int i = 2; i <= nx - 1; ++i) {
            const int P = (j - 1) * nx + i;
            c.a[P] = Linha{as, aw, ap, ae, an};
            // Mass entering through the west and south faces minus mass leaving through the
            // east and north faces.
            c.bp[P] = dy * c.ue[P - 1] - dy * c.ue[P] + dx * c.vn[P - nx] - dx * c.vn[P];
        }
}

}  // namespace quelna::referencia
