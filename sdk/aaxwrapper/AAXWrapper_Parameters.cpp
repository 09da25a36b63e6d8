#include "aaxwrapper/AAXWrapper_Parameters.h"

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CString.h"
#include "AAX_IController.h"
#include "aaxwrapper/AAXWrapperDescription.h"
#include "aaxwrapper/AAXWrapper_DisplayDelegate.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "public.sdk/source/common/memorystream.h"
#include "vst/ModuleEntry.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;

extern "C" IPluginFactory* PLUGIN_API GetPluginFactory();

const int32_t AAXWrapper_Parameters::kInstanceField =
    AAX_FIELD_INDEX(AAXWrapper_Context, mInstance);

namespace {

constexpr int32_t kStateChunkVersion = 1;
constexpr const char* kStateChunkName = "VST3 State";

int32_t channelsOf(AAX_EStemFormat format) {
    return format == AAX_eStemFormat_Mono ? 1 : format == AAX_eStemFormat_Stereo ? 2 : 0;
}

} // namespace

IACFUnknown* AAXWrapper_Parameters::Create() {
    auto* wrapper = new (std::nothrow) AAXWrapper_Parameters;
    if (!wrapper)
        return nullptr;
    wrapper->AddRef();
    bool started = false;
    try {
        started = wrapper->Start();
    } catch (...) {
    }
    if (!started) {
        wrapper->Release();
        return nullptr;
    }
    return static_cast<AAX_IACFEffectParameters_V4*>(wrapper);
}

bool AAXWrapper_Parameters::Start() {
    if (!InitModule())
        return false;
    mModuleStarted = true;
    const AAX_Effect_Desc* description = AAXWrapper_GetDescription();
    IPluginFactory* factory = GetPluginFactory();
    if (!factory)
        return false;
    // The description names the class; without one, the factory's effect class is taken.
    TUID classId = {};
    bool haveClass = false;
    if (description) {
        std::memcpy(classId, description->mVST3PluginID, sizeof(TUID));
        haveClass = true;
    } else {
        for (int32 i = 0; i < factory->countClasses() && !haveClass; ++i) {
            PClassInfo info = {};
            if (factory->getClassInfo(i, &info) == kResultOk &&
                std::strcmp(info.category, kVstAudioEffectClass) == 0) {
                std::memcpy(classId, info.cid, sizeof(TUID));
                haveClass = true;
            }
        }
    }
    const bool made = haveClass &&
                      factory->createInstance(classId, IComponent::iid,
                                              reinterpret_cast<void**>(&mComponent)) == kResultOk &&
                      mComponent;
    factory->release();
    if (!made) {
        mComponent = nullptr;
        return false;
    }
    if (mComponent->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&mProcessor)) !=
        kResultOk)
        mProcessor = nullptr;
    if (mComponent->queryInterface(IEditController::iid, reinterpret_cast<void**>(&mController)) !=
        kResultOk)
        mController = nullptr;
    if (!mProcessor || !mController ||
        mComponent->initialize(static_cast<IHostApplication*>(this)) != kResultOk)
        return false;
    mController->setComponentHandler(this);
    // The meters every component's context carries, in the description's order.
    if (description && description->mPluginDesc)
        mMeterIds = AAXWrapper_MeterIds(description->mPluginDesc[0]);
    mOutputChanges.prepare(mMeterIds);
    return true;
}

AAXWrapper_Parameters::~AAXWrapper_Parameters() {
    // The parameters and host wrappers go before the effect they describe.
    if (Controller())
        Uninitialize();
    HoldBlocks();
    StopProcessing();
    if (mController) {
        mController->setComponentHandler(nullptr);
        mController->release();
    }
    if (mProcessor)
        mProcessor->release();
    if (mComponent) {
        mComponent->terminate();
        mComponent->release();
    }
    if (mModuleStarted)
        DeinitModule();
}

const char* AAXWrapper_Parameters::AaxId(ParamID id) const {
    const auto found = mAaxIds.find(id);
    return found == mAaxIds.end() ? nullptr : found->second.c_str();
}

bool AAXWrapper_Parameters::FindVstId(AAX_CParamID id, ParamID* out) const {
    if (!id)
        return false;
    const auto found = mVstIds.find(id);
    if (found == mVstIds.end())
        return false;
    *out = found->second;
    return true;
}

