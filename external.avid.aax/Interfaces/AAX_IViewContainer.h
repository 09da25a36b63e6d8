#pragma once
// The host's view container: where an effect's window lives.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFViewContainer : public IACFUnknown {
public:
    ACFMETHOD(int32_t) GetType() = 0;
    ACFMETHOD(void*) GetPtr() = 0;
    ACFMETHOD(AAX_Result) Operation3(void* a) = 0;
    // Asks the host to give the window this size.
    ACFMETHOD(AAX_Result) SetViewSize(AAX_Point& size) = 0;
    ACFMETHOD(AAX_Result) Operation5(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation6(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation7(void* a, void* b) = 0;
};
class AAX_IACFViewContainer_V2 : public AAX_IACFViewContainer {
public:
    ACFMETHOD(AAX_Result) Operation8(void* a, void* b, void* c) = 0;
    ACFMETHOD(AAX_Result) Operation9(void* a, void* b, void* c) = 0;
    ACFMETHOD(AAX_Result) Operation10(void* a, void* b, void* c) = 0;
};
constexpr acfIID IID_IAAXViewContainerV1 = acfUIDFromText("22DA0BBC-D550-4D5E-8CC6-734483B8837F");
constexpr acfIID IID_IAAXViewContainerV2 = acfUIDFromText("9143A0BE-7A79-4D02-AE25-AADBA76A50B2");

class AAX_IViewContainer {
public:
    virtual ~AAX_IViewContainer() {}
    virtual int32_t GetType() = 0;
    virtual void* GetPtr() = 0;
    virtual AAX_Result Operation3(void* a) = 0;
    virtual AAX_Result SetViewSize(AAX_Point& size) = 0;
    virtual AAX_Result Operation5(void* a, void* b) = 0;
    virtual AAX_Result Operation6(void* a, void* b) = 0;
    virtual AAX_Result Operation7(void* a, void* b) = 0;
    virtual AAX_Result Operation8(void* a, void* b, void* c) = 0;
    virtual AAX_Result Operation9(void* a, void* b, void* c) = 0;
    virtual AAX_Result Operation10(void* a, void* b, void* c) = 0;
};
