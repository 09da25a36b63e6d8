#pragma once
// A small AAX host: the component factory and the host objects the module describes itself
// into (host services, collection, effect and component descriptors, property maps,
// description host, feature info, page tables), and the run-time side of one instance
// (controller with automation, view container, and the algorithm context built only from
// the fields a component declared). Every object counts itself alive in its model, every call
// is logged, and any interface version can be left out to act as an older host. Used
// in-process by the unit tests and across the DLL boundary by the host test.

#include "AAX.h"
#include "AAX_IAutomationDelegate.h"
#include "AAX_ICollection.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IController.h"
#include "AAX_IDescriptionHost.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IEffectGUI.h"
#include "AAX_IEffectParameters.h"
#include "AAX_IFeatureInfo.h"
#include "AAX_IHostServices.h"
#include "AAX_IPageTable.h"
#include "AAX_IPropertyMap.h"
#include "AAX_IViewContainer.h"
#include "ACFUnknown.h"

#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace SorvTest {

using AaxProperties = std::map<int32_t, AAX_CPropertyValue>;

struct AaxTrace {
    int32_t priority;
    std::string text;
};

struct AaxAssertion {
    std::string file;
    int32_t line;
    std::string note;
    int32_t flags;
};

class AaxHostModel;

// The base of every host object: reference count, interface ids it answers (minus the ones
// the model leaves out), and its place in the model's live count.
template <class Interface> class AaxHostObject : public Interface {
public:
    AaxHostObject(AaxHostModel& model, std::vector<acfIID> ids);
    virtual ~AaxHostObject();
    ACFRESULT ACFMETHODCALLTYPE QueryInterface(const acfIID& iid, void** out) override;
    acfUInt32 ACFMETHODCALLTYPE AddRef() override { return ++mReferences; }
    acfUInt32 ACFMETHODCALLTYPE Release() override;

protected:
    // Logs the call, throws when the model is set to, and answers the operation's number.
    AAX_Result call(const std::string& name, int32_t number = 0);
    // Another interface of this object (beyond the chain of Interface).
    virtual void* otherFace(const acfIID&) { return nullptr; }

    AaxHostModel& mModel;

private:
    std::vector<acfIID> mIds;
    acfUInt32 mReferences = 0;
};

class AaxHostPropertyMap : public AaxHostObject<AAX_IACFPropertyMap_V3> {
public:
    explicit AaxHostPropertyMap(AaxHostModel& model);
    acfBool ACFMETHODCALLTYPE GetProperty(AAX_EProperty id, AAX_CPropertyValue* value) override;
    AAX_Result ACFMETHODCALLTYPE AddProperty(AAX_EProperty id, AAX_CPropertyValue value) override;
    AAX_Result ACFMETHODCALLTYPE RemoveProperty(AAX_EProperty id) override;
    AAX_Result ACFMETHODCALLTYPE Operation4(void*, void*, void*) override;
    acfBool ACFMETHODCALLTYPE Operation5(void*, void*, void*) override;

    AaxProperties properties;
};

// A property map handed to the host, as the host saw it at that moment.
AaxProperties aaxSnapshot(IACFUnknown* hostMap);

// A field of the algorithm context as a component declared it.
struct AaxField {
    enum Kind { kAudioIn, kAudioOut, kBufferLength, kDataInPort, kMeters } kind;
    uint32_t packetSize;
    int32_t portType;
    std::vector<AAX_CTypeID> meterIds;
    AaxField(Kind kind, uint32_t packetSize = 0, int32_t portType = 0,
             std::vector<AAX_CTypeID> meterIds = {})
        : kind(kind), packetSize(packetSize), portType(portType), meterIds(std::move(meterIds)) {}
    bool operator==(const AaxField& other) const {
        return kind == other.kind && packetSize == other.packetSize && portType == other.portType &&
               meterIds == other.meterIds;
    }
};

struct AaxProcessProc {
    std::string route; // "native", "ti" or "all" (the newest interface)
    AaxProperties properties;
    const void* proc = nullptr;
};

