#include "engine/QUOR515EffectProbe.h"

#include <cmath>

namespace SorvLib {

SorvTest::EngineDesign QUOR515EffectProbe::design() const {
    SorvTest::EngineDesign d;
    d.sampleRate = e.getSampleRate();
    d.smoothingCoefficient = e.smoothedValues.coefficient;
    d.smoothingCount = e.smoothedValues.count;
    d.toneAllpass = e.toneAllpass;
    d.limiterCoefficient = e.limiterCoefficient;
    d.limiterScale = e.limiterScale;
    d.stretch = e.stretch;
    d.stageDelay = e.stageDelay;
    d.chainHighPass = e.chainHighPass;
    d.resonatorDelay = e.channels.resonatorDelay;
    d.resonatorGain = e.resonatorGain;
    d.resonatorFeedback1 = e.resonatorFeedback1;
    d.resonatorFeedback2 = e.resonatorFeedback2;
    for (int j = 0; j < 5; ++j)
        d.lowPassSections[j] = e.lowPassSections[j];
    d.outerBlend = e.outerBlend;
    d.innerBlend = e.innerBlend;
    d.modulationDepth = e.modulationDepth;
    for (int k = 0; k < 2; ++k) {
        d.chainCoefficient[k] = e.chainCoefficient[k];
        d.fractionCoefficient[k] = e.fractionCoefficient[k];
        d.highSection[k] = e.highSection[k];
        d.peakSections[k] = e.peakSections[k];
        d.noiseLowPass[k] = e.noiseLowPass[k];
        d.secondaryBase[k] = e.secondaryBase[k];
        d.secondaryGain[k] = e.secondaryGain[k];
        d.loopGain[k] = e.loopGain[k];
        d.restDelay[k] = e.restDelay[k];
        if (e.isDesigned()) {
            d.aLength[k] = e.aLine[k]->getLength();
            d.bLength[k] = e.bLine[k]->getLength();
            d.cLength[k] = e.cLine[k]->getLength();
            d.restLength[k] = e.restLine[k]->getLength();
            d.secondaryLength[k] = e.secondaryLine[k]->getLength();
        }
    }
    if (e.isDesigned())
        d.preDelayLength = e.preDelayLine->getLength();
    return d;
}

void QUOR515EffectProbe::injectDesign(const SorvTest::EngineDesign& d) {
    e.smoothedValues.coefficient = d.smoothingCoefficient;
    e.toneAllpass = d.toneAllpass;
    e.limiterCoefficient = d.limiterCoefficient;
    e.limiterScale = d.limiterScale;
    e.chainHighPass = d.chainHighPass;
    e.resonatorGain = d.resonatorGain;
    e.resonatorFeedback1 = d.resonatorFeedback1;
    e.resonatorFeedback2 = d.resonatorFeedback2;
    for (int j = 0; j < 5; ++j)
        e.lowPassSections[j] = d.lowPassSections[j];
    e.outerBlend = d.outerBlend;
    e.innerBlend = d.innerBlend;
    e.modulationDepth = d.modulationDepth;
    for (int k = 0; k < 2; ++k) {
        e.chainCoefficient[k] = d.chainCoefficient[k];
        e.fractionCoefficient[k] = d.fractionCoefficient[k];
        e.highSection[k] = d.highSection[k];
        e.peakSections[k] = d.peakSections[k];
        e.noiseLowPass[k] = d.noiseLowPass[k];
        e.secondaryBase[k] = d.secondaryBase[k];
        e.secondaryGain[k] = d.secondaryGain[k];
        e.loopGain[k] = d.loopGain[k];
        e.restDelay[k] = d.restDelay[k];
    }
}

void QUOR515EffectProbe::setTargetAndCurrent(int index, double value) {
    e.convertTargets();
    e.smoothedValues.target[index] = value;
    e.smoothedValues.current[index] = value;
}

template <typename Check> bool QUOR515EffectProbe::everyState(Check check) const {
    auto all = [&check](const double* values, size_t count) {
        for (size_t i = 0; i < count; ++i)
            if (!check(values[i]))
                return false;
        return true;
    };
    // A line's samples, through its own reads: whole delays 0 .. length − 1 cover every
    // sample once the positions are where they are.
    auto line = [&check](const DelayLine* l) {
        if (!l)
            return true;
        for (int32_t c = 0; c < l->getChannels(); ++c)
            for (int32_t back = 0; back < l->getLength(); ++back)
                if (!check(l->readInterpolated(c, back)))
                    return false;
        return true;
    };
    bool ok = all(e.channels.toneState, 2) && all(e.channels.limiterEnvelope, 2) &&
              all(&e.chains.chainHighPassState[0][0], 4) && all(&e.chains.chainInput[0][0], 4) &&
              all(&e.chains.chainOutput[0][0], 4) &&
              all(&e.channels.lowPassState[0][0][0], sizeof(e.channels.lowPassState) / sizeof(double)) &&
              all(&e.chains.highInput[0][0], 4) && all(&e.chains.highOutput[0][0], 4) &&
              all(&e.channels.highFeedback[0][0], 4) &&
              all(&e.channels.peakState[0][0][0], sizeof(e.channels.peakState) / sizeof(double)) &&
              all(&e.channels.noiseFilterState[0][0][0], sizeof(e.channels.noiseFilterState) / sizeof(double)) &&
              line(e.preDelayLine.get());
    // Stage states, high-section states and stage buffers.
    if (e.chainMemory)
        ok = ok && all(e.chains.stageState, ChainKernelData::memoryValues(e.stageDelay));
    for (int k = 0; k < 2 && ok; ++k) {
        if (e.resonatorBufferP[k])
            ok = ok && all(e.resonatorBufferP[k].get(), static_cast<size_t>(e.channels.resonatorDelay)) &&
                 all(e.resonatorBufferQ[k].get(), static_cast<size_t>(e.channels.resonatorDelay));
        ok = ok && line(e.cLine[k].get()) && line(e.restLine[k].get()) && line(e.aLine[k].get()) &&
             line(e.bLine[k].get()) && line(e.secondaryLine[k].get());
    }
    return ok;
}

bool QUOR515EffectProbe::channelIsZero(int c) const {
    bool zero = e.channels.toneState[c] == 0.0 && e.channels.limiterEnvelope[c] == 0.0 &&
                e.channels.resonatorPosition[c] == 0 && e.preDelayLine->getPosition(c) == 0;
    for (int j = 0; j < 5; ++j)
        zero = zero && e.channels.lowPassState[j][0][c] == 0.0 && e.channels.lowPassState[j][1][c] == 0.0;
    for (int j = 0; j < 2; ++j)
        zero = zero && e.channels.peakState[j][0][c] == 0.0 && e.channels.peakState[j][1][c] == 0.0;
    for (int i = 0; i < e.channels.resonatorDelay; ++i)
        zero = zero && e.resonatorBufferP[c][i] == 0.0 && e.resonatorBufferQ[c][i] == 0.0;
    auto lineIsZero = [c](const DelayLine& line) {
        if (line.getPosition(c) != 0)
            return false;
        for (int32_t back = 0; back < line.getLength(); ++back)
            if (line.readInterpolated(c, back) != 0.0)
                return false;
        return true;
    };
    zero = zero && lineIsZero(*e.preDelayLine);
    for (int k = 0; k < 2; ++k) {
        const ChainKernelData& d = e.chains;
        zero = zero && d.chainInput[k][c] == 0.0 && d.chainOutput[k][c] == 0.0 &&
               d.chainHighPassState[k][c] == 0.0 && d.highInput[k][c] == 0.0 &&
               d.highOutput[k][c] == 0.0 && e.channels.highFeedback[k][c] == 0.0 &&
               e.channels.noiseFilterState[k][0][c] == 0.0 && e.channels.noiseFilterState[k][1][c] == 0.0 &&
               lineIsZero(*e.cLine[k]) && lineIsZero(*e.restLine[k]) && lineIsZero(*e.aLine[k]) &&
               lineIsZero(*e.bLine[k]) && lineIsZero(*e.secondaryLine[k]);
        if (!e.chainMemory)
            continue;
        // Lane 2k + c in every group of four values: stage states [stage][slot], high states
        // [section][s1, s2] and stage buffers [position][stage].
        const int lane = 2 * k + c;
        const size_t values = ChainKernelData::memoryValues(e.stageDelay);
        for (size_t v = lane; v < values; v += ChainKernelData::kLanes)
            zero = zero && d.stageState[v] == 0.0;
    }
    return zero;
}

bool QUOR515EffectProbe::everyStateIsZero() const {
    return everyState([](double v) { return v == 0.0; });
}

bool QUOR515EffectProbe::everyStateIsFinite() const {
    return everyState([](double v) { return std::isfinite(v); });
}

} // namespace SorvLib