AAX_Result AAXWrapper_Parameters::EffectInit() {
    const int32 count = mController->getParameterCount();
    for (int32 index = 0; index < count; ++index) {
        ParameterInfo info = {};
        if (mController->getParameterInfo(index, info) != kResultOk)
            continue;
        // The four characters of the id, or its number when they are not all printable.
        char text[16];
        const char chars[4] = {char(info.id >> 24), char(info.id >> 16), char(info.id >> 8),
                               char(info.id)};
        bool printable = true;
        for (char c : chars)
            printable = printable && c > 32 && c < 127;
        if (printable)
            std::snprintf(text, sizeof(text), "%c%c%c%c", chars[0], chars[1], chars[2], chars[3]);
        else
            std::snprintf(text, sizeof(text), "%u", unsigned(info.id));
        if (mVstIds.count(text))
            continue;
        mAaxIds[info.id] = text;
        mVstIds[text] = info.id;

        AAX_CLinearTaperDelegate<double, 0> taper(0.0, 1.0);
        AAXWrapper_DisplayDelegate display(mController, info.id);
        auto* parameter = new AAX_CParameter<double>(
            text, AAX_CString(AAXWrapper_DisplayDelegate::ToUtf8(info.title).c_str()),
            info.defaultNormalizedValue, taper, display,
            (info.flags & ParameterInfo::kCanAutomate) != 0);
        const std::string shortTitle = AAXWrapper_DisplayDelegate::ToUtf8(info.shortTitle);
        if (!shortTitle.empty())
            parameter->AddShortenedName(AAX_CString(shortTitle.c_str()));
        if (info.stepCount > 0) {
            parameter->SetNumberOfSteps(static_cast<uint32_t>(info.stepCount) + 1);
            parameter->SetType(AAX_eParameterType_Discrete);
        }
        parameter->UpdateNormalizedValue(mController->getParamNormalized(info.id));
        mParameterManager.AddParameter(parameter);
        if ((info.flags & ParameterInfo::kIsBypass) && !mHasBypass) {
            mBypassId = info.id;
            mHasBypass = true;
        }
    }
    if (mHasBypass) {
        AAX_CBinaryTaperDelegate<bool> taper;
        AAX_CBinaryDisplayDelegate<bool> display("off", "on");
        auto* bypass = new AAX_CParameter<bool>(kAAX_MasterBypassID, AAX_CString("Master Bypass"),
                                                false, taper, display, true);
        // A switch: hosts show two positions, not the template's default of 128 steps.
        bypass->SetNumberOfSteps(2);
        bypass->SetType(AAX_eParameterType_Discrete);
        bypass->UpdateNormalizedValue(mController->getParamNormalized(mBypassId));
        mParameterManager.AddParameter(bypass);
    }
    // Every parameter row carries the instance; the first coefficients always post it.
    for (int32_t index = 0; index < mParameterManager.NumParameters(); ++index)
        mPacketDispatcher.RegisterPacket(mParameterManager.GetParameter(index)->Identifier(),
                                         kInstanceField, [this](AAX_CParamID, AAX_CPacket& packet) {
                                             *packet.GetPtr<AAXWrapper_Parameters*>() = this;
                                             return AAX_Result(AAX_SUCCESS);
                                         });
    if (mParameterManager.NumParameters() > 0)
        mPacketDispatcher.SetDirty(mParameterManager.GetParameter(0)->Identifier());
    return AAX_SUCCESS;
}

AAX_Result AAXWrapper_Parameters::Initialize(IACFUnknown* controller) {
    const AAX_Result result = AAX_CEffectParameters::Initialize(controller);
    if (result == AAX_SUCCESS) {
        FollowBypass();
        SetUpProcessing();
    }
    return result;
}

AAX_Result AAXWrapper_Parameters::Uninitialize() {
    HoldBlocks();
    StopProcessing();
    return AAX_CEffectParameters::Uninitialize();
}

AAX_Result AAXWrapper_Parameters::NotificationReceived(AAX_CTypeID type, const void* data,
                                                       uint32_t size) {
    if (type == AAX_eNotificationEvent_SampleRateChanged ||
        type == AAX_eNotificationEvent_StemFormatChanged)
        SetUpProcessing();
    return AAX_CEffectParameters::NotificationReceived(type, data, size);
}

