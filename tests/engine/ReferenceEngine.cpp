#include "engine/ReferenceEngine.h"

#include <algorithm>
#include <cmath>

namespace SorvTest {

ReferenceLine::ReferenceLine(int length) : length(length) {
    for (auto& channel : ring)
        channel.assign(static_cast<size_t>(length), 0.0);
}

double ReferenceLine::history(int channel, int back) const {
    const int slot = ((index[channel] - back) % length + length) % length;
    return ring[channel][static_cast<size_t>(slot)];
}

bool ReferenceLine::holds(int back, bool currentWritten) const {
    return currentWritten ? (back >= 0 && back <= length - 1) : (back >= 1 && back <= length);
}

void ReferenceLine::put(int channel, double value) {
    write(channel, value);
    advance(channel);
}

namespace {

// The pre-delay parameter's curve and mapping, written out again.
double preDelayMilliseconds(double v) {
    static const double curve[11] = {0.0,  1.65, 2.72, 4.5,  7.4,  12.3,
                                     20.2, 33.4, 55.1, 90.9, 150.0};
    double x = v;
    if (!(x > 0.0))
        x = 0.0;
    if (x > 1.0)
        x = 1.0;
    x = x * 10;
    const int i = static_cast<int>(x);
    const int next = std::min(i + 1, 10);
    return (curve[next] - curve[i]) * (x - i) + curve[i];
}

// y = b0·x + s1; s1 = (b1·x − a1·y) + s2; s2 = b2·x − a2·y.
double section(const BiquadCoefficients& k, double& s1, double& s2, double x) {
    const double y = x * k.b0 + s1;
    s1 = (x * k.b1 - y * k.a1) + s2;
    s2 = x * k.b2 - y * k.a2;
    return y;
}

double firstOrder(const BiquadCoefficients& k, double& s, double x) {
    const double y = x * k.b0 + s;
    s = x * k.b1 - y * k.a1;
    return y;
}

} // namespace

ReferenceEngine::ReferenceEngine(const EngineDesign& design, uint32_t noiseState)
    : noise(noiseState), d(design) {
    for (int k = 0; k < 2; ++k) {
        stageS1[k].assign(100 * 2, 0.0);
        stageS2[k].assign(100 * 2, 0.0);
        stageBuffer[k].assign(static_cast<size_t>(100 * d.stageDelay * 2), 0.0);
        resonatorP[k].assign(static_cast<size_t>(d.resonatorDelay), 0.0);
        resonatorQ[k].assign(static_cast<size_t>(d.resonatorDelay), 0.0);
        cLine[k] = ReferenceLine(d.cLength[k]);
        restLine[k] = ReferenceLine(d.restLength[k]);
        aLine[k] = ReferenceLine(d.aLength[k]);
        bLine[k] = ReferenceLine(d.bLength[k]);
        secondaryLine[k] = ReferenceLine(d.secondaryLength[k]);
    }
    preDelay = ReferenceLine(d.preDelayLength);
}

void ReferenceEngine::setPower(double power, bool bypassed) {
    target[0] = bypassed ? 0.0 : (power >= 0.5 ? 1.0 : 0.0);
}

void ReferenceEngine::setTone(double v) {
    target[1] = v * 0.8741074588205833;
}

void ReferenceEngine::setLimiter(double v) {
    target[2] = std::pow(10.0, (81 * v - 33) * 0.05) * 8.70142984443495;
}

void ReferenceEngine::setPreDelay(double v) {
    target[3] = std::floor((preDelayMilliseconds(v) * 0.001) * d.sampleRate);
}

void ReferenceEngine::setMix(double v) {
    target[4] = v;
}

void ReferenceEngine::reset() {
    const int earlierBadReads = badReads();
    double targets[5];
    std::copy(target, target + 5, targets);
    *this = ReferenceEngine(d, noise);
    std::copy(targets, targets + 5, target);
    for (int i = 0; i < d.smoothingCount; ++i)
        current[i] = target[i];
    badReadsBeforeReset = earlierBadReads;
}

int ReferenceEngine::badReads() const {
    int total = badReadsBeforeReset + preDelay.badReads;
    for (int k = 0; k < 2; ++k)
        total += cLine[k].badReads + restLine[k].badReads + aLine[k].badReads + bLine[k].badReads +
                 secondaryLine[k].badReads;
    return total;
}

double ReferenceEngine::draw() {
    uint32_t x = noise;
    x = x ^ (x << 13);
    const int32_t asSigned = static_cast<int32_t>(x);
    x = x ^ static_cast<uint32_t>(asSigned >> 7);
    x = x ^ (x << 17);
    noise = x;
    return static_cast<int32_t>(x) * 4.656612873077393e-10;
}

double ReferenceEngine::modulatedDelay(int kind, int loop, int c) {
    const double r = draw();
    const BiquadCoefficients& k = d.noiseLowPass[kind];
    double& s = noiseFilter[loop][kind][c];
    double y = r * k.b0 + s;
    s = r * k.b1 - y * k.a1;
    y = std::max(y, -1.0);
    y = std::min(y, 1.0);
    if (kind == 0)
        return y * d.modulationDepth + d.restDelay[loop];
    return (y * 0.5) * d.modulationDepth + d.secondaryBase[loop];
}

namespace {

// A read counts as bad when a sample it weighs is not in the line any more: the far one only
// matters when its weight is not zero (the pre-delay at its longest reads the slot of the
// sample just written, with weight 0).
double interpolated(ReferenceLine& line, int c, double delay, bool currentWritten) {
    const int i = static_cast<int>(std::floor(delay));
    const double f = delay - i;
    if (!line.holds(i, currentWritten) || (f != 0.0 && !line.holds(i + 1, currentWritten)))
        ++line.badReads;
    const double near = line.history(c, i);
    const double far = line.history(c, i + 1);
    return (far - near) * f + near;
}

} // namespace

double ReferenceEngine::channelStep(int c, double x) {
    // Tone tilt and limiter.
    const double y = firstOrder(d.toneAllpass, toneState[c], x);
    const double p = current[2] * (x - y * current[1]);
    const double e = limiterEnvelope[c];
    const double g = 54.0 / (e + 54.0);
    const double q = p * g;
    limiterGain[c] = g;
    const double lim = q / current[2];
    limiterEnvelope[c] =
        ((std::sqrt(std::fabs(p - q)) * d.limiterScale + 1) - e) * d.limiterCoefficient + e;

    // Pre-delay: written first, read, then advanced.
    preDelay.write(c, lim);
    const double pd = interpolated(preDelay, c, current[3], true);
    preDelay.advance(c);

    const double feed = (highFeedback[0][c] + highFeedback[1][c]) * 0.17 + pd;

    for (int loop = 0; loop < 2; ++loop) {
        const double D = modulatedDelay(0, loop, c);
        const double m = interpolated(restLine[loop], c, D, false);
        const double u = m * d.innerBlend + aLine[loop].oldest(c);
        const double v = u * d.outerBlend + bLine[loop].oldest(c);
        chainInput[loop][c] = cLine[loop].oldest(c);
        restLine[loop].put(c, chainOutput[loop][c]);
        aLine[loop].put(c, m);
        bLine[loop].put(c, u);
        cLine[loop].put(c, v * d.loopGain[loop] + feed);
    }

    const double s = chainOutput[1][c] + chainOutput[0][c];

    const int k = resonatorPosition[c];
    const double w = s * d.resonatorGain;
    const double res = w - resonatorQ[c][k];
    const double p0 = resonatorP[c][k];
    resonatorP[c][k] = res * d.resonatorFeedback2 + w;
    resonatorQ[c][k] = res * d.resonatorFeedback1 + p0;
    resonatorPosition[c] = (k + 1 == d.resonatorDelay) ? 0 : k + 1;
    const double r = (s - res) * 0.12589254117941673 + res;

    double lo = r;
    for (int j = 0; j < 5; ++j)
        lo = section(d.lowPassSections[j], lowPassS1[j][c], lowPassS2[j][c], lo);

    const double direct = s * 0.001 + pd;
    for (int loop = 0; loop < 2; ++loop) {
        const double D = modulatedDelay(1, loop, c);
        highInput[loop][c] =
            interpolated(secondaryLine[loop], c, D, false) * d.secondaryGain[loop] + direct;
        secondaryLine[loop].put(c, highOutput[loop][c]);
        highFeedback[loop][c] = highOutput[loop][c];
    }

    double hp = highFeedback[1][c] + highFeedback[0][c];
    hp = section(d.peakSections[0], peakS1[0][c], peakS2[0][c], hp);
    hp = section(d.peakSections[1], peakS1[1][c], peakS2[1][c], hp);
    return hp * 0.0007071067811865476 + lo * 0.7071067811865476;
}

void ReferenceEngine::chain(int which) {
    const double a = d.chainCoefficient[which];
    const double cf = d.fractionCoefficient[which];
    const int k = stagePosition[which];
    for (int lane = 0; lane < 2; ++lane) {
        const double h =
            firstOrder(d.chainHighPass, chainHighPassState[which][lane], chainInput[which][lane]);
        double x = h;
        double w = 0.0;
        double u = 0.0;
        for (int i = 0; i < 100; ++i) {
            double& s1 = stageS1[which][static_cast<size_t>(i * 2 + lane)];
            double& s2 = stageS2[which][static_cast<size_t>(i * 2 + lane)];
            double& held =
                stageBuffer[which][static_cast<size_t>((i * d.stageDelay + k) * 2 + lane)];
            const double t1 = s1;
            const double t2 = s2;
            u = t2 + t1 * cf;
            s1 = held - t1 * cf;
            s2 = t1;
            w = (w - u) * a + x;
            held = w;
            x = u;
        }
        chainOutput[which][lane] = w * a + u;
    }
    stagePosition[which] = (k + 1 == d.stageDelay) ? 0 : k + 1;
}

void ReferenceEngine::highChain(int which) {
    for (int lane = 0; lane < 2; ++lane) {
        double x = highInput[which][lane];
        for (int j = 0; j < 90; ++j)
            x = section(d.highSection[which], highS1[which][j][lane], highS2[which][j][lane], x);
        highOutput[which][lane] = x;
    }
}

template <typename T>
void ReferenceEngine::run(T* const* in, T* const* out, int channels, int samples) {
    blockMinGain = 1.0;
    const bool full = target[0] == 1.0 || current[0] > 2.220446049250313e-16;
    for (int s = 0; s < samples; ++s) {
        for (int i = 0; i < d.smoothingCount; ++i)
            current[i] = (target[i] - current[i]) * d.smoothingCoefficient + current[i];
        if (!full) {
            for (int c = 0; c < channels; ++c)
                out[c][s] = in[c][s];
            continue;
        }
        double dry[2], wet[2];
        for (int c = 0; c < channels; ++c) {
            dry[c] = in[c][s];
            wet[c] = channelStep(c, dry[c]);
        }
        chain(0);
        chain(1);
        highChain(0);
        highChain(1);
        for (int c = 0; c < channels; ++c) {
            const double mixed = ((wet[c] - dry[c]) * current[4]) * current[0] + dry[c];
            out[c][s] = static_cast<T>(mixed);
            const double gm = (limiterGain[c] - 1) * current[0] + 1;
            blockMinGain = std::min(gm, blockMinGain);
        }
    }
}

void ReferenceEngine::process(float* const* in, float* const* out, int channels, int samples) {
    run(in, out, channels, samples);
}

void ReferenceEngine::process(double* const* in, double* const* out, int channels, int samples) {
    run(in, out, channels, samples);
}

} // namespace SorvTest
