#pragma once
// One component of an effect: a processing procedure and its channel layout.
// Operations this library only forwards are named by their place in the interface, and
// arguments it never interprets are plain words (void*).

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IPropertyMap;

class AAX_IACFComponentDescriptor : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) Operation1() = 0;
    ACFMETHOD(AAX_Result) Operation2(void* a, void* b) = 0;
    // The fields of the algorithm context: each call declares one slot.
    ACFMETHOD(AAX_Result) AddAudioIn(AAX_CFieldIndex field) = 0;
    ACFMETHOD(AAX_Result) AddAudioOut(AAX_CFieldIndex field) = 0;
    ACFMETHOD(AAX_Result) AddAudioBufferLength(AAX_CFieldIndex field) = 0;
    ACFMETHOD(AAX_Result) Operation6(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation7(void* a) = 0;
    ACFMETHOD(AAX_Result) Operation8(void* a) = 0;
    ACFMETHOD(AAX_Result)
    AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType type) = 0;
    ACFMETHOD(AAX_Result) Operation10(void* a, void* b, void* c) = 0;
    ACFMETHOD(AAX_Result) Operation11(void* a, void* b, void* c) = 0;
    ACFMETHOD(AAX_Result) Operation12(void* a, void* b) = 0;
    ACFMETHOD(AAX_Result) Operation13(void* a, void* b, void* c, void* d) = 0;
    ACFMETHOD(AAX_Result)
    AddProcessProc_Native(AAX_CProcessProc proc, IACFUnknown* properties,
                          AAX_CProcessProc instanceInitProc, AAX_CProcessProc backgroundProc,
                          AAX_CTypeID* id) = 0;
    ACFMETHOD(AAX_Result)
    AddProcessProc_TI(const char* dllFileName, const char* procName, IACFUnknown* properties,
                      const char* instanceInitProcName, const char* backgroundProcName,
                      AAX_CTypeID* id) = 0;
    ACFMETHOD(AAX_Result)
    AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIds, uint32_t count) = 0;
};
class AAX_IACFComponentDescriptor_V2 : public AAX_IACFComponentDescriptor {
public:
    ACFMETHOD(AAX_Result) Operation17(void* a, void* b) = 0;
};
class AAX_IACFComponentDescriptor_V3 : public AAX_IACFComponentDescriptor_V2 {
public:
    // Registers every procedure the map names; ids is ended by 0 within size entries.
    ACFMETHOD(AAX_Result)
    AddProcessProc(IACFUnknown* properties, AAX_CTypeID* ids, int32_t size) = 0;
};
constexpr acfIID IID_IAAXComponentDescriptorV1 =
    acfUIDFromText("96E42C2D-E2BC-51EF-61C7-48994AEB0CDA");
constexpr acfIID IID_IAAXComponentDescriptorV2 =
    acfUIDFromText("1895259E-AAA9-4F0F-A985-149837B76F89");
constexpr acfIID IID_IAAXComponentDescriptorV3 =
    acfUIDFromText("979CFCD4-2BCB-43AE-9CD0-2D0ECD2ADCD5");
constexpr acfCLSID AAXCompID_ComponentDescriptor =
    acfUIDFromText("94872C3D-95BC-413D-D0DB-D9B12AAD0CCA");

class AAX_IComponentDescriptor {
public:
    virtual ~AAX_IComponentDescriptor() {}
    virtual AAX_Result Operation1() = 0;
    virtual AAX_Result AddAudioIn(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddAudioOut(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) = 0;
    virtual AAX_Result Operation5(void* a) = 0;
    virtual AAX_Result Operation6(void* a) = 0;
    virtual AAX_Result Operation7(void* a) = 0;
    virtual AAX_Result AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize,
                                     AAX_EDataInPortType type) = 0;
    virtual AAX_Result Operation9(void* a, void* b, void* c) = 0;
    virtual AAX_Result Operation10(void* a, void* b, void* c) = 0;
    virtual AAX_Result Operation11(void* a, void* b) = 0;
    virtual AAX_Result Operation12(void* a, void* b) = 0;
    virtual AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIds,
                                 uint32_t count) = 0;
    virtual AAX_Result Operation14(void* a, void* b, void* c, void* d) = 0;
    virtual AAX_Result Operation15(void* a, void* b) = 0;
    // Maps made here belong to this descriptor.
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* source) = 0;
    virtual AAX_Result AddProcessProc_Native(AAX_CProcessProc proc, AAX_IPropertyMap* properties,
                                             AAX_CProcessProc instanceInitProc,
                                             AAX_CProcessProc backgroundProc, AAX_CTypeID* id) = 0;
    virtual AAX_Result AddProcessProc_TI(const char* dllFileName, const char* procName,
                                         AAX_IPropertyMap* properties,
                                         const char* instanceInitProcName,
                                         const char* backgroundProcName, AAX_CTypeID* id) = 0;
    virtual AAX_Result AddProcessProc(AAX_IPropertyMap* properties, AAX_CTypeID* ids,
                                      int32_t size) = 0;
};
