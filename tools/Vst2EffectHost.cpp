#include "Vst2EffectHost.h"

#include "HostError.h"
#include "MessageText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace SorvTools {

namespace {

// The host callback: a VST 2.4 host that answers only its version and its name.
VstIntPtr renderHostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    constexpr VstIntPtr kHostVersion = 2400;
    if (opcode == audioMasterVersion)
        return kHostVersion;
    if (opcode == audioMasterGetProductString && ptr) {
        const char name[] = "quor-render";
        std::copy(name, name + sizeof(name), static_cast<char*>(ptr));
        return 1;
    }
    return 0;
}

} // namespace

Vst2EffectHost::Vst2EffectHost(Vst2Entry entry) {
    effect = entry ? entry(renderHostCallback) : nullptr;
    if (!effect || effect->magic != kEffectMagic)
        throw HostError("the module's VST 2.4 entry gave no effect");
    dispatch(effOpen);
    effectDescription = text(effGetEffectName, 0);
    const VstIntPtr version = dispatch(effGetVendorVersion);
    if (version > 0)
        effectDescription += " " + std::to_string(version / 1000) + "." +
                             std::to_string(version / 100 % 10) + "." +
                             std::to_string(version / 10 % 10) + "." + std::to_string(version % 10);
    const std::string vendor = text(effGetVendorString, 0);
    if (!vendor.empty())
        effectDescription += " by " + vendor;
    for (VstInt32 i = 0; i < effect->numParams; ++i) {
        ParameterDescription p;
        p.id = static_cast<Steinberg::Vst::ParamID>(i);
        p.title = text(effGetParamName, i);
        p.units = text(effGetParamLabel, i);
        // A VST 2 host learns no more than whether a parameter can be automated.
        if (dispatch(effCanBeAutomated, i) == 0)
            p.flags = Steinberg::Vst::ParameterInfo::kIsReadOnly;
        p.defaultNormalized = effect->getParameter(effect, i);
        parameterList.push_back(p);
    }
}

Vst2EffectHost::~Vst2EffectHost() {
    stop();
    dispatch(effClose);
}

VstIntPtr Vst2EffectHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string Vst2EffectHost::text(VstInt32 opcode, VstInt32 index) {
    // Larger than any text the record's requests may write.
    char buffer[256] = {};
    dispatch(opcode, index, 0, buffer);
    buffer[sizeof(buffer) - 1] = 0;
    return buffer;
}

std::vector<ResolvedSetting>
Vst2EffectHost::resolve(const std::vector<ParameterSetting>& settings) {
    return read(*this, settings);
}

std::string Vst2EffectHost::shownAt(VstInt32 index, float normalized) {
    const float before = effect->getParameter(effect, index);
    effect->setParameter(effect, index, normalized);
    std::string shown = text(effGetParamDisplay, index);
    effect->setParameter(effect, index, before);
    return shown;
}

ParameterDescription Vst2EffectHost::describe(const ParameterDescription& parameter) {
    // Numbers at both ends are a continuous parameter's plain range. Texts are the two
    // settings of a switch, which reads like a list of two steps: 0 and 1 or its texts.
    ParameterDescription p = parameter;
    const VstInt32 index = static_cast<VstInt32>(p.id);
    double low = 0.0, high = 0.0;
    if (readPlainNumber(shownAt(index, 0.0f), p.units, low) &&
        readPlainNumber(shownAt(index, 1.0f), p.units, high)) {
        p.minPlain = low;
        p.maxPlain = high;
        p.stepCount = 0;
    } else {
        p.minPlain = 0.0;
        p.maxPlain = 1.0;
        p.stepCount = 1;
        p.flags |= Steinberg::Vst::ParameterInfo::kIsList;
    }
    return p;
}

double Vst2EffectHost::toNormalized(const ParameterDescription& parameter, double plain) {
    if (parameter.stepCount > 0)
        return plain / parameter.stepCount;
    // Only the effect knows its curve: it is handed the checked number in its plainest
    // spelling, and the value it sets is read back and undone.
    const VstInt32 index = static_cast<VstInt32>(parameter.id);
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.17g", plain);
    const float before = effect->getParameter(effect, index);
    if (dispatch(effString2Parameter, index, 0, digits) == 0)
        throw HostError(quoted(parameter.title) + " cannot be set to " + digits);
    const double normalized = effect->getParameter(effect, index);
    effect->setParameter(effect, index, before);
    return normalized;
}

