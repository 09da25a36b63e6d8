#include "core/SorvEffect.h"

#include "base/source/fstring.h"
#include "core/CoreIds.h"
#include "core/IUtils.h"
#include "core/ProductInfo.h"
#include "editor/QUOR515View.h"
#include "editor/SorvView.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace SorvLib {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr uint32 kMeterTimerMs = 5;
constexpr int32 kMaxChannelsPerBus = 8;
constexpr int32 kMaxStereoChannels = 2;
constexpr uint32 kStateVersion = 1;
constexpr uint32 kStateHeaderBytes = 16;
constexpr uint32 kStateRowBytes = 8;
constexpr unsigned int kFlushDenormalsMask = 0x8040; // flush-to-zero | denormals-are-zero
constexpr float kQuantizeEpsilon = 1.1920929e-07f;   // 2^-23

const MeterRow kNoMeters[] = {{nullptr, 0, 0, 0}};

// The framework's text is UTF-8; the SDK's names are UTF-16.
void toString128(const char* text, String128 out) {
    String wide(text);
    wide.toWideString(kCP_Utf8);
    wide.copyTo16(out, 0, 127);
}

uint64 channelMask(int32 channels) {
    if (channels <= 0)
        return 0;
    if (channels >= 64)
        return ~uint64(0);
    return (uint64(1) << channels) - 1;
}

bool allBuffersPresent(void** buffers, int32 channels) {
    for (int32 i = 0; i < channels; ++i)
        if (!buffers[i])
            return false;
    return true;
}

int32 countChannels(SpeakerArrangement arrangement) {
    int32 count = 0;
    for (; arrangement; arrangement &= arrangement - 1)
        ++count;
    return count;
}

// Streams may answer kResultOk for a short read or write and report only the byte count, so
// a count below 4 counts as a failure; a stream that reports no count is taken at its word.
tresult writeBigEndian(IBStream* stream, uint32 value) {
    unsigned char bytes[4] = {
        static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
        static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
    int32 written = 4;
    tresult result = stream->write(bytes, 4, &written);
    return (result == kResultOk && written != 4) ? kResultFalse : result;
}

tresult readBigEndian(IBStream* stream, uint32& value) {
    unsigned char bytes[4] = {};
    int32 got = 4;
    tresult result = stream->read(bytes, 4, &got);
    value = (uint32(bytes[0]) << 24) | (uint32(bytes[1]) << 16) | (uint32(bytes[2]) << 8) |
            uint32(bytes[3]);
    return (result == kResultOk && got != 4) ? kResultFalse : result;
}

} // namespace

SorvEffect::SorvEffect(const Patch* const* patches) : factoryPatches(patches) {
    // Counting stops at the first null entry, so an empty list offers no programs.
    if (factoryPatches)
        while (factoryPatches[patchCount])
            ++patchCount;
}

SorvEffect::~SorvEffect() {
    for (EditorView* editor : editors)
        editor->release();
    editors.clear();
}

tresult PLUGIN_API SorvEffect::initialize(FUnknown* context) {
    tresult result = SingleComponentEffect::initialize(context);
    if (result != kResultOk)
        return result;

    addAudioInput(STR16("Stereo In"), SpeakerArr::kStereo, kMain, BusInfo::kDefaultActive);
    addAudioOutput(STR16("Stereo Out"), SpeakerArr::kStereo, kMain, BusInfo::kDefaultActive);
    if (sideChainEnabled)
        addAudioInput(STR16("Stereo In Aux"), SpeakerArr::kStereo, kAux, 0);

    auto* bypass = new StringListParameter(STR16("Master Bypass"), kMasterBypassId, nullptr,
                                           ParameterInfo::kCanAutomate | ParameterInfo::kIsList |
                                               ParameterInfo::kIsBypass,
                                           kRootUnitId);
    bypass->appendString(STR16("Off"));
    bypass->appendString(STR16("On"));
    parameters.addParameter(bypass);

    if (getHostFormat() == kHostVst2) {
        if (factoryPatches && patchCount > 1 && getUnitCount() == 0) {
            addUnit(new Unit(STR16("Root"), kRootUnitId, kNoParentUnitId, kProgramId));
            auto* list = new ProgramList(STR16("Prog"), kProgramId, kRootUnitId);
            for (int32 i = 0; i < patchCount; ++i) {
                char name[64];
                std::snprintf(name, sizeof(name), "%02d %s", i + 1, factoryPatches[i]->name);
                String128 name16;
                toString128(name, name16);
                list->addProgram(name16);
            }
            addProgramList(list);
            Parameter* programParameter = list->getParameter();
            programParameter->getInfo().flags &= ~ParameterInfo::kCanAutomate;
            parameters.addParameter(programParameter);
        }
    } else {
        factoryPatches = nullptr;
        patchCount = 0;
    }

    isInstrument = std::strstr(kSubCategories, "Instrument") != nullptr ||
                   std::strstr(kSubCategories, "Generator") != nullptr;

    if (!meterTimer)
        meterTimer = owned(Timer::create(this, kMeterTimerMs));
    return kResultOk;
}

