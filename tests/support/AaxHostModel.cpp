#include "AaxHostModel.h"

#include <algorithm>
#include <cstdio>

namespace SorvTest {

namespace {
// Host results of the operations the library only forwards: 100 + the host operation.
constexpr int32_t kForwarded = 100;
constexpr int32_t kSupportLevel = 2;
constexpr AAX_CPropertyValue kFeatureProperty = 7;
} // namespace

bool AaxHostModel::omits(const acfIID& iid) const {
    return std::find(omitted.begin(), omitted.end(), iid) != omitted.end();
}

bool AaxHostModel::called(const std::string& name) const {
    return std::find(calls.begin(), calls.end(), name) != calls.end();
}

IACFUnknown* AaxHostModel::newHost() {
    auto* host = new AaxHostUnknown(*this);
    host->AddRef();
    return static_cast<IACFComponentFactory*>(host);
}

AaxProperties aaxSnapshot(IACFUnknown* hostMap) {
    if (!hostMap)
        return {};
    return static_cast<AaxHostPropertyMap*>(static_cast<AAX_IACFPropertyMap_V3*>(hostMap))
        ->properties;
}

// ---- property map

AaxHostPropertyMap::AaxHostPropertyMap(AaxHostModel& model)
    : AaxHostObject(model, {IID_IAAXPropertyMapV1, IID_IAAXPropertyMapV2, IID_IAAXPropertyMapV3}) {}

acfBool ACFMETHODCALLTYPE AaxHostPropertyMap::GetProperty(AAX_EProperty id,
                                                          AAX_CPropertyValue* value) {
    call("PropertyMap.GetProperty." + std::to_string(id));
    const auto found = properties.find(id);
    if (found == properties.end())
        return 0;
    *value = found->second;
    return 1;
}

AAX_Result ACFMETHODCALLTYPE AaxHostPropertyMap::AddProperty(AAX_EProperty id,
                                                             AAX_CPropertyValue value) {
    properties[id] = value;
    return call("PropertyMap.AddProperty." + std::to_string(id));
}

AAX_Result ACFMETHODCALLTYPE AaxHostPropertyMap::RemoveProperty(AAX_EProperty id) {
    properties.erase(id);
    return call("PropertyMap.RemoveProperty." + std::to_string(id));
}

AAX_Result ACFMETHODCALLTYPE AaxHostPropertyMap::Operation4(void*, void*, void*) {
    return call("PropertyMap.4", kForwarded + 4);
}

acfBool ACFMETHODCALLTYPE AaxHostPropertyMap::Operation5(void*, void*, void*) {
    return call("PropertyMap.5", 1);
}

// ---- component descriptor

AaxHostComponentDescriptor::AaxHostComponentDescriptor(AaxHostModel& model)
    : AaxHostObject(model, {IID_IAAXComponentDescriptorV1, IID_IAAXComponentDescriptorV2,
                            IID_IAAXComponentDescriptorV3}) {}

#define AAX_HOST_FORWARDED(Class, prefix, number, ...)                                             \
    AAX_Result ACFMETHODCALLTYPE Class::Operation##number(__VA_ARGS__) {                           \
        return call(prefix #number, kForwarded + number);                                          \
    }
AAX_HOST_FORWARDED(AaxHostComponentDescriptor, "Component.", 1)
AAX_HOST_FORWARDED(AaxHostComponentDescriptor, "Component.", 2, void*, void*)
AAX_HOST_FORWARDED(AaxHostComponentDescriptor, "Component.", 6, void*)
AAX_HOST_FORWARDED(AaxHostComponentDescriptor, "Component.", 7, void*)
AAX_HOST_FORWARDED(AaxHostComponentDescriptor, "Component.", 8, void*)
AAX_HOST_FORWARDED(AaxHostComponentDescriptor, "Component.", 10, void*, void*, void*)
AAX_HOST_FORWARDED(AaxHostComponentDescriptor, "Component.", 11, void*, void*, void*)
AAX_HOST_FORWARDED(AaxHostComponentDescriptor, "Component.", 12, void*, void*)
AAX_HOST_FORWARDED(AaxHostComponentDescriptor, "Component.", 13, void*, void*, void*, void*)
AAX_HOST_FORWARDED(AaxHostComponentDescriptor, "Component.", 17, void*, void*)

AAX_Result AaxHostComponentDescriptor::addField(const std::string& name, AAX_CFieldIndex field,
                                                AaxField value) {
    call("Component." + name);
    return fields.emplace(field, std::move(value)).second ? AAX_SUCCESS
                                                          : AAX_ERROR_INVALID_FIELD_INDEX;
}

AAX_Result ACFMETHODCALLTYPE AaxHostComponentDescriptor::AddAudioIn(AAX_CFieldIndex field) {
    return addField("AddAudioIn", field, {AaxField::kAudioIn});
}

AAX_Result ACFMETHODCALLTYPE AaxHostComponentDescriptor::AddAudioOut(AAX_CFieldIndex field) {
    return addField("AddAudioOut", field, {AaxField::kAudioOut});
}

AAX_Result ACFMETHODCALLTYPE
AaxHostComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex field) {
    return addField("AddAudioBufferLength", field, {AaxField::kBufferLength});
}

