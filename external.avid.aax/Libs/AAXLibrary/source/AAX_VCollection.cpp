#include "AAX_VCollection.h"

AAX_VCollection::AAX_VCollection(IACFUnknown* host) : mDescriptionHost(host) {
    if (!host)
        return;
    host->AddRef();
    mHostUnknown.Attach(host);
    mCollection.CreateFromHost(host, AAXCompID_AAXCollection, IID_IAAXCollectionV1);
}

AAX_VCollection::~AAX_VCollection() {
    mEffects.clear();
    mPropertyMaps.clear();
    mCollection.Release();
}

AAX_IEffectDescriptor* AAX_VCollection::NewDescriptor() {
    mEffects.emplace_back(new AAX_VEffectDescriptor(mHostUnknown.get()));
    return mEffects.back().get();
}

AAX_Result AAX_VCollection::AddEffect(const char* effectID, AAX_IEffectDescriptor* effect) {
    const auto* wrapper = dynamic_cast<AAX_VEffectDescriptor*>(effect);
    if (!mCollection || !wrapper)
        return AAX_ERROR_NULL_OBJECT;
    return mCollection->AddEffect(effectID, wrapper->HostInterface());
}

AAX_Result AAX_VCollection::SetManufacturerName(const char* name) {
    return mCollection ? mCollection->SetManufacturerName(name) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VCollection::AddPackageName(const char* name) {
    return mCollection ? mCollection->AddPackageName(name) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VCollection::SetPackageVersion(uint32_t version) {
    return mCollection ? mCollection->SetPackageVersion(version) : AAX_ERROR_NULL_OBJECT;
}

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap() {
    AAX_VPropertyMap* map = AAX_VPropertyMap::Create(mHostUnknown.get());
    if (map)
        mPropertyMaps.emplace_back(map);
    return map;
}

AAX_Result AAX_VCollection::SetProperties(AAX_IPropertyMap* properties) {
    if (!mCollection)
        return AAX_ERROR_NULL_OBJECT;
    return mCollection->SetProperties(AAX_VPropertyMap::HostInterfaceOf(properties));
}

AAX_IDescriptionHost* AAX_VCollection::DescriptionHost() {
    return mDescriptionHost.Supported() ? &mDescriptionHost : nullptr;
}

const AAX_IDescriptionHost* AAX_VCollection::DescriptionHost() const {
    return mDescriptionHost.Supported() ? &mDescriptionHost : nullptr;
}

IACFUnknown* AAX_VCollection::HostDefinition() const {
    return mDescriptionHost.Definition();
}
