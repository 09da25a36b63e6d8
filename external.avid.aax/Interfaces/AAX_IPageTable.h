#pragma once
// A host page table: the layout of parameters on control surfaces.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFPageTable : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) Operation1() = 0;
    ACFMETHOD(AAX_Result) Operation2(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation3(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation4(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation5(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation6(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation7(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation8(void* a, void* b, void* c) = 0;
    ACFMETHOD(AAX_Result) Operation9(void* a, void* b, void* c) = 0;
};
class AAX_IACFPageTable_V2 : public AAX_IACFPageTable {
public:
    ACFMETHOD(AAX_Result) Operation10(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation11(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation12(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation13(void* a, void* b, void* c, void* d) = 0;
    ACFMETHOD(AAX_Result) Operation14(void* a, void* b, void* c) = 0;
    ACFMETHOD(AAX_Result) Operation15() = 0;
    ACFMETHOD(AAX_Result) Operation16(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation17(void* a, void* b, void* c) = 0;
};
constexpr acfIID IID_IAAXPageTableV1 = acfUIDFromText("33C9E5BE-1CE3-4085-91A7-09D6F8EE4B64");
constexpr acfIID IID_IAAXPageTableV2 = acfUIDFromText("D0F25D1B-9C5B-4D2E-8F1F-45BC934732F7");
// The host class of an empty page table, made through the component factory.
constexpr acfCLSID AAXCompID_PageTable = acfUIDFromText("DBC22879-A24E-4AC6-9721-938B72D8E81B");

class AAX_IPageTable {
public:
    virtual ~AAX_IPageTable() {}
    virtual AAX_Result Operation1() = 0;
    virtual AAX_Result Operation2(void* a) = 0;
    virtual AAX_Result Operation3(void* a) = 0;
    virtual AAX_Result Operation4(void* a) = 0;
    virtual AAX_Result Operation5(void* a) = 0;
    virtual AAX_Result Operation6(void* a, void* b) = 0;
    virtual AAX_Result Operation7(void* a, void* b) = 0;
    virtual AAX_Result Operation8(void* a, void* b, void* c) = 0;
    virtual AAX_Result Operation9(void* a, void* b, void* c) = 0;
    virtual AAX_Result Operation10(void* a) = 0;
    virtual AAX_Result Operation11(void* a, void* b) = 0;
    virtual AAX_Result Operation12(void* a, void* b) = 0;
    virtual AAX_Result Operation13(void* a, void* b, void* c, void* d) = 0;
    virtual AAX_Result Operation14(void* a, void* b, void* c) = 0;
    virtual AAX_Result Operation15() = 0;
    virtual AAX_Result Operation16(void* a) = 0;
    virtual AAX_Result Operation17(void* a, void* b, void* c) = 0;
};
