#pragma once
// The host's view container, with every version the host offers.

#include "AAX_IViewContainer.h"
#include "InterfacePtr.h"

class AAX_VViewContainer : public AAX_IViewContainer {
public:
    // Queries every version from host; a null host leaves them all missing.
    explicit AAX_VViewContainer(IACFUnknown* host);
    ~AAX_VViewContainer() override;

    int32_t GetType() override;
    void* GetPtr() override;
    AAX_Result Operation3(void* a) override;
    AAX_Result SetViewSize(AAX_Point& size) override;
    AAX_Result Operation5(void* a, void* b) override;
    AAX_Result Operation6(void* a, void* b) override;
    AAX_Result Operation7(void* a, void* b) override;
    AAX_Result Operation8(void* a, void* b, void* c) override;
    AAX_Result Operation9(void* a, void* b, void* c) override;
    AAX_Result Operation10(void* a, void* b, void* c) override;

private:
    InterfacePtr<AAX_IACFViewContainer> mV1;
    InterfacePtr<AAX_IACFViewContainer_V2> mV2;
};
