#include "core/SorvEffect.h"

#include "base/source/fstring.h"
#include "core/CoreIds.h"
#include "core/HostGuard.h"
#include "core/IUtils.h"
#include "core/ParameterText.h"
#include "core/ProductInfo.h"
#include "core/StateChunk.h"
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
#include <limits>
#include <string>
#include <vector>

namespace SorvLib {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr uint32 kMeterTimerMs = 5;
constexpr int32 kMaxChannelsPerBus = 8;
constexpr int32 kMaxStereoChannels = 2;
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

// Whole hertz, truncated toward zero; a rate that no integer type holds is written out
// rather than converted.
std::string wholeHertz(double rate) {
    if (std::isnan(rate))
        return "nan";
    if (std::isinf(rate))
        return rate > 0 ? "inf" : "-inf";
    char text[400]; // the longest double has 309 integer digits
    std::snprintf(text, sizeof(text), "%.0f", std::trunc(rate) + 0.0);
    return text;
}

} // namespace

SorvEffect::SorvEffect(const PatchRef* patches) : factoryPatches(patches) {
    sampleRate.store(processSetup.sampleRate, std::memory_order_relaxed);
    forgetStoredValues();
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
    return guarded([&]() -> tresult { return initializeFramework(context); });
}

tresult SorvEffect::initializeFramework(FUnknown* context) {
    tresult result = SingleComponentEffect::initialize(context);
    if (result != kResultOk)
        return result;
    forgetStoredValues();

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
                std::snprintf(name, sizeof(name), "%02d %s", i + 1, factoryPatches[i].name);
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

    if (globalLinkEnabled)
        linkInitialize();

    isInstrument = std::strstr(kSubCategories, "Instrument") != nullptr ||
                   std::strstr(kSubCategories, "Generator") != nullptr;

    if (!meterTimer) {
        meterTimer = owned(Timer::create(this, kMeterTimerMs));
        editorThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
    }
    return kResultOk;
}

tresult PLUGIN_API SorvEffect::terminate() {
    return guarded([&]() -> tresult {
        if (globalLinkEnabled)
            linkTerminate();
        tresult result = SingleComponentEffect::terminate();
        if (result != kResultOk)
            return result;
        forgetStoredValues();
        meterTimer = nullptr;
        return kResultOk;
    });
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
    if (numIns < 0 || numOuts < 0)
        return kInvalidArgument;
    // One arrangement per bus: the main buses and, when offered, the side-chain input.
    if (numIns > (sideChainEnabled ? 2 : 1) || numOuts > 1 || (numIns > 0 && !inputs) ||
        (numOuts > 0 && !outputs))
        return kResultFalse;
    return guarded([&]() -> tresult { return arrangeBuses(inputs, numIns, outputs, numOuts); });
}

