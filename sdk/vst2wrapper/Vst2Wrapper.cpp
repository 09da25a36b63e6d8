#include "vst2wrapper/Vst2Wrapper.h"

#include "vst/ModuleEntry.h"
#include "vst2wrapper/Vst2Editor.h"

#include "base/source/fstring.h"
#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

namespace Steinberg {
namespace Vst {

namespace {

constexpr uint32 kDisplayTimerMs = 10;
constexpr size_t kChunkHeaderBytes = 16; // two 64-bit sizes: component and controller state
constexpr VstInt32 kMaxChannels = kVstMaxArrangementSpeakers;
constexpr int32 kNoTailSize = 1; // the host's "no tail" answer; 0 means "not known"

std::atomic<bool> unitPathInNames{true};

std::string toUtf8(const TChar* text) {
    String string(text);
    string.toMultiByte(kCP_Utf8);
    return string.text8() ? string.text8() : "";
}

void toString128(const char* text, String128 out) {
    String wide(text);
    wide.toWideString(kCP_Utf8);
    wide.copyTo16(out, 0, 127);
}

void writeInt64(char* at, int64 value) {
    for (int i = 0; i < 8; ++i)
        at[i] = static_cast<char>(static_cast<uint64>(value) >> (8 * i));
}

int64 readInt64(const char* at) {
    uint64 value = 0;
    for (int i = 0; i < 8; ++i)
        value |= uint64(static_cast<unsigned char>(at[i])) << (8 * i);
    return static_cast<int64>(value);
}

// A stream over bytes the caller keeps; reads only.
class ReadStream : public MemoryStream {
public:
    ReadStream(const char* data, int64 size)
        : MemoryStream(const_cast<char*>(data), static_cast<TSize>(size)) {}
};

std::vector<char> streamBytes(MemoryStream& stream) {
    const char* data = stream.getData();
    return data ? std::vector<char>(data, data + stream.getSize()) : std::vector<char>();
}

SpeakerArrangement toVst3(const VstSpeakerArrangement* arrangement) {
    if (!arrangement || arrangement->numChannels < 1 || arrangement->numChannels > kMaxChannels)
        return 0;
    if (arrangement->numChannels == 1)
        return SpeakerArr::kMono;
    if (arrangement->numChannels == 2)
        return SpeakerArr::kStereo;
    // Wider layouts by their channel count: the effect decides whether it takes them.
    return (SpeakerArrangement(1) << arrangement->numChannels) - 1;
}

VstInt32 toVst2Type(int32 channels) {
    switch (channels) {
    case 1:
        return kSpeakerArrMono;
    case 2:
        return kSpeakerArrStereo;
    default:
        return kSpeakerArrUserDefined;
    }
}

int32 versionNumber(const char* version) {
    // "1.2.3.4" gives 1234, the usual VST 2 form of a product version.
    int32 parts[4] = {};
    int part = 0;
    for (const char* c = version; *c && part < 4; ++c) {
        if (*c == '.')
            ++part;
        else if (*c >= '0' && *c <= '9')
            parts[part] = std::min<int32>(parts[part] * 10 + (*c - '0'), 9);
    }
    return parts[0] * 1000 + parts[1] * 100 + parts[2] * 10 + parts[3];
}

} // namespace

void Vst2Wrapper::setUnitPathInNames(bool state) {
    unitPathInNames = state;
}

AudioEffect* Vst2Wrapper::create(IPluginFactory* factory, const TUID vst3ComponentID,
                                 VstInt32 vst2ID, audioMasterCallback audioMaster) {
    if (!factory)
        return nullptr;
    auto* wrapper = new (std::nothrow) Vst2Wrapper(audioMaster, vst2ID);
    if (!wrapper)
        return nullptr;
    bool made = false;
    try {
        made = wrapper->init(factory, vst3ComponentID);
    } catch (...) {
        // Out of memory while reading the effect: the host gets no effect, not an exception.
    }
    if (!made) {
        delete wrapper;
        return nullptr;
    }
    // From here on the wrapper's end balances the module start of the entry that made it.
    wrapper->moduleStarted = true;
    return wrapper;
}

Vst2Wrapper::Vst2Wrapper(audioMasterCallback audioMaster, VstInt32 vst2ID)
    : AudioEffectX(audioMaster, 0, 0), mainThread(std::this_thread::get_id()) {
    setUniqueID(vst2ID);
    canProcessReplacing(true);
    programsAreChunks(true);
}

bool Vst2Wrapper::init(IPluginFactory* factory, const TUID vst3ComponentID) {
    if (factory->createInstance(vst3ComponentID, IComponent::iid,
                                reinterpret_cast<void**>(&component)) != kResultOk ||
        !component) {
        component = nullptr;
        return false;
    }
    if (component->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&processor)) !=
        kResultOk)
        processor = nullptr;
    if (!processor || component->initialize(static_cast<IHostApplication*>(this)) != kResultOk)
        return false;

