#pragma once
// Reads the engine's design and state for tests, and lets a test replace the designed values
// that depend on the math library, so both builds can run on identical coefficients.

#include "engine/QUOR515Effect.h"
#include "engine/ReferenceEngine.h"

namespace SorvLib {

class QUOR515EffectProbe {
public:
    explicit QUOR515EffectProbe(QUOR515Effect& effect) : e(effect) {}

    bool isDesigned() const { return e.isDesigned(); }
    ChainKernel::Kind chainKernel() const { return e.chainKernelKind; }
    SorvTest::EngineDesign design() const;
    // Writes every floating-point design value back (lengths stay as designed).
    void injectDesign(const SorvTest::EngineDesign& design);

    double current(int index) const { return e.smoothedValues.current[index]; }
    // The target the next block runs towards: the values set since the last block converted.
    double target(int index) const {
        e.convertTargets();
        return e.smoothedValues.target[index];
    }
    void setTargetAndCurrent(int index, double value);
    double limiterGain(int channel) const { return e.limiterGain[channel].load(); }
    void setLimiterGain(int channel, double value) { e.limiterGain[channel].store(value); }
    double blockMinGain() const { return e.blockMinGain; }

    // Every state value, buffer and line sample of the engine.
    bool everyStateIsZero() const;
    bool everyStateIsFinite() const;
    // The per-channel states, buffers, lines and positions of one channel, and its lanes.
    bool channelIsZero(int c) const;
    // Lines of the modulated loops, as made (one sample more than their largest delay floor).
    const DelayLine& restLine(int loop) const { return *e.restLine[loop]; }
    const DelayLine& secondaryLine(int loop) const { return *e.secondaryLine[loop]; }
    const DelayLine& preDelayLine() const { return *e.preDelayLine; }

private:
    template <typename Check> bool everyState(Check check) const;

    QUOR515Effect& e;
};

} // namespace SorvLib
