#pragma once
// The host services of the process, made through the host's component factory, with every
// version the host offers. Operations forward to the newest version that has them.

#include "AAX_IHostServices.h"
#include "InterfacePtr.h"

class AAX_VHostServices : public AAX_IHostServices {
public:
    explicit AAX_VHostServices(IACFUnknown* host);
    ~AAX_VHostServices() override;

    // Only version 3 reports assertions; without it -20004.
    AAX_Result HandleAssertFailure(const char* file, int32_t line, const char* note,
                                   int32_t flags) const override;
    AAX_Result Trace(int32_t priority, const char* message) const override;
    AAX_Result Operation3(void* a, void* b, void* c) const override;

private:
    InterfacePtr<AAX_IACFHostServices> mV1;
    InterfacePtr<AAX_IACFHostServices_V2> mV2;
    InterfacePtr<AAX_IACFHostServices_V3> mV3;
};