tresult SorvEffect::arrangeBuses(SpeakerArrangement* inputs, int32 numIns,
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

tresult PLUGIN_API SorvEffect::setComponentHandler(IComponentHandler* handler) {
    // Hosts and wrappers hand their handler over once initialize has returned, with every
    // parameter of the product made: the slots follow them before any other thread sets one.
    refreshParameterSlots();
    return SingleComponentEffect::setComponentHandler(handler);
}

void SorvEffect::editorAttached(EditorView* editor) {
    if (!editor)
        return;
    // The timer drains the values set on other threads, so it must tick where the editors
    // live; a host may have made the effect on a loader thread that has ended since.
    if (!onEditorThread()) {
        editorThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
        if (meterTimer)
            if (Timer* moved = Timer::create(this, kMeterTimerMs))
                meterTimer = owned(moved);
    }
    // A value set on another thread while the editor read its controls would be missed.
    refreshParameterSlots();
    const int32 slots = slotCount.load(std::memory_order_relaxed);
    for (int32 i = 0; i < slots; ++i)
        if (parameterSlots[i].id != kMasterBypassId && parameterSlots[i].id != kProgramId &&
            parameterSlots[i].id != kGlobalLinkId)
            unpushedValues[i].store(true, std::memory_order_relaxed);
    anyUnpushed.store(true, std::memory_order_release);
    editor->addRef();
    bool inserted = false;
    try {
        inserted = editors.insert(editor).second;
    } catch (...) {
        // Without memory for the set the editor is not followed; it keeps working unpushed.
    }
    if (!inserted)
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
    return guarded([&]() -> tresult {
        const int32 slot = slotOf(tag);
        Parameter* parameter =
            slot >= 0 ? parameterSlots[slot].parameter : parameters.getParameter(tag);
        if (parameter) {
            // Values are kept within 0 to 1; the program change, the bypass flag and the
            // editors must see the value as it is kept.
            value = std::min(1.0, std::max(0.0, value));
            int32 steps = parameter->getInfo().stepCount;
            if (steps > 0)
                value = quantize(steps, value);
        }
        if (value == getParamNormalized(tag))
            return kResultOk;
        if (!parameter)
            return kResultFalse;
        if (slot >= 0)
            storedValues[slot].store(value, std::memory_order_relaxed);
        else
            parameter->setNormalized(value);

        if (globalLinkEnabled) {
            if (tag == kGlobalLinkId) {
                linkSwitched(value);
                return kResultOk;
            }
            linkValue(tag, value);
        }

        // The bypass has no control to push to.
        if (tag == kProgramId)
            changeProgram(value);
        else if (tag != kMasterBypassId)
            pushToEditors(slot, tag, value);
        return kResultOk;
    });
}

void SorvEffect::pushToEditors(int32 slot, ParamID tag, ParamValue value) {
    if (!onEditorThread()) {
        // The value is in its slot already; the flag only tells the editors' thread to show it.
        if (slot >= 0) {
            unpushedValues[slot].store(true, std::memory_order_release);
            anyUnpushed.store(true, std::memory_order_release);
        }
        return;
    }
    for (EditorView* editor : editors) {
        auto* view = FCast<SorvView>(editor);
        if (view && view->isAttached())
            view->setControlValue(tag, value);
    }
}

void SorvEffect::pushPendingValues() {
    if (!onEditorThread() || !anyUnpushed.exchange(false, std::memory_order_acquire))
        return;
    guarded([&]() -> tresult {
        const int32 slots = slotCount.load(std::memory_order_relaxed);
        for (int32 i = 0; i < slots; ++i)
            if (unpushedValues[i].exchange(false, std::memory_order_acquire))
                pushToEditors(i, parameterSlots[i].id, getParamNormalized(parameterSlots[i].id));
        return kResultOk;
    });
}

ParamValue PLUGIN_API SorvEffect::getParamNormalized(ParamID tag) {
    const int32 slot = slotOf(tag);
    Parameter* parameter =
        slot >= 0 ? parameterSlots[slot].parameter : parameters.getParameter(tag);
    if (!parameter)
        return 0.0;
    ParamValue value = slot >= 0 ? storedValues[slot].load(std::memory_order_relaxed) : NAN;
    if (std::isnan(value))
        value = parameter->getNormalized();
    int32 steps = parameter->getInfo().stepCount;
    return steps > 0 ? quantize(steps, value) : value;
}

bool SorvEffect::isBypassed() const {
    const int32 slot = slotOf(kMasterBypassId);
    double value = slot >= 0 ? storedValues[slot].load(std::memory_order_relaxed) : NAN;
    if (std::isnan(value)) {
        const Parameter* parameter = parameters.getParameter(kMasterBypassId);
        value = parameter ? parameter->getNormalized() : 0.0;
    }
    return value > 0.5;
}

int32 SorvEffect::slotOf(ParamID tag) const {
    const int32 slots = slotCount.load(std::memory_order_acquire);
    for (int32 i = 0; i < slots; ++i)
        if (parameterSlots[i].id == tag)
            return i;
    return -1;
}

void SorvEffect::refreshParameterSlots() {
    // Parameters are only ever added, in initialize; the slots follow on the next main-thread
    // call, before any audio runs.
    const int32 count = std::min(getParameterCount(), kStoredValues);
    // Other threads may look slots up meanwhile: a slot is filled before it is counted.
    for (int32 slot = slotCount.load(std::memory_order_relaxed); slot < count; ++slot) {
        Parameter* parameter = parameters.getParameterByIndex(slot);
        parameterSlots[slot] = {parameter->getInfo().id, parameter};
        slotCount.store(slot + 1, std::memory_order_release);
    }
}

void SorvEffect::forgetStoredValues() {
    slotCount.store(0, std::memory_order_relaxed);
    for (auto& value : storedValues)
        value.store(std::numeric_limits<double>::quiet_NaN(), std::memory_order_relaxed);
}

tresult PLUGIN_API SorvEffect::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
    if (paramIndex < 0 || paramIndex >= getParameterCount())
        return kInvalidArgument;
    return guarded(
        [&]() -> tresult { return EditControllerEx1::getParameterInfo(paramIndex, info); });
}

