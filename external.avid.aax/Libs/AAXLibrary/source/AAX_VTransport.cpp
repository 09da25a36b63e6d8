#include "AAX_VTransport.h"

AAX_VTransport::AAX_VTransport(IACFUnknown* host) {
    if (!host)
        return;
    mV1.Query(host, IID_IAAXTransportV1);
    mV2.Query(host, IID_IAAXTransportV2);
}

AAX_VTransport::~AAX_VTransport() {
    mV2.Release();
    mV1.Release();
}

AAX_Result AAX_VTransport::Operation1(void* a) const {
    return mV1 ? mV1->Operation1(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Operation2(void* a, void* b) const {
    return mV1 ? mV1->Operation2(a, b) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Operation3(void* a) const {
    return mV1 ? mV1->Operation3(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Operation4(void* a) const {
    return mV1 ? mV1->Operation4(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Operation5(void* a, void* b, void* c) const {
    return mV1 ? mV1->Operation5(a, b, c) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Operation6(void* a) const {
    return mV1 ? mV1->Operation6(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Operation7(void* a, void* b, void* c) const {
    return mV1 ? mV1->Operation7(a, b, c) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Operation8(void* a, void* b, void* c, void* d, void* e) const {
    return mV1 ? mV1->Operation8(a, b, c, d, e) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Operation9(void* a) const {
    return mV1 ? mV1->Operation9(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Operation10(void* a) const {
    return mV1 ? mV1->Operation10(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::Operation11(void* a) const {
    return mV2 ? mV2->Operation11(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VTransport::Operation12(void* a, void* b) const {
    return mV2 ? mV2->Operation12(a, b) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VTransport::Operation13(void* a, void* b) const {
    return mV2 ? mV2->Operation13(a, b) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VTransport::Operation14(void* a) const {
    return mV2 ? mV2->Operation14(a) : AAX_ERROR_UNIMPLEMENTED;
}
