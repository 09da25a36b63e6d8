#pragma once
// The host's automation delegate of one effect instance; every missing operation answers -20004.

#include "AAX_IAutomationDelegate.h"
#include "InterfacePtr.h"

class AAX_VAutomationDelegate : public AAX_IAutomationDelegate {
public:
    // Queries every version from host; a null host leaves them all missing.
    explicit AAX_VAutomationDelegate(IACFUnknown* host);
    ~AAX_VAutomationDelegate() override;

    AAX_Result RegisterParameter(AAX_CParamID id) override;
    AAX_Result UnregisterParameter(AAX_CParamID id) override;
    AAX_Result PostSetValueRequest(AAX_CParamID id, double normalizedValue) const override;
    AAX_Result PostCurrentValue(AAX_CParamID id, double normalizedValue) const override;
    AAX_Result PostTouchRequest(AAX_CParamID id) override;
    AAX_Result PostReleaseRequest(AAX_CParamID id) override;
    AAX_Result Operation7(void* a, void* b) const override;

private:
    InterfacePtr<AAX_IACFAutomationDelegate> mV1;
};
