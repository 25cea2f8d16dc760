#include "output/escoamento.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "discretization/equacoes.hpp"
#include "platform/arquivo.hpp"
#include "platform/formato.hpp"

namespace quelna {

namespace {

// The derivative at a wall of a quantity that is `parede` there and f1, f2 at the centres of
// the first two volumes from it (dh/2 and 3dh/2 away), second order; first order when only
// one volume lies between the walls. Positive dh points into the flow.
double derivada_na_parede(double parede, double f1, double f2, bool ha_segundo, double dh) {
    return ha_segundo ? (9 * f1 - f2 - 8 * parede) / (3 * dh) : 2 * (f1 - parede) / dh;
}

}  // namespace

CamposNos campos_nos(const CaseData& caso, const Campos& c) {
    const int nx = caso.nx;
    CamposNos n;
    n.na = caso.nx - 2;
    n.nb = caso.ny - 2;
    n.dx = caso.dx;
    n.dy = caso.dy;
    const std::size_t nos = std::size_t(n.na + 1) * (n.nb + 1);
    n.psi.assign(nos, 0.0);
    n.vorticidade.assign(nos, 0.0);
    const auto P = [nx](int i, int j) { return (j - 1) * nx + i; };
    const double dx = caso.dx, dy = caso.dy;
    for (int b = 0; b <= n.nb; ++b)
        for (int a = 0; a <= n.na; ++a) {
            // The node is the north-east corner of volume (i, j).
            const int i = a + 1, j = b + 1;
            const bool parede_x = a == 0 || a == n.na, parede_y = b == 0 || b == n.nb;
            if (!parede_x && !parede_y) n.psi[n.k(a, b)] = c.psi[P(i, j)];

            // dv/dx from the north faces of the volumes west and east of the node; on a side
            // wall, where v is 0, one-sided from the two columns next to it.
            double dvdx = 0.0;
            if (a == 0) dvdx = derivada_na_parede(0.0, c.vn[P(2, j)], c.vn[P(3, j)], n.na >= 2, dx);
            else if (a == n.na) dvdx = -derivada_na_parede(0.0, c.vn[P(nx - 1, j)], c.vn[P(nx - 2, j)], n.na >= 2, dx);
            else dvdx = (c.vn[P(i + 1, j)] - c.vn[P(i, j)]) / dx;

            // du/dy from the east faces of the volumes below and above the node; on the bottom
            // wall and under the lid, one-sided with the wall's velocity.
            double dudy = 0.0;
            if (b == 0) {
                dudy = derivada_na_parede(0.0, c.ue[P(i, 2)], c.ue[P(i, 3)], n.nb >= 2, dy);
            } else if (b == n.nb) {
                // The lid at a node: between the two columns beside it; at a corner, the wall's own.
                const int ny = caso.ny;
                const double tampa = a == 0      ? velocidade_tampa(caso, c, P(1, ny))
                                     : a == n.na ? velocidade_tampa(caso, c, P(nx, ny))
                                                 : 0.5 * (velocidade_tampa(caso, c, P(i, ny)) +
                                                          velocidade_tampa(caso, c, P(i + 1, ny)));
                dudy = -derivada_na_parede(tampa, c.ue[P(i, ny - 1)], c.ue[P(i, ny - 2)], n.nb >= 2, dy);
            } else {
                dudy = (c.ue[P(i, j + 1)] - c.ue[P(i, j)]) / dy;
            }
            n.vorticidade[n.k(a, b)] = dvdx - dudy;
        }
    return n;
}

Extremo ajusta_extremo(const CamposNos& nos, const std::vector<double>& f, int a, int b, bool maximo) {
    const auto F = [&](int da, int db) { return f[nos.k(a + da, b + db)]; };
    const double f0 = F(0, 0);
    const double fa = 0.5 * (F(1, 0) - F(-1, 0)), fb = 0.5 * (F(0, 1) - F(0, -1));
    const double faa = F(1, 0) - 2 * f0 + F(-1, 0), fbb = F(0, 1) - 2 * f0 + F(0, -1);
    const double fab = 0.25 * (F(1, 1) - F(1, -1) - F(-1, 1) + F(-1, -1));
    Extremo e;
    // The stationary point of the quadratic when it is an extremum of the kind sought.
    const double s = maximo ? -1.0 : 1.0;
    const double det = faa * fbb - fab * fab;
    if (det > 0.0 && s * faa > 0.0) {
        e.da = (-fa * fbb + fb * fab) / det;
        e.db = (-fb * faa + fa * fab) / det;
        e.da = std::fmax(-1.0, std::fmin(1.0, e.da));
        e.db = std::fmax(-1.0, std::fmin(1.0, e.db));
        e.valor = f0 + fa * e.da + fb * e.db + 0.5 * faa * e.da * e.da + 0.5 * fbb * e.db * e.db + fab * e.da * e.db;
        return e;
    }
    // A quadratic without such an extremum (an eddy over a node or two, pressed against a wall)
    // says nothing sound between the nodes: the node itself.
    e.valor = f0;
    return e;
}

std::vector<Vortice> vortices(const CamposNos& nos) {
    std::vector<Vortice> r;
    const auto vortice = [&](const char* nome, int a, int b, bool maximo) {
        const Extremo e = ajusta_extremo(nos, nos.psi, a, b, maximo);
        r.push_back({nome, (a + e.da) * nos.dx, (b + e.db) * nos.dy, e.valor});
    };
    // The extremum of psi over the interior nodes of a region, `sinal` -1 for the minimum.
    const auto extremo = [&](int a0, int a1, int b0, int b1, double sinal, int& am, int& bm) {
        double melhor = 0.0;
        am = -1;
        for (int b = std::max(b0, 1); b <= std::min(b1, nos.nb - 1); ++b)
            for (int a = std::max(a0, 1); a <= std::min(a1, nos.na - 1); ++a)
                if (sinal * nos.psi[nos.k(a, b)] > melhor) melhor = sinal * nos.psi[nos.k(a, b)], am = a, bm = b;
        return melhor;
    };
    int a = -1, b = -1;
    extremo(1, nos.na - 1, 1, nos.nb - 1, -1.0, a, b);
    if (a < 0) return r;
    vortice("primario", a, b, false);

    // A corner eddy turns against the primary vortex: psi positive, and a peak among its neighbours.
    const auto pico = [&](int a, int b) {
        for (int db = -1; db <= 1; ++db)
            for (int da = -1; da <= 1; ++da)
                if ((da || db) && !(nos.psi[nos.k(a + da, b + db)] < nos.psi[nos.k(a, b)])) return false;
        return true;
    };
    const int meio_a = nos.na / 2, meio_b = nos.nb / 2;
    const struct {
        const char* nome;
        int a0, a1, b0, b1;
    } cantos[] = {{"inferior_esquerdo", 1, meio_a, 1, meio_b},
                  {"inferior_direito", nos.na - meio_a, nos.na - 1, 1, meio_b},
                  {"superior_esquerdo", 1, meio_a, nos.nb - meio_b, nos.nb - 1}};
    for (const auto& canto : cantos)
        if (extremo(canto.a0, canto.a1, canto.b0, canto.b1, 1.0, a, b) > 0.0 && pico(a, b)) vortice(canto.nome, a, b, true);
    return r;
}

void grava_psi(const CamposNos& nos, const std::string& nome) {
    ArquivoTexto f(nome);
    for (int a = 0; a <= nos.na; ++a) {
        for (int b = 0; b <= nos.nb; ++b)
            f.linha(real_curto(a * nos.dx) + real_curto(b * nos.dy) + real_longo(nos.psi[nos.k(a, b)]));
        f.vazia();
    }
    f.fecha();
}

void grava_vortices(const std::vector<Vortice>& v, const std::string& nome) {
    ArquivoTexto f(nome);
    std::string cabeca = latin1("# vórtice");
    na_coluna(cabeca, 20, "x");
    na_coluna(cabeca, 44, "y");
    na_coluna(cabeca, 68, "psi");
    f.linha(cabeca);
    for (const auto& x : v) f.linha(ajusta(x.nome, 18) + real_longo(x.x) + real_longo(x.y) + real_longo(x.psi));
    f.fecha();
}

namespace {

// One DataArray of 64-bit reals in VTK's inline binary form: the byte count as a 64-bit word,
// then the values, little-endian, together in base64.
std::string arranjo_vtk(const char* nome, const std::vector<double>& valores) {
    std::string bytes(8 + 8 * valores.size(), '\0');
    const std::uint64_t tamanho = 8 * valores.size();
    for (int k = 0; k < 8; ++k) bytes[k] = char((tamanho >> (8 * k)) & 0xFF);
    for (std::size_t n = 0; n < valores.size(); ++n) {
        std::uint64_t w;
        std::memcpy(&w, &valores[n], 8);
        for (int k = 0; k < 8; ++k) bytes[8 + 8 * n + k] = char((w >> (8 * k)) & 0xFF);
    }
    return std::string("        <DataArray type=\"Float64\" Name=\"") + nome + "\" format=\"binary\">\n" + base64(bytes) +
           "\n        </DataArray>";
}

// A field over the real volumes, row by row from the south-west: the cell order of ImageData.
std::vector<double> nas_celulas(const CaseData& caso, const Campo& f) {
    std::vector<double> r;
    r.reserve(std::size_t(caso.nx - 2) * (caso.ny - 2));
    for (int j = 2; j <= caso.ny - 1; ++j)
        for (int i = 2; i <= caso.nx - 1; ++i) r.push_back(f[(j - 1) * caso.nx + i]);
    return r;
}

std::vector<double> menos_a_media(std::vector<double> f) {
    double soma = 0.0;
    for (const double x : f) soma += x;
    const double media = f.empty() ? 0.0 : soma / f.size();
    for (double& x : f) x -= media;
    return f;
}

std::vector<double> diferenca(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> r(a.size());
    for (std::size_t k = 0; k < a.size(); ++k) r[k] = a[k] - b[k];
    return r;
}

std::string numero_vtk(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%.17g", v);
    return s;
}

}  // namespace

void grava_campos_vtk(const CaseData& caso, const Campos& c, const CamposNos& nos, const std::string& nome) {
    const std::string temporario = temporario_de(nome);
    const std::string extensao = "0 " + std::to_string(nos.na) + " 0 " + std::to_string(nos.nb) + " 0 0";
    {
        ArquivoTexto f(temporario);
        f.linha("<?xml version=\"1.0\"?>");
        f.linha("<VTKFile type=\"ImageData\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">");
        f.linha("  <ImageData WholeExtent=\"" + extensao + "\" Origin=\"0 0 0\" Spacing=\"" + numero_vtk(caso.dx) + " " +
                numero_vtk(caso.dy) + " 1\">");
        f.linha("    <Piece Extent=\"" + extensao + "\">");
        f.linha("      <PointData Scalars=\"psi\">");
        f.linha(arranjo_vtk("psi", nos.psi));
        f.linha(arranjo_vtk("vorticidade", nos.vorticidade));
        f.linha("      </PointData>");
        f.linha("      <CellData Scalars=\"p\">");
        const std::vector<double> u = nas_celulas(caso, c.u), v = nas_celulas(caso, c.v), p = nas_celulas(caso, c.p);
        const std::vector<double> p_rel = menos_a_media(p);
        f.linha(arranjo_vtk("u", u));
        f.linha(arranjo_vtk("v", v));
        f.linha(arranjo_vtk("p", p_rel));
        f.linha(arranjo_vtk("p_bruta", p));
        if (caso.problema == 1) {
            const std::vector<double> uex = nas_celulas(caso, c.uex), vex = nas_celulas(caso, c.vex);
            const std::vector<double> pex = menos_a_media(nas_celulas(caso, c.pex));
            f.linha(arranjo_vtk("u_exata", uex));
            f.linha(arranjo_vtk("v_exata", vex));
            f.linha(arranjo_vtk("p_exata", pex));
            f.linha(arranjo_vtk("erro_u", diferenca(u, uex)));
            f.linha(arranjo_vtk("erro_v", diferenca(v, vex)));
            f.linha(arranjo_vtk("erro_p", diferenca(p_rel, pex)));
        }
        f.linha("      </CellData>");
        f.linha("    </Piece>");
        f.linha("  </ImageData>");
        f.linha("</VTKFile>");
        f.fecha_substituindo(nome);
    }
}

void escoamento(const CaseData& caso, const Campos& c, const std::string& titulo_grafico) {
    const CamposNos nos = campos_nos(caso, c);
    grava_campos_vtk(caso, c, nos, caso.nome_campos);
    grava_psi(nos);
    grava_vortices(vortices(nos));
    reescreve_e_plota(roteiro_psi, titulo_grafico);
}

}  // namespace quelna