tresult PLUGIN_API SorvEffect::terminate() {
    tresult result = SingleComponentEffect::terminate();
    if (result != kResultOk)
        return result;
    meterTimer = nullptr;
    return kResultOk;
}

bool SorvEffect::isArrangementSupported(SpeakerArrangement* inputs, int32 numIns,
                                        SpeakerArrangement* outputs, int32 numOuts) {
    int32 inCh = (numIns > 0 && inputs) ? countChannels(inputs[0]) : 0;
    int32 outCh = (numOuts > 0 && outputs) ? countChannels(outputs[0]) : 0;
    int32 maxChannels = multiChannelEnabled ? kMaxChannelsPerBus : kMaxStereoChannels;
    bool widthsMatch = inCh == outCh || (sideChainEnabled && inCh == 2 * outCh);
    return widthsMatch && inCh >= 1 && inCh <= maxChannels && outCh >= 1 && outCh <= maxChannels;
}

tresult PLUGIN_API SorvEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                  SpeakerArrangement* outputs, int32 numOuts) {
    if (!isArrangementSupported(inputs, numIns, outputs, numOuts))
        return kResultFalse;

    SpeakerArrangement currentIn = 0;
    SpeakerArrangement currentOut = 0;
    if (getBusArrangement(kInput, 0, currentIn) != kResultTrue ||
        getBusArrangement(kOutput, 0, currentOut) != kResultTrue)
        return kResultFalse;
    if (currentIn == 0 || currentOut == 0)
        return kResultFalse;
    if (currentIn == inputs[0] && currentOut == outputs[0])
        return kResultOk;

    std::string inName = SpeakerArr::getSpeakerArrangementString(inputs[0], false);
    std::string outName = SpeakerArr::getSpeakerArrangementString(outputs[0], false);
    String128 name;
    removeAudioBusses();
    toString128((inName + " In").c_str(), name);
    addAudioInput(name, inputs[0], kMain, BusInfo::kDefaultActive);
    toString128((outName + " Out").c_str(), name);
    addAudioOutput(name, outputs[0], kMain, BusInfo::kDefaultActive);
    if (sideChainEnabled && numIns == 2) {
        toString128((inName + " In Aux").c_str(), name);
        addAudioInput(name, inputs[1], kAux, 0);
    }
    return kResultOk;
}

tresult PLUGIN_API SorvEffect::canProcessSampleSize(int32 symbolicSampleSize) {
    return (symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64) ? kResultTrue
                                                                                : kResultFalse;
}

IPlugView* PLUGIN_API SorvEffect::createView(FIDString name) {
    if (!name || std::strcmp(name, ViewType::kEditor) != 0)
        return nullptr;
    try {
        return createQUOR515View(this);
    } catch (...) {
        return nullptr;
    }
}

void SorvEffect::editorAttached(EditorView* editor) {
    if (!editor)
        return;
    editor->addRef();
    if (!editors.insert(editor).second)
        editor->release();
}

void SorvEffect::editorRemoved(EditorView* editor) {
    if (editors.erase(editor))
        editor->release();
}

double SorvEffect::quantize(int32 stepCount, double value) {
    // The product is rounded to float and nudged up by 2^-23 in float arithmetic so that
    // values just below a step boundary land on it.
    float scaled = static_cast<float>(stepCount * value);
    float nudged = scaled + kQuantizeEpsilon;
    return std::floor(nudged) / static_cast<double>(stepCount);
}

