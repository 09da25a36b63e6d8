// The chains' kernel for SSE2, the baseline of every processor the product runs on: the four
// lanes as two pairs.
#include "engine/ChainKernelBody.h"

#include <emmintrin.h>

namespace SorvLib {
namespace {

struct Sse2Quad {
    __m128d lo, hi;
    static constexpr int32_t kRegisters = 2;

    static Sse2Quad load(const double* p) { return {_mm_load_pd(p), _mm_load_pd(p + 2)}; }
    static Sse2Quad loadu(const double* p) { return {_mm_loadu_pd(p), _mm_loadu_pd(p + 2)}; }
    static void store(double* p, Sse2Quad v) {
        _mm_store_pd(p, v.lo);
        _mm_store_pd(p + 2, v.hi);
    }
    static void storeu(double* p, Sse2Quad v) {
        _mm_storeu_pd(p, v.lo);
        _mm_storeu_pd(p + 2, v.hi);
    }
    static Sse2Quad zero() { return {_mm_setzero_pd(), _mm_setzero_pd()}; }
};

inline Sse2Quad add(Sse2Quad a, Sse2Quad b) {
    return {_mm_add_pd(a.lo, b.lo), _mm_add_pd(a.hi, b.hi)};
}
inline Sse2Quad sub(Sse2Quad a, Sse2Quad b) {
    return {_mm_sub_pd(a.lo, b.lo), _mm_sub_pd(a.hi, b.hi)};
}
inline Sse2Quad mul(Sse2Quad a, Sse2Quad b) {
    return {_mm_mul_pd(a.lo, b.lo), _mm_mul_pd(a.hi, b.hi)};
}

} // namespace

void runChainKernelSse2(ChainKernelData& data, int32_t parts) {
    ChainKernelBody::run<Sse2Quad>(data, parts);
}

} // namespace SorvLib