void AAXWrapper_Parameters::HoldBlocks() {
    // Sequentially consistent on both sides: either a block sees the effect not ready, or this
    // sees the block inside and waits for it to leave.
    mReady.store(false);
    while (mInBlock.load())
        std::this_thread::yield();
}

bool AAXWrapper_Parameters::SetUpProcessing() {
    HoldBlocks();
    StopProcessing();
    AAX_IController* controller = Controller();
    AAX_CSampleRate rate = 0;
    AAX_EStemFormat input = AAX_eStemFormat_None, output = AAX_eStemFormat_None;
    if (!controller || controller->GetSampleRate(&rate) != AAX_SUCCESS ||
        controller->GetInputStemFormat(&input) != AAX_SUCCESS ||
        controller->GetOutputStemFormat(&output) != AAX_SUCCESS)
        return false;
    const int32_t channels = channelsOf(output);
    if (channels == 0 || channelsOf(input) != channels || !(rate > 0))
        return false;
    SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
    ProcessSetup setup = {kRealtime, kSample32, kMaxBlock, double(rate)};
    if (mProcessor->setBusArrangements(&arrangement, 1, &arrangement, 1) != kResultOk ||
        mProcessor->setupProcessing(setup) != kResultOk)
        return false;
    mComponent->setActive(true);
    mProcessor->setProcessing(true);
    mProcessing = true;
    mChannels = channels;
    mReady.store(true);
    return true;
}

void AAXWrapper_Parameters::FollowBypass() {
    mBypassed.store(mHasBypass && mController->getParamNormalized(mBypassId) > 0.5);
}

AAX_Result AAXWrapper_Parameters::SetParameterDefaultNormalizedValue(AAX_CParamID, double) {
    // The effect's defaults are its own.
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAXWrapper_Parameters::UpdateParameterNormalizedValue(AAX_CParamID id, double value,
                                                                 int32_t source) {
    const AAX_Result result =
        AAX_CEffectParameters::UpdateParameterNormalizedValue(id, value, source);
    if (result != AAX_SUCCESS)
        return result;
    // The value as the AAX parameter stored it (clamped, NaN refused) goes to the effect.
    double stored = 0;
    GetParameterNormalizedValue(id, &stored);
    ParamID vstId;
    if (std::strcmp(id, kAAX_MasterBypassID) == 0) {
        if (mHasBypass) {
            mController->setParamNormalized(mBypassId, stored);
            if (const char* mirror = AaxId(mBypassId))
                AAX_CEffectParameters::UpdateParameterNormalizedValue(
                    mirror, mController->getParamNormalized(mBypassId), source);
        }
    } else if (FindVstId(id, &vstId)) {
        mController->setParamNormalized(vstId, stored);
        // A parameter with steps keeps its quantised value: the host is told that one, and
        // so is the bypass switch that mirrors the effect's bypass parameter.
        const double actual = mController->getParamNormalized(vstId);
        if (actual != stored)
            AAX_CEffectParameters::UpdateParameterNormalizedValue(id, actual, source);
        if (mHasBypass && vstId == mBypassId)
            AAX_CEffectParameters::UpdateParameterNormalizedValue(kAAX_MasterBypassID, actual,
                                                                  source);
    }
    FollowBypass();
    return AAX_SUCCESS;
}

AAX_Result AAXWrapper_Parameters::ResetFieldData(int32_t fieldIndex, void* data,
                                                 uint32_t size) const {
    AAX_CEffectParameters::ResetFieldData(fieldIndex, data, size);
    if (fieldIndex == kInstanceField && data && size >= sizeof(AAXWrapper_Parameters*)) {
        const AAXWrapper_Parameters* self = this;
        std::memcpy(data, &self, sizeof(self));
    }
    return AAX_SUCCESS;
}

AAX_Result AAXWrapper_Parameters::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id) const {
    if (!id)
        return AAX_ERROR_NULL_ARGUMENT;
    *id = index == 0 ? kStateChunkID : 0;
    return index == 0 ? AAX_SUCCESS : AAX_ERROR_INVALID_CHUNK_INDEX;
}

bool AAXWrapper_Parameters::ReadState(std::vector<char>* bytes) const {
    MemoryStream stream;
    if (mComponent->getState(&stream) != kResultOk)
        return false;
    bytes->assign(stream.getData(), stream.getData() + stream.getSize());
    return true;
}

