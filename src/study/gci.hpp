// Estimates of the discretization error from solutions on systematically refined grids.
#pragma once

namespace quelna::estudo {

struct Estimativa {
    bool valida = false;       // false when the differences vanish and no order can be found
    double p = 0.0;            // apparent (three grids) or formal (two grids) order
    double extrapolado = 0.0;  // Richardson's extrapolated value
    double ea = 0.0;           // approximate relative error of the finest grid
    double eext = 0.0;         // extrapolated relative error of the finest grid
    double gci = 0.0;          // fine-grid convergence index (relative)
    bool oscilatoria = false;  // the differences change sign from one pair of grids to the next
};

// Three grids, phi1 the finest: refinement ratios r21 = h2/h1 and r32 = h3/h2. The apparent order
// comes from the fixed-point iteration of p = |ln|e32/e21| + q(p)| / ln r21, with
// q(p) = ln((r21^p - s)/(r32^p - s)) and s the sign of e32/e21; safety factor 1.25.
Estimativa tres_malhas(double phi1, double phi2, double phi3, double r21, double r32);

// Two grids: Richardson extrapolation with the formal order p and a safety factor of 3.
Estimativa duas_malhas(double phi1, double phi2, double r21, double p);

}  // namespace quelna::estudo
