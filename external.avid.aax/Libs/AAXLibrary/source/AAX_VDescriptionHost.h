#pragma once
// What the host offers while the module describes itself.

#include "AAX_IDescriptionHost.h"
#include "InterfacePtr.h"

class AAX_VDescriptionHost : public AAX_IDescriptionHost {
public:
    explicit AAX_VDescriptionHost(IACFUnknown* host);
    ~AAX_VDescriptionHost() override;

    AAX_IFeatureInfo* AcquireFeatureProperties(const acfUID& feature) const override;

    bool Supported() const { return static_cast<bool>(mDescriptionHost); }
    IACFUnknown* Definition() const { return mDefinition.get(); }

private:
    InterfacePtr<AAX_IACFDescriptionHost> mDescriptionHost;
    InterfacePtr<IACFUnknown> mDefinition;
};
