#pragma once
// A host page table, with every version the host offers; every missing operation answers -20009.

#include "AAX_IPageTable.h"
#include "InterfacePtr.h"

class AAX_VPageTable : public AAX_IPageTable {
public:
    // Queries every version from host; a null host leaves them all missing.
    explicit AAX_VPageTable(IACFUnknown* host);
    ~AAX_VPageTable() override;
    // Whether the host answered the page table's first version.
    bool HasHostTable() const { return bool(mV1); }

    AAX_Result Operation1() override;
    AAX_Result Operation2(void* a) override;
    AAX_Result Operation3(void* a) override;
    AAX_Result Operation4(void* a) override;
    AAX_Result Operation5(void* a) override;
    AAX_Result Operation6(void* a, void* b) override;
    AAX_Result Operation7(void* a, void* b) override;
    AAX_Result Operation8(void* a, void* b, void* c) override;
    AAX_Result Operation9(void* a, void* b, void* c) override;
    AAX_Result Operation10(void* a) override;
    AAX_Result Operation11(void* a, void* b) override;
    AAX_Result Operation12(void* a, void* b) override;
    AAX_Result Operation13(void* a, void* b, void* c, void* d) override;
    AAX_Result Operation14(void* a, void* b, void* c) override;
    AAX_Result Operation15() override;
    AAX_Result Operation16(void* a) override;
    AAX_Result Operation17(void* a, void* b, void* c) override;

private:
    InterfacePtr<AAX_IACFPageTable> mV1;
    InterfacePtr<AAX_IACFPageTable_V2> mV2;
};
