#include "AAX_VController.h"

#include "AAX_IPageTable.h"
#include "AAX_VPageTable.h"

#include <new>

AAX_VController::AAX_VController(IACFUnknown* host) {
    if (!host)
        return;
    mV1.Query(host, IID_IAAXControllerV1);
    mV2.Query(host, IID_IAAXControllerV2);
    mV3.Query(host, IID_IAAXControllerV3);
    mV4.Query(host, IID_IAAXControllerV4);
    mV5.Query(host, IID_IAAXControllerV5);
    try {
        mComponentFactory = InterfacePtr<IACFComponentFactory>(host, IID_IACFComponentFactory);
    } catch (ACFRESULT) {
        // No factory: the page-table operations answer null.
    }
}

AAX_VController::~AAX_VController() {
    mV5.Release();
    mV4.Release();
    mV3.Release();
    mV2.Release();
    mV1.Release();
}

AAX_Result AAX_VController::Operation1(void* a) const {
    return mV1 ? mV1->Operation1(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetSampleRate(AAX_CSampleRate* rate) const {
    return mV1 ? mV1->GetSampleRate(rate) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetInputStemFormat(AAX_EStemFormat* format) const {
    return mV1 ? mV1->GetInputStemFormat(format) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::GetOutputStemFormat(AAX_EStemFormat* format) const {
    return mV1 ? mV1->GetOutputStemFormat(format) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation5(void* a) const {
    return mV1 ? mV1->Operation5(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation6(void* a, void* b) const {
    return mV1 ? mV1->Operation6(a, b) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation7(void* a) const {
    return mV1 ? mV1->Operation7(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation8(void* a) const {
    return mV1 ? mV1->Operation8(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation9(void* a, void* b, void* c) {
    return mV1 ? mV1->Operation9(a, b, c) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::PostPacket(int32_t fieldIndex, const void* data, uint32_t size) {
    return mV1 ? mV1->PostPacket(fieldIndex, data, size) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation11(void* a) const {
    return mV2 ? mV2->Operation18(a, nullptr, nullptr) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::Operation12(void* a, void* b, void* c) const {
    return mV2 ? mV2->Operation18(a, b, c) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::Operation13(void* a, void* b) const {
    return mV1 ? mV1->Operation11(a, b) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation14(void* a, void* b) const {
    return mV1 ? mV1->Operation12(a, b) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation15(void* a) const {
    return mV1 ? mV1->Operation13(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation16(void* a) const {
    return mV1 ? mV1->Operation16(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation17(void* a, void* b) const {
    return mV1 ? mV1->Operation14(a, b) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation18(void* a) const {
    return mV1 ? mV1->Operation15(a) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation19(void* a, void* b) const {
    return mV1 ? mV1->Operation17(a, b) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::Operation20(void* a) const {
    return mV2 ? mV2->Operation19(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::Operation21(void* a) const {
    return mV2 ? mV2->Operation20(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::Operation22(void* a) const {
    return mV2 ? mV2->Operation21(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::Operation23(void* a) const {
    return mV3 ? mV3->Operation22(a) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::Operation24(void* a) const {
    return mV3 ? mV3->Operation23(a) : AAX_ERROR_UNIMPLEMENTED;
}

template <class Fill> AAX_IPageTable* AAX_VController::NewPageTable(Fill fill) const {
    InterfacePtr<IACFUnknown> table;
    table.Create(mComponentFactory.get(), AAXCompID_PageTable, IID_IAAXPageTableV2);
    if (fill(table.get()) != AAX_SUCCESS)
        return nullptr;
    if (!table)
        return nullptr;
    return new (std::nothrow) AAX_VPageTable(table.get());
}

AAX_IPageTable* AAX_VController::Operation25(void* a, void* b, void* c, void* d, void* e) const {
    if (!mV4)
        return nullptr;
    return NewPageTable([&](IACFUnknown* table) { return mV4->Operation1(a, b, c, d, e, table); });
}

AAX_IPageTable* AAX_VController::Operation26(void* a, void* b, void* c, void* d) const {
    if (!mV4)
        return nullptr;
    return NewPageTable([&](IACFUnknown* table) { return mV4->Operation2(a, b, c, d, table); });
}

AAX_IPageTable* AAX_VController::Operation27(void* a, void* b, void* c, void* d, void* e, void* f,
                                             void* g) const {
    if (!mV5)
        return nullptr;
    return NewPageTable(
        [&](IACFUnknown* table) { return mV5->Operation3(a, b, c, d, e, f, g, table); });
}

AAX_IPageTable* AAX_VController::Operation28(void* a, void* b, void* c, void* d, void* e) const {
    if (!mV5)
        return nullptr;
    return NewPageTable([&](IACFUnknown* table) { return mV5->Operation4(a, b, c, d, e, table); });
}
