#include "AAX_VComponentDescriptor.h"

#include "AAX_Trace.h"

#include <vector>

namespace {
// The assertion reports name this file and the place of the check, as hosts have seen them.
constexpr const char* kSourceFile = "AAX_VComponentDescriptor.cpp";
constexpr int32_t kGotBufferLengthLine = 89;
constexpr int32_t kRemovedBufferLengthLine = 93;
constexpr int32_t kAssertFlags = 1;

void traceMissing(const char* property) {
    AAX_Trace(AAX_eTracePriority_Registration,
              "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for %s",
              property);
}
} // namespace

AAX_VComponentDescriptor::AAX_VComponentDescriptor(IACFUnknown* host) {
    if (!host)
        return;
    host->AddRef();
    mHostUnknown.Attach(host);
    if (!mV1.CreateFromHost(host, AAXCompID_ComponentDescriptor, IID_IAAXComponentDescriptorV1))
        return;
    mV2.Query(mV1.get(), IID_IAAXComponentDescriptorV2);
    mV3.Query(mV1.get(), IID_IAAXComponentDescriptorV3);
}

AAX_VComponentDescriptor::~AAX_VComponentDescriptor() {
    mPropertyMaps.clear();
    mV3.Release();
    mV2.Release();
    mV1.Release();
}