AAX_Result AAXWrapper_Parameters::GetChunkSize(AAX_CTypeID id, uint32_t* size) const {
    if (!size)
        return AAX_ERROR_NULL_ARGUMENT;
    if (id != kStateChunkID) {
        *size = 0;
        return AAX_ERROR_INVALID_CHUNK_ID;
    }
    std::vector<char> state;
    if (!ReadState(&state))
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    mStateSize = static_cast<uint32_t>(state.size());
    *size = mStateSize;
    return AAX_SUCCESS;
}

AAX_Result AAXWrapper_Parameters::GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk) const {
    if (id != kStateChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;
    if (!chunk)
        return AAX_ERROR_NULL_ARGUMENT;
    std::vector<char> state;
    // The host sized the record by the last GetChunkSize: a different size would overflow it.
    if (!ReadState(&state) || state.size() != mStateSize || state.empty())
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    chunk->fSize = static_cast<int32_t>(state.size());
    chunk->fVersion = kStateChunkVersion;
    std::memset(chunk->fName, 0, sizeof(chunk->fName));
    std::memcpy(chunk->fName, kStateChunkName, std::strlen(kStateChunkName));
    std::memcpy(chunk->fData, state.data(), state.size());
    return AAX_SUCCESS;
}

AAX_Result AAXWrapper_Parameters::SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk) {
    if (id != kStateChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;
    if (!chunk)
        return AAX_ERROR_NULL_ARGUMENT;
    if (chunk->fSize <= 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    MemoryStream stream(const_cast<unsigned char*>(chunk->fData), chunk->fSize);
    // The effect refuses a malformed state as a whole and keeps its own.
    if (mComponent->setState(&stream) != kResultOk)
        return AAX_ERROR_MALFORMED_CHUNK;
    PullAllValues();
    return AAX_SUCCESS;
}

AAX_Result AAXWrapper_Parameters::CompareActiveChunk(const AAX_SPlugInChunk* chunk,
                                                     AAX_CBoolean* equal) const {
    if (!chunk || !equal)
        return AAX_ERROR_NULL_ARGUMENT;
    *equal = 1;
    if (chunk->fChunkID != kStateChunkID)
        return AAX_SUCCESS;
    std::vector<char> state;
    ReadState(&state);
    *equal = chunk->fSize == int32_t(state.size()) &&
             std::memcmp(chunk->fData, state.data(), state.size()) == 0;
    return AAX_SUCCESS;
}

void AAXWrapper_Parameters::PullAllValues() {
    for (const auto& entry : mAaxIds)
        AAX_CEffectParameters::UpdateParameterNormalizedValue(
            entry.second.c_str(), mController->getParamNormalized(entry.first), 0);
    if (mHasBypass)
        AAX_CEffectParameters::UpdateParameterNormalizedValue(
            kAAX_MasterBypassID, mController->getParamNormalized(mBypassId), 0);
    FollowBypass();
}

void AAXWrapper_Parameters::StopProcessing() {
    mChannels = 0;
    if (!mProcessing)
        return;
    mProcessor->setProcessing(false);
    mComponent->setActive(false);
    mProcessing = false;
}

void AAXWrapper_Parameters::Render(const AAXWrapper_Context& context, int32_t channels,
                                   bool meters) {
    const int32_t frames = context.mBufferLength ? *context.mBufferLength : 0;
    if (frames <= 0 || !context.mOutputs)
        return;
    AAXWrapper_Parameters* instance = context.mInstance ? *context.mInstance : nullptr;
    // The host built the context from the component's fields: without meters it has no slot.
    float* const* meterCells = meters && instance ? context.mMeters : nullptr;
    if (instance && instance->Process(context, channels, frames, meterCells))
        return;
    if (instance)
        instance->ClearMeters(meterCells);
    const bool passThrough = instance && instance->mBypassed.load(std::memory_order_relaxed);
    for (int32_t c = 0; c < channels; ++c) {
        float* out = context.mOutputs[c];
        const float* in = context.mInputs ? context.mInputs[c] : nullptr;
        if (!out)
            continue;
        if (passThrough && in) {
            if (out != in)
                std::memcpy(out, in, sizeof(float) * size_t(frames));
        } else {
            // In place too: the input the host handed in is not what an unprocessed block plays.
            std::memset(out, 0, sizeof(float) * size_t(frames));
        }
    }
}

bool AAXWrapper_Parameters::Process(const AAXWrapper_Context& context, int32_t channels,
                                    int32_t frames, float* const* meters) {
    mInBlock.store(true);
    bool ready = mReady.load() && channels == mChannels && context.mInputs;
    for (int32_t c = 0; ready && c < channels; ++c)
        ready = context.mInputs[c] && context.mOutputs[c];
    if (!ready) {
        mInBlock.store(false);
        return false;
    }
    float* in[2] = {};
    float* out[2] = {};
    AudioBusBuffers input = {}, output = {};
    input.numChannels = output.numChannels = channels;
    input.channelBuffers32 = in;
    output.channelBuffers32 = out;
    ProcessData data;
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &input;
    data.outputs = &output;
    data.outputParameterChanges = &mOutputChanges;
    ClearMeters(meters);
    bool processed = true;
    // Whatever the effect throws ends here, and the block still leaves: a set-up waits for it.
    try {
        for (int32_t done = 0; done < frames; done += data.numSamples) {
            data.numSamples = std::min(frames - done, kMaxBlock);
            for (int32_t c = 0; c < channels; ++c) {
                in[c] = context.mInputs[c] + done;
                out[c] = context.mOutputs[c] + done;
            }
            input.silenceFlags = output.silenceFlags = 0;
            mOutputChanges.clear();
            mProcessor->process(data);
            if (meters)
                ShowMeters(meters);
        }
    } catch (...) {
        processed = false;
    }
    mInBlock.store(false);
    return processed;
}

void AAXWrapper_Parameters::ClearMeters(float* const* meters) const {
    if (!meters)
        return;
    for (size_t meter = 0; meter < mMeterIds.size(); ++meter)
        if (meters[meter])
            *meters[meter] = 0.0f;
}

void AAXWrapper_Parameters::ShowMeters(float* const* meters) {
    for (int32 index = 0; index < mOutputChanges.getParameterCount(); ++index) {
        IParamValueQueue* queue = mOutputChanges.getParameterData(index);
        int32 offset = 0;
        ParamValue value = 0;
        if (queue->getPoint(queue->getPointCount() - 1, offset, value) != kResultOk)
            continue;
        for (size_t meter = 0; meter < mMeterIds.size(); ++meter)
            if (mMeterIds[meter] == queue->getParameterId() && meters[meter])
                *meters[meter] = std::max(*meters[meter], static_cast<float>(value));
    }
}

tresult PLUGIN_API AAXWrapper_Parameters::getName(String128 name) {
    static const char kHostName[] = "AAX Host";
    for (size_t i = 0; i < sizeof(kHostName); ++i)
        name[i] = static_cast<TChar>(kHostName[i]);
    return kResultOk;
}

tresult PLUGIN_API AAXWrapper_Parameters::createInstance(TUID, TUID, void** obj) {
    if (obj)
        *obj = nullptr;
    return kResultFalse;
}

tresult PLUGIN_API AAXWrapper_Parameters::beginEdit(ParamID id) {
    const char* aax = AaxId(id);
    return aax && TouchParameter(aax) == AAX_SUCCESS ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API AAXWrapper_Parameters::performEdit(ParamID id, ParamValue value) {
    const char* aax = AaxId(id);
    return aax && SetParameterNormalizedValue(aax, value) == AAX_SUCCESS ? kResultOk
                                                                         : kInvalidArgument;
}

tresult PLUGIN_API AAXWrapper_Parameters::endEdit(ParamID id) {
    const char* aax = AaxId(id);
    return aax && ReleaseParameter(aax) == AAX_SUCCESS ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API AAXWrapper_Parameters::restartComponent(int32 flags) {
    if (flags & kParamValuesChanged)
        PullAllValues();
    return kResultOk;
}

tresult PLUGIN_API AAXWrapper_Parameters::queryInterface(const TUID iid, void** obj) {
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, IHostApplication::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<IHostApplication*>(this);
        return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(iid, IVst3ToAAXWrapper::iid)) {
        *obj = static_cast<IVst3ToAAXWrapper*>(this);
        return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(iid, IComponentHandler::iid)) {
        *obj = static_cast<IComponentHandler*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}
