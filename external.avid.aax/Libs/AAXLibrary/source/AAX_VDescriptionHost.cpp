#include "AAX_VDescriptionHost.h"

#include "AAX_VFeatureInfo.h"

#include <new>

AAX_VDescriptionHost::AAX_VDescriptionHost(IACFUnknown* host) {
    mDescriptionHost.Query(host, IID_IAAXDescriptionHostV1);
    mDefinition.Query(host, IID_IACFDefinition);
}

AAX_VDescriptionHost::~AAX_VDescriptionHost() {
    mDefinition.Release();
    mDescriptionHost.Release();
}

AAX_IFeatureInfo* AAX_VDescriptionHost::AcquireFeatureProperties(const acfUID& feature) const {
    if (!mDescriptionHost)
        return nullptr;
    IACFUnknown* answer = nullptr;
    const AAX_Result result = mDescriptionHost->AcquireFeatureProperties(feature, &answer);
    // The reference comes with the object, also when the host reports a failure beside it.
    InterfacePtr<IACFUnknown> hostInfo;
    hostInfo.Attach(answer);
    if (result != AAX_SUCCESS || !answer)
        return nullptr;
    return new (std::nothrow) AAX_VFeatureInfo(hostInfo.get(), feature);
}
