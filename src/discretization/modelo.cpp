#include "discretization/modelo.hpp"

namespace quelna {

double bytes_dos_campos(const CaseData& caso) {
    const double n = static_cast<double>(caso.N) + 1.0;
    double doubles = 17.0 * n + 5.0 * n + 1.0 * n;  // fields, the table a, psi
    // MSI's factors, kept with the solver's work arrays, and those of the pressure correction's
    // fixed matrix with a copy of it.
    if (caso.solver == 5) doubles += 7.0 * n + 12.0 * n;
    // The work arrays the solver keeps: three at the most (MSI's, whose y leaves up to 15
    // entries unused after each row).
    doubles += 3.0 * n + 15.0 * caso.ny;
    return doubles * sizeof(double);
}

void reserva_campos(const CaseData& caso, Campos& c) {
    const auto n = static_cast<std::size_t>(caso.N) + 1;
    for (Campo* f : {&c.u, &c.v, &c.p, &c.uex, &c.vex, &c.pex, &c.fonte_v, &c.plinha, &c.ue, &c.vn})
        f->assign(n, 0.0);
    c.a.assign(n, Linha{});
    for (Campo* f : {&c.bp, &c.dc_u, &c.dc_v, &c.u0, &c.v0, &c.ue0, &c.vn0}) f->assign(n, 0.0);
}

void libera_campos_do_ciclo(Campos& c) {
    std::vector<Linha>().swap(c.a);
    for (Campo* f : {&c.u0, &c.v0, &c.ue0, &c.vn0, &c.dc_u, &c.dc_v}) Campo().swap(*f);
}

}  // namespace quelna
