#include "engine/QUOR515Effect.h"

#include "core/ClassFactory.h"
#include "core/CoreIds.h"
#include "core/FactoryPatches.h"
#include "engine/FilterDesign.h"
#include "engine/NoiseModulator.h"
#include "engine/PredelayParameter.h"
#include "engine/QUOR515Ids.h"
#include "engine/SignalPath.h"
#include "engine/StereoSteps.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <type_traits>

namespace SorvLib {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Parameters.
constexpr double kKnobMax = 10.0;
constexpr double kLimiterDefault = 3.0;
constexpr double kMixDefault = 5.0;
constexpr double kToneDefault = 5.0;
constexpr int32 kKnobPrecision = 1;
constexpr double kSwitchThreshold = 0.5;
constexpr double kToneDepth = 0.8741074588205833; // 1 - 10^(-18/20)
constexpr double kDriveSlope = 81.0;
constexpr double kDriveOffset = 33.0;
constexpr double kDecibelsToExponent = 0.05;
constexpr double kDriveScale = 8.70142984443495;
constexpr double kMillisecond = 0.001;
constexpr double kOverloadPerDecade = -1.6666666666666665; // -20 dB per decade over 12 dB
constexpr double kTailSeconds = 3.5;

// Design.
constexpr double kSmoothingRate = 20.0;
constexpr double kOuterBlend = 0.1;
constexpr double kInnerBlend = 0.075;
constexpr double kLoopGain[2] = {-0.70625, -0.746297};
constexpr double kSecondaryGain[2] = {-0.90141, -0.92362};
constexpr double kStretchPerHertz = 7.960199004975125e-05; // 1 / 12562.5
constexpr double kChainCoefficient = 0.69;
constexpr double kChainHighPassHz = 40.0;
constexpr double kResonatorAngle = 791.437473150115;
constexpr double kResonatorDecay = 699.4098633538985;
constexpr double kLowPassHz[QUOR515Effect::kLowPassCount] = {
    1238.99540625, 2780.58375, 4214.1031875, 5271.4259999999995, 5830.4635312499995};
constexpr double kLowPassQ[QUOR515Effect::kLowPassCount] = {0.7495, 1.8639, 3.5609, 6.9419,
                                                            22.2779};
constexpr double kHighAllpassHz[2] = {3743.0, 2753.1};
constexpr double kPeakHz[2] = {7310.0, 14620.0};
constexpr double kPeakQ[2] = {8.4, 5.0};
constexpr double kPeakGain[2] = {37.0, 6.0};
constexpr double kNoiseLowPassHz[2] = {107.3, 93.5};
constexpr double kChainStagesDelay = 100.0; // stages per chain, as a delay multiplier
constexpr double kLoopSeconds[2] = {0.059791666, 0.074958334};
constexpr double kCTapSeconds[2] = {0.029895833, 0.037479167};
constexpr double kATapShare = 0.2;
constexpr double kBTapStretch = 1.06;
constexpr double kSecondaryShare[2] = {0.4347826086956522, 0.31545741324921134}; // 1/2.3, 1/3.17
constexpr double kMaxPreDelaySeconds = 0.15;
constexpr double kToneAllpassHz = 2000.0;
constexpr double kLimiterScale = 16.32993161855452; // sqrt(800/3)
constexpr double kLimiterRate = 18.726591760299623;
constexpr double kUnitQ = 1.0;
constexpr double kUnitGain = 1.0;
constexpr double kNoSecondQ = -1.0;
// Far above any audio rate; keeps every length and buffer size well inside 32 bits.
constexpr double kHighestSampleRate = 1.0e7;

// Signal path.
constexpr double kRunThreshold = 2.220446049250313e-16;
using namespace SignalPath;

constexpr int32 kDispersionDraw = StereoSteps::kDispersionDraw;
constexpr int32 kHighDraw = StereoSteps::kHighDraw;
constexpr int32 kDrawsPerChannel = StereoSteps::kDrawsPerChannel;

const MeterRow kMeters[] = {{"GR Meter", kGrMeterId, 0, kGainReductionMeter}, {nullptr, 0, 0, 0}};

void remake(std::unique_ptr<double[]>& buffer, int32 count) {
    buffer.reset();
    buffer.reset(new double[static_cast<size_t>(count)]());
}

void remake(std::unique_ptr<DelayLine>& line, int32 length) {
    line.reset();
    line.reset(new DelayLine(QUOR515Effect::kLanes, length));
}

// A sample that is not a finite number enters the engine as silence; once inside the loops it
// would never leave them.
inline double finiteOrZero(double x) {
    return std::isfinite(x) ? x : 0.0;
}

int32 atLeastOne(double value) {
    return static_cast<int32>(std::max(1.0, value));
}

// One sample through a second-order section in transposed direct form II; state {s1, s2} of
// one channel in an array of [s1, s2][channel].
inline double runSection(const BiquadCoefficients& k, double (&state)[2][QUOR515Effect::kLanes],
                         int32 c, double x) {
    const double y = x * k.b0 + state[0][c];
    state[0][c] = (x * k.b1 - y * k.a1) + state[1][c];
    state[1][c] = x * k.b2 - y * k.a2;
    return y;
}

// A first-order section keeps only s1.
inline double runFirstOrder(const BiquadCoefficients& k, double& state, double x) {
    const double y = x * k.b0 + state;
    state = x * k.b1 - y * k.a1;
    return y;
}

} // namespace

