#include "AAX_VHostServices.h"

AAX_VHostServices::AAX_VHostServices(IACFUnknown* host) {
    InterfacePtr<IACFComponentFactory> factory;
    if (!factory.Query(host, IID_IACFComponentFactory))
        return;
    mV1.Create(factory.get(), AAXCompID_HostServices, IID_IAAXHostServicesV1);
    mV2.Create(factory.get(), AAXCompID_HostServices, IID_IAAXHostServicesV2);
    mV3.Create(factory.get(), AAXCompID_HostServices, IID_IAAXHostServicesV3);
}

AAX_VHostServices::~AAX_VHostServices() {
    mV3.Release();
    mV2.Release();
    mV1.Release();
}

AAX_Result AAX_VHostServices::HandleAssertFailure(const char* file, int32_t line, const char* note,
                                                  int32_t flags) const {
    return mV3 ? mV3->HandleAssertFailure(file, line, note, flags) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VHostServices::Trace(int32_t priority, const char* message) const {
    return mV1 ? mV1->Trace(priority, message) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VHostServices::Operation3(void* a, void* b, void* c) const {
    return mV2 ? mV2->Operation3(a, b, c) : AAX_ERROR_UNIMPLEMENTED;
}
