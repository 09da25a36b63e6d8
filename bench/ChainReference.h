#pragma once
// The yardstick of the engine benchmarks: a loop that does nothing but the dependent arithmetic
// of the two 100-stage allpass chains and the two 90-section high chains, with the four chains
// side by side and both lanes as one pair: per stage w = (w − u)·a + x, per section
// y = x·b0 + s1, the independent operands read from memory as the engine reads its states.
// Each sample's chains start afresh, so the processor may overlap one sample's chains with the
// next; with `serial` every chain starts from the previous sample's result, which gives the
// latency of one sample's chains alone.

#include <emmintrin.h>

class ChainReference {
public:
    explicit ChainReference(bool serial) : serial(serial) {
        for (int k = 0; k < 2; ++k) {
            for (int i = 0; i < 101; ++i)
                u[k][i][0] = u[k][i][1] = 1e-3 * (i + 1) * (k + 1);
            for (int i = 0; i < 90; ++i)
                s1[k][i][0] = s1[k][i][1] = -1e-3 * (i + 2) * (k + 1);
        }
    }

    void run(int samples) {
        const __m128d a = _mm_set1_pd(0.69);
        const __m128d b0 = _mm_set1_pd(0.3);
        const __m128d carry = _mm_set1_pd(serial ? 1e-3 : 0.0);
        for (int s = 0; s < samples; ++s) {
            if (serial) {
                wA = _mm_mul_pd(wA, carry);
                wB = _mm_mul_pd(wB, carry);
                yA = _mm_add_pd(_mm_mul_pd(yA, carry), _mm_load_pd(u[0][100]));
                yB = _mm_add_pd(_mm_mul_pd(yB, carry), _mm_load_pd(u[1][100]));
            } else {
                wA = wB = _mm_setzero_pd();
                yA = _mm_load_pd(u[0][100]);
                yB = _mm_load_pd(u[1][100]);
            }
            int i = 0;
            for (int group = 0; group < 9; ++group) {
#pragma GCC unroll 10
                for (int step = 0; step < 10; ++step, ++i) {
                    wA = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(wA, _mm_load_pd(u[0][i + 1])), a),
                                    _mm_load_pd(u[0][i]));
                    wB = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(wB, _mm_load_pd(u[1][i + 1])), a),
                                    _mm_load_pd(u[1][i]));
                    yA = _mm_add_pd(_mm_mul_pd(yA, b0), _mm_load_pd(s1[0][i]));
                    yB = _mm_add_pd(_mm_mul_pd(yB, b0), _mm_load_pd(s1[1][i]));
                }
            }
#pragma GCC unroll 10
            for (; i < 100; ++i) {
                wA = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(wA, _mm_load_pd(u[0][i + 1])), a),
                                _mm_load_pd(u[0][i]));
                wB = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(wB, _mm_load_pd(u[1][i + 1])), a),
                                _mm_load_pd(u[1][i]));
            }
            // The results count: the compiler may not drop the sample's arithmetic.
            __asm__ volatile("" : "+x"(wA), "+x"(wB), "+x"(yA), "+x"(yB));
        }
    }

private:
    bool serial;
    alignas(16) double u[2][101][2];
    alignas(16) double s1[2][90][2];
    __m128d wA = _mm_setzero_pd();
    __m128d wB = _mm_setzero_pd();
    __m128d yA = _mm_setzero_pd();
    __m128d yB = _mm_setzero_pd();
};