QUOR515Effect::QUOR515Effect() : SorvEffect(SorvLib::factoryPatches) {
    for (auto& gain : limiterGain)
        gain.store(1.0, std::memory_order_relaxed);
}

QUOR515Effect::~QUOR515Effect() = default;

FUnknown* createInstance(void*) {
    auto* effect = new (std::nothrow) QUOR515Effect();
    if (!effect)
        return nullptr;
    return static_cast<IAudioProcessor*>(effect);
}

const MeterRow* QUOR515Effect::meterTable() const {
    return kMeters;
}

// The host calls this: nothing the parameters' allocation throws may reach it.
tresult PLUGIN_API QUOR515Effect::initialize(FUnknown* context) try {
    const tresult result = SorvEffect::initialize(context);
    if (result != kResultOk)
        return result;
    // An AU host takes no meter from the audio thread. Asked here and at each setup, on the
    // main thread, so that a block never queries the host's interfaces.
    meterToHost = getHostFormat() != kHostAU;

    auto* power =
        new StringListParameter(STR16("Power"), kPowerId, nullptr,
                                ParameterInfo::kCanAutomate | ParameterInfo::kIsList, kRootUnitId);
    power->appendString(STR16("Off"));
    power->appendString(STR16("On"));
    power->getInfo().defaultNormalizedValue = 1.0;
    power->setNormalized(1.0);
    parameters.addParameter(power);

    auto addKnob = [this](const TChar* title, ParamID id, double defaultPlain) {
        auto* knob = new RangeParameter(title, id, nullptr, 0.0, kKnobMax, defaultPlain, 0,
                                        ParameterInfo::kCanAutomate, kRootUnitId);
        knob->setPrecision(kKnobPrecision);
        parameters.addParameter(knob);
    };
    addKnob(STR16("Fx Limiter"), kFxLimiterId, kLimiterDefault);
    addKnob(STR16("Fx Mix"), kFxMixId, kMixDefault);
    addKnob(STR16("Tone"), kToneId, kToneDefault);

    parameters.addParameter(new PredelayParameter(STR16("Pre-Delay"), kPreDelayId));

    parameters.addParameter(STR16("Overload"), nullptr, 0, 0.0, ParameterInfo::kIsReadOnly,
                            kOverloadId, kRootUnitId);
    parameters.addParameter(STR16("GR Meter"), nullptr, 0, 1.0, ParameterInfo::kIsReadOnly,
                            kGrMeterId, kRootUnitId);
    return result;
} catch (const std::bad_alloc&) {
    return kOutOfMemory;
} catch (...) {
    return kInternalError;
}

tresult PLUGIN_API QUOR515Effect::setParamNormalized(ParamID tag, ParamValue value) {
    const tresult result = SorvEffect::setParamNormalized(tag, value);
    if (result != kResultOk)
        return result;
    int32 index = -1;
    if (tag == kPowerId || tag == kMasterBypassId)
        index = runGain;
    else if (tag == kToneId)
        index = toneAmount;
    else if (tag == kFxLimiterId)
        index = limiterDrive;
    else if (tag == kPreDelayId)
        index = preDelaySamples;
    else if (tag == kFxMixId)
        index = mix;
    if (index >= 0)
        targetsToConvert.fetch_or(1u << index, std::memory_order_release);
    return result;
}

void QUOR515Effect::convertTargets() {
    if (targetsToConvert.load(std::memory_order_relaxed) == 0)
        return;
    const uint32_t marked = targetsToConvert.exchange(0, std::memory_order_acquire);
    for (int32 i = 0; i < kSmoothedCount; ++i)
        if (marked & (1u << i))
            smoothedValues.target[i] = targetOf(i);
}

double QUOR515Effect::targetOf(int32 index) {
    switch (index) {
    case runGain:
        if (isBypassed())
            return 0.0;
        return getParamNormalized(kPowerId) >= kSwitchThreshold ? 1.0 : 0.0;
    case toneAmount:
        return getParamNormalized(kToneId) * kToneDepth;
    case limiterDrive: {
        const double v = getParamNormalized(kFxLimiterId);
        return std::pow(10.0, (kDriveSlope * v - kDriveOffset) * kDecibelsToExponent) * kDriveScale;
    }
    case preDelaySamples: {
        Parameter* parameter = parameters.getParameter(kPreDelayId);
        const double milliseconds = parameter->toPlain(getParamNormalized(kPreDelayId));
        return std::floor((milliseconds * kMillisecond) * designRate);
    }
    case mix:
        return getParamNormalized(kFxMixId);
    default:
        return 0.0;
    }
}

