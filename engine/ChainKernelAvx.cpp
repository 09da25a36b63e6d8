// The chains' kernel for AVX: the four lanes in one register. Compiled with -mavx alone (no
// FMA: a fused multiply-add would round once where the arithmetic rounds twice). Only called
// after ChainKernel found AVX usable.
#include "engine/ChainKernelBody.h"

#include <immintrin.h>

namespace SorvLib {
namespace {

struct AvxQuad {
    __m256d v;
    static constexpr int32_t kRegisters = 1;

    static AvxQuad load(const double* p) { return {_mm256_load_pd(p)}; }
    static AvxQuad loadu(const double* p) { return {_mm256_loadu_pd(p)}; }
    static void store(double* p, AvxQuad a) { _mm256_store_pd(p, a.v); }
    static void storeu(double* p, AvxQuad a) { _mm256_storeu_pd(p, a.v); }
    static AvxQuad zero() { return {_mm256_setzero_pd()}; }
};

inline AvxQuad add(AvxQuad a, AvxQuad b) {
    return {_mm256_add_pd(a.v, b.v)};
}
inline AvxQuad sub(AvxQuad a, AvxQuad b) {
    return {_mm256_sub_pd(a.v, b.v)};
}
inline AvxQuad mul(AvxQuad a, AvxQuad b) {
    return {_mm256_mul_pd(a.v, b.v)};
}

} // namespace

void runChainKernelAvx(ChainKernelData& data, int32_t parts) {
    ChainKernelBody::run<AvxQuad>(data, parts);
    // The caller's SSE code runs next: leave the upper halves clean.
    _mm256_zeroupper();
}

} // namespace SorvLib
