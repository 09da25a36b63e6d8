#pragma once
// Drives the effect the way a VST 2.4 host does: through the AEffect record its VSTPluginMain
// (or MAIN) hands out for a host callback. Parameters are the record's indices (a
// ParameterDescription's id is its index), read and set with the record's texts and values;
// closes the effect on destruction. The record tells no plain range: a parameter's range is
// read from what the effect shows at either end when it is set on the command line.

#include "RenderHost.h"
#include "SettingReader.h"

#include "vst2/AEffect.h"

#include <string>
#include <vector>

namespace SorvTools {

using Vst2Entry = AEffect* (*)(audioMasterCallback);

class Vst2EffectHost : public RenderHost, private SettingReader {
public:
    // Makes the effect through the entry. Throws HostError.
    explicit Vst2EffectHost(Vst2Entry entry);
    ~Vst2EffectHost() override;

    Vst2EffectHost(const Vst2EffectHost&) = delete;
    Vst2EffectHost& operator=(const Vst2EffectHost&) = delete;

    const std::string& description() const override { return effectDescription; }
    const std::vector<ParameterDescription>& parameters() const override { return parameterList; }
    // Checks each setting as strictly as the VST 3 host does. Throws HostError at the first
    // bad one.
    std::vector<ResolvedSetting> resolve(const std::vector<ParameterSetting>& settings) override;
    void configure(int channels, double sampleRate, Precision precision,
                   Steinberg::int32 maxBlock) override;
    void apply(const std::vector<ResolvedSetting>& settings) override;
    std::string displayValue(Steinberg::Vst::ParamID id) override;
    std::string displayValue(Steinberg::Vst::ParamID id, double normalized) override;
    void start() override;
    Steinberg::uint32 tailSamples() override;
    void process(float** inputs, float** outputs, Steinberg::int32 samples) override;
    void process(double** inputs, double** outputs, Steinberg::int32 samples) override;
    void stop() override;
    // A VST 2.4 effect has no way to send values from its audio blocks: always false.
    bool outputPeak(Steinberg::Vst::ParamID id, double& peak) const override;

private:
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    std::string text(VstInt32 opcode, VstInt32 index);
    // What the effect shows for the parameter at a normalized value; puts the value back.
    std::string shownAt(VstInt32 index, float normalized);
    ParameterDescription describe(const ParameterDescription& parameter) override;
    double toNormalized(const ParameterDescription& parameter, double plain) override;
    double toPlain(const ParameterDescription& parameter, double normalized) override;
    std::vector<std::string> stepTexts(const ParameterDescription& parameter) override;

    AEffect* effect = nullptr;
    bool active = false;
    bool doubles = false;
    Steinberg::int32 maxBlockSize = 0;
    std::string effectDescription;
    std::vector<ParameterDescription> parameterList;
};

} // namespace SorvTools