tresult PLUGIN_API QUOR515Effect::setActive(TBool state) {
    const tresult result = SorvEffect::setActive(state);
    if (result != kResultOk)
        return result;
    resetEngine();
    return result;
}

void QUOR515Effect::resetEngine() {
    convertTargets();
    for (int32 i = 0; i < smoothedValues.count; ++i)
        smoothedValues.current[i] = smoothedValues.target[i];
    clearSignalState();
}

void QUOR515Effect::clearSignalState() {
    for (auto& gain : limiterGain)
        gain.store(1.0, std::memory_order_relaxed);
    channels.clear();
    chains.clear();
    for (int32 chain = 0; chain < kChains; ++chain)
        for (auto* line : {cLine[chain].get(), restLine[chain].get(), aLine[chain].get(),
                           bLine[chain].get(), secondaryLine[chain].get()})
            if (line)
                line->clear();
    if (preDelayLine)
        preDelayLine->clear();
}

uint32 PLUGIN_API QUOR515Effect::getTailSamples() {
    const double fs = getSampleRate();
    if (!(fs > 0.0))
        return 0;
    const double tail = std::ceil(kTailSeconds * fs);
    constexpr double kLongestTail = std::numeric_limits<uint32>::max();
    return static_cast<uint32>(std::min(tail, kLongestTail));
}

void PLUGIN_API QUOR515Effect::updateMeters() {
    double overload = 0.0;
    if (!isBypassed() && getParamNormalized(kPowerId) > kSwitchThreshold) {
        const double g = std::min(limiterGain[1].load(std::memory_order_relaxed),
                                  std::min(1.0, limiterGain[0].load(std::memory_order_relaxed)));
        overload = std::min(1.0, kOverloadPerDecade * std::log10(g));
    }
    setParamNormalized(kOverloadId, overload);
    SorvEffect::updateMeters();
}

void QUOR515Effect::releaseEngine() {
    chainMemory.reset();
    chains.stageState = chains.highState = chains.stageBuffers = nullptr;
    for (int32 c = 0; c < kLanes; ++c) {
        resonatorBufferP[c].reset();
        resonatorBufferQ[c].reset();
        channels.resonatorP[c] = channels.resonatorQ[c] = nullptr;
    }
    for (int32 chain = 0; chain < kChains; ++chain) {
        cLine[chain].reset();
        restLine[chain].reset();
        aLine[chain].reset();
        bLine[chain].reset();
        secondaryLine[chain].reset();
    }
    preDelayLine.reset();
    smoothedValues.count = 0;
    designRate = 0.0;
}

tresult PLUGIN_API QUOR515Effect::setupProcessing(ProcessSetup& setup) {
    const tresult result = SorvEffect::setupProcessing(setup);
    if (result != kResultOk)
        return result;
    meterToHost = getHostFormat() != kHostAU;

    // A rate that is not a positive number, or absurdly high, leaves no engine: blocks then
    // pass through unchanged instead of running a design made for another rate.
    const double fs = getSampleRate();
    if (!(fs > 0.0 && fs <= kHighestSampleRate)) {
        releaseEngine();
        return kInvalidArgument;
    }
    // The widest kernel this processor and its operating system run.
    chainKernelKind = ChainKernel::choose();
    runChains = ChainKernel::entry(chainKernelKind);
    stereoParts = StereoSteps::parts(chainKernelKind);
    try {
        design(fs);
    } catch (const std::bad_alloc&) {
        releaseEngine();
        return kOutOfMemory;
    }
    // Rates far below audio (under about 350 Hz) have no sound design: a modulated delay
    // could fall below one sample and read outside its line, or the resonator's radius
    // reaches 1 and its output grows without bound.
    bool usable = resonatorFeedback2 < 1.0;
    for (int32 loop = 0; loop < kChains; ++loop)
        usable = usable && restDelay[loop] - modulationDepth >= 1.0 &&
                 secondaryBase[loop] - modulationDepth * 0.5 >= 1.0;
    if (!usable) {
        releaseEngine();
        return kInvalidArgument;
    }
    // A host that processes without activating again must not read a pre-delay from the
    // previous rate beyond the new line.
    const double longestPreDelay = preDelayLine->getLength() - 1;
    double& preDelay = smoothedValues.current[preDelaySamples];
    preDelay = std::min(preDelay, longestPreDelay);
    return result;
}

