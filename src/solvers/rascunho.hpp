// Work arrays of the solvers, kept from one call to the next so that a call allocates nothing
// once the grid has been seen.
#pragma once

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

namespace quelna::detalhe {

// Work array number k (0 to 2) of this thread, with at least n entries. It holds whatever the
// last call left there: a solver writes each entry before it reads it. The sanitizer build fills
// it with NaN on every call, so that an entry read before it is written shows in the results.
inline double* rascunho(int k, std::size_t n) {
    thread_local std::vector<double> v[3];
    std::vector<double>& r = v[k];
    if (r.size() < n) r.resize(n);
#ifdef QUELNA_RASCUNHO_VENENO
    std::fill(r.begin(), r.end(), std::numeric_limits<double>::quiet_NaN());
#endif
    return r.data();
}

}  // namespace quelna::detalhe
