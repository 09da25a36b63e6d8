#pragma once
// One component of an effect as the host describes it. Made and owned by an effect
// descriptor; owns the property maps made through it.

#include "AAX_IComponentDescriptor.h"
#include "AAX_VPropertyMap.h"
#include "InterfacePtr.h"

#include <memory>
#include <vector>

class AAX_VComponentDescriptor : public AAX_IComponentDescriptor {
public:
    explicit AAX_VComponentDescriptor(IACFUnknown* host);
    ~AAX_VComponentDescriptor() override;

    AAX_Result Operation1() override;
    AAX_Result AddAudioIn(AAX_CFieldIndex field) override;
    AAX_Result AddAudioOut(AAX_CFieldIndex field) override;
    AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) override;
    AAX_Result Operation5(void* a) override;
    AAX_Result Operation6(void* a) override;
    AAX_Result Operation7(void* a) override;
    AAX_Result AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize,
                             AAX_EDataInPortType type) override;
    AAX_Result Operation9(void* a, void* b, void* c) override;
    AAX_Result Operation10(void* a, void* b, void* c) override;
    AAX_Result Operation11(void* a, void* b) override;
    AAX_Result Operation12(void* a, void* b) override;
    AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIds,
                         uint32_t count) override;
    AAX_Result Operation14(void* a, void* b, void* c, void* d) override;
    AAX_Result Operation15(void* a, void* b) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    // A new map with every property from 10 to 401 of source.
    AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* source) override;
    AAX_Result AddProcessProc_Native(AAX_CProcessProc proc, AAX_IPropertyMap* properties,
                                     AAX_CProcessProc instanceInitProc,
                                     AAX_CProcessProc backgroundProc, AAX_CTypeID* id) override;
    AAX_Result AddProcessProc_TI(const char* dllFileName, const char* procName,
                                 AAX_IPropertyMap* properties, const char* instanceInitProcName,
                                 const char* backgroundProcName, AAX_CTypeID* id) override;
    // Hosts without the newest interface get the procedures one by one.
    AAX_Result AddProcessProc(AAX_IPropertyMap* properties, AAX_CTypeID* ids,
                              int32_t size) override;

    // The host's first interface, what an effect descriptor adds.
    IACFUnknown* HostInterface() const { return mV1.get(); }

private:
    AAX_Result ManuallyAddProcessProcs(AAX_IPropertyMap* properties, AAX_CTypeID* ids,
                                       int32_t size);

    InterfacePtr<IACFUnknown> mHostUnknown;
    InterfacePtr<AAX_IACFComponentDescriptor> mV1;
    InterfacePtr<AAX_IACFComponentDescriptor_V2> mV2;
    InterfacePtr<AAX_IACFComponentDescriptor_V3> mV3;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
