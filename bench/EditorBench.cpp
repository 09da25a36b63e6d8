// Cost of drawing the editor window into its pixel buffer: the whole window, one knob step
// (what a drag or automation redraws) and one editor-timer tick, at zoom 1 and 1.25 and both
// bitmap qualities. The pixels a step touches are reported beside the time.

#include "vstgui/CFrame.h"
#include "editor/SorvView.h"
#include "engine/QUOR515Effect.h"
#include "engine/QUOR515Ids.h"
#include "support/TestHostContext.h"

#include "pluginterfaces/gui/iplugview.h"

#include <benchmark/benchmark.h>

#include <chrono>

using namespace Steinberg;
using namespace SorvLib;
using namespace VSTGUI;

namespace {

// The product's editor open on a live effect, as a host opens it.
class Editor {
public:
    Editor(double zoom, bool high) : effect(new QUOR515Effect) {
        effect->initialize(context.unknown());
        plugView = effect->createView("editor");
        view = dynamic_cast<SorvView*>(plugView);
        plugView->attached(&parent, kPlatformTypeHWND);
        view->setUISize(zoom);
        frame()->setBitmapInterpolationQuality(high ? BitmapInterpolationQuality::kHigh
                                                    : BitmapInterpolationQuality::kLow);
        frame()->drawAll();
        frame()->drawDirty();
    }
    ~Editor() {
        plugView->removed();
        plugView->release();
        effect->terminate();
        effect->release();
    }
    CFrame* frame() const { return view->getFrame(); }

    SorvTest::TestHostContext context;
    QUOR515Effect* effect;
    IPlugView* plugView = nullptr;
    SorvView* view = nullptr;
    int parent = 0;
};

double zoomOf(const benchmark::State& state) {
    return state.range(0) / 100.0;
}

void wholeWindow(benchmark::State& state) {
    Editor editor(zoomOf(state), state.range(1) != 0);
    for (auto _ : state) {
        editor.frame()->drawAll();
        benchmark::DoNotOptimize(editor.frame()->getBuffer().pixels.data());
    }
    state.counters["pixels"] =
        double(editor.frame()->pixelWidth()) * double(editor.frame()->pixelHeight());
}

void knobStep(benchmark::State& state) {
    Editor editor(zoomOf(state), state.range(1) != 0);
    double value = 0.0;
    int64_t pixels = 0, steps = 0;
    for (auto _ : state) {
        value = value >= 1.0 ? 0.0 : value + 1.0 / 120.0;
        editor.effect->setParamNormalized(kFxMixId, value);
        PixelRect area = editor.frame()->drawDirty();
        pixels += int64_t(area.right - area.left) * (area.bottom - area.top);
        ++steps;
    }
    state.counters["pixels_per_step"] = double(pixels) / double(steps ? steps : 1);
}

// A first sweep through every knob frame: each frame is scaled on its first draw.
void knobStepFirstSweep(benchmark::State& state) {
    double total = 0.0;
    int64_t steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            Editor editor(zoomOf(state), state.range(1) != 0);
            auto start = std::chrono::steady_clock::now();
            for (int i = 0; i <= 120; ++i) {
                editor.effect->setParamNormalized(kFxMixId, i / 120.0);
                editor.frame()->drawDirty();
            }
            total +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            steps += 121;
        }
        state.ResumeTiming();
    }
    state.counters["us_per_step"] = total * 1e6 / double(steps ? steps : 1);
}

void timerTick(benchmark::State& state) {
    Editor editor(zoomOf(state), state.range(1) != 0);
    double overload = 0.0;
    for (auto _ : state) {
        overload = overload >= 1.0 ? 0.0 : overload + 1.0 / 30.0;
        editor.effect->setParamNormalized(kOverloadId, overload);
        editor.view->notify(nullptr, CVSTGUITimer::kMsgTimer);
        editor.frame()->drawDirty();
    }
}

} // namespace

// Arguments: zoom in percent, bitmap quality (1 high, 0 low).
BENCHMARK(wholeWindow)
    ->Args({100, 1})
    ->Args({125, 1})
    ->Args({125, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(knobStep)->Args({100, 1})->Args({125, 1})->Args({125, 0})->Unit(benchmark::kMicrosecond);
BENCHMARK(knobStepFirstSweep)->Args({100, 1})->Args({125, 1})->Iterations(5);
BENCHMARK(timerTick)->Args({100, 1})->Args({125, 1})->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
