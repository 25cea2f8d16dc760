// The five-point systems of the momentum and pressure-correction equations, the face
// velocities and the corrections. Each routine writes only the rows and entries it owns.
#pragma once

#include "discretization/modelo.hpp"

namespace quelna {

// Momentum: UDS coefficients of the real rows (shared by u and v), the right-hand sides with
// the deferred correction to CDS weighted by beta, and the wall and lid equations.
void coeficientes_uv(const CaseData& caso, Campos& c);
void termo_fonte_u(const CaseData& caso, Campos& c);
void contorno_u(const CaseData& caso, Campos& c);
void termo_fonte_v(const CaseData& caso, Campos& c);
void contorno_v(const CaseData& caso, Campos& c);

// Face velocities from the momentum equations of the two volumes beside each face.
void velocidades_face(const CaseData& caso, Campos& c);

// Pressure correction: the plinha system and the corrections it drives.
void coeficientes_plinha(const CaseData& caso, Campos& c);
void contorno_plinha(const CaseData& caso, Campos& c);
void corrige_p(const CaseData& caso, Campos& c);
void corrige_uv(const CaseData& caso, Campos& c);
void corrige_face(const CaseData& caso, Campos& c);
// The fictitious velocities after the real ones are corrected, so that the wall conditions hold.
void velocidades_ficticias(const CaseData& caso, Campos& c);

// The plain loops of the routines above that also have a fast form: their readable definition,
// which the fast forms match byte for byte. The fast ones run them where the literal rendering is
// chosen.
namespace literal {
void coeficientes_uv(const CaseData& caso, Campos& c);
void termo_fonte_u(const CaseData& caso, Campos& c);
void termo_fonte_v(const CaseData& caso, Campos& c);
void velocidades_face(const CaseData& caso, Campos& c);
void coeficientes_plinha(const CaseData& caso, Campos& c);
void corrige_uv(const CaseData& caso, Campos& c);
void corrige_face(const CaseData& caso, Campos& c);
}  // namespace literal

// Lid velocity at volume P of the lid row: the exact Shih velocity there, or the plate's.
inline double velocidade_tampa(const CaseData& caso, const Campos& c, int P) {
    return caso.problema == 1 ? c.uex[P] : caso.Uplaca;
}

}  // namespace quelna
