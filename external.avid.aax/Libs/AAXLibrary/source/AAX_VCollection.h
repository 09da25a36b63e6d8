#pragma once
// The collection the effect describes itself into at registration. Lives on the stack of
// the registration; owns every effect descriptor and property map made through it.

#include "AAX_ICollection.h"
#include "AAX_VDescriptionHost.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VPropertyMap.h"
#include "InterfacePtr.h"

#include <memory>
#include <vector>

class AAX_VCollection : public AAX_ICollection {
public:
    explicit AAX_VCollection(IACFUnknown* host);
    ~AAX_VCollection() override;

    AAX_IEffectDescriptor* NewDescriptor() override;
    AAX_Result AddEffect(const char* effectID, AAX_IEffectDescriptor* effect) override;
    AAX_Result SetManufacturerName(const char* name) override;
    AAX_Result AddPackageName(const char* name) override;
    AAX_Result SetPackageVersion(uint32_t version) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties(AAX_IPropertyMap* properties) override;
    AAX_IDescriptionHost* DescriptionHost() override;
    const AAX_IDescriptionHost* DescriptionHost() const override;
    IACFUnknown* HostDefinition() const override;

    // The host's collection; its registration face is what the host receives.
    const InterfacePtr<AAX_IACFCollection>& HostCollection() const { return mCollection; }

private:
    InterfacePtr<IACFUnknown> mHostUnknown;
    InterfacePtr<AAX_IACFCollection> mCollection;
    AAX_VDescriptionHost mDescriptionHost;
    std::vector<std::unique_ptr<AAX_VEffectDescriptor>> mEffects;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