tresult PLUGIN_API SorvEffect::setParamNormalized(ParamID tag, ParamValue value) {
    // A value that is not a number would reach the engine and every editor unchecked.
    if (!std::isfinite(value))
        return kInvalidArgument;
    if (Parameter* parameter = parameters.getParameter(tag)) {
        // The container keeps values within 0 to 1; the program change, the bypass flag and
        // the editors must see the value as it is kept.
        value = std::min(1.0, std::max(0.0, value));
        int32 steps = parameter->getInfo().stepCount;
        if (steps > 0)
            value = quantize(steps, value);
    }
    if (value == getParamNormalized(tag))
        return kResultOk;

    tresult result = EditControllerEx1::setParamNormalized(tag, value);
    if (result != kResultOk)
        return result;

    if (tag == kMasterBypassId) {
        bypassed = value > 0.5;
    } else if (tag == kProgramId) {
        changeProgram(value);
    } else {
        for (EditorView* editor : editors) {
            auto* view = FCast<SorvView>(editor);
            if (view && view->isAttached())
                view->setControlValue(tag, value);
        }
    }
    return kResultOk;
}

ParamValue PLUGIN_API SorvEffect::getParamNormalized(ParamID tag) {
    Parameter* parameter = parameters.getParameter(tag);
    if (!parameter)
        return 0.0;
    ParamValue value = parameter->getNormalized();
    int32 steps = parameter->getInfo().stepCount;
    return steps > 0 ? quantize(steps, value) : value;
}

int32 SorvEffect::programIndex(ParamValue value) const {
    int32 index = static_cast<int32>(patchCount * value);
    return index < patchCount - 1 ? index : patchCount - 1;
}

void SorvEffect::changeProgram(ParamValue value) {
    if (!factoryPatches || patchCount <= 0)
        return;
    int32 index = programIndex(value);
    if (index < 0)
        index = 0;
    for (const Patch::Row* row = factoryPatches[index]->rows; row->id != kPatchEndId; ++row)
        setParamNormalized(row->id, static_cast<double>(row->value));
    if (IComponentHandler* handler = getComponentHandler())
        handler->restartComponent(kParamValuesChanged);
}

tresult SorvEffect::beginEdit(ParamID tag) {
    return SingleComponentEffect::beginEdit(tag);
}

tresult SorvEffect::endEdit(ParamID tag) {
    return SingleComponentEffect::endEdit(tag);
}

tresult PLUGIN_API SorvEffect::setKnobMode(KnobMode) {
    hostKnobMode = kLinearMode;
    return kResultOk;
}

tresult PLUGIN_API SorvEffect::openHelp(TBool onlyCheck) {
    if (onlyCheck)
        return kResultOk;
    IUtils* utils = getUtils();
    std::string folder = utils->getFolder(FolderKind::Manuals);
    if (!folder.empty())
        utils->openDocument(folder + kProductName + ".pdf");
    return kResultOk;
}

int32 PLUGIN_API SorvEffect::getHostFormat() {
    if (!hostContext)
        return kHostUnknown;
    void* aax = nullptr;
    void* au = nullptr;
    void* vst2 = nullptr;
    if (hostContext->queryInterface(IVst3ToAAXWrapper::iid, &aax) != kResultOk)
        aax = nullptr;
    if (hostContext->queryInterface(IVst3ToAUWrapper::iid, &au) != kResultOk)
        au = nullptr;
    if (hostContext->queryInterface(IVst3ToVst2Wrapper::iid, &vst2) != kResultOk)
        vst2 = nullptr;
    for (void* face : {aax, au, vst2})
        if (face)
            static_cast<FUnknown*>(face)->release();
    if (aax)
        return kHostAAX;
    if (au)
        return kHostAU;
    if (vst2)
        return kHostVst2;
    return kHostVst3;
}

tresult PLUGIN_API SorvEffect::openAboutBox(TBool onlyCheck) {
    if (onlyCheck)
        return kResultOk;

    void* owner = nullptr;
    if (!editors.empty())
        if (auto* view = FCast<SorvView>(*editors.begin()))
            owner = view->getPlatformHandle();

    std::string text;
    text += std::string(kProductName) + " v" + kProductVersion + "\n";
    text += "OS: " + std::string("Windows") + "\n";
    text += "Platform: " + std::string("x86") + "\n";
    text += "SDK Version: " + std::string(kSdkVersionText) + "\n\n";
    if (hostContext) {
        IHostApplication* host = nullptr;
        if (hostContext->queryInterface(IHostApplication::iid, reinterpret_cast<void**>(&host)) ==
                kResultOk &&
            host) {
            String128 name = {};
            if (host->getName(name) == kResultOk) {
                String hostName(name);
                hostName.toMultiByte(kCP_Utf8);
                text += "Host: " + std::string(hostName.text8()) + "\n";
            }
            host->release();
        }
    }
    static const char* const kFormatNames[] = {"Unknown", "VST3", "VST2", "AU", "AAX"};
    int32 format = getHostFormat();
    text += "Format: " + std::string(kFormatNames[format + 1]) + "\n\n";

    auto busChannels = [this](BusDirection direction) {
        BusInfo info = {};
        if (getBusCount(kAudio, direction) < 1 ||
            getBusInfo(kAudio, direction, 0, info) != kResultTrue)
            return 0;
        return static_cast<int>(info.channelCount);
    };
    text += "Bus Config: " + std::to_string(busChannels(kInput)) + "-" +
            std::to_string(busChannels(kOutput)) + "\n";
    text +=
        "Samplerate: " + std::to_string(static_cast<long long>(processSetup.sampleRate)) + "Hz\n";
    text += "Blocksize: " + std::to_string(processSetup.maxSamplesPerBlock) + "\n\n";
    text += "VST is a trademark of Steinberg Media Technologies GmbH,\n"
            "registered in Europe and other countries.";

    getUtils()->showMessage(owner, std::string(kVendorName) + ": " + kProductName, text);
    return kResultOk;
}

