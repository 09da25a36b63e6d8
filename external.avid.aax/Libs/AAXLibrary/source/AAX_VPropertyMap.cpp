#include "AAX_VPropertyMap.h"

#include <initializer_list>
#include <new>

namespace {
constexpr int16_t kLastStemFormatIndex = 12;

// Without a description host the library accepts only the channel formats it knows.
bool isKnownStemFormat(AAX_CPropertyValue value) {
    const uint32_t word = static_cast<uint32_t>(value);
    const int16_t index = static_cast<int16_t>(word >> 16);
    return (index >= 0 && index <= kLastStemFormatIndex) ||
           word == static_cast<uint32_t>(AAX_eStemFormat_None) ||
           word == static_cast<uint32_t>(AAX_eStemFormat_Unsupported);
}
} // namespace

AAX_VPropertyMap* AAX_VPropertyMap::Create(IACFUnknown* host) {
    InterfacePtr<IACFComponentFactory> factory;
    if (!factory.Query(host, IID_IACFComponentFactory))
        return nullptr;
    AAX_VPropertyMap* map = new (std::nothrow) AAX_VPropertyMap;
    if (!map)
        return nullptr;
    if (map->mV1.Create(factory.get(), AAXCompID_PropertyMap, IID_IAAXPropertyMapV1))
        map->QueryLaterVersions();
    for (IACFUnknown* source :
         {host, static_cast<IACFUnknown*>(factory.get()), static_cast<IACFUnknown*>(map->mV2.get()),
          static_cast<IACFUnknown*>(map->mV3.get()), static_cast<IACFUnknown*>(map->mV1.get())})
        if (map->mDescriptionHost.Query(source, IID_IAAXDescriptionHostV1))
            break;
    return map;
}

AAX_VPropertyMap* AAX_VPropertyMap::Acquire(IACFUnknown* hostMap) {
    if (!hostMap)
        return nullptr;
    AAX_VPropertyMap* map = new (std::nothrow) AAX_VPropertyMap;
    if (!map)
        return nullptr;
    map->mV1.Query(hostMap, IID_IAAXPropertyMapV1);
    map->mV2.Query(hostMap, IID_IAAXPropertyMapV2);
    map->mV3.Query(hostMap, IID_IAAXPropertyMapV3);
    map->mDescriptionHost.Query(hostMap, IID_IAAXDescriptionHostV1);
    return map;
}

AAX_VPropertyMap::~AAX_VPropertyMap() {
    mDescriptionHost.Release();
    mV3.Release();
    mV2.Release();
    mV1.Release();
}

void AAX_VPropertyMap::QueryLaterVersions() {
    mV2.Query(mV1.get(), IID_IAAXPropertyMapV2);
    mV3.Query(mV1.get(), IID_IAAXPropertyMapV3);
}

bool AAX_VPropertyMap::GetProperty(AAX_EProperty id, AAX_CPropertyValue* value) const {
    return mV1 && mV1->GetProperty(id, value) != 0;
}

bool AAX_VPropertyMap::GetPointerProperty(AAX_EProperty id, const void** value) const {
    AAX_CPropertyValue word = 0;
    if (!GetProperty(id, &word))
        return false;
    if (value)
        *value = reinterpret_cast<const void*>(word);
    return true;
}

AAX_Result AAX_VPropertyMap::AddProperty(AAX_EProperty id, AAX_CPropertyValue value) {
    const bool stemFormat =
        id == AAX_eProperty_InputStemFormat || id == AAX_eProperty_OutputStemFormat;
    if (stemFormat && !mDescriptionHost && !isKnownStemFormat(value))
        return AAX_ERROR_PROPERTY_UNDEFINED;
    return mV1 ? mV1->AddProperty(id, value) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VPropertyMap::AddPointerProperty(AAX_EProperty id, const void* value) {
    return AddPropertyUnchecked(id, reinterpret_cast<AAX_CPropertyValue>(value));
}

AAX_Result AAX_VPropertyMap::AddPropertyUnchecked(AAX_EProperty id, AAX_CPropertyValue value) {
    return mV1 ? mV1->AddProperty(id, value) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VPropertyMap::RemoveProperty(AAX_EProperty id) {
    return mV1 ? mV1->RemoveProperty(id) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VPropertyMap::Operation7(void* a, void* b, void* c) {
    return mV2 ? mV2->Operation4(a, b, c) : AAX_ERROR_UNIMPLEMENTED;
}

bool AAX_VPropertyMap::Operation8(void* a, void* b, void* c) const {
    return mV2 && mV2->Operation5(a, b, c) != 0;
}

IACFUnknown* AAX_VPropertyMap::NewestInterface() const {
    if (mV3)
        return mV3.get();
    if (mV2)
        return mV2.get();
    return mV1.get();
}
