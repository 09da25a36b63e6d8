// Cost of the reverb per stereo sample, against the latency bound of its design: a loop that
// does nothing but the dependent arithmetic of the two 100-stage allpass chains and the two
// 90-section high chains, with the four chains side by side and both lanes as one pair. Each
// chain kernel the processor runs is measured in turn and reported as a ratio to that loop,
// measured in the same run; then instances on threads, each relative to one alone.

#include "engine/ChainKernel.h"
#include "engine/QUOR515Effect.h"
#include "engine/QUOR515Ids.h"
#include "support/TestHostContext.h"

#include <benchmark/benchmark.h>
#include <emmintrin.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32 kBlock = 512;

// The reference loop's time per sample at each rate, for the ratios of the later benchmarks.
std::map<int64_t, double> referenceNs;
// One instance alone, for the scaling of instances on threads.
double aloneNs = 0.0;

// Figures from the wall time of the whole measured loop.
class Meter {
public:
    Meter() : start(std::chrono::steady_clock::now()) {}
    double report(benchmark::State& state, double sampleRate, int64_t samples,
                  bool toReference = true) const {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double ns = seconds * 1e9 / static_cast<double>(samples);
        state.counters["ns_per_sample"] = ns;
        state.counters["realtime_x"] = static_cast<double>(samples) / sampleRate / seconds;
        const auto reference = referenceNs.find(static_cast<int64_t>(sampleRate));
        if (toReference && reference != referenceNs.end())
            state.counters["x_reference"] = ns / reference->second;
        return ns;
    }

private:
    std::chrono::steady_clock::time_point start;
};

// One effect with its own stereo buffers of noise, set up and run for a second so that every
// line carries signal.
template <typename T> class Instance {
public:
    explicit Instance(double sampleRate) {
        effect->initialize(static_cast<IHostApplication*>(&context));
        const int32 sampleSize = sizeof(T) == 4 ? kSample32 : kSample64;
        ProcessSetup setup = {kRealtime, sampleSize, kBlock, sampleRate};
        effect->setupProcessing(setup);
        effect->setParamNormalized(SorvLib::kPreDelayId, 0.4);
        effect->setActive(true);

        uint32_t noise = 1;
        for (int c = 0; c < 2; ++c) {
            in[c].resize(kBlock);
            out[c].resize(kBlock);
            for (T& v : in[c]) {
                noise = noise * 1664525u + 1013904223u;
                v = static_cast<T>(static_cast<int32_t>(noise) * 2.3283064365386963e-10);
            }
            inputs[c] = in[c].data();
            outputs[c] = out[c].data();
        }
        inBus.numChannels = outBus.numChannels = 2;
        if (sizeof(T) == 4) {
            inBus.channelBuffers32 = reinterpret_cast<float**>(inputs);
            outBus.channelBuffers32 = reinterpret_cast<float**>(outputs);
        } else {
            inBus.channelBuffers64 = reinterpret_cast<double**>(inputs);
            outBus.channelBuffers64 = reinterpret_cast<double**>(outputs);
        }
        data.symbolicSampleSize = sampleSize;
        data.numSamples = kBlock;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        for (int32 done = 0; done < sampleRate; done += kBlock)
            process();
    }
    ~Instance() {
        effect->setActive(false);
        effect->terminate();
        effect->release();
    }
    void process() {
        effect->process(data);
        benchmark::DoNotOptimize(out[0].data());
    }

private:
    SorvTest::TestHostContext context;
    SorvLib::QUOR515Effect* effect = new SorvLib::QUOR515Effect();
    std::vector<T> in[2];
    std::vector<T> out[2];
    T* inputs[2] = {};
    T* outputs[2] = {};
    AudioBusBuffers inBus = {};
    AudioBusBuffers outBus = {};
    ProcessData data;
};

// Arguments: sample rate, chain kernel.
template <typename T> void processBlocks(benchmark::State& state) {
    const double sampleRate = static_cast<double>(state.range(0));
    const auto kind = static_cast<SorvLib::ChainKernel::Kind>(state.range(1));
    if (!SorvLib::ChainKernel::isAvailable(kind)) {
        state.SkipWithError("this processor does not run the kernel");
        return;
    }
    state.SetLabel(SorvLib::ChainKernel::name(kind));
    SorvLib::ChainKernel::prefer(kind);
    Instance<T> instance(sampleRate);
    SorvLib::ChainKernel::prefer(SorvLib::ChainKernel::kKindCount);

    int64_t samples = 0;
    const Meter meter;
    for (auto _ : state) {
        instance.process();
        samples += kBlock;
    }
    meter.report(state, sampleRate, samples);
}

void processFloat(benchmark::State& state) {
    processBlocks<float>(state);
}
void processDouble(benchmark::State& state) {
    processBlocks<double>(state);
}

// N instances of the best kernel at 44.1 kHz in double, each on its own thread, all processing
// at once; reported is the time per sample of one instance and its ratio to one alone.
void instancesOnThreads(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    constexpr int kBlocks = 400;
    std::vector<std::unique_ptr<Instance<double>>> instances;
    for (int i = 0; i < threads; ++i)
        instances.push_back(std::make_unique<Instance<double>>(44100.0));
    double totalNs = 0.0;
    int64_t runs = 0;
    for (auto _ : state) {
        std::vector<double> seconds(static_cast<size_t>(threads));
        std::vector<std::thread> workers;
        for (int i = 0; i < threads; ++i)
            workers.emplace_back([&, i] {
                const auto start = std::chrono::steady_clock::now();
                for (int b = 0; b < kBlocks; ++b)
                    instances[static_cast<size_t>(i)]->process();
                seconds[static_cast<size_t>(i)] =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            });
        for (auto& worker : workers)
            worker.join();
        for (double s : seconds)
            totalNs += s * 1e9 / (kBlocks * kBlock);
        runs += threads;
    }
    const double ns = totalNs / static_cast<double>(runs);
    if (threads == 1)
        aloneNs = ns;
    state.counters["ns_per_sample"] = ns;
    if (aloneNs > 0.0)
        state.counters["x_alone"] = ns / aloneNs;
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
    const double ns = meter.report(state, sampleRate, samples, false);
    if (!serial)
        referenceNs[static_cast<int64_t>(sampleRate)] = ns;
}

void chainLatencyBound(benchmark::State& state) {
    chainReference(state, false);
}
void chainLatencyBoundSerial(benchmark::State& state) {
    chainReference(state, true);
}

} // namespace

// The reference first: the kernels' ratios are to its figure of this run.
BENCHMARK(chainLatencyBound)->Arg(44100)->Arg(48000);
BENCHMARK(chainLatencyBoundSerial)->Arg(44100)->Arg(48000);
BENCHMARK(processFloat)->ArgsProduct({{44100, 48000}, {0, 1}});
BENCHMARK(processDouble)->ArgsProduct({{44100, 48000}, {0, 1}});
BENCHMARK(instancesOnThreads)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