void QUOR515Effect::makeChainMemory() {
    const size_t values = ChainKernelData::memoryValues(stageDelay);
    chainMemory.reset();
    chains.stageState = chains.highState = chains.stageBuffers = nullptr;
    // Room to start on a 32-byte boundary.
    constexpr size_t kAlignment = 32;
    constexpr size_t kSpare = kAlignment / sizeof(double);
    chainMemory.reset(new double[values + kSpare]());
    void* start = chainMemory.get();
    size_t room = (values + kSpare) * sizeof(double);
    double* aligned =
        static_cast<double*>(std::align(kAlignment, values * sizeof(double), start, room));
    chains.stageDelay = stageDelay;
    chains.stageState = aligned;
    chains.highState = aligned + ChainKernelData::kStageStateValues;
    chains.stageBuffers = chains.highState + ChainKernelData::kHighStateValues;
    // A host that designs again while active keeps the old position; it must stay inside the
    // new buffers.
    if (chains.stagePosition >= stageDelay)
        chains.stagePosition = 0;
}

void QUOR515Effect::design(double fs) {
    // Every target is converted again at this rate.
    designRate = fs;
    targetsToConvert.store((1u << kSmoothedCount) - 1, std::memory_order_relaxed);

    // 1. Smoothing.
    smoothedValues.coefficient = 1.0 - std::exp(-kSmoothingRate / fs);
    smoothedValues.count = kSmoothedCount;

    // 2. Loop constants.
    outerBlend = kOuterBlend;
    innerBlend = kInnerBlend;
    for (int32 loop = 0; loop < kChains; ++loop) {
        loopGain[loop] = kLoopGain[loop];
        secondaryGain[loop] = kSecondaryGain[loop];
    }

    // 3. Stretch: each stage delays DC by stageDelay + 1 + d samples.
    stretch = fs * kStretchPerHertz;
    const double kc = std::ceil(stretch);
    chainCoefficient[kLoopA] = chainCoefficient[kLoopB] = kChainCoefficient;
    stageDelay = std::max(1, static_cast<int32>(kc) - 2);
    const double d = stretch - (kc - 1.0);
    fractionCoefficient[kLoopA] = fractionCoefficient[kLoopB] = (1.0 - d) / (d + 1.0);

    // 4. Stage buffers, one value per lane and sample of delay, all in one array.
    makeChainMemory();

    // 5.
    designBiquad(chainHighPass, FilterType::highPass1, fs, kChainHighPassHz, kUnitQ, kUnitGain,
                 kNoSecondQ);

    // 6. Resonator: a two-pole resonator with every delay stretched to N samples.
    channels.resonatorDelay = atLeastOne(std::floor(stretch));
    const double n = channels.resonatorDelay;
    const double theta = n * kResonatorAngle * (1.0 / fs);
    const double r = 1.0 - n * kResonatorDecay * (1.0 / fs);
    const double r2 = r * r;
    resonatorGain = (1.0 - r2) * 0.5;
    // The grouping through 1/R fixes the bits at every usable rate; at the one rate where R
    // is exactly 0 it would give 0·(−inf), so the equal plain form is taken there.
    resonatorFeedback1 = r == 0.0 ? -(1.0 + r2) * std::cos(theta)
                                  : (std::cos(theta) * r) * ((-1.0 / r) * (r2 + 1.0));
    resonatorFeedback2 = r2;
    for (int32 c = 0; c < kLanes; ++c) {
        channels.resonatorP[c] = channels.resonatorQ[c] = nullptr;
        remake(resonatorBufferP[c], channels.resonatorDelay);
        remake(resonatorBufferQ[c], channels.resonatorDelay);
        channels.resonatorP[c] = resonatorBufferP[c].get();
        channels.resonatorQ[c] = resonatorBufferQ[c].get();
        // A host that designs again while active keeps the old positions; they must stay
        // inside the new buffers.
        if (channels.resonatorPosition[c] >= channels.resonatorDelay)
            channels.resonatorPosition[c] = 0;
    }

    // 7.
    for (int32 j = 0; j < kLowPassCount; ++j)
        designBiquad(lowPassSections[j], FilterType::lowPass, fs, kLowPassHz[j], kLowPassQ[j],
                     kUnitGain, kNoSecondQ);

    // 8. Each high section is a first-order allpass squared.
    for (int32 chain = 0; chain < kChains; ++chain) {
        BiquadCoefficients first;
        designBiquad(first, FilterType::allPass1, fs, kHighAllpassHz[chain], kUnitQ, kUnitGain,
                     kNoSecondQ);
        highSection[chain] =
            BiquadCoefficients{first.b0 * first.b0, 2.0 * first.b0 * first.b1, 2.0 * first.a1,
                               first.b1 * first.b1, first.a1 * first.a1};
    }

    // 9.
    for (int32 j = 0; j < 2; ++j)
        designFilter(peakSections[j], fs, kPeakHz[j], kPeakQ[j], kPeakGain[j]);

    // 10.
    for (int32 kind = 0; kind < 2; ++kind)
        designBiquad(noiseLowPass[kind], FilterType::lowPass1, fs, kNoiseLowPassHz[kind], kUnitQ,
                     kUnitGain, kNoSecondQ);

    // 11. Loop lengths, less the DC delay of a whole chain.
    const double h = stretch * kChainStagesDelay;
    double loopLength[kChains];
    double cTap[kChains];
    for (int32 loop = 0; loop < kChains; ++loop) {
        loopLength[loop] = fs * kLoopSeconds[loop] -
                           ((1.0 - chainCoefficient[loop]) * h) / (chainCoefficient[loop] + 1.0);
        cTap[loop] = fs * kCTapSeconds[loop];
    }
    modulationDepth = fs * kMillisecond;

    // 12. The rest line is read before it is written, at up to restDelay + modulationDepth
    // samples back; at the top of that range the read reaches one sample further than the
    // floor of the largest delay, so the line keeps one more sample of history.
    for (int32 loop = 0; loop < kChains; ++loop) {
        const double l = loopLength[loop];
        const int32 a = atLeastOne(std::ceil(kATapShare * l));
        const int32 b = atLeastOne(std::ceil(stretch * kBTapStretch));
        const int32 c = atLeastOne(std::ceil(cTap[loop]) - 1.0);
        restDelay[loop] = ((l - c) - a) - b;
        const int32 restLength = atLeastOne(std::floor(restDelay[loop] + modulationDepth));
        remake(aLine[loop], a);
        remake(bLine[loop], b);
        remake(cLine[loop], c);
        remake(restLine[loop], restLength + 1);
    }

    // 13. Secondary lines: one more sample of history for the same reason as the rest lines.
    for (int32 loop = 0; loop < kChains; ++loop) {
        secondaryBase[loop] = loopLength[loop] * kSecondaryShare[loop];
        const int32 length = atLeastOne(std::floor(modulationDepth * 0.5 + secondaryBase[loop]));
        remake(secondaryLine[loop], length + 1);
    }

    // 14. The pre-delay is read after the write, so its longest delay, floor(0.15·fs), needs
    // that many samples plus the current one.
    remake(preDelayLine, atLeastOne(std::floor(fs * kMaxPreDelaySeconds)) + 1);

    // 15.
    designBiquad(toneAllpass, FilterType::allPass1, fs, kToneAllpassHz, kUnitQ, kUnitGain,
                 kNoSecondQ);

    // 16.
    limiterScale = kLimiterScale;
    limiterCoefficient = 1.0 - std::exp(-kLimiterRate / fs);
}

