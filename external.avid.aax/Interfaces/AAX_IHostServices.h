#pragma once
// Host services: tracing and assertion reports to the host.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IACFHostServices : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) Operation1(const char* file, int32_t line, const char* note) = 0;
    ACFMETHOD(AAX_Result) Trace(int32_t priority, const char* message) = 0;
};
class AAX_IACFHostServices_V2 : public AAX_IACFHostServices {
public:
    ACFMETHOD(AAX_Result) Operation3(void* a, void* b, void* c) = 0;
};
class AAX_IACFHostServices_V3 : public AAX_IACFHostServices_V2 {
public:
    ACFMETHOD(AAX_Result)
    HandleAssertFailure(const char* file, int32_t line, const char* note, int32_t flags) = 0;
};
constexpr acfIID IID_IAAXHostServicesV1 = acfUIDFromText("96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA");
constexpr acfIID IID_IAAXHostServicesV2 = acfUIDFromText("A207EE9E-B442-11E4-A71E-12E3F512A338");
constexpr acfIID IID_IAAXHostServicesV3 = acfUIDFromText("12BEA399-9A4F-4353-8098-3916FA71898D");
constexpr acfCLSID AAXCompID_HostServices = acfUIDFromText("88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA");

class AAX_IHostServices {
public:
    virtual ~AAX_IHostServices() {}
    virtual AAX_Result HandleAssertFailure(const char* file, int32_t line, const char* note,
                                           int32_t flags) const = 0;
    virtual AAX_Result Trace(int32_t priority, const char* message) const = 0;
    virtual AAX_Result Operation3(void* a, void* b, void* c) const = 0;
};