AAX_Result ACFMETHODCALLTYPE AaxHostComponentDescriptor::AddDataInPort(AAX_CFieldIndex field,
                                                                       uint32_t packetSize,
                                                                       AAX_EDataInPortType type) {
    return addField("AddDataInPort", field, {AaxField::kDataInPort, packetSize, type});
}

AAX_Result ACFMETHODCALLTYPE AaxHostComponentDescriptor::AddMeters(AAX_CFieldIndex field,
                                                                   const AAX_CTypeID* meterIds,
                                                                   uint32_t count) {
    if (count > 0 && !meterIds)
        return AAX_ERROR_NULL_ARGUMENT;
    return addField(
        "AddMeters", field,
        {AaxField::kMeters, 0, 0, std::vector<AAX_CTypeID>(meterIds, meterIds + count)});
}

AAX_Result ACFMETHODCALLTYPE AaxHostComponentDescriptor::AddProcessProc_Native(
    AAX_CProcessProc proc, IACFUnknown* map, AAX_CProcessProc, AAX_CProcessProc, AAX_CTypeID* id) {
    call("Component.AddProcessProc_Native");
    procs.push_back({"native", aaxSnapshot(map), proc});
    *id = static_cast<AAX_CTypeID>(procs.size());
    return AAX_SUCCESS;
}

AAX_Result ACFMETHODCALLTYPE AaxHostComponentDescriptor::AddProcessProc_TI(const char*,
                                                                           const char* procName,
                                                                           IACFUnknown* map,
                                                                           const char*, const char*,
                                                                           AAX_CTypeID* id) {
    call("Component.AddProcessProc_TI");
    procs.push_back({"ti", aaxSnapshot(map), procName});
    *id = static_cast<AAX_CTypeID>(procs.size());
    return AAX_SUCCESS;
}

AAX_Result ACFMETHODCALLTYPE AaxHostComponentDescriptor::AddProcessProc(IACFUnknown* map,
                                                                        AAX_CTypeID* ids,
                                                                        int32_t size) {
    call("Component.AddProcessProc");
    const AaxProperties properties = aaxSnapshot(map);
    const auto proc = properties.find(AAX_eProperty_NativeProcessProc);
    procs.push_back(
        {"all", properties,
         proc == properties.end() ? nullptr : reinterpret_cast<const void*>(proc->second)});
    if (ids && size > 1) {
        ids[0] = static_cast<AAX_CTypeID>(procs.size());
        ids[1] = 0;
    }
    return AAX_SUCCESS;
}

// ---- effect descriptor

AaxHostEffectDescriptor::AaxHostEffectDescriptor(AaxHostModel& model)
    : AaxHostObject(model, {IID_IAAXEffectDescriptorV1, IID_IAAXEffectDescriptorV2}) {}