tresult PLUGIN_API SorvEffect::getParamStringByValue(ParamID tag, ParamValue valueNormalized,
                                                     String128 string) {
    return guarded([&]() -> tresult {
        const Parameter* parameter = parameters.getParameter(tag);
        if (!parameter)
            return kResultFalse;
        return ParameterText::toString(*parameter, valueNormalized, string);
    });
}

tresult PLUGIN_API SorvEffect::getParamValueByString(ParamID tag, TChar* string,
                                                     ParamValue& valueNormalized) {
    return guarded([&]() -> tresult {
        const Parameter* parameter = parameters.getParameter(tag);
        if (!parameter)
            return kResultFalse;
        return ParameterText::fromString(*parameter, string, valueNormalized);
    });
}

ParamValue PLUGIN_API SorvEffect::normalizedParamToPlain(ParamID tag, ParamValue valueNormalized) {
    return guardedValue(
        [&] {
            const Parameter* parameter = parameters.getParameter(tag);
            return parameter ? ParameterText::toPlain(*parameter, valueNormalized)
                             : valueNormalized;
        },
        0.0);
}

ParamValue PLUGIN_API SorvEffect::plainParamToNormalized(ParamID tag, ParamValue plainValue) {
    return guardedValue(
        [&] {
            const Parameter* parameter = parameters.getParameter(tag);
            return parameter ? ParameterText::toNormalized(*parameter, plainValue) : plainValue;
        },
        0.0);
}

tresult PLUGIN_API SorvEffect::getUnitInfo(int32 unitIndex, UnitInfo& info) {
    if (unitIndex < 0 || unitIndex >= getUnitCount())
        return kInvalidArgument;
    return guarded([&]() -> tresult { return EditControllerEx1::getUnitInfo(unitIndex, info); });
}

tresult PLUGIN_API SorvEffect::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
    if (listIndex < 0 || listIndex >= getProgramListCount())
        return kInvalidArgument;
    return guarded(
        [&]() -> tresult { return EditControllerEx1::getProgramListInfo(listIndex, info); });
}

bool SorvEffect::isProgram(ProgramListID listId, int32 programIndex) {
    const ProgramList* list = getProgramList(listId);
    return list && programIndex >= 0 && programIndex < list->getCount();
}

tresult PLUGIN_API SorvEffect::getProgramName(ProgramListID listId, int32 programIndex,
                                              String128 name) {
    if (!name || !isProgram(listId, programIndex))
        return kInvalidArgument;
    return guarded(
        [&]() -> tresult { return EditControllerEx1::getProgramName(listId, programIndex, name); });
}

tresult PLUGIN_API SorvEffect::getProgramInfo(ProgramListID listId, int32 programIndex,
                                              Vst::CString attributeId, String128 attributeValue) {
    if (!attributeId || !attributeValue || !isProgram(listId, programIndex))
        return kInvalidArgument;
    return guarded([&]() -> tresult {
        return EditControllerEx1::getProgramInfo(listId, programIndex, attributeId, attributeValue);
    });
}

