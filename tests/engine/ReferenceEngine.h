#pragma once
// A plain scalar transcription of the reverb's signal path, kept apart from the product's
// optimised code: every lane of every chain runs in its own loop, the delay lines are simple
// rings that count their reads, and the noise source is a private copy of the xorshift. It
// takes the product's design (coefficients and lengths) and nothing else.

#include "engine/BiquadCoefficients.h"

#include <cstdint>
#include <vector>

namespace SorvTest {

using SorvLib::BiquadCoefficients;

// Everything setupProcessing designs, as plain values.
struct EngineDesign {
    double sampleRate = 0.0;
    double smoothingCoefficient = 0.0;
    int smoothingCount = 0;
    BiquadCoefficients toneAllpass;
    double limiterCoefficient = 0.0;
    double limiterScale = 0.0;
    double stretch = 0.0;
    int stageDelay = 0;
    double chainCoefficient[2] = {};
    double fractionCoefficient[2] = {};
    BiquadCoefficients chainHighPass;
    int resonatorDelay = 0;
    double resonatorGain = 0.0;
    double resonatorFeedback1 = 0.0;
    double resonatorFeedback2 = 0.0;
    BiquadCoefficients lowPassSections[5];
    BiquadCoefficients highSection[2];
    BiquadCoefficients peakSections[2];
    BiquadCoefficients noiseLowPass[2];
    double secondaryBase[2] = {};
    double secondaryGain[2] = {};
    double outerBlend = 0.0;
    double innerBlend = 0.0;
    double loopGain[2] = {};
    double restDelay[2] = {};
    double modulationDepth = 0.0;
    int aLength[2] = {};
    int bLength[2] = {};
    int cLength[2] = {};
    int restLength[2] = {};
    int secondaryLength[2] = {};
    int preDelayLength = 0;
};

// A ring of `length` samples per channel: before the current sample is written, the slot at
// the write index holds the sample written `length` samples ago.
class ReferenceLine {
public:
    ReferenceLine() = default;
    explicit ReferenceLine(int length);
    // The sample written `back` samples before the current one (0: the current one, which
    // must be written already), as the ring's slot for it holds it.
    double history(int channel, int back) const;
    // Whether that slot still holds the sample `back` samples before the current one.
    bool holds(int back, bool currentWritten) const;
    double oldest(int channel) { return ring[channel][index[channel]]; }
    void put(int channel, double value);
    void write(int channel, double value) { ring[channel][index[channel]] = value; }
    void advance(int channel) { index[channel] = (index[channel] + 1) % length; }
    int badReads = 0;

private:
    int length = 1;
    std::vector<double> ring[2];
    int index[2] = {};
};

class ReferenceEngine {
public:
    ReferenceEngine(const EngineDesign& design, uint32_t noiseState);

    // Targets from normalized values, as the product computes them.
    void setPower(double power, bool bypassed);
    void setTone(double v);
    void setLimiter(double v);
    void setPreDelay(double v);
    void setMix(double v);

    // What setActive does to the engine.
    void reset();

    // One block; in and out may be the same buffers.
    void process(float* const* in, float* const* out, int channels, int samples);
    void process(double* const* in, double* const* out, int channels, int samples);

    double blockMinGain = 1.0;
    uint32_t noise;
    double current[5] = {};
    double target[5] = {};
    double limiterGain[2] = {1.0, 1.0};

    // Reads outside a line's history, over all lines.
    int badReads() const;

private:
    template <typename T> void run(T* const* in, T* const* out, int channels, int samples);
    double draw();
    double modulatedDelay(int kind, int loop, int c);
    double channelStep(int c, double x);
    void chain(int which);
    void highChain(int which);

    EngineDesign d;
    int badReadsBeforeReset = 0;
    double toneState[2] = {};
    double limiterEnvelope[2] = {};
    // [chain][stage][lane] and [chain][stage][position][lane].
    std::vector<double> stageS1[2], stageS2[2], stageBuffer[2];
    int stagePosition[2] = {};
    double chainHighPassState[2][2] = {};
    double chainInput[2][2] = {};
    double chainOutput[2][2] = {};
    std::vector<double> resonatorP[2], resonatorQ[2];
    int resonatorPosition[2] = {};
    double lowPassS1[5][2] = {}, lowPassS2[5][2] = {};
    double highS1[2][90][2] = {}, highS2[2][90][2] = {};
    double highInput[2][2] = {};
    double highOutput[2][2] = {};
    double highFeedback[2][2] = {};
    double peakS1[2][2] = {}, peakS2[2][2] = {};
    double noiseFilter[2][2][2] = {};
    ReferenceLine preDelay;
    ReferenceLine cLine[2], restLine[2], aLine[2], bLine[2], secondaryLine[2];
};

} // namespace SorvTest