AaxHostEffectDescriptor::~AaxHostEffectDescriptor() {
    for (AaxHostComponentDescriptor* component : components)
        component->Release();
}

AAX_Result ACFMETHODCALLTYPE AaxHostEffectDescriptor::AddComponent(IACFUnknown* component) {
    call("Effect.AddComponent");
    if (!component)
        return AAX_ERROR_NULL_COMPONENT;
    auto* host = static_cast<AaxHostComponentDescriptor*>(
        static_cast<AAX_IACFComponentDescriptor_V3*>(component));
    host->AddRef();
    components.push_back(host);
    return AAX_SUCCESS;
}

AAX_Result ACFMETHODCALLTYPE AaxHostEffectDescriptor::AddName(const char* name) {
    names.push_back(name ? name : "<null>");
    return call("Effect.AddName");
}

AAX_Result ACFMETHODCALLTYPE AaxHostEffectDescriptor::AddCategory(uint32_t value) {
    category |= value;
    return call("Effect.AddCategory");
}

AAX_HOST_FORWARDED(AaxHostEffectDescriptor, "Effect.", 4, void*, void*)

AAX_Result ACFMETHODCALLTYPE AaxHostEffectDescriptor::AddProcPtr(void* procPtr,
                                                                 AAX_CProcPtrID procID) {
    procPtrs[procID ? procID : "<null>"] = procPtr;
    return call("Effect.AddProcPtr");
}
AAX_HOST_FORWARDED(AaxHostEffectDescriptor, "Effect.", 9, void*, void*, void*, void*)

AAX_Result ACFMETHODCALLTYPE AaxHostEffectDescriptor::SetProperties(IACFUnknown*) {
    return call("Effect.SetProperties");
}

AAX_Result ACFMETHODCALLTYPE AaxHostEffectDescriptor::AddResourceInfo(int32_t type,
                                                                      const char* info) {
    resources[type] = info ? info : "<null>";
    return call("Effect.AddResourceInfo");
}

AAX_Result ACFMETHODCALLTYPE AaxHostEffectDescriptor::AddMeterDescription(AAX_CTypeID id,
                                                                          const char* name,
                                                                          IACFUnknown* properties) {
    meters.push_back({id, name ? name : "<null>", aaxSnapshot(properties)});
    return call("Effect.AddMeterDescription");
}

// ---- collection

AaxHostCollection::AaxHostCollection(AaxHostModel& model)
    : AaxHostObject(model, {IID_IAAXCollectionV1}) {
    mDefinition.owner = this;
    model.collections.push_back(this);
}