tresult PLUGIN_API SorvEffect::hasProgramPitchNames(ProgramListID listId, int32 programIndex) {
    if (!isProgram(listId, programIndex))
        return kInvalidArgument;
    return guarded(
        [&]() -> tresult { return EditControllerEx1::hasProgramPitchNames(listId, programIndex); });
}

tresult PLUGIN_API SorvEffect::getProgramPitchName(ProgramListID listId, int32 programIndex,
                                                   int16 midiPitch, String128 name) {
    if (!name || !isProgram(listId, programIndex))
        return kInvalidArgument;
    return guarded([&]() -> tresult {
        return EditControllerEx1::getProgramPitchName(listId, programIndex, midiPitch, name);
    });
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
    for (const PatchRow* row = factoryPatches[index].rows; row->id != kPatchEndId; ++row)
        setParamNormalized(row->id, static_cast<double>(row->value));
    if (IComponentHandler* handler = getComponentHandler())
        handler->restartComponent(kParamValuesChanged);
}

tresult SorvEffect::beginEdit(ParamID tag) {
    tresult result = SingleComponentEffect::beginEdit(tag);
    if (result == kResultOk && globalLinkEnabled)
        linkEdit(tag, true);
    return result;
}

tresult SorvEffect::endEdit(ParamID tag) {
    tresult result = SingleComponentEffect::endEdit(tag);
    if (result == kResultOk && globalLinkEnabled)
        linkEdit(tag, false);
    return result;
}

tresult PLUGIN_API SorvEffect::setKnobMode(KnobMode) {
    hostKnobMode = kLinearMode;
    return kResultOk;
}

tresult PLUGIN_API SorvEffect::openHelp(TBool onlyCheck) {
    if (onlyCheck)
        return kResultOk;
    // Answers kResultOk even when nothing could be shown.
    guarded([&]() -> tresult {
        IUtils* utils = getUtils();
        std::string folder = utils->getFolder(FolderKind::Manuals);
        if (!folder.empty())
            utils->openDocument(folder + kProductName + ".pdf");
        return kResultOk;
    });
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
    // Answers kResultOk even when nothing could be shown.
    guarded([&]() -> tresult {
        showAboutBox();
        return kResultOk;
    });
    return kResultOk;
}

void SorvEffect::showAboutBox() {

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
    text += "Samplerate: " + wholeHertz(processSetup.sampleRate) + "Hz\n";
    text += "Blocksize: " + std::to_string(processSetup.maxSamplesPerBlock) + "\n\n";
    text += "VST is a trademark of Steinberg Media Technologies GmbH,\n"
            "registered in Europe and other countries.";

    getUtils()->showMessage(owner, std::string(kVendorName) + ": " + kProductName, text);
}

void SorvEffect::reapplyParameters(bool resetEdits) {
    refreshParameterSlots();
    const int32 slots = slotCount.load(std::memory_order_relaxed);
    for (int32 i = 0; i < getParameterCount(); ++i) {
        ParameterInfo info = {};
        // The slots' records where there are slots: a host may set the effect up from another
        // thread than the one reading its state, and the container's lookup counts references.
        if (i < slots)
            info = parameterSlots[i].parameter->getInfo();
        else if (getParameterInfo(i, info) != kResultOk)
            continue;
        if ((info.flags & ParameterInfo::kIsReadOnly) != 0)
            continue;
        if (resetEdits)
            editInProgress[info.id] = false;
        if (info.id != kProgramId && info.id != kMasterBypassId)
            setParamNormalized(info.id, getParamNormalized(info.id));
    }
}

tresult PLUGIN_API SorvEffect::setActive(TBool) {
    return guarded([&]() -> tresult {
        editInProgress.clear();
        reapplyParameters(true);
        return kResultOk;
    });
}