    if (component->queryInterface(IEditController::iid, reinterpret_cast<void**>(&controller)) !=
        kResultOk) {
        controller = nullptr;
        controllerIsComponent = false;
        TUID controllerId;
        if (component->getControllerClassId(controllerId) == kResultOk &&
            factory->createInstance(controllerId, IEditController::iid,
                                    reinterpret_cast<void**>(&controller)) == kResultOk &&
            controller &&
            controller->initialize(static_cast<IHostApplication*>(this)) != kResultOk) {
            controller->release();
            controller = nullptr;
        }
    }
    if (!controller)
        return false;
    controller->setComponentHandler(this);

    // The class record names the effect to the host.
    IPluginFactory2* factory2 = nullptr;
    PFactoryInfo factoryInfo = {};
    if (factory->getFactoryInfo(&factoryInfo) == kResultOk)
        vendorName = factoryInfo.vendor;
    if (factory->queryInterface(IPluginFactory2::iid, reinterpret_cast<void**>(&factory2)) ==
            kResultOk &&
        factory2) {
        for (int32 i = 0; i < factory->countClasses(); ++i) {
            PClassInfo2 info = {};
            if (factory2->getClassInfo2(i, &info) == kResultOk &&
                std::memcmp(info.cid, vst3ComponentID, sizeof(TUID)) == 0) {
                effectName = info.name;
                if (info.vendor[0])
                    vendorName = info.vendor;
                vendorVersion = versionNumber(info.version);
                isInstrument = std::strstr(info.subCategories, "Instrument") != nullptr;
            }
        }
        factory2->release();
    }
    cEffect.version = vendorVersion;
    isSynth(isInstrument);

    // Parameters the host sees: all but the program change, which is the host's program.
    IUnitInfo* unitInfo = nullptr;
    if (controller->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&unitInfo)) !=
        kResultOk)
        unitInfo = nullptr;
    for (int32 i = 0; i < controller->getParameterCount(); ++i) {
        ParameterInfo info = {};
        if (controller->getParameterInfo(i, info) != kResultOk)
            continue;
        outputIds.push_back(info.id);
        if (info.flags & ParameterInfo::kIsProgramChange) {
            programId = info.id;
            continue;
        }
        if (info.flags & ParameterInfo::kIsBypass)
            bypassId = info.id;
        parameters.push_back(info);
        std::string title = toUtf8(info.title);
        if (unitPathInNames && unitInfo) {
            for (UnitID unit = info.unitId; unit != kRootUnitId && unit != kNoParentUnitId;) {
                UnitInfo found = {};
                bool known = false;
                for (int32 u = 0; u < unitInfo->getUnitCount() && !known; ++u)
                    known = unitInfo->getUnitInfo(u, found) == kResultOk && found.id == unit;
                if (!known)
                    break;
                title = toUtf8(found.name) + "/" + title;
                unit = found.parentUnitId;
            }
        }
        parameterNames.push_back(title);
    }
    if (unitInfo && programId != kNoParamId) {
        for (int32 l = 0; l < unitInfo->getProgramListCount(); ++l) {
            ProgramListInfo list = {};
            if (unitInfo->getProgramListInfo(l, list) != kResultOk ||
                static_cast<ParamID>(list.id) != programId)
                continue;
            programListId = list.id;
            for (int32 p = 0; p < list.programCount; ++p) {
                String128 name = {};
                unitInfo->getProgramName(list.id, p, name);
                programNames.push_back(toUtf8(name));
            }
        }
    }
    if (unitInfo)
        unitInfo->release();

    numParams = cEffect.numParams = static_cast<VstInt32>(parameters.size());
    numPrograms = cEffect.numPrograms = static_cast<VstInt32>(programNames.size());
    outputChanges.prepare(outputIds);

    canDoubleReplacing(processor->canProcessSampleSize(kSample64) == kResultTrue);
    SpeakerArrangement in = 0, out = 0;
    if (component->getBusCount(kAudio, kInput) > 0)
        processor->getBusArrangement(kInput, 0, in);
    if (component->getBusCount(kAudio, kOutput) > 0)
        processor->getBusArrangement(kOutput, 0, out);
    setNumInputs(SpeakerArr::getChannelCount(in));
    setNumOutputs(SpeakerArr::getChannelCount(out));
    outputCount = cEffect.numOutputs;

    // The editor flag tells hosts whether to offer a window; the view itself is made on demand.
    if (IPlugView* view = controller->createView(ViewType::kEditor)) {
        if (view->isPlatformTypeSupported(kPlatformTypeHWND) == kResultTrue)
            setEditor(new Vst2Editor(this));
        view->release();
    }
    timer = owned(Timer::create(this, kDisplayTimerMs));
    return true;
}

