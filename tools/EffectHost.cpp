#include "EffectHost.h"

#include "HostError.h"
#include "MessageText.h"
#include "TextConversion.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace SorvTools {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

bool succeeded(tresult result) {
    return result == kResultOk;
}

} // namespace

EffectHost::EffectHost(IPluginFactory* factory) {
    if (!factory)
        throw HostError("the module has no class factory");
    PFactoryInfo factoryInfo{};
    factory->getFactoryInfo(&factoryInfo);

    int32 effectClass = -1;
    PClassInfo info{};
    for (int32 i = 0; i < factory->countClasses(); ++i) {
        if (succeeded(factory->getClassInfo(i, &info)) &&
            std::strcmp(info.category, kVstAudioEffectClass) == 0) {
            effectClass = i;
            break;
        }
    }
    if (effectClass < 0)
        throw HostError("the module offers no audio effect class");
    effectDescription = info.name;
    IPluginFactory2* factory2 = nullptr;
    if (succeeded(
            factory->queryInterface(IPluginFactory2::iid, reinterpret_cast<void**>(&factory2))) &&
        factory2) {
        PClassInfo2 info2{};
        if (succeeded(factory2->getClassInfo2(effectClass, &info2)) && info2.version[0])
            effectDescription += std::string(" ") + info2.version;
        factory2->release();
    }
    if (factoryInfo.vendor[0])
        effectDescription += std::string(" by ") + factoryInfo.vendor;

    void* object = nullptr;
    if (!succeeded(factory->createInstance(info.cid, IComponent::iid, &object)) || !object)
        throw HostError("the factory could not create " + quoted(info.name));
    component = static_cast<IComponent*>(object);
    try {
        if (!succeeded(component->initialize(static_cast<IHostApplication*>(&hostContext))))
            throw HostError(quoted(info.name) + " refused to initialize");
        initialized = true;
        if (!succeeded(component->queryInterface(IAudioProcessor::iid,
                                                 reinterpret_cast<void**>(&processor))) ||
            !processor)
            throw HostError(quoted(info.name) + " has no audio processor");
        // The effect must be its own controller: parameter values reach it only through
        // setParamNormalized, never through the process data.
        if (!succeeded(component->queryInterface(IEditController::iid,
                                                 reinterpret_cast<void**>(&controller))) ||
            !controller)
            throw HostError(quoted(info.name) +
                            " has a separate edit controller; quor-render drives single-component "
                            "effects only");
        readParameters();
    } catch (...) {
        release();
        throw;
    }
}

EffectHost::~EffectHost() {
    stop();
    release();
}

void EffectHost::release() {
    if (component && initialized)
        component->terminate();
    if (controller)
        controller->release();
    if (processor)
        processor->release();
    if (component)
        component->release();
    controller = nullptr;
    processor = nullptr;
    component = nullptr;
    initialized = false;
}

void EffectHost::readParameters() {
    parameterList.clear();
    const int32 count = controller->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        ParameterInfo info{};
        if (!succeeded(controller->getParameterInfo(i, info)))
            continue;
        ParameterDescription description;
        description.id = info.id;
        description.title = toUtf8(info.title);
        description.units = toUtf8(info.units);
        description.stepCount = info.stepCount;
        description.flags = info.flags;
        description.defaultNormalized = info.defaultNormalizedValue;
        description.minPlain = controller->normalizedParamToPlain(info.id, 0.0);
        description.maxPlain = controller->normalizedParamToPlain(info.id, 1.0);
        parameterList.push_back(description);
    }
}

std::vector<ResolvedSetting> EffectHost::resolve(const std::vector<ParameterSetting>& settings) {
    return read(*this, settings);
}

double EffectHost::toNormalized(const ParameterDescription& parameter, double plain) {
    return controller->plainParamToNormalized(parameter.id, plain);
}

double EffectHost::toPlain(const ParameterDescription& parameter, double normalized) {
    return controller->normalizedParamToPlain(parameter.id, normalized);
}

std::vector<std::string> EffectHost::stepTexts(const ParameterDescription& parameter) {
    std::vector<std::string> texts;
    if (!(parameter.flags & ParameterInfo::kIsList) || parameter.stepCount <= 0)
        return texts;
    for (int32 step = 0; step <= parameter.stepCount; ++step) {
        String128 shown{};
        const bool known = succeeded(controller->getParamStringByValue(
            parameter.id, double(step) / double(parameter.stepCount), shown));
        // A step without a text keeps its place, so that positions stay steps.
        texts.push_back(known ? toUtf8(shown) : std::string());
    }
    return texts;
}