void SorvEffect::reapplyParameters(bool resetEdits) {
    for (int32 i = 0; i < getParameterCount(); ++i) {
        ParameterInfo info = {};
        if (getParameterInfo(i, info) != kResultOk ||
            (info.flags & ParameterInfo::kIsReadOnly) != 0)
            continue;
        if (resetEdits)
            editInProgress[info.id] = false;
        if (info.id != kProgramId && info.id != kMasterBypassId)
            setParamNormalized(info.id, getParamNormalized(info.id));
    }
}

tresult PLUGIN_API SorvEffect::setActive(TBool) {
    editInProgress.clear();
    reapplyParameters(true);
    return kResultOk;
}

tresult PLUGIN_API SorvEffect::setupProcessing(ProcessSetup& setup) {
    tresult result = SingleComponentEffect::setupProcessing(setup);
    if (result != kResultOk)
        return result;
    reapplyParameters(false);
    return kResultOk;
}

tresult PLUGIN_API SorvEffect::process(ProcessData& data) {
    if (data.numInputs < 1 || data.numOutputs < 1 || !data.inputs || !data.outputs)
        return kResultOk;

    AudioBusBuffers& input = data.inputs[0];
    AudioBusBuffers& output = data.outputs[0];
    const int32 inCh = input.numChannels;
    const int32 outCh = output.numChannels;
    const bool isFloat = data.symbolicSampleSize == kSample32;
    const size_t sampleBytes = isFloat ? 4 : 8;
    void** inBuffers = isFloat ? reinterpret_cast<void**>(input.channelBuffers32)
                               : reinterpret_cast<void**>(input.channelBuffers64);
    void** outBuffers = isFloat ? reinterpret_cast<void**>(output.channelBuffers32)
                                : reinterpret_cast<void**>(output.channelBuffers64);
    const size_t blockBytes = data.numSamples > 0 ? size_t(data.numSamples) * sampleBytes : 0;

    // Zeroes the output channels, leaving any that share their buffer with an input.
    auto silenceOutputs = [&]() {
        output.silenceFlags = channelMask(outCh);
        for (int32 i = 0; i < outCh && outBuffers; ++i) {
            void* out = outBuffers[i];
            bool inPlace = inCh > 0 && inBuffers && out == inBuffers[i < inCh ? i : inCh - 1];
            if (out && !inPlace && blockBytes)
                std::memset(out, 0, blockBytes);
        }
    };

    if (input.silenceFlags == channelMask(inCh) && !isInstrument && getTailSamples() == 0) {
        silenceOutputs();
        return kResultOk;
    }

    // A bus wider than the channel table, or missing buffers, cannot be handed to the
    // engine; the block is answered with silence instead of reading past the table. A block
    // of no samples may come without channel buffers: the engine still sends its meter.
    if (inCh < 1 || inCh > kMaxChannelsPerBus || outCh < 1 || outCh > kMaxChannelsPerBus ||
        !inBuffers || !outBuffers ||
        (data.numSamples > 0 &&
         (!allBuffersPresent(inBuffers, inCh) || !allBuffersPresent(outBuffers, outCh)))) {
        silenceOutputs();
        return kResultOk;
    }

    void* channels[2 * kMaxChannelsPerBus];
    bool useSideChain = sideChainEnabled && data.numInputs > 1 && audioInputs.size() > 1 &&
                        audioInputs.at(1)->isActive() && data.inputs[1].numChannels >= inCh;
    void** sideBuffers = nullptr;
    if (useSideChain)
        sideBuffers = isFloat ? reinterpret_cast<void**>(data.inputs[1].channelBuffers32)
                              : reinterpret_cast<void**>(data.inputs[1].channelBuffers64);
    for (int32 i = 0; i < inCh; ++i) {
        channels[i] = inBuffers[i];
        channels[inCh + i] = sideBuffers ? sideBuffers[i] : inBuffers[i];
    }

    if (data.processContext && (data.processContext->state & ProcessContext::kTempoValid))
        tempo = data.processContext->tempo;

    output.silenceFlags = 0;

    const unsigned int savedCsr = _mm_getcsr();
    _mm_setcsr(savedCsr | kFlushDenormalsMask);
    if (isFloat)
        processFloat(data, reinterpret_cast<float**>(channels), output.channelBuffers32,
                     data.numSamples);
    else
        processDouble(data, reinterpret_cast<double**>(channels), output.channelBuffers64,
                      data.numSamples);
    _mm_setcsr(savedCsr);
    return kResultOk;
}

