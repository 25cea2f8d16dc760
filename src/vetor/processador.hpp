// What the processor offers beyond the x86-64 baseline, asked once at run time: the program
// runs on any x86-64 machine and takes the wide kernels where they exist.
#pragma once

namespace quelna {

// True when the AVX-512 kernels may run: the processor has AVX-512F and the baseline kernels
// have not been asked for, by the environment (QUELNA_SEM_AVX512 set) or by permite_avx512.
bool usa_avx512();

// false makes every kernel take its baseline form (SSE2), true gives the choice back to the
// processor. Both forms give the same bytes; the tests run each.
void permite_avx512(bool sim);

}  // namespace quelna
