#pragma once
// The data model of one effect instance: owns its parameters through the parameter manager,
// answers the host by parameter identifier, carries confirmed values into the parameters and
// the packet dispatcher, counts changes and offers the library's control-state chunk.
// Subclasses create their parameters in EffectInit. Takes no lock of its own; only the
// dispatcher's tables are guarded, so the host may confirm values and generate coefficients
// on different threads.

#include "AAX_CChunkDataParser.h"
#include "AAX_CPacketDispatcher.h"
#include "AAX_CParameterManager.h"
#include "AAX_IEffectParameters.h"
#include "CACFUnknown.h"

#include <set>
#include <string>

class AAX_VAutomationDelegate;
class AAX_VController;
class AAX_VTransport;
class AAX_IController;
class AAX_ITransport;
class AAX_IAutomationDelegate;

#define AAX_OVERRIDE(type) type ACFMETHODCALLTYPE

class AAX_CEffectParameters : public AAX_IEffectParameters, public CACFUnknown {
public:
    ACF_DELEGATING_UNKNOWN
    ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override;

    AAX_CEffectParameters();
    ~AAX_CEffectParameters() override;

    AAX_OVERRIDE(AAX_Result) Initialize(IACFUnknown* controller) override;
    AAX_OVERRIDE(AAX_Result) Uninitialize() override;
    AAX_OVERRIDE(AAX_Result)
    NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) override;
    AAX_OVERRIDE(AAX_Result) GetNumberOfParameters(int32_t* count) const override;
    AAX_OVERRIDE(AAX_Result) GetMasterBypassParameter(AAX_IString* id) const override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterIsAutomatable(AAX_CParamID id, AAX_CBoolean* out) const override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterNumberOfSteps(AAX_CParamID id, int32_t* steps) const override;
    AAX_OVERRIDE(AAX_Result) GetParameterName(AAX_CParamID id, AAX_IString* name) const override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length) const override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) const override;
    AAX_OVERRIDE(AAX_Result)
    SetParameterDefaultNormalizedValue(AAX_CParamID id, double value) override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterType(AAX_CParamID id, AAX_EParameterType* type) const override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterOrientation(AAX_CParamID id, AAX_EParameterOrientation* orientation) const override;
    AAX_OVERRIDE(AAX_Result) GetParameter(AAX_CParamID id, AAX_IParameter** parameter) override;
    AAX_OVERRIDE(AAX_Result) GetParameterIndex(AAX_CParamID id, int32_t* index) const override;
    AAX_OVERRIDE(AAX_Result) GetParameterIDFromIndex(int32_t index, AAX_IString* id) const override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterValueInfo(AAX_CParamID id, int32_t selector, int32_t* value) const override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterValueFromString(AAX_CParamID id, double* value,
                                const AAX_IString& text) const override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text,
                                int32_t maxLength) const override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterValueString(AAX_CParamID id, AAX_IString* text, int32_t maxLength) const override;
    AAX_OVERRIDE(AAX_Result)
    GetParameterNormalizedValue(AAX_CParamID id, double* value) const override;
    AAX_OVERRIDE(AAX_Result) SetParameterNormalizedValue(AAX_CParamID id, double value) override;
    AAX_OVERRIDE(AAX_Result) SetParameterNormalizedRelative(AAX_CParamID id, double delta) override;
    AAX_OVERRIDE(AAX_Result) TouchParameter(AAX_CParamID id) override;
    AAX_OVERRIDE(AAX_Result) ReleaseParameter(AAX_CParamID id) override;
    AAX_OVERRIDE(AAX_Result) UpdateParameterTouch(AAX_CParamID id, AAX_CBoolean touched) override;
    AAX_OVERRIDE(AAX_Result)
    UpdateParameterNormalizedValue(AAX_CParamID id, double value, int32_t source) override;
    AAX_OVERRIDE(AAX_Result)
    UpdateParameterNormalizedRelative(AAX_CParamID id, double delta) override;
    AAX_OVERRIDE(AAX_Result) GenerateCoefficients() override;
    AAX_OVERRIDE(AAX_Result)
    ResetFieldData(int32_t fieldIndex, void* data, uint32_t size) const override;
    AAX_OVERRIDE(AAX_Result) GetNumberOfChunks(int32_t* count) const override;
    AAX_OVERRIDE(AAX_Result) GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id) const override;
    AAX_OVERRIDE(AAX_Result) GetChunkSize(AAX_CTypeID id, uint32_t* size) const override;
    AAX_OVERRIDE(AAX_Result) GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk) const override;
    AAX_OVERRIDE(AAX_Result) SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk) override;
    AAX_OVERRIDE(AAX_Result)
    CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* equal) const override;
    AAX_OVERRIDE(AAX_Result) GetNumberOfChanges(int32_t* changes) const override;
    AAX_OVERRIDE(AAX_Result) TimerWakeup() override;
    AAX_OVERRIDE(AAX_Result)
    GetCurveData(AAX_CTypeID curve, const float* values, uint32_t count, float* out) const override;
    AAX_OVERRIDE(AAX_Result)
    GetCustomData(AAX_CTypeID block, uint32_t size, void* data, uint32_t* written) const override;
    AAX_OVERRIDE(AAX_Result)
    SetCustomData(AAX_CTypeID block, uint32_t size, const void* data) override;
    AAX_OVERRIDE(AAX_Result) DoMIDITransfers() override;
    AAX_OVERRIDE(AAX_Result) RenderAudio_Hybrid(void* renderInfo) override;
    AAX_OVERRIDE(AAX_Result) UpdateMIDINodes(int32_t fieldIndex, void* packet) override;
    AAX_OVERRIDE(AAX_Result) UpdateControlMIDINodes(AAX_CTypeID node, void* packet) override;
    AAX_OVERRIDE(AAX_Result)
    GetCurveDataMeterIds(AAX_CTypeID curve, uint32_t* xMeter, uint32_t* yMeter) const override;
    AAX_OVERRIDE(AAX_Result)
    GetCurveDataDisplayRange(AAX_CTypeID curve, float* xMin, float* xMax, float* yMin,
                             float* yMax) const override;
    AAX_OVERRIDE(AAX_Result)
    UpdatePageTable(uint32_t tableType, int32_t pageSize, IACFUnknown* host,
                    IACFUnknown* pageTable) const override;
    AAX_Result UpdatePageTable(uint32_t tableType, int32_t pageSize,
                               AAX_IPageTable& table) const override;

    AAX_IController* Controller() const;
    AAX_ITransport* Transport() const;
    AAX_IAutomationDelegate* AutomationDelegate() const;

protected:
    // Creates the effect's parameters and adds them to the manager. Main thread.
    virtual AAX_Result EffectInit() { return AAX_SUCCESS; }
    void ExcludeFromChunk(const char* identifier) { mFilteredParameters.insert(identifier); }
    // Fills the chunk list from the parameters.
    void BuildChunkData() const;

    int32_t mNumChanges = 0;
    mutable int32_t mChunkSize = 0;
    mutable AAX_CChunkDataParser mChunkParser;
    int32_t mNumChunkedParameters = 0;
    AAX_CPacketDispatcher mPacketDispatcher;
    AAX_CParameterManager mParameterManager;
    std::set<std::string> mFilteredParameters;

private:
    AAX_VController* mController = nullptr;
    AAX_VTransport* mTransport = nullptr;
    AAX_VAutomationDelegate* mAutomationDelegate = nullptr;
};

constexpr AAX_CTypeID kAAX_ControlsChunkID = 0x656C636B; // 'elck'
constexpr const char* kAAX_ControlsChunkName = "Complete Controls State";
constexpr const char* kAAX_MasterBypassID = "MasterBypassID";
constexpr const char* kAAX_PreviewID = "PreviewID";