tresult PLUGIN_API SorvEffect::setupProcessing(ProcessSetup& setup) {
    return guarded([&]() -> tresult {
        tresult result = SingleComponentEffect::setupProcessing(setup);
        if (result != kResultOk)
            return result;
        sampleRate.store(processSetup.sampleRate, std::memory_order_relaxed);
        reapplyParameters(false);
        return kResultOk;
    });
}

tresult PLUGIN_API SorvEffect::process(ProcessData& data) {
    // Any other sample size would have the engine write doubles into 32-bit buffers.
    if (data.symbolicSampleSize != kSample32 && data.symbolicSampleSize != kSample64)
        return kInvalidArgument;
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

    // Outputs past those the engine produced (more outputs than inputs, or a bus wider than
    // the accepted arrangements) would keep whatever the host left in them.
    const int32 maxChannels = multiChannelEnabled ? kMaxChannelsPerBus : kMaxStereoChannels;
    const int32 produced = std::min(std::min(inCh, outCh), maxChannels);
    for (int32 i = produced; i < outCh; ++i) {
        bool sharesProducedBuffer = false;
        for (int32 k = 0; k < produced; ++k)
            sharesProducedBuffer = sharesProducedBuffer || outBuffers[i] == outBuffers[k];
        if (!sharesProducedBuffer && blockBytes) {
            std::memset(outBuffers[i], 0, blockBytes);
            output.silenceFlags |= uint64(1) << i;
        }
    }
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
    pushPendingValues();
    updateMeters();
}

tresult PLUGIN_API SorvEffect::getState(IBStream* stream) {
    if (!stream)
        return kResultFalse;
    return guarded([&]() -> tresult { return writeState(stream); }, kResultFalse);
}

tresult SorvEffect::writeState(IBStream* stream) {
    refreshParameterSlots();
    const int32 count = getParameterCount();
    const uint32 rows = static_cast<uint32>(hostIsPresetExporter ? count - 1 : count);
    if (writeBigEndian(stream, kStateChunkMagic) != kResultOk ||
        writeBigEndian(stream, StateChunk::kVersion) != kResultOk ||
        writeBigEndian(stream, StateChunk::kRowBytes * rows + StateChunk::kHeaderBytes) !=
            kResultOk ||
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
    return guarded(
        [&]() -> tresult {
            // The whole chunk is read and checked before the first row is applied, so a chunk
            // is taken whole or not at all.
            std::vector<StateChunk::Row> rows;
            switch (StateChunk::read(stream, rows)) {
            case StateChunk::Outcome::kInvalid:
                return kResultFalse;
            case StateChunk::Outcome::kNothing:
                // A preset's controller state is empty (the component state holds every
                // value); hosts restore it through this same call.
                return kResultOk;
            case StateChunk::Outcome::kChunk:
                break;
            }
            refreshParameterSlots();
            for (const StateChunk::Row& row : rows)
                applyStateRow(row.id, row.value);
            return kResultOk;
        },
        kResultFalse);
}

void SorvEffect::applyStateRow(ParamID id, uint32 bits) {
    double value = 0.0;
    if (id == kProgramId) {
        // Without a program list the row has no parameter to set.
        if (patchCount <= 1)
            return;
        float index = static_cast<float>(static_cast<int32>(bits));
        value = static_cast<double>(index / static_cast<float>(patchCount - 1));
    } else {
        float stored = 0.0f;
        std::memcpy(&stored, &bits, sizeof(stored));
        value = static_cast<double>(stored);
    }
    setParamNormalized(id, value);
}

tresult PLUGIN_API SorvEffect::queryInterface(const TUID iid, void** obj) {
    if (!iid || !obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, Presonus::IGainReductionInfo::iid)) {
        addRef();
        *obj = static_cast<Presonus::IGainReductionInfo*>(this);
        return kResultOk;
    }
    return SingleComponentEffect::queryInterface(iid, obj);
}

} // namespace SorvLib
