#include "AAX_VAutomationDelegate.h"

AAX_VAutomationDelegate::AAX_VAutomationDelegate(IACFUnknown* host) {
    if (!host)
        return;
    mV1.Query(host, IID_IAAXAutomationDelegateV1);
}

AAX_VAutomationDelegate::~AAX_VAutomationDelegate() {
    mV1.Release();
}

AAX_Result AAX_VAutomationDelegate::RegisterParameter(AAX_CParamID id) {
    return mV1 ? mV1->RegisterParameter(id) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::UnregisterParameter(AAX_CParamID id) {
    return mV1 ? mV1->UnregisterParameter(id) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::PostSetValueRequest(AAX_CParamID id,
                                                        double normalizedValue) const {
    return mV1 ? mV1->PostSetValueRequest(id, normalizedValue) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::PostCurrentValue(AAX_CParamID id,
                                                     double normalizedValue) const {
    return mV1 ? mV1->PostCurrentValue(id, normalizedValue) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::PostTouchRequest(AAX_CParamID id) {
    return mV1 ? mV1->PostTouchRequest(id) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::PostReleaseRequest(AAX_CParamID id) {
    return mV1 ? mV1->PostReleaseRequest(id) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VAutomationDelegate::Operation7(void* a, void* b) const {
    return mV1 ? mV1->Operation7(a, b) : AAX_ERROR_NULL_OBJECT;
}