const MeterRow* SorvEffect::meterTable() const {
    return kNoMeters;
}

double PLUGIN_API SorvEffect::getGainReductionValueInDecibels() {
    double sum = 0.0;
    for (const MeterRow* row = meterTable(); row->name; ++row)
        if (row->type == kGainReductionMeter)
            sum = sum + 20 * std::log10(1 - getParamNormalized(row->id));
    return sum;
}

void SorvEffect::onTimer(Timer*) {
    updateMeters();
}

tresult PLUGIN_API SorvEffect::getState(IBStream* stream) {
    if (!stream)
        return kResultFalse;
    const int32 count = getParameterCount();
    const uint32 rows = static_cast<uint32>(hostIsPresetExporter ? count - 1 : count);
    if (writeBigEndian(stream, kStateChunkMagic) != kResultOk ||
        writeBigEndian(stream, kStateVersion) != kResultOk ||
        writeBigEndian(stream, kStateRowBytes * rows + kStateHeaderBytes) != kResultOk ||
        writeBigEndian(stream, rows) != kResultOk)
        return kResultFalse;

    for (int32 i = 0; i < count; ++i) {
        ParameterInfo info = {};
        if (getParameterInfo(i, info) == kResultFalse)
            continue;
        if (hostIsPresetExporter && info.id == kGlobalLinkId)
            continue;
        uint32 bits = 0;
        if (info.id == kProgramId) {
            bits = static_cast<uint32>(programIndex(getParamNormalized(kProgramId)));
        } else {
            float value = static_cast<float>(getParamNormalized(info.id));
            std::memcpy(&bits, &value, sizeof(bits));
        }
        if (writeBigEndian(stream, info.id) != kResultOk ||
            writeBigEndian(stream, bits) != kResultOk)
            return kResultFalse;
    }
    return kResultOk;
}

tresult PLUGIN_API SorvEffect::setState(IBStream* stream) {
    if (!stream)
        return kResultFalse;
    uint32 magic = 0, version = 0, size = 0, rowCount = 0;
    if (readBigEndian(stream, magic) != kResultOk || readBigEndian(stream, version) != kResultOk ||
        readBigEndian(stream, size) != kResultOk || readBigEndian(stream, rowCount) != kResultOk)
        return kResultFalse;
    if (magic != kStateChunkMagic)
        return kResultFalse;

    const int32 rows = static_cast<int32>(rowCount);
    for (int32 k = 0; k < rows; ++k) {
        uint32 id = 0, bits = 0;
        if (readBigEndian(stream, id) != kResultOk || readBigEndian(stream, bits) != kResultOk)
            return kResultFalse;
        double value = 0.0;
        if (id == kProgramId) {
            // Without a program list the row has no parameter to set.
            if (patchCount <= 1)
                continue;
            float index = static_cast<float>(static_cast<int32>(bits));
            value = static_cast<double>(index / static_cast<float>(patchCount - 1));
        } else {
            float stored = 0.0f;
            std::memcpy(&stored, &bits, sizeof(stored));
            value = static_cast<double>(stored);
        }
        setParamNormalized(id, value);
    }
    return kResultOk;
}

tresult PLUGIN_API SorvEffect::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, Presonus::IGainReductionInfo::iid)) {
        addRef();
        *obj = static_cast<Presonus::IGainReductionInfo*>(this);
        return kResultOk;
    }
    return SingleComponentEffect::queryInterface(iid, obj);
}

} // namespace SorvLib
