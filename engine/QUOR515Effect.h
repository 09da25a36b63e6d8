#pragma once

#include "core/SorvEffect.h"
#include "engine/BiquadCoefficients.h"
#include "engine/ChainKernel.h"
#include "engine/ChannelState.h"
#include "engine/DelayLine.h"
#include "engine/StereoSteps.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace SorvLib {

// The QUOR-515 reverb: the framework's effect with the product's parameters and the engine.
// A tone tilt and a soft limiter feed a pre-delay, which feeds two dispersive feedback loops,
// each closed through a chain of 100 stretched allpass stages; the chains' sum passes a
// stretched resonator and a five-section low-pass, and two secondary loops of 90 squared
// allpass sections give the bright part through a peaking pair. Every delay of the loops is
// noise-modulated. All memory is allocated in setupProcessing; the audio path only indexes it.
class QUOR515Effect : public SorvEffect {
public:
    QUOR515Effect();
    ~QUOR515Effect() override;

    // Main thread: the framework's part, then the product's parameters.
    tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
    // Any thread (the audio thread under a VST 2 host): the framework's path, then a mark
    // that the next block converts the tag's stored value into its engine target. Takes no
    // lock, allocates nothing.
    tresult PLUGIN_API setParamNormalized(ParamID tag, ParamValue value) SMTG_OVERRIDE;
    // Main thread, no audio running: re-applies the parameters and clears every engine state.
    tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;
    // Main thread, inactive: designs every filter and delay for the sample rate and makes every
    // buffer. The only place the engine allocates.
    tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
    // Main thread: 3.5 seconds of tail.
    Steinberg::uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE;

    // Main thread, on the 5 ms meter timer: the limiter's gain reduction as "Overload".
    void PLUGIN_API updateMeters() SMTG_OVERRIDE;
    // Audio thread, no lock, no allocation; both run processBlock.
    void PLUGIN_API processFloat(Steinberg::Vst::ProcessData& data, float** inputs, float** outputs,
                                 int32 sampleCount) SMTG_OVERRIDE;
    void PLUGIN_API processDouble(Steinberg::Vst::ProcessData& data, double** inputs,
                                  double** outputs, int32 sampleCount) SMTG_OVERRIDE;

    const MeterRow* meterTable() const override;

    static constexpr int32 kChains = 2;        // loop A and loop B
    static constexpr int32 kLanes = 2;         // the two channels, run as one pair
    static constexpr int32 kStages = 100;      // allpass stages per dispersion chain
    static constexpr int32 kHighSections = 90; // second-order sections per high chain
    static constexpr int32 kLowPassCount = 5;

    // Indices of smoothedValues.
    enum SmoothedIndex : int32 { runGain, toneAmount, limiterDrive, preDelaySamples, mix };
    static constexpr int32 kSmoothedCount = 5;

private:
    // Tests read the design and state through this class.
    friend class QUOR515EffectProbe;

    template <typename Sample>
    void processBlock(Steinberg::Vst::ProcessData& data, Sample** inputs, Sample** outputs,
                      int32 sampleCount);
    void smoothingStep();
    // One channel of one sample; draws holds its four noise draws.
    double runChannel(int32 c, double x, const double* draws);
    // The stereo steps' design and lines for a block, and the lines' positions back after it.
    void makeStereoSteps(StereoSteps& steps);
    void detachLines(const StereoSteps& steps);
    void sendMeter(Steinberg::Vst::ProcessData& data);
    // Audio thread at a block's start, or main thread while no block runs: the marked targets
    // from the values as stored now, at the rate of the design.
    void convertTargets();
    double targetOf(int32 index);
    void resetEngine();
    // Every signal state to zero as on activation; the smoothed values keep going.
    void clearSignalState();
    bool signalStateIsFinite(double wetCheck) const;
    bool linesInStep() const;
    void releaseEngine();
    bool isDesigned() const { return preDelayLine != nullptr; }
    void makeChainMemory();
    void design(double fs);

    // The targets are derived only from the stored values, on the thread that runs the
    // blocks, so no interleaving of setters can leave a target that disagrees with its value.
    struct SmoothedValues {
        int32 count = 0;
        double coefficient = 0.0;
        double current[kSmoothedCount] = {};
        double target[kSmoothedCount] = {};
    } smoothedValues;
    // One bit per smoothed value whose parameter was set since its target was last converted.
    // A setter stores its value before it sets the bit, and a block clears the bits before it
    // reads the values: a value stored after that read marks its target again.
    std::atomic<uint32_t> targetsToConvert{0};
    // The rate the engine is designed for, 0 without a design; the pre-delay's target is in
    // its samples.
    double designRate = 0.0;

    // The states of the steps around the chains, both channels.
    ChannelState channels;

    // Tone stage and limiter.
    BiquadCoefficients toneAllpass;
    double limiterCoefficient = 0.0;
    double limiterScale = 0.0;
    // Written per sample, read by updateMeters on the main thread.
    std::atomic<double> limiterGain[kLanes];
    double blockMinGain = 1.0;
    // Whether blocks send the gain-reduction meter to the host; set on the main thread.
    bool meterToHost = true;

    // Stretched allpass chains; their stages, states and hand-over values live in `chains`.
    double stretch = 0.0;
    int32 stageDelay = 1;
    double chainCoefficient[kChains] = {};
    double fractionCoefficient[kChains] = {};
    BiquadCoefficients chainHighPass;

    // Stretched resonator, per channel; its delay and positions are in `channels`.
    double resonatorGain = 0.0;
    double resonatorFeedback1 = 0.0;
    double resonatorFeedback2 = 0.0;
    std::unique_ptr<double[]> resonatorBufferP[kLanes];
    std::unique_ptr<double[]> resonatorBufferQ[kLanes];

    // Low-pass cascade.
    BiquadCoefficients lowPassSections[kLowPassCount];

    // High chains (run in `chains`) and the secondary loops around them.
    BiquadCoefficients highSection[kChains];
    double secondaryBase[kChains] = {};
    double secondaryGain[kChains] = {};
    std::unique_ptr<DelayLine> secondaryLine[kChains];

    // Peaking pair.
    BiquadCoefficients peakSections[2];

    // Dispersion loops.
    double outerBlend = 0.0;
    double innerBlend = 0.0;
    double loopGain[kChains] = {};
    double restDelay[kChains] = {};
    double modulationDepth = 0.0;
    std::unique_ptr<DelayLine> cLine[kChains];
    std::unique_ptr<DelayLine> restLine[kChains];
    std::unique_ptr<DelayLine> aLine[kChains];
    std::unique_ptr<DelayLine> bLine[kChains];

    // Delay modulation: low-pass 0 for the dispersion loops, 1 for the high loops.
    BiquadCoefficients noiseLowPass[2];

    std::unique_ptr<DelayLine> preDelayLine;

    // The four chains with their memory: the stage buffers and the stage and high-section
    // states in one block aligned to 32 bytes (which not every target's allocator promises),
    // so that the lanes can be operands of the vector arithmetic.
    ChainKernelData chains;
    std::unique_ptr<double[]> chainMemory;
    // Chosen at setup for this processor; runs the four chains for one sample.
    ChainKernel::Kind chainKernelKind = ChainKernel::kSse2;
    ChainKernel::Entry runChains = runChainKernelSse2;
    // The stereo steps compiled for the same instruction set.
    StereoSteps::Parts stereoParts = stereoStepsSse2();
};

} // namespace SorvLib
