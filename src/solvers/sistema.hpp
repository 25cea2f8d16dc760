// The five-point system that every solver sees.
#pragma once

namespace quelna {

// One row of the coefficient table: as*x(P-nx) + aw*x(P-1) + ap*x(P) + ae*x(P+1) + an*x(P+nx) = bp(P).
// The five coefficients of a volume are stored together, in this order.
struct Linha {
    double as = 0.0, aw = 0.0, ap = 0.0, ae = 0.0, an = 0.0;
};

// Rows of the lower MSI factor: diagonal e, west d, south-east c, south b.
struct FatorL {
    double e = 0.0, d = 0.0, c = 0.0, b = 0.0;
};

// Rows of the upper MSI factor (unit diagonal): east f, north-west g, north h.
struct FatorU {
    double f = 0.0, g = 0.0, h = 0.0;
};

}  // namespace quelna
