#include "AAX_VEffectDescriptor.h"

AAX_VEffectDescriptor::AAX_VEffectDescriptor(IACFUnknown* host) {
    if (!host)
        return;
    host->AddRef();
    mHostUnknown.Attach(host);
    if (!mV1.CreateFromHost(host, AAXCompID_EffectDescriptor, IID_IAAXEffectDescriptorV1))
        return;
    mV2.Query(mV1.get(), IID_IAAXEffectDescriptorV2);
}

AAX_VEffectDescriptor::~AAX_VEffectDescriptor() {
    mComponents.clear();
    mPropertyMaps.clear();
    mV2.Release();
    mV1.Release();
}

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor() {
    mComponents.emplace_back(new AAX_VComponentDescriptor(mHostUnknown.get()));
    return mComponents.back().get();
}

AAX_Result AAX_VEffectDescriptor::AddComponent(AAX_IComponentDescriptor* component) {
    if (!mV1)
        return AAX_ERROR_NULL_OBJECT;
    const auto* wrapper = dynamic_cast<AAX_VComponentDescriptor*>(component);
    return mV1->AddComponent(wrapper ? wrapper->HostInterface() : nullptr);
}

AAX_Result AAX_VEffectDescriptor::AddName(const char* name) {
    return mV1 ? mV1->AddName(name) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::AddCategory(uint32_t category) {
    return mV1 ? mV1->AddCategory(category) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::Operation5(void* a, void* b) {
    return mV1 ? mV1->Operation4(a, b) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::AddProcPtr(void* procPtr, AAX_CProcPtrID procID) {
    return mV1 ? mV1->AddProcPtr(procPtr, procID) : AAX_ERROR_NULL_OBJECT;
}

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap() {
    AAX_VPropertyMap* map = AAX_VPropertyMap::Create(mHostUnknown.get());
    if (map)
        mPropertyMaps.emplace_back(map);
    return map;
}

AAX_Result AAX_VEffectDescriptor::SetProperties(AAX_IPropertyMap* properties) {
    return mV1 ? mV1->SetProperties(AAX_VPropertyMap::HostInterfaceOf(properties))
               : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::AddResourceInfo(int32_t type, const char* info) {
    return mV1 ? mV1->AddResourceInfo(type, info) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::AddMeterDescription(AAX_CTypeID id, const char* name,
                                                      AAX_IPropertyMap* properties) {
    return mV1 ? mV1->AddMeterDescription(id, name, AAX_VPropertyMap::HostInterfaceOf(properties))
               : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::Operation11(void* a, void* b, void* c, void* d) {
    return mV2 ? mV2->Operation9(a, b, c, d) : AAX_ERROR_UNIMPLEMENTED;
}