Vst2Wrapper::~Vst2Wrapper() {
    timer = nullptr;
    delete editor;
    setEditor(nullptr);
    if (active)
        suspend();
    if (controller) {
        controller->setComponentHandler(nullptr);
        if (!controllerIsComponent) {
            controller->terminate();
        }
        controller->release();
    }
    if (processor)
        processor->release();
    if (component) {
        component->terminate();
        component->release();
    }
    deallocateArrangement(&inputArrangement);
    deallocateArrangement(&outputArrangement);
    if (moduleStarted)
        DeinitModule();
}

VstIntPtr Vst2Wrapper::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    switch (opcode) {
    // Calls hosts make on their main thread, whichever thread made the effect.
    case effOpen:
    case effMainsChanged:
    case effSetSampleRate:
    case effSetBlockSize:
    case effGetChunk:
    case effSetChunk:
    case effEditOpen:
    case effEditIdle:
        followMainThread();
        break;
    // Programs come on the audio thread too: only the thread the host names its user thread
    // takes the hand-over, which may be the first call the host makes there.
    case effSetProgram:
        if (getCurrentProcessLevel() == kVstProcessLevelUser)
            followMainThread();
        break;
    default:
        break;
    }
    return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}

void Vst2Wrapper::followMainThread() {
    // A host callback inside a block may come on the audio thread.
    if (onMainThread() || holdsGate())
        return;
    std::lock_guard<std::mutex> turn(handOverTurns);
    if (onMainThread())
        return;
    // The timer of a loader thread that has ended would never tick.
    if (Timer* moved = Timer::create(this, kDisplayTimerMs)) {
        timer = owned(moved);
        mainThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
    }
}

VstInt32 Vst2Wrapper::indexOf(ParamID id) const {
    for (size_t i = 0; i < parameters.size(); ++i)
        if (parameters[i].id == id)
            return static_cast<VstInt32>(i);
    return -1;
}

// ---- Processing life cycle.

template <typename Change> void Vst2Wrapper::reconfigure(Change&& change) {
    std::lock_guard<std::mutex> turn(setupTurns);
    while (inside.test_and_set(std::memory_order_acquire))
        std::this_thread::yield();
    gateHolder.store(std::this_thread::get_id(), std::memory_order_relaxed);
    try {
        change();
    } catch (...) {
        // The host must not see an exception; the effect keeps what it could set up.
    }
    releaseGate();
}

void Vst2Wrapper::releaseGate() {
    applyDeferred();
    gateHolder.store(std::thread::id(), std::memory_order_relaxed);
    inside.clear(std::memory_order_release);
}

void Vst2Wrapper::applyDeferred() {
    if (!deferred.pending)
        return;
    // Taken whole first: applying calls the host, and what it asks for meanwhile waits for the
    // next release, so a host that always asks again cannot keep the gate.
    const DeferredSetup asked = deferred;
    deferred = DeferredSetup();
    try {
        if (asked.precision >= 0)
            precision = asked.precision;
        if (asked.rate != 0.0f || asked.size != 0)
            applySetup(asked.rate, asked.size);
        if (asked.active == 0 && active)
            stopProcessing();
        else if (asked.active == 1 && !active)
            startProcessing();
    } catch (...) {
        // As in reconfigure.
    }
}

