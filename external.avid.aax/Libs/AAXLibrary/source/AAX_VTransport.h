#pragma once
// The host's transport, with every version the host offers.

#include "AAX_ITransport.h"
#include "InterfacePtr.h"

class AAX_VTransport : public AAX_ITransport {
public:
    // Queries every version from host; a null host leaves them all missing.
    explicit AAX_VTransport(IACFUnknown* host);
    ~AAX_VTransport() override;

    AAX_Result Operation1(void* a) const override;
    AAX_Result Operation2(void* a, void* b) const override;
    AAX_Result Operation3(void* a) const override;
    AAX_Result Operation4(void* a) const override;
    AAX_Result Operation5(void* a, void* b, void* c) const override;
    AAX_Result Operation6(void* a) const override;
    AAX_Result Operation7(void* a, void* b, void* c) const override;
    AAX_Result Operation8(void* a, void* b, void* c, void* d, void* e) const override;
    AAX_Result Operation9(void* a) const override;
    AAX_Result Operation10(void* a) const override;
    AAX_Result Operation11(void* a) const override;
    AAX_Result Operation12(void* a, void* b) const override;
    AAX_Result Operation13(void* a, void* b) const override;
    AAX_Result Operation14(void* a) const override;

private:
    InterfacePtr<AAX_IACFTransport> mV1;
    InterfacePtr<AAX_IACFTransport_V2> mV2;
};
