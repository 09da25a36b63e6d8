#pragma once
// One optional host feature as the description host reports it. Owned by the caller.

#include "AAX_IFeatureInfo.h"
#include "InterfacePtr.h"

class AAX_VFeatureInfo : public AAX_IFeatureInfo {
public:
    AAX_VFeatureInfo(IACFUnknown* hostInfo, const acfUID& feature);
    ~AAX_VFeatureInfo() override;

    AAX_Result SupportLevel(int32_t* level) const override;
    AAX_IPropertyMap* AcquireProperties() const override;
    const acfUID& ID() const override { return mFeature; }

private:
    acfUID mFeature;
    InterfacePtr<AAX_IACFFeatureInfo> mV1;
};