AAX_Result AAX_VComponentDescriptor::Operation1() {
    return mV1 ? mV1->Operation1() : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddAudioIn(AAX_CFieldIndex field) {
    return mV1 ? mV1->AddAudioIn(field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddAudioOut(AAX_CFieldIndex field) {
    return mV1 ? mV1->AddAudioOut(field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex field) {
    return mV1 ? mV1->AddAudioBufferLength(field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::Operation5(void* a) {
    return mV1 ? mV1->Operation6(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::Operation6(void* a) {
    return mV1 ? mV1->Operation7(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::Operation7(void* a) {
    return mV1 ? mV1->Operation8(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize,
                                                   AAX_EDataInPortType type) {
    return mV1 ? mV1->AddDataInPort(field, packetSize, type) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::Operation9(void* a, void* b, void* c) {
    return mV1 ? mV1->Operation10(a, b, c) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::Operation10(void* a, void* b, void* c) {
    return mV1 ? mV1->Operation11(a, b, c) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::Operation11(void* a, void* b) {
    return mV2 ? mV2->Operation17(a, b) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VComponentDescriptor::Operation12(void* a, void* b) {
    return mV1 ? mV1->Operation12(a, b) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIds,
                                               uint32_t count) {
    return mV1 ? mV1->AddMeters(field, meterIds, count) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::Operation14(void* a, void* b, void* c, void* d) {
    return mV1 ? mV1->Operation13(a, b, c, d) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::Operation15(void* a, void* b) {
    return mV1 ? mV1->Operation2(a, b) : AAX_ERROR_NULL_OBJECT;
}

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap() {
    AAX_VPropertyMap* map = AAX_VPropertyMap::Create(mHostUnknown.get());
    if (map)
        mPropertyMaps.emplace_back(map);
    return map;
}

AAX_IPropertyMap* AAX_VComponentDescriptor::DuplicatePropertyMap(AAX_IPropertyMap* source) {
    AAX_IPropertyMap* copy = NewPropertyMap();
    if (!copy || !source)
        return copy;
    for (int32_t number = AAX_eProperty_MinProperty; number <= AAX_eProperty_MaxProperty;
         ++number) {
        const AAX_EProperty id = static_cast<AAX_EProperty>(number);
        AAX_CPropertyValue value = 0;
        const void* pointer = nullptr;
        if (source->GetProperty(id, &value))
            copy->AddProperty(id, value);
        else if (source->GetPointerProperty(id, &pointer))
            copy->AddPointerProperty(id, pointer);
    }
    return copy;
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_Native(AAX_CProcessProc proc,
                                                           AAX_IPropertyMap* properties,
                                                           AAX_CProcessProc instanceInitProc,
                                                           AAX_CProcessProc backgroundProc,
                                                           AAX_CTypeID* id) {
    if (!mV1)
        return AAX_ERROR_NULL_OBJECT;
    return mV1->AddProcessProc_Native(proc, AAX_VPropertyMap::HostInterfaceOf(properties),
                                      instanceInitProc, backgroundProc, id);
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_TI(
    const char* dllFileName, const char* procName, AAX_IPropertyMap* properties,
    const char* instanceInitProcName, const char* backgroundProcName, AAX_CTypeID* id) {
    if (!mV1)
        return AAX_ERROR_NULL_OBJECT;
    return mV1->AddProcessProc_TI(dllFileName, procName,
                                  AAX_VPropertyMap::HostInterfaceOf(properties),
                                  instanceInitProcName, backgroundProcName, id);
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc(AAX_IPropertyMap* properties, AAX_CTypeID* ids,
                                                    int32_t size) {
    if (mV3)
        return mV3->AddProcessProc(AAX_VPropertyMap::HostInterfaceOf(properties), ids, size);
    if (mV1 && properties)
        return ManuallyAddProcessProcs(properties, ids, size);
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::ManuallyAddProcessProcs(AAX_IPropertyMap* properties,
                                                             AAX_CTypeID* ids, int32_t size) {
    AAX_CPropertyValue unused = 0;
    const bool native13 = properties->GetProperty(AAX_eProperty_NativeProcessProcs, &unused);
    const bool native14 = properties->GetProperty(AAX_eProperty_NativeProcessProcsAlt, &unused);
    const bool ti = properties->GetProperty(AAX_eProperty_TIProcessProcs, &unused);
    std::vector<AAX_CTypeID> registered;

    if (native13 || native14) {
        const void* proc = nullptr;
        const void* instanceInitProc = nullptr;
        const void* backgroundProc = nullptr;
        if (!properties->GetPointerProperty(AAX_eProperty_NativeProcessProc, &proc)) {
            traceMissing("AAX_eProperty_NativeProcessProc");
            proc = nullptr;
        }
        properties->GetPointerProperty(AAX_eProperty_NativeInstanceInitProc, &instanceInitProc);
        properties->GetPointerProperty(AAX_eProperty_NativeBackgroundProc, &backgroundProc);

        // Older hosts do not know the buffer-length property: register a copy without it.
        AAX_IPropertyMap* nativeProperties = properties;
        if (properties->GetProperty(AAX_eProperty_NativeAudioBufferLength, &unused)) {
            AAX_IPropertyMap* copy = DuplicatePropertyMap(properties);
            if (copy && copy->NewestInterface()) {
                AAX_CPropertyValue length = 0;
                if (!copy->GetProperty(AAX_eProperty_NativeAudioBufferLength, &length))
                    AAX_HandleAssertFailure(kSourceFile, kGotBufferLengthLine,
                                            "0 != gotPropertySuccess", kAssertFlags);
                else if (copy->RemoveProperty(AAX_eProperty_NativeAudioBufferLength) != AAX_SUCCESS)
                    AAX_HandleAssertFailure(kSourceFile, kRemovedBufferLengthLine,
                                            "AAX_SUCCESS == removeNativeAudioBufferLengthResult",
                                            kAssertFlags);
            }
            // Even a copy the host holds nothing of replaces the map: the original would hand
            // the older host the property it does not know.
            if (copy)
                nativeProperties = copy;
        }
        AAX_CTypeID id = 0;
        const AAX_Result result = AddProcessProc_Native(const_cast<void*>(proc), nativeProperties,
                                                        const_cast<void*>(instanceInitProc),
                                                        const_cast<void*>(backgroundProc), &id);
        if (result != AAX_SUCCESS)
            return result;
        registered.push_back(id);
    }

    if (ti) {
        const void* dllFileName = nullptr;
        const void* procName = nullptr;
        const void* instanceInitProcName = nullptr;
        const void* backgroundProcName = nullptr;
        if (!properties->GetPointerProperty(AAX_eProperty_TIDLLFileName, &dllFileName))
            traceMissing("AAX_eProperty_TIDLLFileName");
        if (!properties->GetPointerProperty(AAX_eProperty_TIProcessProc, &procName))
            traceMissing("AAX_eProperty_TIProcessProc");
        properties->GetPointerProperty(AAX_eProperty_TIInstanceInitProc, &instanceInitProcName);
        properties->GetPointerProperty(AAX_eProperty_TIBackgroundProc, &backgroundProcName);
        AAX_CTypeID id = 0;
        const AAX_Result result = AddProcessProc_TI(
            static_cast<const char*>(dllFileName), static_cast<const char*>(procName), properties,
            static_cast<const char*>(instanceInitProcName),
            static_cast<const char*>(backgroundProcName), &id);
        if (result != AAX_SUCCESS)
            return result;
        registered.push_back(id);
    }

    if (ids) {
        const int32_t count = static_cast<int32_t>(registered.size());
        if (size <= count)
            return AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW;
        for (int32_t i = 0; i < count; ++i)
            ids[i] = registered[i];
        ids[count] = 0;
    }
    return AAX_SUCCESS;
}
