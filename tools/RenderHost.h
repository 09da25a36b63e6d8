#pragma once
// What the renderer and its reports ask of the host side that drives the effect, whichever
// plug-in interface that host loads it through. Main thread; process on the caller's thread.

#include "CommandLine.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

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

class RenderHost {
public:
    virtual ~RenderHost() = default;

    // "QUOR-515 1.0.0.0 by Sorv Audio Labs"
    virtual const std::string& description() const = 0;
    virtual const std::vector<ParameterDescription>& parameters() const = 0;
    // By exact title, else by title ignoring ASCII case; null when there is none.
    const ParameterDescription* findParameter(const std::string& title) const;
    // Checks each setting and converts it to a normalized value. Throws HostError.
    virtual std::vector<ResolvedSetting> resolve(const std::vector<ParameterSetting>& settings) = 0;
    // Mono or stereo in and out, rate, sample size and largest block. Throws HostError.
    virtual void configure(int channels, double sampleRate, Precision precision,
                           Steinberg::int32 maxBlock) = 0;
    virtual void apply(const std::vector<ResolvedSetting>& settings) = 0;
    virtual std::string displayValue(Steinberg::Vst::ParamID id) = 0;
    virtual std::string displayValue(Steinberg::Vst::ParamID id, double normalized) = 0;
    virtual void start() = 0;
    virtual Steinberg::uint32 tailSamples() = 0;
    virtual void process(float** inputs, float** outputs, Steinberg::int32 samples) = 0;
    virtual void process(double** inputs, double** outputs, Steinberg::int32 samples) = 0;
    virtual void stop() = 0;
    // Highest value the effect reported for `id` while processing; false when it reported none.
    virtual bool outputPeak(Steinberg::Vst::ParamID id, double& peak) const = 0;
};

} // namespace SorvTools