double Vst2EffectHost::toPlain(const ParameterDescription& parameter, double normalized) {
    return std::round(normalized * parameter.stepCount);
}

std::vector<std::string> Vst2EffectHost::stepTexts(const ParameterDescription& parameter) {
    std::vector<std::string> texts;
    if (parameter.flags & Steinberg::Vst::ParameterInfo::kIsList)
        for (Steinberg::int32 step = 0; step <= parameter.stepCount; ++step)
            texts.push_back(shownAt(static_cast<VstInt32>(parameter.id),
                                    static_cast<float>(step) / parameter.stepCount));
    return texts;
}

void Vst2EffectHost::configure(int channels, double sampleRate, Precision precision,
                               Steinberg::int32 maxBlock) {
    if (channels < 1 || channels > 2)
        throw HostError("quor-render feeds the effect mono or stereo only");
    VstSpeakerArrangement arrangement = {};
    arrangement.numChannels = channels;
    arrangement.type = channels == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
    if (dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&arrangement),
                 &arrangement) == 0 ||
        effect->numInputs != channels || effect->numOutputs != channels)
        throw HostError(std::string("the effect does not accept ") +
                        (channels == 1 ? "mono in, mono out" : "stereo in, stereo out"));
    doubles = precision == Precision::Float64;
    if (doubles && (!(effect->flags & effFlagsCanDoubleReplacing) ||
                    dispatch(effSetProcessPrecision, 0, kVstProcessPrecision64) == 0))
        throw HostError("the effect cannot process 64-bit samples");
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    dispatch(effSetBlockSize, 0, maxBlock);
    maxBlockSize = maxBlock;
}

void Vst2EffectHost::apply(const std::vector<ResolvedSetting>& settings) {
    for (const ResolvedSetting& setting : settings)
        effect->setParameter(effect, static_cast<VstInt32>(setting.id),
                             static_cast<float>(setting.normalized));
}

std::string Vst2EffectHost::displayValue(Steinberg::Vst::ParamID id) {
    const VstInt32 index = static_cast<VstInt32>(id);
    std::string shown = text(effGetParamDisplay, index);
    const std::string units = text(effGetParamLabel, index);
    return units.empty() ? shown : shown + " " + units;
}

std::string Vst2EffectHost::displayValue(Steinberg::Vst::ParamID id, double normalized) {
    const VstInt32 index = static_cast<VstInt32>(id);
    const float before = effect->getParameter(effect, index);
    effect->setParameter(effect, index, static_cast<float>(normalized));
    std::string shown = displayValue(id);
    effect->setParameter(effect, index, before);
    return shown;
}

void Vst2EffectHost::start() {
    dispatch(effMainsChanged, 0, 1);
    active = true;
}

Steinberg::uint32 Vst2EffectHost::tailSamples() {
    // 0 says "not known" and 1 "no tail" in the VST 2.4 interface.
    const VstIntPtr tail = dispatch(effGetTailSize);
    return tail > 1 ? static_cast<Steinberg::uint32>(tail) : 0;
}

void Vst2EffectHost::process(float** inputs, float** outputs, Steinberg::int32 samples) {
    if (!active || doubles || samples < 0 || samples > maxBlockSize)
        throw HostError("process called outside the processing setup");
    effect->processReplacing(effect, inputs, outputs, samples);
}

void Vst2EffectHost::process(double** inputs, double** outputs, Steinberg::int32 samples) {
    if (!active || !doubles || samples < 0 || samples > maxBlockSize)
        throw HostError("process called outside the processing setup");
    effect->processDoubleReplacing(effect, inputs, outputs, samples);
}

void Vst2EffectHost::stop() {
    if (active)
        dispatch(effMainsChanged, 0, 0);
    active = false;
}

bool Vst2EffectHost::outputPeak(Steinberg::Vst::ParamID, double&) const {
    return false;
}

} // namespace SorvTools