int32 Vst2Wrapper::hostProcessMode() {
    return getCurrentProcessLevel() == kVstProcessLevelOffline ? kOffline : kRealtime;
}

void Vst2Wrapper::startProcessing() {
    ProcessSetup setup = {hostProcessMode(), precision, blockSize, sampleRate};
    processor->setupProcessing(setup);
    component->setActive(true);
    processor->setProcessing(true);
    active = true;
}

void Vst2Wrapper::stopProcessing() {
    processor->setProcessing(false);
    component->setActive(false);
    active = false;
}

void Vst2Wrapper::suspend() {
    if (holdsGate()) {
        deferred.active = 0;
        deferred.pending = true;
        return;
    }
    reconfigure([&] {
        if (active)
            stopProcessing();
    });
}

void Vst2Wrapper::resume() {
    AudioEffectX::resume();
    if (holdsGate()) {
        deferred.active = 1;
        deferred.pending = true;
        return;
    }
    reconfigure([&] {
        if (!active)
            startProcessing();
    });
}

void Vst2Wrapper::setSampleRate(float rate) {
    if (rate > 0.0f)
        changeSetup(rate, 0);
}

void Vst2Wrapper::setBlockSize(VstInt32 size) {
    if (size > 0)
        changeSetup(0.0f, size);
}

void Vst2Wrapper::changeSetup(float rate, VstInt32 size) {
    if (holdsGate()) {
        if (rate != 0.0f)
            deferred.rate = rate;
        if (size != 0)
            deferred.size = size;
        deferred.pending = true;
        return;
    }
    reconfigure([&] { applySetup(rate, size); });
}

void Vst2Wrapper::applySetup(float rate, VstInt32 size) {
    if ((rate == 0.0f || rate == sampleRate) && (size == 0 || size == blockSize))
        return;
    if (rate != 0.0f)
        AudioEffectX::setSampleRate(rate);
    if (size != 0)
        AudioEffectX::setBlockSize(size);
    // A host that changes the set-up while active still gets an effect designed for it.
    if (active) {
        stopProcessing();
        startProcessing();
    }
}

bool Vst2Wrapper::setProcessPrecision(VstInt32 newPrecision) {
    const int32 sampleSize = newPrecision == kVstProcessPrecision64 ? kSample64 : kSample32;
    if (processor->canProcessSampleSize(sampleSize) != kResultTrue)
        return false;
    if (holdsGate()) {
        deferred.precision = sampleSize;
        deferred.pending = true;
        return true;
    }
    reconfigure([&] { precision = sampleSize; });
    return true;
}

template <typename Sample>
void Vst2Wrapper::silence(Sample** outputs, VstInt32 channels, VstInt32 sampleFrames) {
    for (VstInt32 c = 0; c < channels; ++c)
        if (outputs[c])
            std::fill(outputs[c], outputs[c] + sampleFrames, Sample(0));
}

template <typename Sample>
void Vst2Wrapper::processBlock(Sample** inputs, Sample** outputs, VstInt32 sampleFrames) {
    if (sampleFrames < 0 || !outputs)
        return;
    // A block that overlaps a set-up change, or a second block at once, is silent.
    if (inside.test_and_set(std::memory_order_acquire)) {
        silence(outputs, outputCount.load(std::memory_order_relaxed), sampleFrames);
        return;
    }
    gateHolder.store(std::this_thread::get_id(), std::memory_order_relaxed);
    if (!active) {
        // Outside resume/suspend the effect is not ready: the host hears silence.
        silence(outputs, cEffect.numOutputs, sampleFrames);
        releaseGate();
        return;
    }
    ProcessData data;
    // Hosts answer "offline" only to calls from the thread that bounces: asked per block.
    data.processMode = hostProcessMode();
    data.symbolicSampleSize = sizeof(Sample) == sizeof(float) ? kSample32 : kSample64;
    data.numSamples = sampleFrames;
    inputBus.numChannels = inputs ? cEffect.numInputs : 0;
    outputBus.numChannels = cEffect.numOutputs;
    inputBus.silenceFlags = outputBus.silenceFlags = 0;
    if constexpr (sizeof(Sample) == sizeof(float)) {
        inputBus.channelBuffers32 = reinterpret_cast<Sample32**>(inputs);
        outputBus.channelBuffers32 = reinterpret_cast<Sample32**>(outputs);
    } else {
        inputBus.channelBuffers64 = reinterpret_cast<Sample64**>(inputs);
        outputBus.channelBuffers64 = reinterpret_cast<Sample64**>(outputs);
    }
    data.numInputs = inputBus.numChannels > 0 ? 1 : 0;
    data.numOutputs = 1;
    data.inputs = &inputBus;
    data.outputs = &outputBus;
    outputChanges.clear();
    data.outputParameterChanges = &outputChanges;
    processor->process(data);
    collectOutputChanges();
    releaseGate();
}

