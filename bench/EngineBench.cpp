// Cost of the reverb per stereo sample, against the latency bound of its design: a loop that
// does nothing but the dependent arithmetic of the two 100-stage allpass chains and the two
// 90-section high chains, with the four chains side by side and both lanes as one pair.

#include "engine/QUOR515Effect.h"
#include "engine/QUOR515Ids.h"
#include "support/TestHostContext.h"

#include <benchmark/benchmark.h>
#include <emmintrin.h>

#include <chrono>
#include <cstdint>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32 kBlock = 512;

// Figures from the wall time of the whole measured loop.
class Meter {
public:
    Meter() : start(std::chrono::steady_clock::now()) {}
    void report(benchmark::State& state, double sampleRate, int64_t samples) const {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["ns_per_sample"] = seconds * 1e9 / static_cast<double>(samples);
        state.counters["realtime_x"] = static_cast<double>(samples) / sampleRate / seconds;
    }

private:
    std::chrono::steady_clock::time_point start;
};

template <typename T> void processBlocks(benchmark::State& state) {
    const double sampleRate = static_cast<double>(state.range(0));
    SorvTest::TestHostContext context;
    auto* effect = new SorvLib::QUOR515Effect();
    effect->initialize(static_cast<IHostApplication*>(&context));
    const int32 sampleSize = sizeof(T) == 4 ? kSample32 : kSample64;
    ProcessSetup setup = {kRealtime, sampleSize, kBlock, sampleRate};
    effect->setupProcessing(setup);
    effect->setParamNormalized(SorvLib::kPreDelayId, 0.4);
    effect->setActive(true);

    std::vector<T> in[2];
    std::vector<T> out[2];
    uint32_t noise = 1;
    for (int c = 0; c < 2; ++c) {
        in[c].resize(kBlock);
        out[c].resize(kBlock);
        for (T& v : in[c]) {
            noise = noise * 1664525u + 1013904223u;
            v = static_cast<T>(static_cast<int32_t>(noise) * 2.3283064365386963e-10);
        }
    }
    T* inputs[2] = {in[0].data(), in[1].data()};
    T* outputs[2] = {out[0].data(), out[1].data()};
    AudioBusBuffers inBus = {};
    AudioBusBuffers outBus = {};
    inBus.numChannels = outBus.numChannels = 2;
    if (sizeof(T) == 4) {
        inBus.channelBuffers32 = reinterpret_cast<float**>(inputs);
        outBus.channelBuffers32 = reinterpret_cast<float**>(outputs);
    } else {
        inBus.channelBuffers64 = reinterpret_cast<double**>(inputs);
        outBus.channelBuffers64 = reinterpret_cast<double**>(outputs);
    }
    ProcessData data;
    data.symbolicSampleSize = sampleSize;
    data.numSamples = kBlock;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;

    // One second of sound first, so that every line carries signal.
    for (int32 done = 0; done < sampleRate; done += kBlock)
        effect->process(data);

    int64_t samples = 0;
    const Meter meter;
    for (auto _ : state) {
        effect->process(data);
        benchmark::DoNotOptimize(out[0].data());
        samples += kBlock;
    }
    meter.report(state, sampleRate, samples);
    effect->setActive(false);
    effect->terminate();
    effect->release();
}

void processFloat(benchmark::State& state) {
    processBlocks<float>(state);
}
void processDouble(benchmark::State& state) {
    processBlocks<double>(state);
}

// The dependent operations only: per stage w = (w − u)·a + x, per section y = x·b0 + s1, the
// independent operands read from memory as the engine reads its states. Each sample's chains
// start afresh, so the processor may overlap one sample's chains with the next; with
// `serial` every chain starts from the previous sample's result, which gives the latency of
// one sample's chains alone.
void chainReference(benchmark::State& state, bool serial) {
    const double sampleRate = static_cast<double>(state.range(0));
    alignas(16) double u[2][101][2];
    alignas(16) double s1[2][90][2];
    for (int k = 0; k < 2; ++k) {
        for (int i = 0; i < 101; ++i)
            u[k][i][0] = u[k][i][1] = 1e-3 * (i + 1) * (k + 1);
        for (int i = 0; i < 90; ++i)
            s1[k][i][0] = s1[k][i][1] = -1e-3 * (i + 2) * (k + 1);
    }
    const __m128d a = _mm_set1_pd(0.69);
    const __m128d b0 = _mm_set1_pd(0.3);
    const __m128d carry = _mm_set1_pd(serial ? 1e-3 : 0.0);
    __m128d wA = _mm_setzero_pd();
    __m128d wB = _mm_setzero_pd();
    __m128d yA = _mm_setzero_pd();
    __m128d yB = _mm_setzero_pd();
    int64_t samples = 0;
    const Meter meter;
    for (auto _ : state) {
        for (int s = 0; s < kBlock; ++s) {
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
            benchmark::DoNotOptimize(wA);
            benchmark::DoNotOptimize(wB);
            benchmark::DoNotOptimize(yA);
            benchmark::DoNotOptimize(yB);
        }
        samples += kBlock;
    }
    meter.report(state, sampleRate, samples);
}

void chainLatencyBound(benchmark::State& state) {
    chainReference(state, false);
}
void chainLatencyBoundSerial(benchmark::State& state) {
    chainReference(state, true);
}

} // namespace

BENCHMARK(processFloat)->Arg(44100)->Arg(48000);
BENCHMARK(processDouble)->Arg(44100)->Arg(48000);
BENCHMARK(chainLatencyBound)->Arg(44100)->Arg(48000);
BENCHMARK(chainLatencyBoundSerial)->Arg(44100)->Arg(48000);

BENCHMARK_MAIN();
