#pragma once
// The host's automation of one effect instance's parameters.

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFAutomationDelegate : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) RegisterParameter(AAX_CParamID id) = 0;
    ACFMETHOD(AAX_Result) UnregisterParameter(AAX_CParamID id) = 0;
    ACFMETHOD(AAX_Result) PostSetValueRequest(AAX_CParamID id, double normalizedValue) = 0;
    ACFMETHOD(AAX_Result) PostCurrentValue(AAX_CParamID id, double normalizedValue) = 0;
    ACFMETHOD(AAX_Result) PostTouchRequest(AAX_CParamID id) = 0;
    ACFMETHOD(AAX_Result) PostReleaseRequest(AAX_CParamID id) = 0;
    // Named by its place: the library only forwards it.
    ACFMETHOD(AAX_Result) Operation7(void* a, void* b) = 0;
};
constexpr acfIID IID_IAAXAutomationDelegateV1 =
    acfUIDFromText("9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E");

class AAX_IAutomationDelegate {
public:
    virtual ~AAX_IAutomationDelegate() {}
    virtual AAX_Result RegisterParameter(AAX_CParamID id) = 0;
    virtual AAX_Result UnregisterParameter(AAX_CParamID id) = 0;
    virtual AAX_Result PostSetValueRequest(AAX_CParamID id, double normalizedValue) const = 0;
    virtual AAX_Result PostCurrentValue(AAX_CParamID id, double normalizedValue) const = 0;
    virtual AAX_Result PostTouchRequest(AAX_CParamID id) = 0;
    virtual AAX_Result PostReleaseRequest(AAX_CParamID id) = 0;
    virtual AAX_Result Operation7(void* a, void* b) const = 0;
};
