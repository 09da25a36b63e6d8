#include "AAX_VFeatureInfo.h"

#include "AAX_VPropertyMap.h"

AAX_VFeatureInfo::AAX_VFeatureInfo(IACFUnknown* hostInfo, const acfUID& feature)
    : mFeature(feature) {
    mV1.Query(hostInfo, IID_IAAXFeatureInfoV1);
}

AAX_VFeatureInfo::~AAX_VFeatureInfo() {
    mV1.Release();
}

AAX_Result AAX_VFeatureInfo::SupportLevel(int32_t* level) const {
    return mV1 ? mV1->SupportLevel(level) : AAX_ERROR_NULL_OBJECT;
}

AAX_IPropertyMap* AAX_VFeatureInfo::AcquireProperties() const {
    if (!mV1)
        return nullptr;
    IACFUnknown* answer = nullptr;
    const AAX_Result result = mV1->AcquireProperties(&answer);
    // The map takes its own references; the host's one is given back at once, also when the
    // host reports a failure beside the object.
    InterfacePtr<IACFUnknown> hostMap;
    hostMap.Attach(answer);
    if (result != AAX_SUCCESS || !answer)
        return nullptr;
    return AAX_VPropertyMap::Acquire(hostMap.get());
}