void EffectHost::configure(int channels, double sampleRate, Precision precision, int32 maxBlock) {
    if (channels < 1 || channels > 2)
        throw HostError("quor-render feeds the effect mono or stereo only");
    if (component->getBusCount(kAudio, kInput) < 1 || component->getBusCount(kAudio, kOutput) < 1)
        throw HostError("the effect has no audio input or output bus");
    SpeakerArrangement in = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
    SpeakerArrangement out = in;
    const char* layout = channels == 1 ? "mono in, mono out" : "stereo in, stereo out";
    if (!succeeded(processor->setBusArrangements(&in, 1, &out, 1)))
        throw HostError(std::string("the effect does not accept ") + layout);
    component->activateBus(kAudio, kInput, 0, true);
    component->activateBus(kAudio, kOutput, 0, true);

    sampleSize = precision == Precision::Float64 ? kSample64 : kSample32;
    if (processor->canProcessSampleSize(sampleSize) != kResultTrue)
        throw HostError(std::string("the effect cannot process ") +
                        (sampleSize == kSample64 ? "64-bit" : "32-bit") + " samples");
    ProcessSetup setup{};
    setup.processMode = kOffline;
    setup.symbolicSampleSize = sampleSize;
    setup.maxSamplesPerBlock = maxBlock;
    setup.sampleRate = sampleRate;
    if (!succeeded(processor->setupProcessing(setup)))
        throw HostError("the effect refused the processing setup (" + number(sampleRate) +
                        " Hz, blocks of " + std::to_string(maxBlock) + ")");
    channelCount = channels;
    maxBlockSize = maxBlock;
    context = ProcessContext{};
    context.state = ProcessContext::kPlaying;
    context.sampleRate = sampleRate;
}

void EffectHost::apply(const std::vector<ResolvedSetting>& settings) {
    for (const ResolvedSetting& setting : settings)
        if (!succeeded(controller->setParamNormalized(setting.id, setting.normalized)))
            throw HostError("the effect refused the value of " + quoted(setting.title));
}

std::string EffectHost::displayValue(ParamID id) {
    return displayValue(id, controller->getParamNormalized(id));
}

std::string EffectHost::displayValue(ParamID id, double normalized) {
    String128 text{};
    std::string shown;
    if (succeeded(controller->getParamStringByValue(id, normalized, text)))
        shown = toUtf8(text);
    else
        shown = number(normalized);
    for (const ParameterDescription& p : parameterList)
        if (p.id == id && !p.units.empty())
            shown += " " + p.units;
    return shown;
}

void EffectHost::start() {
    if (!succeeded(component->setActive(true)))
        throw HostError("the effect refused to activate");
    active = true;
    // Effects may answer kNotImplemented here; hosts call it all the same.
    processor->setProcessing(true);
    processing = true;
}

uint32 EffectHost::tailSamples() {
    return processor->getTailSamples();
}

void EffectHost::stop() {
    if (processing)
        processor->setProcessing(false);
    processing = false;
    if (active)
        component->setActive(false);
    active = false;
}

void EffectHost::process(float** inputs, float** outputs, int32 samples) {
    if (sampleSize != kSample32)
        throw HostError("32-bit buffers given to a 64-bit setup");
    processBlock(reinterpret_cast<void**>(inputs), reinterpret_cast<void**>(outputs), samples);
}

void EffectHost::process(double** inputs, double** outputs, int32 samples) {
    if (sampleSize != kSample64)
        throw HostError("64-bit buffers given to a 32-bit setup");
    processBlock(reinterpret_cast<void**>(inputs), reinterpret_cast<void**>(outputs), samples);
}

void EffectHost::processBlock(void** inputs, void** outputs, int32 samples) {
    if (!active || samples < 0 || samples > maxBlockSize)
        throw HostError("process called outside the processing setup");
    AudioBusBuffers in{};
    AudioBusBuffers out{};
    in.numChannels = out.numChannels = channelCount;
    in.channelBuffers32 = reinterpret_cast<Sample32**>(inputs);
    out.channelBuffers32 = reinterpret_cast<Sample32**>(outputs);
    const size_t bytes = sampleSize == kSample64 ? sizeof(double) : sizeof(float);
    for (int c = 0; c < channelCount; ++c) {
        const auto* first = static_cast<const unsigned char*>(inputs[c]);
        const size_t length = size_t(samples) * bytes;
        const bool silent =
            std::all_of(first, first + length, [](unsigned char b) { return b == 0; });
        if (silent)
            in.silenceFlags |= uint64(1) << c;
    }

    inputChanges.clear();
    outputChanges.clear();
    ProcessData data;
    data.processMode = kOffline;
    data.symbolicSampleSize = sampleSize;
    data.numSamples = samples;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
    data.inputParameterChanges = &inputChanges;
    data.outputParameterChanges = &outputChanges;
    data.processContext = &context;
    if (!succeeded(processor->process(data)))
        throw HostError("the effect failed to process a block");
    context.projectTimeSamples += samples;
    context.continousTimeSamples += samples;

    for (int32 i = 0; i < outputChanges.getParameterCount(); ++i) {
        IParamValueQueue* queue = outputChanges.getParameterData(i);
        for (int32 k = 0; queue && k < queue->getPointCount(); ++k) {
            int32 offset = 0;
            ParamValue value = 0.0;
            if (!succeeded(queue->getPoint(k, offset, value)))
                continue;
            auto found = outputPeaks.find(queue->getParameterId());
            if (found == outputPeaks.end())
                outputPeaks.emplace(queue->getParameterId(), value);
            else
                found->second = std::max(found->second, value);
        }
    }
}

bool EffectHost::outputPeak(ParamID id, double& peak) const {
    const auto found = outputPeaks.find(id);
    if (found == outputPeaks.end())
        return false;
    peak = found->second;
    return true;
}

} // namespace SorvTools