void PLUGIN_API QUOR515Effect::processFloat(ProcessData& data, float** inputs, float** outputs,
                                            int32 sampleCount) {
    processBlock(data, inputs, outputs, sampleCount);
}

void PLUGIN_API QUOR515Effect::processDouble(ProcessData& data, double** inputs, double** outputs,
                                             int32 sampleCount) {
    processBlock(data, inputs, outputs, sampleCount);
}

inline void QUOR515Effect::smoothingStep() {
    const double coefficient = smoothedValues.coefficient;
    for (int32 i = 0; i < smoothedValues.count; ++i) {
        const double target = smoothedValues.target[i];
        double& current = smoothedValues.current[i];
        current = (target - current) * coefficient + current;
    }
}

template <typename Sample>
void QUOR515Effect::processBlock(ProcessData& data, Sample** inputs, Sample** outputs,
                                 int32 sampleCount) {
    // The engine has state for two channels; the framework accepts no wider bus.
    int32 n = std::min(data.inputs[0].numChannels, data.outputs[0].numChannels);
    n = std::max(0, std::min(n, kLanes));

    blockMinGain = 1.0;
    convertTargets();
    const double* current = smoothedValues.current;
    const bool run =
        isDesigned() && (smoothedValues.target[runGain] == 1.0 || current[runGain] > kRunThreshold);

    if (!run) {
        // The engine stands still; samples are copied without conversion.
        for (int32 s = 0; s < sampleCount; ++s) {
            smoothingStep();
            for (int32 c = 0; c < n; ++c)
                outputs[c][s] = inputs[c][s];
        }
        sendMeter(data);
        return;
    }

    chains.setDesign(chainHighPass, chainCoefficient, fractionCoefficient, highSection);
    const ChainKernel::Entry runFourChains = runChains;
    double dry[kLanes];
    double wet[kLanes];
    // Stays 0 while every wet sample is finite: w − w is 0 for a number and NaN otherwise.
    double wetCheck = 0.0;
    // The block's noise in one step of the shared source; each sample then steps on from
    // it and draws its values in the order the channel steps use them.
    const int32 drawsPerSample = n * kDrawsPerChannel;
    uint32_t noise = takeNoiseSteps(static_cast<uint64_t>(std::max(0, sampleCount)) *
                                    static_cast<uint64_t>(drawsPerSample));
    double draws[kLanes * kDrawsPerChannel];

    // The output of sample s from its dry and wet values, the smoothed values of its step and
    // the limiter's gains.
    auto emit = [&](int32 s, const double* dryIn, const double* wetIn, double runValue,
                    double mixValue, const double* gains) {
        for (int32 c = 0; c < n; ++c) {
            outputs[c][s] =
                static_cast<Sample>(((wetIn[c] - dryIn[c]) * mixValue) * runValue + dryIn[c]);
            const double gm = (gains[c] - 1.0) * runValue + 1.0;
            // Written so that a gain that is not a number (after such input) never becomes
            // the block's minimum and reaches the host.
            if (gm < blockMinGain)
                blockMinGain = gm;
        }
    };

    // Both channels as one pair when every line has them in step, as it does unless a block
    // ran channel 0 alone since activation.
    if (n == kLanes && linesInStep()) {
        const StereoSteps::Parts parts = stereoParts;
        StereoSteps steps;
        makeStereoSteps(steps);
        // A sample's values live from its entry until its output, which is two samples later:
        // three of each, by the sample's place in a round of three.
        StereoSteps::Sample samples[3];
        StereoSteps::Between between[3];
        double runValues[3];
        double mixValues[3];
        // A sample's smoothed values, its noise (channel 0's draws first, kept as
        // [draw][channel]) and its input.
        auto prepare = [&](int32 s) {
            smoothingStep();
            StereoSteps::Sample& sample = samples[s % 3];
            for (int32 c = 0; c < kLanes; ++c)
                for (int32 i = 0; i < kDrawsPerChannel; ++i) {
                    noise = noiseStep(noise);
                    sample.draws[i * kLanes + c] = noiseValue(noise);
                }
            // Every input of the sample is read before any output is written, so in-place
            // buffers work.
            for (int32 c = 0; c < kLanes; ++c)
                sample.dry[c] = finiteOrZero(static_cast<double>(inputs[c][s]));
            sample.toneAmount = current[toneAmount];
            sample.limiterDrive = current[limiterDrive];
            sample.preDelaySamples = current[preDelaySamples];
            runValues[s % 3] = current[runGain];
            mixValues[s % 3] = current[mix];
        };
        auto entered = [&](int32 s) {
            for (int32 c = 0; c < kLanes; ++c)
                limiterGain[c].store(between[s % 3].limiterGain[c], std::memory_order_relaxed);
        };
        auto output = [&](int32 s) {
            wetCheck += (wet[0] - wet[0]) + (wet[1] - wet[1]);
            emit(s, samples[s % 3].dry, wet, runValues[s % 3], mixValues[s % 3],
                 between[s % 3].limiterGain);
        };
        if (!ChainKernel::runsHalves(chainKernelKind)) {
            // One sample's chains whole per call, in the order of the steps.
            for (int32 s = 0; s < sampleCount; ++s) {
                prepare(s);
                parts.enter(steps, samples[s % 3], between[s % 3]);
                entered(s);
                parts.feed(steps, samples[s % 3], between[s % 3]);
                parts.leave(steps, between[s % 3], wet);
                output(s);
                runFourChains(chains, ChainKernel::kWholeSample);
            }
        } else if (sampleCount > 0) {
            // Each chain runs in two halves a call apart: a call finishes sample s's allpass
            // chains and starts its high chains, starts sample s + 1's allpass chains and
            // finishes sample s − 1's high chains. The steps of each sample run as their inputs
            // are ready: at sample s, leave for s − 1, feed for s and enter for s + 1.
            prepare(0);
            parts.enter(steps, samples[0], between[0]);
            entered(0);
            runFourChains(chains, ChainKernel::kStartAllpass);
            for (int32 s = 0; s < sampleCount; ++s) {
                const bool next = s + 1 < sampleCount;
                if (next)
                    prepare(s + 1);
                StereoSteps::Turn turn{};
                turn.leaving = s > 0 ? &between[(s + 2) % 3] : nullptr;
                turn.wet = wet;
                turn.feeding = &samples[s % 3];
                turn.fed = &between[s % 3];
                turn.entering = next ? &samples[(s + 1) % 3] : nullptr;
                turn.entered = next ? &between[(s + 1) % 3] : nullptr;
                parts.turn(steps, turn);
                int32 chainParts = ChainKernel::kFinishAllpass | ChainKernel::kStartHigh;
                if (s > 0) {
                    output(s - 1);
                    chainParts |= ChainKernel::kFinishHigh;
                }
                if (next) {
                    entered(s + 1);
                    chainParts |= ChainKernel::kStartAllpass;
                }
                runFourChains(chains, chainParts);
            }
            parts.leave(steps, between[(sampleCount - 1) % 3], wet);
            output(sampleCount - 1);
            runFourChains(chains, ChainKernel::kFinishHigh);
        }
        detachLines(steps);
    } else {
        for (int32 s = 0; s < sampleCount; ++s) {
            smoothingStep();
            for (int32 i = 0; i < drawsPerSample; ++i) {
                noise = noiseStep(noise);
                draws[i] = noiseValue(noise);
            }
            for (int32 c = 0; c < n; ++c) {
                dry[c] = finiteOrZero(static_cast<double>(inputs[c][s]));
                wet[c] = runChannel(c, dry[c], draws + c * kDrawsPerChannel);
                wetCheck += wet[c] - wet[c];
            }
            runFourChains(chains, ChainKernel::kWholeSample);
            double gains[kLanes];
            for (int32 c = 0; c < n; ++c)
                gains[c] = limiterGain[c].load(std::memory_order_relaxed);
            emit(s, dry, wet, current[runGain], current[mix], gains);
        }
    }
    // Finite input can still overflow inside (a sample near the largest double times the
    // limiter's drive). What is not a number would circulate in the loops for good, so the
    // engine starts again from silence, as after activation.
    if (!signalStateIsFinite(wetCheck))
        clearSignalState();
    sendMeter(data);
}