AaxHostCollection::~AaxHostCollection() {
    for (auto& effect : effects)
        effect.second->Release();
    auto& list = mModel.collections;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void* AaxHostCollection::otherFace(const acfIID& iid) {
    return iid == IID_IACFPluginDefinition ? static_cast<IACFPluginDefinition*>(&mDefinition)
                                           : nullptr;
}

AAX_HOST_FORWARDED(AaxHostCollection, "Collection.", 1)
AAX_HOST_FORWARDED(AaxHostCollection, "Collection.", 2)
AAX_HOST_FORWARDED(AaxHostCollection, "Collection.", 3)
AAX_HOST_FORWARDED(AaxHostCollection, "Collection.", 4)

AAX_Result ACFMETHODCALLTYPE AaxHostCollection::AddEffect(const char* effectID,
                                                          IACFUnknown* effect) {
    call("Collection.AddEffect");
    if (mModel.addEffectResult != AAX_SUCCESS)
        return mModel.addEffectResult;
    if (!effect)
        return AAX_ERROR_NULL_OBJECT;
    auto* host =
        static_cast<AaxHostEffectDescriptor*>(static_cast<AAX_IACFEffectDescriptor_V2*>(effect));
    host->AddRef();
    effects.emplace_back(effectID ? effectID : "<null>", host);
    return AAX_SUCCESS;
}

AAX_Result ACFMETHODCALLTYPE AaxHostCollection::SetManufacturerName(const char* name) {
    manufacturer = name ? name : "<null>";
    return call("Collection.SetManufacturerName");
}

AAX_Result ACFMETHODCALLTYPE AaxHostCollection::AddPackageName(const char* name) {
    packageNames.push_back(name ? name : "<null>");
    return call("Collection.AddPackageName");
}

AAX_Result ACFMETHODCALLTYPE AaxHostCollection::SetPackageVersion(uint32_t version) {
    packageVersion = version;
    return call("Collection.SetPackageVersion");
}

AAX_Result ACFMETHODCALLTYPE AaxHostCollection::SetProperties(IACFUnknown*) {
    return call("Collection.SetProperties");
}

// ---- host services

AaxHostServices::AaxHostServices(AaxHostModel& model)
    : AaxHostObject(model,
                    {IID_IAAXHostServicesV1, IID_IAAXHostServicesV2, IID_IAAXHostServicesV3}) {}

AAX_Result ACFMETHODCALLTYPE AaxHostServices::Operation1(const char*, int32_t, const char*) {
    return call("HostServices.1", kForwarded + 1);
}

AAX_Result ACFMETHODCALLTYPE AaxHostServices::Trace(int32_t priority, const char* message) {
    mModel.traces.push_back({priority, message ? message : "<null>"});
    return call("HostServices.Trace");
}

AAX_Result ACFMETHODCALLTYPE AaxHostServices::Operation3(void*, void*, void*) {
    return call("HostServices.3", kForwarded + 3);
}

AAX_Result ACFMETHODCALLTYPE AaxHostServices::HandleAssertFailure(const char* file, int32_t line,
                                                                  const char* note, int32_t flags) {
    mModel.assertions.push_back({file ? file : "", line, note ? note : "", flags});
    return call("HostServices.HandleAssertFailure");
}

// ---- feature info

AaxHostFeatureInfo::AaxHostFeatureInfo(AaxHostModel& model)
    : AaxHostObject(model, {IID_IAAXFeatureInfoV1}) {}

AAX_Result ACFMETHODCALLTYPE AaxHostFeatureInfo::SupportLevel(int32_t* level) {
    *level = kSupportLevel;
    return call("FeatureInfo.SupportLevel");
}

AAX_Result ACFMETHODCALLTYPE AaxHostFeatureInfo::AcquireProperties(IACFUnknown** properties) {
    call("FeatureInfo.AcquireProperties");
    auto* map = new AaxHostPropertyMap(mModel);
    map->properties[AAX_eProperty_MinProperty] = kFeatureProperty;
    map->AddRef();
    *properties = static_cast<AAX_IACFPropertyMap_V3*>(map);
    return mModel.failBesideObject ? AAX_ERROR_ACF_ERROR : AAX_SUCCESS;
}

// ---- host unknown

AaxHostUnknown::AaxHostUnknown(AaxHostModel& model)
    : AaxHostObject(model, {IID_IACFComponentFactory, IID_IACFDefinition}) {}

void* AaxHostUnknown::otherFace(const acfIID& iid) {
    return iid == IID_IAAXDescriptionHostV1 ? static_cast<AAX_IACFDescriptionHost*>(this) : nullptr;
}

namespace {
// A new host object of the class asked for, or null for a class the host does not know.
IACFUnknown* newComponent(AaxHostModel& model, const acfCLSID& clsid) {
    if (clsid == AAXCompID_HostServices)
        return new AaxHostServices(model);
    if (clsid == AAXCompID_AAXCollection)
        return new AaxHostCollection(model);
    if (clsid == AAXCompID_EffectDescriptor)
        return new AaxHostEffectDescriptor(model);
    if (clsid == AAXCompID_ComponentDescriptor)
        return new AaxHostComponentDescriptor(model);
    if (clsid == AAXCompID_PropertyMap)
        return new AaxHostPropertyMap(model);
    return nullptr;
}
} // namespace

ACFRESULT ACFMETHODCALLTYPE AaxHostUnknown::CreateComponent(const acfCLSID& clsid,
                                                            IACFUnknown* outer, const acfIID& iid,
                                                            void** out) {
    call("Factory.CreateComponent");
    *out = nullptr;
    if (outer)
        return ACF_E_INVALIDARG;
    IACFUnknown* object = newComponent(mModel, clsid);
    if (!object)
        return ACF_E_NOINTERFACE;
    object->AddRef();
    const ACFRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return mModel.failBesideObject && result == ACF_OK ? ACF_E_UNEXPECTED : result;
}

AAX_Result ACFMETHODCALLTYPE AaxHostUnknown::AcquireFeatureProperties(const acfUID&,
                                                                      IACFUnknown** info) {
    call("DescriptionHost.AcquireFeatureProperties");
    auto* feature = new AaxHostFeatureInfo(mModel);
    feature->AddRef();
    *info = feature;
    return mModel.failBesideObject ? AAX_ERROR_ACF_ERROR : AAX_SUCCESS;
}

// ---- run time

namespace {
std::string withValue(const char* what, AAX_CParamID id, double value) {
    char text[64];
    std::snprintf(text, sizeof(text), " %.17g", value);
    return std::string(what) + " " + (id ? id : "(null)") + text;
}
} // namespace

AaxHostController::AaxHostController(AaxHostModel& model, AaxHostInstance* instance)
    : AaxHostObject(model, {IID_IAAXControllerV1}), mInstance(instance) {}

AAX_Result AaxHostController::GetSampleRate(AAX_CSampleRate* rate) {
    call("GetSampleRate");
    if (!mInstance)
        return AAX_ERROR_NULL_OBJECT;
    *rate = mInstance->sampleRate;
    return AAX_SUCCESS;
}

AAX_Result AaxHostController::GetInputStemFormat(AAX_EStemFormat* format) {
    call("GetInputStemFormat");
    if (!mInstance)
        return AAX_ERROR_NULL_OBJECT;
    *format = mInstance->stemFormat;
    return AAX_SUCCESS;
}

AAX_Result AaxHostController::GetOutputStemFormat(AAX_EStemFormat* format) {
    return GetInputStemFormat(format);
}

void* AaxHostController::otherFace(const acfIID& iid) {
    return iid == IID_IAAXAutomationDelegateV1 ? static_cast<AAX_IACFAutomationDelegate*>(this)
                                               : nullptr;
}

AAX_Result AaxHostController::PostPacket(int32_t field, const void* data, uint32_t size) {
    call("PostPacket");
    const auto* bytes = static_cast<const unsigned char*>(data);
    {
        std::lock_guard<std::mutex> lock(mModel.logLock);
        mModel.packets.push_back({field, std::vector<unsigned char>(bytes, bytes + size)});
    }
    if (mModel.postPacketResult != AAX_SUCCESS || !mInstance)
        return mModel.postPacketResult;
    return mInstance->post(field, data, size);
}

AAX_Result AaxHostController::RegisterParameter(AAX_CParamID id) {
    mModel.logAutomation(std::string("register ") + id);
    return AAX_SUCCESS;
}

AAX_Result AaxHostController::UnregisterParameter(AAX_CParamID id) {
    mModel.logAutomation(std::string("unregister ") + id);
    return AAX_SUCCESS;
}

AAX_Result AaxHostController::PostSetValueRequest(AAX_CParamID id, double value) {
    mModel.logAutomation(withValue("set", id, value));
    AAX_IACFEffectParameters* target =
        mInstance && mInstance->parameters() ? mInstance->parameters() : mModel.confirmTo;
    if (target)
        target->UpdateParameterNormalizedValue(id, value, 0);
    return AAX_SUCCESS;
}

AAX_Result AaxHostController::PostCurrentValue(AAX_CParamID id, double value) {
    mModel.logAutomation(withValue("post", id, value));
    return AAX_SUCCESS;
}

AAX_Result AaxHostController::PostTouchRequest(AAX_CParamID id) {
    mModel.logAutomation(std::string("touch ") + id);
    return AAX_SUCCESS;
}

AAX_Result AaxHostController::PostReleaseRequest(AAX_CParamID id) {
    mModel.logAutomation(std::string("release ") + id);
    return AAX_SUCCESS;
}

ACFRESULT ACFMETHODCALLTYPE AaxHostController::QueryInterface(const acfIID& iid, void** out) {
    if (iid == IID_IAAXEffectParametersV1 && mInstance && mInstance->parameters())
        return mInstance->parameters()->QueryInterface(iid, out);
    return AaxHostObject::QueryInterface(iid, out);
}

AaxHostViewContainer::AaxHostViewContainer(AaxHostModel& model)
    : AaxHostObject(model, {IID_IAAXViewContainerV1}) {}

int32_t AaxHostViewContainer::GetType() {
    call("view type");
    return mModel.windowType;
}

void* AaxHostViewContainer::GetPtr() {
    call("view window");
    return mModel.nativeWindow;
}

AAX_Result AaxHostViewContainer::SetViewSize(AAX_Point& size) {
    call("view size");
    mModel.viewSizes.push_back(size);
    return mModel.viewSizeResult;
}

IACFUnknown* AaxHostModel::newViewContainer() {
    auto* container = new AaxHostViewContainer(*this);
    container->AddRef();
    return container;
}

IACFUnknown* AaxHostModel::newController() {
    auto* controller = new AaxHostController(*this, nullptr);
    controller->AddRef();
    return static_cast<AAX_IACFController*>(controller);
}

// ---- one instance as the host runs it

AaxHostInstance::AaxHostInstance(AaxHostModel& model, const AaxHostEffectDescriptor& effect,
                                 size_t component)
    : mModel(model), mComponent(*effect.components.at(component)) {
    const auto procPtr = [&effect](const char* id) {
        const auto found = effect.procPtrs.find(id);
        return found == effect.procPtrs.end() ? nullptr
                                              : reinterpret_cast<CreateProc>(found->second);
    };
    mCreate = procPtr(kAAX_ProcPtrID_Create_EffectParameters);
    mCreateGUI = procPtr(kAAX_ProcPtrID_Create_EffectGUI);
    const AaxProcessProc& registered = mComponent.procs.at(0);
    mProc = reinterpret_cast<ProcessProc>(const_cast<void*>(registered.proc));
    const auto format = registered.properties.find(AAX_eProperty_OutputStemFormat);
    stemFormat = format == registered.properties.end()
                     ? AAX_eStemFormat_None
                     : static_cast<AAX_EStemFormat>(format->second);
    mChannels = stemFormat & 0xFFFF;
    auto* controller = new AaxHostController(model, this);
    controller->AddRef();
    mController = static_cast<AAX_IACFController*>(controller);

    // The context: one pointer slot per declared field, up to the highest slot declared and
    // not one beyond.
    mIn.assign(size_t(mChannels), nullptr);
    mOut.assign(size_t(mChannels), nullptr);
    const auto& fields = mComponent.fields;
    mSlots.assign(fields.empty() ? 0 : fields.rbegin()->first + 1, nullptr);
    for (const auto& entry : fields) {
        void*& slot = mSlots[entry.first];
        const AaxField& field = entry.second;
        switch (field.kind) {
        case AaxField::kAudioIn:
            slot = mIn.data();
            break;
        case AaxField::kAudioOut:
            slot = mOut.data();
            break;
        case AaxField::kBufferLength:
            slot = &mFrames;
            break;
        case AaxField::kDataInPort:
            mPorts[entry.first].assign(field.packetSize, 0);
            slot = mPorts[entry.first].data();
            break;
        case AaxField::kMeters:
            // The cells hold what the plug-in last wrote; at first, out of every meter's range.
            mMeterCells.assign(field.meterIds.size(), -1.0f);
            meterValues = mMeterCells;
            for (float& cell : mMeterCells)
                mMeters.push_back(&cell);
            slot = mMeters.data();
            break;
        }
    }
}

AaxHostInstance::~AaxHostInstance() {
    if (mParameters) {
        mParameters->Uninitialize();
        mParameters->Release();
    }
    mController->Release();
}

bool AaxHostInstance::create() {
    IACFUnknown* made = mCreate ? mCreate() : nullptr;
    if (!made)
        return false;
    void* face = nullptr;
    made->QueryInterface(IID_IAAXEffectParametersV1, &face);
    made->Release();
    mParameters = static_cast<AAX_IACFEffectParameters*>(face);
    if (!mParameters || mParameters->Initialize(mController) != AAX_SUCCESS)
        return false;
    for (auto& port : mPorts)
        if (mParameters->ResetFieldData(int32_t(port.first), port.second.data(),
                                        uint32_t(port.second.size())) != AAX_SUCCESS)
            return false;
    return true;
}

std::vector<unsigned char> AaxHostInstance::saveChunk() const {
    int32_t chunks = 0;
    AAX_CTypeID id = 0;
    uint32_t size = 0;
    if (!mParameters || mParameters->GetNumberOfChunks(&chunks) != AAX_SUCCESS || chunks < 1 ||
        mParameters->GetChunkIDFromIndex(0, &id) != AAX_SUCCESS ||
        mParameters->GetChunkSize(id, &size) != AAX_SUCCESS)
        return {};
    std::vector<unsigned char> record(kAAX_ChunkHeaderSize + size);
    auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
    if (mParameters->GetChunk(id, chunk) != AAX_SUCCESS || uint32_t(chunk->fSize) != size)
        return {};
    chunk->fChunkID = id;
    return record;
}

AAX_IACFEffectGUI* AaxHostInstance::newGUI() const {
    IACFUnknown* made = mCreateGUI ? mCreateGUI() : nullptr;
    if (!made)
        return nullptr;
    void* face = nullptr;
    made->QueryInterface(IID_IAAXEffectGUIV1, &face);
    made->Release();
    auto* gui = static_cast<AAX_IACFEffectGUI*>(face);
    if (gui && gui->Initialize(mController) != AAX_SUCCESS) {
        gui->Release();
        return nullptr;
    }
    return gui;
}

void AaxHostInstance::changeSampleRate(AAX_CSampleRate rate) {
    sampleRate = rate;
    if (mParameters)
        mParameters->NotificationReceived(AAX_eNotificationEvent_SampleRateChanged, nullptr, 0);
}

void AaxHostInstance::changeStemFormat(AAX_EStemFormat format) {
    stemFormat = format;
    if (mParameters)
        mParameters->NotificationReceived(AAX_eNotificationEvent_StemFormatChanged, nullptr, 0);
}

AAX_Result AaxHostInstance::post(int32_t field, const void* data, uint32_t size) {
    const auto port = mPorts.find(AAX_CFieldIndex(field));
    if (field < 0 || port == mPorts.end())
        return AAX_ERROR_INVALID_FIELD_INDEX;
    if (size != port->second.size() || !data)
        return AAX_ERROR_POST_PACKET_FAILED;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::lock_guard<std::mutex> lock(mPostLock);
    mPosted.emplace_back(AAX_CFieldIndex(field), std::vector<unsigned char>(bytes, bytes + size));
    return AAX_SUCCESS;
}

void AaxHostInstance::render(const std::vector<float>* in, std::vector<float>* out, int32_t frames,
                             size_t at) {
    for (size_t c = 0; c < size_t(mChannels); ++c) {
        mIn[c] = const_cast<float*>(in[c].data()) + at;
        mOut[c] = out[c].data() + at;
    }
    {
        std::lock_guard<std::mutex> lock(mPostLock);
        for (const auto& packet : mPosted)
            std::copy(packet.second.begin(), packet.second.end(), mPorts[packet.first].begin());
        mPosted.clear();
    }
    mFrames = frames;
    void* contexts[] = {mSlots.data()};
    mProc(contexts, contexts + 1);
    meterValues = mMeterCells;
    ++blocks;
}

} // namespace SorvTest