class AaxHostComponentDescriptor : public AaxHostObject<AAX_IACFComponentDescriptor_V3> {
public:
    explicit AaxHostComponentDescriptor(AaxHostModel& model);
    AAX_Result ACFMETHODCALLTYPE Operation1() override;
    AAX_Result ACFMETHODCALLTYPE Operation2(void*, void*) override;
    AAX_Result ACFMETHODCALLTYPE AddAudioIn(AAX_CFieldIndex field) override;
    AAX_Result ACFMETHODCALLTYPE AddAudioOut(AAX_CFieldIndex field) override;
    AAX_Result ACFMETHODCALLTYPE AddAudioBufferLength(AAX_CFieldIndex field) override;
    AAX_Result ACFMETHODCALLTYPE Operation6(void*) override;
    AAX_Result ACFMETHODCALLTYPE Operation7(void*) override;
    AAX_Result ACFMETHODCALLTYPE Operation8(void*) override;
    AAX_Result ACFMETHODCALLTYPE AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize,
                                               AAX_EDataInPortType type) override;
    AAX_Result ACFMETHODCALLTYPE Operation10(void*, void*, void*) override;
    AAX_Result ACFMETHODCALLTYPE Operation11(void*, void*, void*) override;
    AAX_Result ACFMETHODCALLTYPE Operation12(void*, void*) override;
    AAX_Result ACFMETHODCALLTYPE Operation13(void*, void*, void*, void*) override;
    AAX_Result ACFMETHODCALLTYPE AddProcessProc_Native(AAX_CProcessProc proc, IACFUnknown* map,
                                                       AAX_CProcessProc, AAX_CProcessProc,
                                                       AAX_CTypeID* id) override;
    AAX_Result ACFMETHODCALLTYPE AddProcessProc_TI(const char*, const char* procName,
                                                   IACFUnknown* map, const char*, const char*,
                                                   AAX_CTypeID* id) override;
    AAX_Result ACFMETHODCALLTYPE AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIds,
                                           uint32_t count) override;
    AAX_Result ACFMETHODCALLTYPE Operation17(void*, void*) override;
    AAX_Result ACFMETHODCALLTYPE AddProcessProc(IACFUnknown* map, AAX_CTypeID* ids,
                                                int32_t size) override;

    std::vector<AaxProcessProc> procs;
    // The context's fields by slot; a slot declared twice is refused.
    std::map<AAX_CFieldIndex, AaxField> fields;

private:
    AAX_Result addField(const std::string& name, AAX_CFieldIndex field, AaxField value);
};

struct AaxMeter {
    AAX_CTypeID id;
    std::string name;
    AaxProperties properties;
};

class AaxHostEffectDescriptor : public AaxHostObject<AAX_IACFEffectDescriptor_V2> {
public:
    explicit AaxHostEffectDescriptor(AaxHostModel& model);
    ~AaxHostEffectDescriptor() override;
    AAX_Result ACFMETHODCALLTYPE AddComponent(IACFUnknown* component) override;
    AAX_Result ACFMETHODCALLTYPE AddName(const char* name) override;
    AAX_Result ACFMETHODCALLTYPE AddCategory(uint32_t category) override;
    AAX_Result ACFMETHODCALLTYPE Operation4(void*, void*) override;
    AAX_Result ACFMETHODCALLTYPE AddProcPtr(void* procPtr, AAX_CProcPtrID procID) override;
    AAX_Result ACFMETHODCALLTYPE SetProperties(IACFUnknown* properties) override;
    AAX_Result ACFMETHODCALLTYPE AddResourceInfo(int32_t type, const char* info) override;
    AAX_Result ACFMETHODCALLTYPE AddMeterDescription(AAX_CTypeID id, const char* name,
                                                     IACFUnknown* properties) override;
    AAX_Result ACFMETHODCALLTYPE Operation9(void*, void*, void*, void*) override;

    std::vector<std::string> names;
    uint32_t category = 0;
    std::map<int32_t, std::string> resources;
    std::vector<AaxMeter> meters;
    std::map<std::string, void*> procPtrs;               // by procedure id
    std::vector<AaxHostComponentDescriptor*> components; // each with a reference held
};

class AaxHostCollection : public AaxHostObject<AAX_IACFCollection> {
public:
    explicit AaxHostCollection(AaxHostModel& model);
    ~AaxHostCollection() override;
    AAX_Result ACFMETHODCALLTYPE Operation1() override;
    AAX_Result ACFMETHODCALLTYPE Operation2() override;
    AAX_Result ACFMETHODCALLTYPE Operation3() override;
    AAX_Result ACFMETHODCALLTYPE Operation4() override;
    AAX_Result ACFMETHODCALLTYPE AddEffect(const char* effectID, IACFUnknown* effect) override;
    AAX_Result ACFMETHODCALLTYPE SetManufacturerName(const char* name) override;
    AAX_Result ACFMETHODCALLTYPE AddPackageName(const char* name) override;
    AAX_Result ACFMETHODCALLTYPE SetPackageVersion(uint32_t version) override;
    AAX_Result ACFMETHODCALLTYPE SetProperties(IACFUnknown* properties) override;

