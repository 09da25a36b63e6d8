#pragma once
// Drives one effect of a VST 3 class factory the way a host does: creates the factory's
// audio effect class, initializes it with a host context, sets its buses, processing setup
// and parameters, runs it block by block and takes it down again in order. Parameters go
// in through the edit controller's setParamNormalized; the effect's output parameter
// changes (its meters) are collected after every block. Main thread only, like a host's
// life-cycle calls; process runs on the caller's thread.

#include "CommandLine.h"
#include "HostApplication.h"
#include "ParameterChangeList.h"
#include "RenderHost.h"
#include "SettingReader.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <map>
#include <string>
#include <vector>

namespace SorvTools {

class EffectHost : public RenderHost, private SettingReader {
public:
    // Creates and initializes the factory's audio effect class. Throws HostError.
    explicit EffectHost(Steinberg::IPluginFactory* factory);
    // Stops processing, deactivates, terminates and releases every interface.
    ~EffectHost() override;

    EffectHost(const EffectHost&) = delete;
    EffectHost& operator=(const EffectHost&) = delete;

    // "QUOR-515 1.0.0.0 by Sorv Audio Labs"
    const std::string& description() const override { return effectDescription; }
    const std::vector<ParameterDescription>& parameters() const override { return parameterList; }
    // The effect's edit controller, owned by this host (for opening its editor).
    Steinberg::Vst::IEditController* editController() const { return controller; }

    // Checks each setting strictly against the effect's parameters and converts it to a
    // normalized value with the controller's own conversion. Throws HostError at the first
    // bad one.
    std::vector<ResolvedSetting> resolve(const std::vector<ParameterSetting>& settings) override;

    // Buses of `channels` channels in and out, then setupProcessing. Throws HostError.
    void configure(int channels, double sampleRate, Precision precision,
                   Steinberg::int32 maxBlock) override;
    // setParamNormalized for each setting. Throws HostError.
    void apply(const std::vector<ResolvedSetting>& settings) override;
    // The parameter's current value as the effect shows it, with its units.
    std::string displayValue(Steinberg::Vst::ParamID id) override;
    // A normalized value of the parameter as the effect shows it, with its units.
    std::string displayValue(Steinberg::Vst::ParamID id, double normalized) override;

    // setActive(true), setProcessing(true). Throws HostError.
    void start() override;
    Steinberg::uint32 tailSamples() override;
    // One block of `samples` samples; channel arrays of the configured precision. The
    // buffers stay separate (not in place). Throws HostError.
    void process(float** inputs, float** outputs, Steinberg::int32 samples) override;
    void process(double** inputs, double** outputs, Steinberg::int32 samples) override;
    // setProcessing(false), setActive(false).
    void stop() override;

    // Highest value the effect sent for `id` as an output parameter change; false when it
    // sent none.
    bool outputPeak(Steinberg::Vst::ParamID id, double& peak) const override;

private:
    void readParameters();
    double toNormalized(const ParameterDescription& parameter, double plain) override;
    double toPlain(const ParameterDescription& parameter, double normalized) override;
    std::vector<std::string> stepTexts(const ParameterDescription& parameter) override;
    void processBlock(void** inputs, void** outputs, Steinberg::int32 samples);
    void release();

    HostApplication hostContext;
    Steinberg::Vst::IComponent* component = nullptr;
    Steinberg::Vst::IAudioProcessor* processor = nullptr;
    Steinberg::Vst::IEditController* controller = nullptr;
    bool initialized = false;
    bool active = false;
    bool processing = false;
    std::string effectDescription;
    std::vector<ParameterDescription> parameterList;

    int channelCount = 0;
    Steinberg::int32 sampleSize = Steinberg::Vst::kSample32;
    Steinberg::int32 maxBlockSize = 0;
    ParameterChangeList inputChanges;
    ParameterChangeList outputChanges;
    Steinberg::Vst::ProcessContext context{};
    std::map<Steinberg::Vst::ParamID, double> outputPeaks;
};

} // namespace SorvTools
