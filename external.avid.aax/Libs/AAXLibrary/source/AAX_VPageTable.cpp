#include "AAX_VPageTable.h"

AAX_VPageTable::AAX_VPageTable(IACFUnknown* host) {
    if (!host)
        return;
    mV1.Query(host, IID_IAAXPageTableV1);
    mV2.Query(host, IID_IAAXPageTableV2);
}

AAX_VPageTable::~AAX_VPageTable() {
    mV2.Release();
    mV1.Release();
}

AAX_Result AAX_VPageTable::Operation1() {
    return mV1 ? mV1->Operation1() : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation2(void* a) {
    return mV1 ? mV1->Operation2(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation3(void* a) {
    return mV1 ? mV1->Operation3(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation4(void* a) {
    return mV1 ? mV1->Operation4(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation5(void* a) {
    return mV1 ? mV1->Operation5(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation6(void* a, void* b) {
    return mV1 ? mV1->Operation6(a, b) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation7(void* a, void* b) {
    return mV1 ? mV1->Operation7(a, b) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation8(void* a, void* b, void* c) {
    return mV1 ? mV1->Operation8(a, b, c) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation9(void* a, void* b, void* c) {
    return mV1 ? mV1->Operation9(a, b, c) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation10(void* a) {
    return mV2 ? mV2->Operation10(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation11(void* a, void* b) {
    return mV2 ? mV2->Operation11(a, b) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation12(void* a, void* b) {
    return mV2 ? mV2->Operation12(a, b) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation13(void* a, void* b, void* c, void* d) {
    return mV2 ? mV2->Operation13(a, b, c, d) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation14(void* a, void* b, void* c) {
    return mV2 ? mV2->Operation14(a, b, c) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation15() {
    return mV2 ? mV2->Operation15() : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation16(void* a) {
    return mV2 ? mV2->Operation16(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VPageTable::Operation17(void* a, void* b, void* c) {
    return mV2 ? mV2->Operation17(a, b, c) : AAX_ERROR_UNIMPLEMENTED;
}
