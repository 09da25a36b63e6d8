#pragma once
// The data model of one effect instance as the host sees it: parameters by identifier,
// values and texts, automation, coefficients, chunks.

#include "AAX.h"
#include "AAX_IParameter.h"
#include "ACFUnknown.h"

class AAX_IString;
class AAX_IPageTable;

typedef uint8_t AAX_CBoolean;

// The host's chunk record: a fixed header, then size bytes of data.
struct AAX_SPlugInChunkHeader {
    int32_t fSize;
    int32_t fVersion;
    AAX_CTypeID fManufacturerID;
    AAX_CTypeID fProductID;
    AAX_CTypeID fPlugInID;
    AAX_CTypeID fChunkID;
    unsigned char fName[32];
};
struct AAX_SPlugInChunk : AAX_SPlugInChunkHeader {
    unsigned char fData[1];
};
constexpr uint32_t kAAX_ChunkHeaderSize = sizeof(AAX_SPlugInChunkHeader);

class AAX_IACFEffectParameters : public IACFUnknown {
public:
    ACFMETHOD(AAX_Result) Initialize(IACFUnknown* controller) = 0;
    ACFMETHOD(AAX_Result) Uninitialize() = 0;
    ACFMETHOD(AAX_Result)
    NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) = 0;
    ACFMETHOD(AAX_Result) GetNumberOfParameters(int32_t* count) const = 0;
    ACFMETHOD(AAX_Result) GetMasterBypassParameter(AAX_IString* id) const = 0;
    ACFMETHOD(AAX_Result) GetParameterIsAutomatable(AAX_CParamID id, AAX_CBoolean* out) const = 0;
    ACFMETHOD(AAX_Result) GetParameterNumberOfSteps(AAX_CParamID id, int32_t* steps) const = 0;
    ACFMETHOD(AAX_Result) GetParameterName(AAX_CParamID id, AAX_IString* name) const = 0;
    ACFMETHOD(AAX_Result)
    GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length) const = 0;
    ACFMETHOD(AAX_Result)
    GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) const = 0;
    ACFMETHOD(AAX_Result) SetParameterDefaultNormalizedValue(AAX_CParamID id, double value) = 0;
    ACFMETHOD(AAX_Result) GetParameterType(AAX_CParamID id, AAX_EParameterType* type) const = 0;
    ACFMETHOD(AAX_Result)
    GetParameterOrientation(AAX_CParamID id, AAX_EParameterOrientation* orientation) const = 0;
    ACFMETHOD(AAX_Result) GetParameter(AAX_CParamID id, AAX_IParameter** parameter) = 0;
    ACFMETHOD(AAX_Result) GetParameterIndex(AAX_CParamID id, int32_t* index) const = 0;
    ACFMETHOD(AAX_Result) GetParameterIDFromIndex(int32_t index, AAX_IString* id) const = 0;
    ACFMETHOD(AAX_Result)
    GetParameterValueInfo(AAX_CParamID id, int32_t selector, int32_t* value) const = 0;
    ACFMETHOD(AAX_Result)
    GetParameterValueFromString(AAX_CParamID id, double* value, const AAX_IString& text) const = 0;
    ACFMETHOD(AAX_Result)
    GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text,
                                int32_t maxLength) const = 0;
    ACFMETHOD(AAX_Result)
    GetParameterValueString(AAX_CParamID id, AAX_IString* text, int32_t maxLength) const = 0;
    ACFMETHOD(AAX_Result) GetParameterNormalizedValue(AAX_CParamID id, double* value) const = 0;
    ACFMETHOD(AAX_Result) SetParameterNormalizedValue(AAX_CParamID id, double value) = 0;
    ACFMETHOD(AAX_Result) SetParameterNormalizedRelative(AAX_CParamID id, double delta) = 0;
    ACFMETHOD(AAX_Result) TouchParameter(AAX_CParamID id) = 0;
    ACFMETHOD(AAX_Result) ReleaseParameter(AAX_CParamID id) = 0;
    ACFMETHOD(AAX_Result) UpdateParameterTouch(AAX_CParamID id, AAX_CBoolean touched) = 0;
    ACFMETHOD(AAX_Result)
    UpdateParameterNormalizedValue(AAX_CParamID id, double value, int32_t source) = 0;
    ACFMETHOD(AAX_Result) UpdateParameterNormalizedRelative(AAX_CParamID id, double delta) = 0;
    ACFMETHOD(AAX_Result) GenerateCoefficients() = 0;
    ACFMETHOD(AAX_Result) ResetFieldData(int32_t fieldIndex, void* data, uint32_t size) const = 0;
    ACFMETHOD(AAX_Result) GetNumberOfChunks(int32_t* count) const = 0;
    ACFMETHOD(AAX_Result) GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id) const = 0;
    ACFMETHOD(AAX_Result) GetChunkSize(AAX_CTypeID id, uint32_t* size) const = 0;
    ACFMETHOD(AAX_Result) GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk) const = 0;
    ACFMETHOD(AAX_Result) SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk) = 0;
    ACFMETHOD(AAX_Result)
    CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* equal) const = 0;
    ACFMETHOD(AAX_Result) GetNumberOfChanges(int32_t* changes) const = 0;
    ACFMETHOD(AAX_Result) TimerWakeup() = 0;
    ACFMETHOD(AAX_Result)
    GetCurveData(AAX_CTypeID curve, const float* values, uint32_t count, float* out) const = 0;
};
class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters {
public:
    ACFMETHOD(AAX_Result)
    GetCustomData(AAX_CTypeID block, uint32_t size, void* data, uint32_t* written) const = 0;
    ACFMETHOD(AAX_Result) SetCustomData(AAX_CTypeID block, uint32_t size, const void* data) = 0;
    ACFMETHOD(AAX_Result) DoMIDITransfers() = 0;
};
class AAX_IACFEffectParameters_V3 : public AAX_IACFEffectParameters_V2 {
public:
    ACFMETHOD(AAX_Result) RenderAudio_Hybrid(void* renderInfo) = 0;
    ACFMETHOD(AAX_Result) UpdateMIDINodes(int32_t fieldIndex, void* packet) = 0;
    ACFMETHOD(AAX_Result) UpdateControlMIDINodes(AAX_CTypeID node, void* packet) = 0;
};
class AAX_IACFEffectParameters_V4 : public AAX_IACFEffectParameters_V3 {
public:
    ACFMETHOD(AAX_Result)
    GetCurveDataMeterIds(AAX_CTypeID curve, uint32_t* xMeter, uint32_t* yMeter) const = 0;
    ACFMETHOD(AAX_Result)
    GetCurveDataDisplayRange(AAX_CTypeID curve, float* xMin, float* xMax, float* yMin,
                             float* yMax) const = 0;
    ACFMETHOD(AAX_Result)
    UpdatePageTable(uint32_t tableType, int32_t pageSize, IACFUnknown* host,
                    IACFUnknown* pageTable) const = 0;
};
constexpr acfIID IID_IAAXEffectParametersV1 =
    acfUIDFromText("964E333D-334C-533F-C2C7-3834C3C23E3E");
constexpr acfIID IID_IAAXEffectParametersV2 =
    acfUIDFromText("F1F47D06-308F-4CC5-9C7C-50A83F8AB813");
constexpr acfIID IID_IAAXEffectParametersV3 =
    acfUIDFromText("D2540E9D-9163-42BB-A6FD-81E10EA32498");
constexpr acfIID IID_IAAXEffectParametersV4 =
    acfUIDFromText("2E485536-31A3-4697-9C16-E59BF6B28A41");

// The library's face of the same object.
class AAX_IEffectParameters : public AAX_IACFEffectParameters_V4 {
public:
    virtual AAX_Result UpdatePageTable(uint32_t tableType, int32_t pageSize,
                                       AAX_IPageTable& table) const = 0;
};

// Notification types the library reacts to.
constexpr AAX_CTypeID AAX_eNotificationEvent_ASPreviewState = 0x41535076; // 'ASPv'
// The host's sample rate or stem format changed; its controller answers the new one.
constexpr AAX_CTypeID AAX_eNotificationEvent_SampleRateChanged = 0x53526368; // 'SRch'
constexpr AAX_CTypeID AAX_eNotificationEvent_StemFormatChanged = 0x53466368; // 'SFch'
