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
    if (mDescriptionHost->AcquireFeatureProperties(feature, &answer) != AAX_SUCCESS || !answer)
        return nullptr;
    InterfacePtr<IACFUnknown> hostInfo;
    hostInfo.Attach(answer);
    return new (std::nothrow) AAX_VFeatureInfo(hostInfo.get(), feature);
}
