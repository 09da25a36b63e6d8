#include "AAX_VViewContainer.h"

AAX_VViewContainer::AAX_VViewContainer(IACFUnknown* host) {
    if (!host)
        return;
    mV1.Query(host, IID_IAAXViewContainerV1);
    mV2.Query(host, IID_IAAXViewContainerV2);
}

AAX_VViewContainer::~AAX_VViewContainer() {
    mV2.Release();
    mV1.Release();
}

int32_t AAX_VViewContainer::GetType() {
    return mV1 ? mV1->GetType() : 0;
}

void* AAX_VViewContainer::GetPtr() {
    return mV1 ? mV1->GetPtr() : nullptr;
}

AAX_Result AAX_VViewContainer::Operation3(void* a) {
    return mV1 ? mV1->Operation3(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::SetViewSize(AAX_Point& size) {
    return mV1 ? mV1->SetViewSize(size) : AAX_SUCCESS;
}

AAX_Result AAX_VViewContainer::Operation5(void* a, void* b) {
    return mV1 ? mV1->Operation5(a, b) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::Operation6(void* a, void* b) {
    return mV1 ? mV1->Operation6(a, b) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::Operation7(void* a, void* b) {
    return mV1 ? mV1->Operation7(a, b) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::Operation8(void* a, void* b, void* c) {
    return mV2 ? mV2->Operation8(a, b, c) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::Operation9(void* a, void* b, void* c) {
    return mV2 ? mV2->Operation9(a, b, c) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::Operation10(void* a, void* b, void* c) {
    return mV2 ? mV2->Operation10(a, b, c) : AAX_ERROR_UNIMPLEMENTED;
}