void Vst2Wrapper::collectOutputChanges() {
    for (int32 q = 0; q < outputChanges.getParameterCount(); ++q) {
        IParamValueQueue* queue = outputChanges.getParameterData(q);
        int32 offset = 0;
        ParamValue value = 0.0;
        const int32 points = queue->getPointCount();
        if (points > 0 && queue->getPoint(points - 1, offset, value) == kResultOk)
            controller->setParamNormalized(queue->getParameterId(), value);
    }
}

void Vst2Wrapper::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames);
}

void Vst2Wrapper::processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames);
}

void Vst2Wrapper::onTimer(Timer*) {
    if (displayChanged.exchange(false))
        updateDisplay();
}

// ---- Parameters.

void Vst2Wrapper::setParameter(VstInt32 index, float value) {
    if (!isIndexValid(index) || !std::isfinite(value) ||
        (parameters[index].flags & ParameterInfo::kIsReadOnly))
        return;
    const double normalized = std::min(1.0, std::max(0.0, static_cast<double>(value)));
    controller->setParamNormalized(parameters[index].id, normalized);
}

float Vst2Wrapper::getParameter(VstInt32 index) {
    if (!isIndexValid(index))
        return 0.0f;
    return static_cast<float>(controller->getParamNormalized(parameters[index].id));
}

void Vst2Wrapper::getParameterName(VstInt32 index, char* text) {
    vstCopyText(text, isIndexValid(index) ? parameterNames[index].c_str() : "",
                kVstExtMaxParamStrLen - 1);
}

void Vst2Wrapper::getParameterLabel(VstInt32 index, char* label) {
    vstCopyText(label, isIndexValid(index) ? toUtf8(parameters[index].units).c_str() : "",
                kVstMaxParamStrLen);
}

void Vst2Wrapper::getParameterDisplay(VstInt32 index, char* text) {
    if (!isIndexValid(index)) {
        vstCopyText(text, "", kVstMaxParamStrLen);
        return;
    }
    String128 display = {};
    controller->getParamStringByValue(parameters[index].id, getParameter(index), display);
    vstCopyText(text, toUtf8(display).c_str(), kVstMaxParamStrLen);
}

bool Vst2Wrapper::string2parameter(VstInt32 index, char* text) {
    if (!isIndexValid(index) || !text)
        return false;
    String128 string = {};
    toString128(text, string);
    ParamValue value = 0.0;
    if (controller->getParamValueByString(parameters[index].id, string, value) != kResultOk)
        return false;
    setParameter(index, static_cast<float>(value));
    return true;
}

bool Vst2Wrapper::canParameterBeAutomated(VstInt32 index) {
    return isIndexValid(index) && (parameters[index].flags & ParameterInfo::kCanAutomate) &&
           !(parameters[index].flags & ParameterInfo::kIsReadOnly);
}

bool Vst2Wrapper::setBypass(bool on) {
    if (bypassId == kNoParamId)
        return false;
    setParameter(indexOf(bypassId), on ? 1.0f : 0.0f);
    return true;
}

// ---- Programs.

void Vst2Wrapper::applyProgram(VstInt32 program) {
    if (programId == kNoParamId || program < 0 || program >= numPrograms)
        return;
    const double value = numPrograms > 1 ? double(program) / double(numPrograms - 1) : 0.0;
    controller->setParamNormalized(programId, value);
}

void Vst2Wrapper::setProgram(VstInt32 program) {
    if (program < 0 || program >= numPrograms)
        return;
    curProgram = program;
    applyProgram(program);
}