bool QUOR515Effect::linesInStep() const {
    bool inStep = preDelayLine->inStep();
    for (int32 loop = 0; loop < kChains; ++loop)
        inStep = inStep && cLine[loop]->inStep() && restLine[loop]->inStep() &&
                 aLine[loop]->inStep() && bLine[loop]->inStep() && secondaryLine[loop]->inStep();
    return inStep;
}

bool QUOR515Effect::signalStateIsFinite(double wetCheck) const {
    // A value that is not a number shows here sooner or later: at once when it arises in the
    // tone stage or the limiter, and in the chains' outputs or the wet signal once it has come
    // through the lines it was written into.
    double check = wetCheck;
    for (int32 c = 0; c < kLanes; ++c)
        check += (channels.limiterEnvelope[c] - channels.limiterEnvelope[c]) +
                 (channels.toneState[c] - channels.toneState[c]);
    for (int32 k = 0; k < kChains; ++k)
        for (int32 lane = 0; lane < kLanes; ++lane)
            check += (chains.chainOutput[k][lane] - chains.chainOutput[k][lane]) +
                     (chains.highOutput[k][lane] - chains.highOutput[k][lane]);
    return check == 0.0;
}

inline double QUOR515Effect::runChannel(int32 c, double x, const double* draws) {
    const double* current = smoothedValues.current;

    // Tone tilt.
    const double y = runFirstOrder(toneAllpass, channels.toneState[c], x);
    const double drive = current[limiterDrive];
    const double p = drive * (x - y * current[toneAmount]);

    // Soft limiter: the gain of a sample comes from the envelope before its update.
    const double e = channels.limiterEnvelope[c];
    const double g = kLimiterKnee / (e + kLimiterKnee);
    const double q = p * g;
    limiterGain[c].store(g, std::memory_order_relaxed);
    const double lim = q / drive;
    channels.limiterEnvelope[c] =
        ((std::sqrt(std::fabs(p - q)) * limiterScale + 1.0) - e) * limiterCoefficient + e;

    // Pre-delay: the current sample is in the line when it is read.
    preDelayLine->write(c, lim);
    const double longestPreDelay = preDelayLine->getLength() - 1;
    const double pd =
        preDelayLine->readInterpolated(c, withinLine(current[preDelaySamples], longestPreDelay));
    preDelayLine->advance(c);

    const double feed =
        (channels.highFeedback[kLoopA][c] + channels.highFeedback[kLoopB][c]) * kHighFeedbackShare +
        pd;

    // Dispersion loops; the chains' outputs of the previous sample enter the rest lines.
    for (int32 loop = 0; loop < kChains; ++loop) {
        const double delay = NoiseModulator::dispersionDelay(
            noiseLowPass[kDispersionNoise], channels.noiseFilterState[loop][kDispersionNoise][c],
            modulationDepth, restDelay[loop], draws[kDispersionDraw + loop]);
        DelayLine& rest = *restLine[loop];
        DelayLine& aTap = *aLine[loop];
        DelayLine& bTap = *bLine[loop];
        DelayLine& cTap = *cLine[loop];
        const double m = rest.readInterpolated(c, delay);
        const double u = m * innerBlend + aTap.readOldest(c);
        const double v = u * outerBlend + bTap.readOldest(c);
        chains.chainInput[loop][c] = cTap.readOldest(c);
        rest.write(c, chains.chainOutput[loop][c]);
        rest.advance(c);
        aTap.write(c, m);
        aTap.advance(c);
        bTap.write(c, u);
        bTap.advance(c);
        cTap.write(c, v * loopGain[loop] + feed);
        cTap.advance(c);
    }

    // Stretched resonator.
    const double s = chains.chainOutput[kLoopB][c] + chains.chainOutput[kLoopA][c];
    const int32 k = channels.resonatorPosition[c];
    double* bufferP = channels.resonatorP[c];
    double* bufferQ = channels.resonatorQ[c];
    const double w = s * resonatorGain;
    const double res = w - bufferQ[k];
    const double p0 = bufferP[k];
    bufferP[k] = res * resonatorFeedback2 + w;
    bufferQ[k] = res * resonatorFeedback1 + p0;
    channels.resonatorPosition[c] = k + 1 == channels.resonatorDelay ? 0 : k + 1;
    const double r = (s - res) * kResonatorDryShare + res;

    double lo = r;
    for (int32 j = 0; j < kLowPassCount; ++j)
        lo = runSection(lowPassSections[j], channels.lowPassState[j], c, lo);

    // Secondary loops; the high chains' outputs of the previous sample enter their lines.
    const double direct = s * kDirectShare + pd;
    for (int32 loop = 0; loop < kChains; ++loop) {
        const double delay = NoiseModulator::highDelay(
            noiseLowPass[kHighNoise], channels.noiseFilterState[loop][kHighNoise][c],
            modulationDepth, secondaryBase[loop], draws[kHighDraw + loop]);
        DelayLine& line = *secondaryLine[loop];
        chains.highInput[loop][c] = line.readInterpolated(c, delay) * secondaryGain[loop] + direct;
        line.write(c, chains.highOutput[loop][c]);
        line.advance(c);
        channels.highFeedback[loop][c] = chains.highOutput[loop][c];
    }

    double hp = channels.highFeedback[kLoopB][c] + channels.highFeedback[kLoopA][c];
    hp = runSection(peakSections[0], channels.peakState[0], c, hp);
    hp = runSection(peakSections[1], channels.peakState[1], c, hp);

    return hp * kPeakWetShare + lo * kLowPassWetShare;
}