    std::string manufacturer;
    std::vector<std::string> packageNames;
    uint32_t packageVersion = 0;
    std::vector<std::pair<std::string, AaxHostEffectDescriptor*>> effects; // references held

private:
    void* otherFace(const acfIID& iid) override;
    struct Definition : IACFPluginDefinition {
        AaxHostCollection* owner;
        ACFRESULT ACFMETHODCALLTYPE QueryInterface(const acfIID& iid, void** out) override {
            return owner->QueryInterface(iid, out);
        }
        acfUInt32 ACFMETHODCALLTYPE AddRef() override { return owner->AddRef(); }
        acfUInt32 ACFMETHODCALLTYPE Release() override { return owner->Release(); }
    } mDefinition;
};

class AaxHostServices : public AaxHostObject<AAX_IACFHostServices_V3> {
public:
    explicit AaxHostServices(AaxHostModel& model);
    AAX_Result ACFMETHODCALLTYPE Operation1(const char*, int32_t, const char*) override;
    AAX_Result ACFMETHODCALLTYPE Trace(int32_t priority, const char* message) override;
    AAX_Result ACFMETHODCALLTYPE Operation3(void*, void*, void*) override;
    AAX_Result ACFMETHODCALLTYPE HandleAssertFailure(const char* file, int32_t line,
                                                     const char* note, int32_t flags) override;
};

class AaxHostFeatureInfo : public AaxHostObject<AAX_IACFFeatureInfo> {
public:
    explicit AaxHostFeatureInfo(AaxHostModel& model);
    AAX_Result ACFMETHODCALLTYPE SupportLevel(int32_t* level) override;
    AAX_Result ACFMETHODCALLTYPE AcquireProperties(IACFUnknown** properties) override;
};

// The unknown the host hands to the exports: the component factory, the description host
// and the further definition interface, all on one object.
class AaxHostUnknown : public AaxHostObject<IACFComponentFactory>, public AAX_IACFDescriptionHost {
public:
    explicit AaxHostUnknown(AaxHostModel& model);
    ACFRESULT ACFMETHODCALLTYPE QueryInterface(const acfIID& iid, void** out) override {
        return AaxHostObject::QueryInterface(iid, out);
    }
    acfUInt32 ACFMETHODCALLTYPE AddRef() override { return AaxHostObject::AddRef(); }
    acfUInt32 ACFMETHODCALLTYPE Release() override { return AaxHostObject::Release(); }
    ACFRESULT ACFMETHODCALLTYPE CreateComponent(const acfCLSID& clsid, IACFUnknown* outer,
                                                const acfIID& iid, void** out) override;
    AAX_Result ACFMETHODCALLTYPE AcquireFeatureProperties(const acfUID& feature,
                                                          IACFUnknown** info) override;

private:
    void* otherFace(const acfIID& iid) override;
};

class AaxHostInstance;