VstInt32 Vst2Wrapper::getProgram() {
    if (programId == kNoParamId || numPrograms < 1)
        return 0;
    const double value = controller->getParamNormalized(programId);
    return std::min(numPrograms - 1, static_cast<VstInt32>(value * (numPrograms - 1) + 0.5));
}

void Vst2Wrapper::getProgramName(char* name) {
    getProgramNameIndexed(0, getProgram(), name);
}

bool Vst2Wrapper::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    if (!text)
        return false;
    const bool known = index >= 0 && index < numPrograms;
    vstCopyText(text, known ? programNames[index].c_str() : "", kVstMaxProgNameLen);
    return known;
}

// ---- State.

VstInt32 Vst2Wrapper::getChunk(void** data, bool) {
    if (!data)
        return 0;
    *data = nullptr;
    MemoryStream componentState;
    if (component->getState(&componentState) != kResultOk)
        return 0;
    MemoryStream controllerState;
    // A single-object effect keeps its whole state in the component's.
    if (!controllerIsComponent && controller->getState(&controllerState) != kResultOk)
        controllerState.setSize(0);
    const std::vector<char> first = streamBytes(componentState);
    const std::vector<char> second = streamBytes(controllerState);
    const size_t total = kChunkHeaderBytes + first.size() + second.size();
    if (total > size_t(std::numeric_limits<VstInt32>::max()))
        return 0;
    chunk.assign(total, 0);
    writeInt64(chunk.data(), static_cast<int64>(first.size()));
    writeInt64(chunk.data() + 8, static_cast<int64>(second.size()));
    std::copy(first.begin(), first.end(), chunk.begin() + kChunkHeaderBytes);
    std::copy(second.begin(), second.end(), chunk.begin() + kChunkHeaderBytes + first.size());
    *data = chunk.data();
    return static_cast<VstInt32>(total);
}

VstInt32 Vst2Wrapper::setChunk(void* data, VstInt32 byteSize, bool) {
    if (!data || byteSize < static_cast<VstInt32>(kChunkHeaderBytes))
        return 0;
    const char* bytes = static_cast<const char*>(data);
    const int64 componentSize = readInt64(bytes);
    const int64 controllerSize = readInt64(bytes + 8);
    const int64 room = byteSize - static_cast<int64>(kChunkHeaderBytes);
    if (componentSize <= 0 || controllerSize < 0 || componentSize > room ||
        controllerSize > room - componentSize)
        return 0;

    // A refused state must leave the effect as it was.
    MemoryStream before;
    if (component->getState(&before) != kResultOk)
        return 0;
    ReadStream componentState(bytes + kChunkHeaderBytes, componentSize);
    bool accepted = component->setState(&componentState) == kResultOk;
    if (accepted && !controllerIsComponent) {
        componentState.seek(0, IBStream::kIBSeekSet, nullptr);
        controller->setComponentState(&componentState);
        if (controllerSize > 0) {
            ReadStream controllerState(bytes + kChunkHeaderBytes + componentSize, controllerSize);
            accepted = controller->setState(&controllerState) == kResultOk;
        }
    }
    if (!accepted) {
        before.seek(0, IBStream::kIBSeekSet, nullptr);
        component->setState(&before);
        return 0;
    }
    curProgram = getProgram();
    updateDisplay();
    return 1;
}

// ---- Buses.

bool Vst2Wrapper::setSpeakerArrangement(VstSpeakerArrangement* input,
                                        VstSpeakerArrangement* output) {
    SpeakerArrangement in = toVst3(input);
    SpeakerArrangement out = toVst3(output);
    if (!in || !out)
        return false;
    // Asked for inside a block or a set-up change on this thread: refused rather than waited for.
    if (holdsGate())
        return false;
    bool accepted = false;
    reconfigure([&] {
        if (active || processor->setBusArrangements(&in, 1, &out, 1) != kResultOk)
            return;
        setNumInputs(input->numChannels);
        setNumOutputs(output->numChannels);
        outputCount = cEffect.numOutputs;
        accepted = true;
    });
    return accepted;
}

