#pragma once
// The host's transport: play state, positions and tempo.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFTransport : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) Operation1(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation2(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation3(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation4(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation5(void* a, void* b, void* c) = 0;
    ACFMETHOD(AAX_Result) Operation6(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation7(void* a, void* b, void* c) = 0;
    ACFMETHOD(AAX_Result) Operation8(void* a, void* b, void* c, void* d, void* e) = 0;
    ACFMETHOD(AAX_Result) Operation9(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation10(void* a) = 0;
};
class AAX_IACFTransport_V2 : public AAX_IACFTransport {
public:
    ACFMETHOD(AAX_Result) Operation11(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation12(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation13(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation14(void* a) = 0;
};
constexpr acfIID IID_IAAXTransportV1 = acfUIDFromText("5CEE4EF4-6337-4359-B63B-FE58DC36543A");
constexpr acfIID IID_IAAXTransportV2 = acfUIDFromText("203CBD9F-982C-4FE6-A827-07480257AEC3");

class AAX_ITransport {
public:
    virtual ~AAX_ITransport() {}
    virtual AAX_Result Operation1(void* a) const = 0;
    virtual AAX_Result Operation2(void* a, void* b) const = 0;
    virtual AAX_Result Operation3(void* a) const = 0;
    virtual AAX_Result Operation4(void* a) const = 0;
    virtual AAX_Result Operation5(void* a, void* b, void* c) const = 0;
    virtual AAX_Result Operation6(void* a) const = 0;
    virtual AAX_Result Operation7(void* a, void* b, void* c) const = 0;
    virtual AAX_Result Operation8(void* a, void* b, void* c, void* d, void* e) const = 0;
    virtual AAX_Result Operation9(void* a) const = 0;
    virtual AAX_Result Operation10(void* a) const = 0;
    virtual AAX_Result Operation11(void* a) const = 0;
    virtual AAX_Result Operation12(void* a, void* b) const = 0;
    virtual AAX_Result Operation13(void* a, void* b) const = 0;
    virtual AAX_Result Operation14(void* a) const = 0;
};