// The run-time controller of one effect instance with its automation delegate on the same
// object. Automation calls are logged as "register ID", "touch ID", "set ID value",
// "post ID value", "release ID", "unregister ID"; a set request is confirmed to the effect
// (as a host does): to its instance's parameters, else to confirmTo of the model. Rate and
// stem formats are the instance's; packets go to the instance's ports; asked for the effect's
// parameters (as the window object asks), it answers the instance's.
class AaxHostController : public AaxHostObject<AAX_IACFController>,
                          public AAX_IACFAutomationDelegate {
public:
    AaxHostController(AaxHostModel& model, AaxHostInstance* instance);
    ACFRESULT ACFMETHODCALLTYPE QueryInterface(const acfIID& iid, void** out) override;
    acfUInt32 ACFMETHODCALLTYPE AddRef() override { return AaxHostObject::AddRef(); }
    acfUInt32 ACFMETHODCALLTYPE Release() override { return AaxHostObject::Release(); }
#define AAX_HOST_OP(n, ...)                                                                        \
    AAX_Result ACFMETHODCALLTYPE Operation##n(__VA_ARGS__) override {                              \
        return call("controller " #n);                                                             \
    }
    AAX_HOST_OP(1, void*)
    AAX_HOST_OP(5, void*)
    AAX_HOST_OP(6, void*, void*)
    AAX_HOST_OP(7, void*)
    AAX_HOST_OP(8, void*)
    AAX_HOST_OP(9, void*, void*, void*)
    AAX_HOST_OP(11, void*, void*)
    AAX_HOST_OP(12, void*, void*)
    AAX_HOST_OP(13, void*)
    AAX_HOST_OP(14, void*, void*)
    AAX_HOST_OP(15, void*)
    AAX_HOST_OP(16, void*)
    AAX_HOST_OP(17, void*, void*)
#undef AAX_HOST_OP
    AAX_Result ACFMETHODCALLTYPE GetSampleRate(AAX_CSampleRate* rate) override;
    AAX_Result ACFMETHODCALLTYPE GetInputStemFormat(AAX_EStemFormat* format) override;
    AAX_Result ACFMETHODCALLTYPE GetOutputStemFormat(AAX_EStemFormat* format) override;
    AAX_Result ACFMETHODCALLTYPE PostPacket(int32_t field, const void* data,
                                            uint32_t size) override;
    AAX_Result ACFMETHODCALLTYPE RegisterParameter(AAX_CParamID id) override;
    AAX_Result ACFMETHODCALLTYPE UnregisterParameter(AAX_CParamID id) override;
    AAX_Result ACFMETHODCALLTYPE PostSetValueRequest(AAX_CParamID id, double value) override;
    AAX_Result ACFMETHODCALLTYPE PostCurrentValue(AAX_CParamID id, double value) override;
    AAX_Result ACFMETHODCALLTYPE PostTouchRequest(AAX_CParamID id) override;
    AAX_Result ACFMETHODCALLTYPE PostReleaseRequest(AAX_CParamID id) override;
    AAX_Result ACFMETHODCALLTYPE Operation7(void*, void*) override {
        return call("automation 7");
    }

private:
    void* otherFace(const acfIID& iid) override;
    AaxHostInstance* mInstance;
};

// The host's view container: its native window and kind are the model's; size requests are
// logged in the model and answered with its viewSizeResult.
class AaxHostViewContainer : public AaxHostObject<AAX_IACFViewContainer> {
public:
    explicit AaxHostViewContainer(AaxHostModel& model);
    int32_t ACFMETHODCALLTYPE GetType() override;
    void* ACFMETHODCALLTYPE GetPtr() override;
    AAX_Result ACFMETHODCALLTYPE Operation3(void*) override { return call("view 3"); }
    AAX_Result ACFMETHODCALLTYPE SetViewSize(AAX_Point& size) override;
    AAX_Result ACFMETHODCALLTYPE Operation5(void*, void*) override { return call("view 5"); }
    AAX_Result ACFMETHODCALLTYPE Operation6(void*, void*) override { return call("view 6"); }
    AAX_Result ACFMETHODCALLTYPE Operation7(void*, void*) override { return call("view 7"); }
};

struct AaxPostedPacket {
    int32_t field;
    std::vector<unsigned char> data;
};

class AaxHostModel {
public:
    // Interface ids the host does not answer (older hosts).
    std::vector<acfIID> omitted;
    // Every host call throws std::runtime_error while set.
    bool throwing = false;
    // Results the model's collection answers for AddEffect.
    AAX_Result addEffectResult = AAX_SUCCESS;
    // The factory and the feature queries hand back their object beside a failure result.
    bool failBesideObject = false;

    int liveObjects = 0;
    std::vector<std::string> calls;
    std::vector<AaxTrace> traces;
    std::vector<AaxAssertion> assertions;
    std::vector<AaxHostCollection*> collections; // every collection made, not referenced

    bool omits(const acfIID& iid) const;
    bool called(const std::string& name) const;
    // A new host unknown with one reference for the caller.
    IACFUnknown* newHost();

    // The logs may be written on any of the host's threads; read them when no other runs.
    std::mutex logLock;
    void logAutomation(std::string entry) {
        std::lock_guard<std::mutex> lock(logLock);
        automation.push_back(std::move(entry));
    }

    // The run-time side.
    std::vector<std::string> automation;
    std::vector<AaxPostedPacket> packets;
    AAX_Result postPacketResult = AAX_SUCCESS;
    AAX_IACFEffectParameters* confirmTo = nullptr;
    // The view container's native window and kind, the sizes asked of it and its answer.
    void* nativeWindow = nullptr;
    int32_t windowType = 3;
    std::vector<AAX_Point> viewSizes;
    AAX_Result viewSizeResult = AAX_SUCCESS;
    IACFUnknown* newViewContainer();
    // A new controller with one reference for the caller, of no instance.
    IACFUnknown* newController();
};