void QUOR515Effect::makeStereoSteps(StereoSteps& steps) {
    steps.tone = StereoSteps::section(toneAllpass);
    for (int32 j = 0; j < kLowPassCount; ++j)
        steps.lowPass[j] = StereoSteps::section(lowPassSections[j]);
    for (int32 j = 0; j < 2; ++j) {
        steps.peak[j] = StereoSteps::section(peakSections[j]);
        steps.noise[j] = StereoSteps::section(noiseLowPass[j]);
    }
    steps.limiterScale = StereoSteps::both(limiterScale);
    steps.limiterCoefficient = StereoSteps::both(limiterCoefficient);
    steps.modulationDepth = StereoSteps::both(modulationDepth);
    steps.innerBlend = StereoSteps::both(innerBlend);
    steps.outerBlend = StereoSteps::both(outerBlend);
    steps.resonatorGain = StereoSteps::both(resonatorGain);
    steps.resonatorFeedback1 = StereoSteps::both(resonatorFeedback1);
    steps.resonatorFeedback2 = StereoSteps::both(resonatorFeedback2);
    for (int32 loop = 0; loop < kChains; ++loop) {
        steps.restDelay[loop] = StereoSteps::both(restDelay[loop]);
        steps.loopGain[loop] = StereoSteps::both(loopGain[loop]);
        steps.secondaryBase[loop] = StereoSteps::both(secondaryBase[loop]);
        steps.secondaryGain[loop] = StereoSteps::both(secondaryGain[loop]);
    }
    steps.longestPreDelay = preDelayLine->getLength() - 1;
    steps.state = &channels;
    steps.chains = &chains;

    auto& cursor = steps.cursor;
    auto& frame = steps.frame;
    frame.pre = cursor.pre.attach(*preDelayLine);
    for (int32 loop = 0; loop < kChains; ++loop) {
        frame.rest[loop] = cursor.rest[loop].attach(*restLine[loop]);
        frame.a[loop] = cursor.a[loop].attach(*aLine[loop]);
        frame.b[loop] = cursor.b[loop].attach(*bLine[loop]);
        frame.c[loop] = cursor.c[loop].attach(*cLine[loop]);
        frame.secondary[loop] = cursor.secondary[loop].attach(*secondaryLine[loop]);
    }
}

void QUOR515Effect::detachLines(const StereoSteps& steps) {
    const auto& cursor = steps.cursor;
    const auto& frame = steps.frame;
    cursor.pre.detach(*preDelayLine, frame.pre);
    for (int32 loop = 0; loop < kChains; ++loop) {
        cursor.rest[loop].detach(*restLine[loop], frame.rest[loop]);
        cursor.a[loop].detach(*aLine[loop], frame.a[loop]);
        cursor.b[loop].detach(*bLine[loop], frame.b[loop]);
        cursor.c[loop].detach(*cLine[loop], frame.c[loop]);
        cursor.secondary[loop].detach(*secondaryLine[loop], frame.secondary[loop]);
    }
}

void QUOR515Effect::sendMeter(ProcessData& data) {
    if (!data.outputParameterChanges || !meterToHost)
        return;
    int32 queueIndex = 0;
    IParamValueQueue* queue = data.outputParameterChanges->addParameterData(kGrMeterId, queueIndex);
    if (!queue)
        return;
    int32 pointIndex = 0;
    queue->addPoint(0, isBypassed() ? 0.0 : 1.0 - blockMinGain, pointIndex);
}

} // namespace SorvLib