bool Vst2Wrapper::getSpeakerArrangement(VstSpeakerArrangement** input,
                                        VstSpeakerArrangement** output) {
    if (!input || !output)
        return false;
    if (!allocateArrangement(&inputArrangement, cEffect.numInputs) ||
        !allocateArrangement(&outputArrangement, cEffect.numOutputs))
        return false;
    inputArrangement->type = toVst2Type(cEffect.numInputs);
    outputArrangement->type = toVst2Type(cEffect.numOutputs);
    *input = inputArrangement;
    *output = outputArrangement;
    return true;
}

// ---- Names and abilities.

VstInt32 Vst2Wrapper::getGetTailSize() {
    const uint32 tail = processor->getTailSamples();
    if (tail == kNoTail)
        return kNoTailSize;
    return static_cast<VstInt32>(std::min<uint32>(tail, std::numeric_limits<VstInt32>::max()));
}

bool Vst2Wrapper::getEffectName(char* text) {
    vstCopyText(text, effectName.c_str(), kVstMaxEffectNameLen - 1);
    return text != nullptr;
}

bool Vst2Wrapper::getVendorString(char* text) {
    vstCopyText(text, vendorName.c_str(), kVstMaxVendorStrLen - 1);
    return text != nullptr;
}

bool Vst2Wrapper::getProductString(char* text) {
    vstCopyText(text, effectName.c_str(), kVstMaxProductStrLen - 1);
    return text != nullptr;
}

VstInt32 Vst2Wrapper::getVendorVersion() {
    return vendorVersion;
}

VstInt32 Vst2Wrapper::canDo(char* text) {
    if (!text)
        return 0;
    for (const char* yes : {"bypass", "plugAsChannelInsert", "plugAsSend"})
        if (std::strcmp(text, yes) == 0)
            return 1;
    // The effect is given no time information, whatever its kind.
    if (std::strcmp(text, "receiveVstTimeInfo") == 0)
        return -1;
    for (const char* no : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents",
                           "receiveVstMidiEvent", "offline", "midiProgramNames"})
        if (std::strcmp(text, no) == 0)
            return isInstrument && std::strstr(no, "receive") ? 1 : -1;
    return 0;
}

VstInt32 Vst2Wrapper::getPlugCategory() {
    return isInstrument ? kPlugCategSynth : kPlugCategRoomFx;
}

// ---- The effect's host.

tresult PLUGIN_API Vst2Wrapper::getName(String128 name) {
    char product[kVstMaxProductStrLen + 1] = {};
    if (!getHostProductString(product) || !product[0])
        return kResultFalse;
    toString128(product, name);
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::createInstance(TUID, TUID, void** obj) {
    if (obj)
        *obj = nullptr;
    return kResultFalse;
}

tresult PLUGIN_API Vst2Wrapper::beginEdit(ParamID id) {
    const VstInt32 index = indexOf(id);
    if (index < 0)
        return kInvalidArgument;
    AudioEffectX::beginEdit(index);
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::performEdit(ParamID id, ParamValue valueNormalized) {
    const VstInt32 index = indexOf(id);
    if (index < 0)
        return kInvalidArgument;
    // The effect holds the value already; the host only records it.
    callHost(audioMasterAutomate, index, 0, nullptr, static_cast<float>(valueNormalized));
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::endEdit(ParamID id) {
    const VstInt32 index = indexOf(id);
    if (index < 0)
        return kInvalidArgument;
    AudioEffectX::endEdit(index);
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::restartComponent(int32 flags) {
    if (flags & kLatencyChanged) {
        setInitialDelay(static_cast<VstInt32>(processor->getLatencySamples()));
        ioChanged();
    }
    // A program change the host made on its audio thread is told from the main thread.
    if (flags & (kParamValuesChanged | kParamTitlesChanged)) {
        if (onMainThread())
            updateDisplay();
        else
            displayChanged = true;
    }
    return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::queryInterface(const TUID iid, void** obj) {
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
        FUnknownPrivate::iidEqual(iid, IHostApplication::iid))
        *obj = static_cast<IHostApplication*>(this);
    else if (FUnknownPrivate::iidEqual(iid, IVst3ToVst2Wrapper::iid))
        *obj = static_cast<IVst3ToVst2Wrapper*>(this);
    else if (FUnknownPrivate::iidEqual(iid, IComponentHandler::iid))
        *obj = static_cast<IComponentHandler*>(this);
    else {
        *obj = nullptr;
        return kNoInterface;
    }
    return kResultOk;
}

} // namespace Vst
} // namespace Steinberg