// One effect instance as a host runs it on one component of a registered effect: made through
// the effect's creation procedure and initialised with the instance's own controller, as is
// its window object; its algorithm context is built only from the fields the component
// declared (one pointer slot per field), its ports hold the packets posted to them, and its
// meters are read after every block and never cleared (hosts leave them to the plug-in). The
// host's main thread calls everything but render, which its audio thread calls.
class AaxHostInstance {
public:
    using ProcessProc = void (*)(void* const[], const void*);
    using CreateProc = IACFUnknown* (*)();

    AaxHostInstance(AaxHostModel& model, const AaxHostEffectDescriptor& effect, size_t component);
    ~AaxHostInstance();

    // Creates and initialises the effect's parameters object, then fills each port as hosts
    // do before the first block; false when any step fails. The destructor uninitialises and
    // releases it.
    bool create();
    AAX_IACFEffectParameters* parameters() const { return mParameters; }
    IACFUnknown* controller() const { return mController; }
    int32_t channels() const { return mChannels; }
    // The session chunk as a host stores it (header and data) from the effect's first chunk;
    // empty when any step fails.
    std::vector<unsigned char> saveChunk() const;
    // A window object made through the effect's procedure and initialised with the instance's
    // controller, with one reference for the caller; null when any step fails.
    AAX_IACFEffectGUI* newGUI() const;

    // What the controller answers; the setters tell the instance as a host does.
    AAX_CSampleRate sampleRate = 48000;
    AAX_EStemFormat stemFormat;
    void changeSampleRate(AAX_CSampleRate rate);
    void changeStemFormat(AAX_EStemFormat format);

    // Controller: a packet for a declared port, delivered before the next block.
    AAX_Result post(int32_t field, const void* data, uint32_t size);

    // Audio thread: one block of channels() channels through the component's procedure, from
    // frame `at` of each channel's buffer (in and out may be the same buffers); the meters are
    // read into meterValues afterwards. Allocates nothing itself.
    void render(const std::vector<float>* in, std::vector<float>* out, int32_t frames,
                size_t at = 0);
    std::vector<float> meterValues;
    int blocks = 0;

private:
    AaxHostModel& mModel;
    const AaxHostComponentDescriptor& mComponent;
    CreateProc mCreate = nullptr;
    CreateProc mCreateGUI = nullptr;
    ProcessProc mProc = nullptr;
    IACFUnknown* mController = nullptr;
    AAX_IACFEffectParameters* mParameters = nullptr;
    int32_t mChannels = 0;

    std::vector<void*> mSlots;
    std::map<AAX_CFieldIndex, std::vector<unsigned char>> mPorts;
    std::vector<float*> mIn, mOut;
    int32_t mFrames = 0;
    std::vector<float> mMeterCells;
    std::vector<float*> mMeters;
    // Packets posted on the main thread wait here for the audio thread.
    std::mutex mPostLock;
    std::vector<std::pair<AAX_CFieldIndex, std::vector<unsigned char>>> mPosted;
};

template <class Interface>
AaxHostObject<Interface>::AaxHostObject(AaxHostModel& model, std::vector<acfIID> ids)
    : mModel(model), mIds(std::move(ids)) {
    ++mModel.liveObjects;
}

template <class Interface> AaxHostObject<Interface>::~AaxHostObject() {
    --mModel.liveObjects;
}

template <class Interface>
ACFRESULT ACFMETHODCALLTYPE AaxHostObject<Interface>::QueryInterface(const acfIID& iid,
                                                                     void** out) {
    call("QueryInterface");
    *out = nullptr;
    if (mModel.omits(iid))
        return ACF_E_NOINTERFACE;
    if (void* face = otherFace(iid)) {
        *out = face;
    } else {
        bool known = iid == IID_IACFUnknown;
        for (const acfIID& id : mIds)
            known = known || id == iid;
        if (!known)
            return ACF_E_NOINTERFACE;
        *out = static_cast<Interface*>(this);
    }
    AddRef();
    return ACF_OK;
}

template <class Interface> acfUInt32 ACFMETHODCALLTYPE AaxHostObject<Interface>::Release() {
    const acfUInt32 count = --mReferences;
    if (count == 0)
        delete this;
    return count;
}

template <class Interface>
AAX_Result AaxHostObject<Interface>::call(const std::string& name, int32_t number) {
    {
        std::lock_guard<std::mutex> lock(mModel.logLock);
        mModel.calls.push_back(name);
    }
    if (mModel.throwing)
        throw std::runtime_error("host callback failed: " + name);
    return number;
}

} // namespace SorvTest
