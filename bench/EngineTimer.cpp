// The engine's cost without a benchmark library, so that the same figures come from both
// builds: natively, and from the 32-bit Windows build under wine, whose engine is the DLL's.
// Per sample rate, sample size and chain kernel: nanoseconds per stereo sample and the ratio
// to the reference loop of the same run; then N instances on N threads, each relative to one
// alone. Each figure is the fastest of many short rounds, the reference loop's taken in turn
// with the engine's. Usage: engine_timer [seconds per figure, default 1]

#include "BenchInstance.h"
#include "ChainReference.h"
#include "engine/ChainKernel.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

using SorvLib::ChainKernel;

namespace {

constexpr Steinberg::int32 kBlock = 512;
double secondsPerFigure = 1.0;

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One round of blocks of `step` for about `seconds`: ns per sample.
template <typename Step> double round(Step& step, double seconds) {
    constexpr int kBlocksPerCheck = 8;
    const double start = now();
    long long samples = 0;
    double elapsed = 0.0;
    do {
        for (int i = 0; i < kBlocksPerCheck; ++i)
            step();
        samples += kBlocksPerCheck * kBlock;
        elapsed = now() - start;
    } while (elapsed < seconds);
    return elapsed * 1e9 / static_cast<double>(samples);
}

// Short rounds spread over the time of a figure; the fastest round is the figure least
// disturbed by other work on a shared machine.
constexpr double kRoundSeconds = 0.02;
int rounds() {
    return std::max(8, static_cast<int>(secondsPerFigure / kRoundSeconds));
}

template <typename Step> double nsPerSample(Step step) {
    double best = 0.0;
    for (int r = 0, count = rounds(); r < count; ++r) {
        const double ns = round(step, kRoundSeconds);
        if (r == 0 || ns < best)
            best = ns;
    }
    return best;
}

// An engine's figure with the reference loop's, their rounds taken in turn so that both see
// the same disturbances.
struct Figure {
    double ns = 0.0;
    double referenceNs = 0.0;
};

template <typename T> Figure engine(double rate, ChainKernel::Kind kind) {
    ChainKernel::prefer(kind);
    BenchInstance<T> instance(rate, kBlock);
    ChainKernel::prefer(ChainKernel::kKindCount);
    ChainReference reference(false);
    auto step = [&] { instance.process(); };
    auto referenceStep = [&] { reference.run(kBlock); };
    Figure figure;
    for (int r = 0, count = rounds(); r < count; ++r) {
        const double ns = round(step, kRoundSeconds);
        const double referenceNs = round(referenceStep, kRoundSeconds);
        if (r == 0 || ns < figure.ns)
            figure.ns = ns;
        if (r == 0 || referenceNs < figure.referenceNs)
            figure.referenceNs = referenceNs;
    }
    return figure;
}

double instancesOnThreads(int threads) {
    std::vector<std::unique_ptr<BenchInstance<double>>> instances;
    for (int i = 0; i < threads; ++i)
        instances.push_back(std::make_unique<BenchInstance<double>>(44100.0, kBlock));
    std::vector<double> ns(static_cast<size_t>(threads));
    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i)
        workers.emplace_back([&, i] {
            ns[static_cast<size_t>(i)] =
                nsPerSample([&] { instances[static_cast<size_t>(i)]->process(); });
        });
    for (auto& worker : workers)
        worker.join();
    double sum = 0.0;
    for (double v : ns)
        sum += v;
    return sum / threads;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1)
        secondsPerFigure = std::atof(argv[1]);
    if (!(secondsPerFigure > 0.0))
        secondsPerFigure = 1.0;
    std::printf("chain kernels here: SSE2%s\n",
                ChainKernel::isAvailable(ChainKernel::kAvx) ? ", AVX" : "");
    std::printf("%-6s %-6s %-6s %10s %10s %12s\n", "rate", "sample", "kernel", "ns/sample",
                "reference", "x reference");
    for (double rate : {44100.0, 48000.0})
        for (int size : {4, 8})
            for (int k = 0; k < ChainKernel::kKindCount; ++k) {
                const auto kind = static_cast<ChainKernel::Kind>(k);
                if (!ChainKernel::isAvailable(kind))
                    continue;
                const Figure f = size == 4 ? engine<float>(rate, kind) : engine<double>(rate, kind);
                std::printf("%-6.0f %-6s %-6s %10.1f %10.1f %12.2f\n", rate,
                            size == 4 ? "float" : "double", ChainKernel::name(kind), f.ns,
                            f.referenceNs, f.ns / f.referenceNs);
            }
    std::printf("instances on threads (44.1 kHz, double, %s):\n",
                ChainKernel::name(ChainKernel::choose()));
    double alone = 0.0;
    for (int threads : {1, 2, 4, 8}) {
        const double ns = instancesOnThreads(threads);
        if (threads == 1)
            alone = ns;
        std::printf("  N=%d: %.1f ns per sample per instance, %.2f x alone\n", threads, ns,
                    ns / alone);
    }
    return 0;
}
