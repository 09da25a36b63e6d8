#pragma once
// One effect as the host describes it. Made and owned by the collection; owns the component
// descriptors and property maps made through it.

#include "AAX_IEffectDescriptor.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VPropertyMap.h"
#include "InterfacePtr.h"

#include <memory>
#include <vector>

class AAX_VEffectDescriptor : public AAX_IEffectDescriptor {
public:
    explicit AAX_VEffectDescriptor(IACFUnknown* host);
    ~AAX_VEffectDescriptor() override;

    AAX_IComponentDescriptor* NewComponentDescriptor() override;
    AAX_Result AddComponent(AAX_IComponentDescriptor* component) override;
    AAX_Result AddName(const char* name) override;
    AAX_Result AddCategory(uint32_t category) override;
    AAX_Result Operation5(void* a, void* b) override;
    AAX_Result AddProcPtr(void* procPtr, AAX_CProcPtrID procID) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties(AAX_IPropertyMap* properties) override;
    AAX_Result AddResourceInfo(int32_t type, const char* info) override;
    AAX_Result AddMeterDescription(AAX_CTypeID id, const char* name,
                                   AAX_IPropertyMap* properties) override;
    AAX_Result Operation11(void* a, void* b, void* c, void* d) override;

    // The host's first interface, what the collection adds.
    IACFUnknown* HostInterface() const { return mV1.get(); }

private:
    InterfacePtr<IACFUnknown> mHostUnknown;
    InterfacePtr<AAX_IACFEffectDescriptor> mV1;
    InterfacePtr<AAX_IACFEffectDescriptor_V2> mV2;
    std::vector<std::unique_ptr<AAX_VComponentDescriptor>> mComponents;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
