// Cost of the reverb per stereo sample, against the latency bound of its design: a loop that
// does nothing but the dependent arithmetic of the two 100-stage allpass chains and the two
// 90-section high chains, with the four chains side by side and both lanes as one pair. Each
// chain kernel the processor runs is measured in turn and reported as a ratio to that loop,
// measured in the same run; then instances on threads, each relative to one alone.

#include "BenchInstance.h"
#include "ChainReference.h"
#include "engine/ChainKernel.h"
#include "engine/QUOR515Effect.h"
#include "engine/QUOR515Ids.h"
#include "support/TestHostContext.h"

#include <benchmark/benchmark.h>

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
    BenchInstance<T> instance(sampleRate, kBlock);
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
    std::vector<std::unique_ptr<BenchInstance<double>>> instances;
    for (int i = 0; i < threads; ++i)
        instances.push_back(std::make_unique<BenchInstance<double>>(44100.0, kBlock));
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

void chainReference(benchmark::State& state, bool serial) {
    const double sampleRate = static_cast<double>(state.range(0));
    ChainReference reference(serial);
    int64_t samples = 0;
    const Meter meter;
    for (auto _ : state) {
        reference.run(kBlock);
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
