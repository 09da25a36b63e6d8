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

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

#include <map>
#include <string>
#include <vector>

namespace SorvTools {

struct ParameterDescription {
    Steinberg::Vst::ParamID id = 0;
    std::string title;
    std::string units;
    Steinberg::int32 stepCount = 0;
    Steinberg::int32 flags = 0;
    double minPlain = 0.0; // plain value at normalized 0
    double maxPlain = 1.0; // plain value at normalized 1
    double defaultNormalized = 0.0;

    bool readOnly() const { return (flags & Steinberg::Vst::ParameterInfo::kIsReadOnly) != 0; }
};

struct ResolvedSetting {
    Steinberg::Vst::ParamID id;
    std::string title;
    double normalized;
};

class EffectHost {
public:
    // Creates and initializes the factory's audio effect class. Throws HostError.
    explicit EffectHost(Steinberg::IPluginFactory* factory);
    // Stops processing, deactivates, terminates and releases every interface.
    ~EffectHost();

    EffectHost(const EffectHost&) = delete;
    EffectHost& operator=(const EffectHost&) = delete;

    // "QUOR-515 1.0.0.0 by Sorv Audio Labs"
    const std::string& description() const { return effectDescription; }
    const std::vector<ParameterDescription>& parameters() const { return parameterList; }
    // The effect's edit controller, owned by this host (for opening its editor).
    Steinberg::Vst::IEditController* editController() const { return controller; }
    // By exact title, else by title ignoring ASCII case; null when there is none.
    const ParameterDescription* findParameter(const std::string& title) const;

    // Checks each setting against the effect's parameters and converts it to a normalized
    // value with the controller's own conversion. Throws HostError at the first bad one.
    std::vector<ResolvedSetting> resolve(const std::vector<ParameterSetting>& settings);

    // Buses of `channels` channels in and out, then setupProcessing. Throws HostError.
    void configure(int channels, double sampleRate, Precision precision, Steinberg::int32 maxBlock);
    // setParamNormalized for each setting. Throws HostError.
    void apply(const std::vector<ResolvedSetting>& settings);
    // The parameter's current value as the effect shows it, with its units.
    std::string displayValue(Steinberg::Vst::ParamID id);
    // A normalized value of the parameter as the effect shows it, with its units.
    std::string displayValue(Steinberg::Vst::ParamID id, double normalized);

    // setActive(true), setProcessing(true). Throws HostError.
    void start();
    Steinberg::uint32 tailSamples();
    // One block of `samples` samples; channel arrays of the configured precision. The
    // buffers stay separate (not in place). Throws HostError.
    void process(float** inputs, float** outputs, Steinberg::int32 samples);
    void process(double** inputs, double** outputs, Steinberg::int32 samples);
    // setProcessing(false), setActive(false).
    void stop();

    // Highest value the effect sent for `id` as an output parameter change; false when it
    // sent none.
    bool outputPeak(Steinberg::Vst::ParamID id, double& peak) const;

private:
    void readParameters();
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
