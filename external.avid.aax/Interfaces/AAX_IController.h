#pragma once
// The host's controller of one effect instance.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IPageTable;

class AAX_IACFController : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) Operation1(void* a) = 0;
    ACFMETHOD(AAX_Result) GetSampleRate(AAX_CSampleRate* rate) = 0;
    ACFMETHOD(AAX_Result) GetInputStemFormat(AAX_EStemFormat* format) = 0;
    ACFMETHOD(AAX_Result) GetOutputStemFormat(AAX_EStemFormat* format) = 0;
    ACFMETHOD(AAX_Result) Operation5(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation6(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation7(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation8(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation9(void* a, void* b, void* c) = 0;
    ACFMETHOD(AAX_Result) PostPacket(int32_t fieldIndex, const void* data, uint32_t size) = 0;
    ACFMETHOD(AAX_Result) Operation11(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation12(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation13(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation14(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation15(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation16(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation17(void* a, void* b) = 0;
};
class AAX_IACFController_V2 : public AAX_IACFController {
public:
    ACFMETHOD(AAX_Result) Operation18(void* a, void* b, void* c) = 0;
    ACFMETHOD(AAX_Result) Operation19(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation20(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation21(void* a) = 0;
};
class AAX_IACFController_V3 : public AAX_IACFController_V2 {
public:
    ACFMETHOD(AAX_Result) Operation22(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation23(void* a) = 0;
};
// The page-table chain; each operation fills the empty host page table it is given.
class AAX_IACFController_V4 : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result)
    Operation1(void* a, void* b, void* c, void* d, void* e, IACFUnknown* pageTable) = 0;
    ACFMETHOD(AAX_Result)
    Operation2(void* a, void* b, void* c, void* d, IACFUnknown* pageTable) = 0;
};
class AAX_IACFController_V5 : public AAX_IACFController_V4 {
public:
    ACFMETHOD(AAX_Result)
    Operation3(void* a, void* b, void* c, void* d, void* e, void* f, void* g,
               IACFUnknown* pageTable) = 0;
    ACFMETHOD(AAX_Result)
    Operation4(void* a, void* b, void* c, void* d, void* e, IACFUnknown* pageTable) = 0;
};
constexpr acfIID IID_IAAXControllerV1 = acfUIDFromText("9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E");
constexpr acfIID IID_IAAXControllerV2 = acfUIDFromText("4C59AA0E-D7C0-4205-8B6C-32468D42D202");
constexpr acfIID IID_IAAXControllerV3 = acfUIDFromText("DD6F168C-DA86-44F8-B864-D6CD221926E7");
constexpr acfIID IID_IAAXControllerV4 = acfUIDFromText("2E9D35FB-BACC-4B2C-B5D7-C6E851F569BD");
constexpr acfIID IID_IAAXControllerV5 = acfUIDFromText("06C6B83E-9D87-4938-8A38-F8E45B10A24A");

class AAX_IController {
public:
    virtual ~AAX_IController() {}
    virtual AAX_Result Operation1(void* a) const = 0;
    virtual AAX_Result GetSampleRate(AAX_CSampleRate* rate) const = 0;
    virtual AAX_Result GetInputStemFormat(AAX_EStemFormat* format) const = 0;
    virtual AAX_Result GetOutputStemFormat(AAX_EStemFormat* format) const = 0;
    virtual AAX_Result Operation5(void* a) const = 0;
    virtual AAX_Result Operation6(void* a, void* b) const = 0;
    virtual AAX_Result Operation7(void* a) const = 0;
    virtual AAX_Result Operation8(void* a) const = 0;
    virtual AAX_Result Operation9(void* a, void* b, void* c) = 0;
    virtual AAX_Result PostPacket(int32_t fieldIndex, const void* data, uint32_t size) = 0;
    virtual AAX_Result Operation11(void* a) const = 0;
    virtual AAX_Result Operation12(void* a, void* b, void* c) const = 0;
    virtual AAX_Result Operation13(void* a, void* b) const = 0;
    virtual AAX_Result Operation14(void* a, void* b) const = 0;
    virtual AAX_Result Operation15(void* a) const = 0;
    virtual AAX_Result Operation16(void* a) const = 0;
    virtual AAX_Result Operation17(void* a, void* b) const = 0;
    virtual AAX_Result Operation18(void* a) const = 0;
    virtual AAX_Result Operation19(void* a, void* b) const = 0;
    virtual AAX_Result Operation20(void* a) const = 0;
    virtual AAX_Result Operation21(void* a) const = 0;
    virtual AAX_Result Operation22(void* a) const = 0;
    virtual AAX_Result Operation23(void* a) const = 0;
    virtual AAX_Result Operation24(void* a) const = 0;
    // Each returns a new page table that the caller owns, or null.
    virtual AAX_IPageTable* Operation25(void* a, void* b, void* c, void* d, void* e) const = 0;
    virtual AAX_IPageTable* Operation26(void* a, void* b, void* c, void* d) const = 0;
    virtual AAX_IPageTable* Operation27(void* a, void* b, void* c, void* d, void* e, void* f,
                                        void* g) const = 0;
    virtual AAX_IPageTable* Operation28(void* a, void* b, void* c, void* d, void* e) const = 0;
};
