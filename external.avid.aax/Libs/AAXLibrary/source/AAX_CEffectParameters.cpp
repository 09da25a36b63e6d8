#include "AAX_CEffectParameters.h"

#include "AAX_CString.h"
#include "AAX_Trace.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VPageTable.h"
#include "AAX_VTransport.h"

#include <cstring>
#include <limits>
#include <vector>

namespace {
constexpr size_t kMaxNameCopy = 255;
constexpr int32_t kChunkedCountLine = 128;
constexpr int32_t kMissingParameterLine = 815;

double clampUnit(double value) {
    return value < 0.0 ? 0.0 : value > 1.0 ? 1.0 : value;
}

// How a parameter's value goes into and out of the chunk: the first kind it answers.
enum class Kind { None, Float, Int32, Bool, Double, String };
Kind kindOf(const AAX_IParameter& parameter) {
    float f;
    int32_t i;
    bool b;
    double d;
    AAX_CString s;
    if (parameter.GetValueAsFloat(&f))
        return Kind::Float;
    if (parameter.GetValueAsInt32(&i))
        return Kind::Int32;
    if (parameter.GetValueAsBool(&b))
        return Kind::Bool;
    if (parameter.GetValueAsDouble(&d))
        return Kind::Double;
    if (parameter.GetValueAsString(&s))
        return Kind::String;
    return Kind::None;
}
} // namespace

AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters() {
    // A host that never uninitialised leaves the wrappers: the parameters unregister through
    // the automation wrapper first, then the wrappers go.
    if (mController)
        Uninitialize();
}

ACFRESULT AAX_CEffectParameters::InternalQueryInterface(const acfIID& iid, void** out) {
    if (out && (iid == IID_IAAXEffectParametersV1 || iid == IID_IAAXEffectParametersV2 ||
                iid == IID_IAAXEffectParametersV3 || iid == IID_IAAXEffectParametersV4)) {
        *out = static_cast<AAX_IACFEffectParameters_V4*>(this);
        AddRef();
        return ACF_OK;
    }
    return CACFUnknown::InternalQueryInterface(iid, out);
}

AAX_Result AAX_CEffectParameters::Initialize(IACFUnknown* controller) {
    mController = new AAX_VController(controller);
    mAutomationDelegate = new AAX_VAutomationDelegate(controller);
    mTransport = new AAX_VTransport(controller);
    mParameterManager.Initialize(mAutomationDelegate);
    mPacketDispatcher.Initialize(mController, this);
    const AAX_Result result = EffectInit();
    if (result != AAX_SUCCESS)
        return result;
    AAX_CString bypass;
    GetMasterBypassParameter(&bypass);
    ExcludeFromChunk(bypass.Get());
    int32_t count = 0;
    GetNumberOfParameters(&count);
    if (count > 0) {
        mNumChunkedParameters = count - static_cast<int32_t>(mFilteredParameters.size());
        if (mNumChunkedParameters < 0)
            AAX_HandleAssertFailure(__FILE__, kChunkedCountLine, "mNumChunkedParameters >= 0", 1);
    }
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::Uninitialize() {
    mParameterManager.RemoveAllParameters();
    mParameterManager.Initialize(nullptr);
    mPacketDispatcher.Initialize(nullptr, this);
    delete mController;
    delete mAutomationDelegate;
    delete mTransport;
    mController = nullptr;
    mAutomationDelegate = nullptr;
    mTransport = nullptr;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::NotificationReceived(AAX_CTypeID type, const void* data,
                                                       uint32_t size) {
    if (type == AAX_eNotificationEvent_ASPreviewState) {
        AAX_IParameter* preview = mParameterManager.FindParameter(kAAX_PreviewID);
        // Data shorter than one word carries no state.
        if (preview && data && size >= sizeof(int32_t)) {
            int32_t word;
            std::memcpy(&word, data, sizeof(word));
            preview->SetValueWithBool(word != 0);
        }
    }
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfParameters(int32_t* count) const {
    if (!count)
        return AAX_ERROR_NULL_ARGUMENT;
    *count = mParameterManager.NumParameters();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter(AAX_IString* id) const {
    if (!id)
        return AAX_ERROR_NULL_ARGUMENT;
    id->Set(mParameterManager.FindParameter(kAAX_MasterBypassID) ? kAAX_MasterBypassID : "");
    return AAX_SUCCESS;
}

#define AAX_FIND_PARAMETER(name, id)                                                               \
    AAX_IParameter* name = mParameterManager.FindParameter(id);                                    \
    if (!name)                                                                                     \
        return AAX_ERROR_INVALID_PARAMETER_ID;

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable(AAX_CParamID id,
                                                            AAX_CBoolean* out) const {
    if (!out)
        return AAX_ERROR_NULL_ARGUMENT;
    *out = 0;
    AAX_FIND_PARAMETER(parameter, id);
    *out = parameter->Automatable();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps(AAX_CParamID id, int32_t* steps) const {
    AAX_FIND_PARAMETER(parameter, id);
    if (!steps)
        return AAX_ERROR_NULL_ARGUMENT;
    const uint32_t count = parameter->GetNumberOfSteps();
    if (count > uint32_t(std::numeric_limits<int32_t>::max()))
        return AAX_ERROR_SIGNED_INT_OVERFLOW;
    *steps = static_cast<int32_t>(count);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterName(AAX_CParamID id, AAX_IString* name) const {
    if (!name)
        return AAX_ERROR_NULL_ARGUMENT;
    AAX_IParameter* parameter = mParameterManager.FindParameter(id);
    name->Set(parameter ? parameter->Name().Get() : "");
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name,
                                                           int32_t length) const {
    if (!name)
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    AAX_IParameter* parameter = mParameterManager.FindParameter(id);
    if (!parameter) {
        name->Set("");
        return AAX_SUCCESS;
    }
    const AAX_CString& shortened = parameter->ShortenedName(length);
    const std::string copy(shortened.Get(), std::min<size_t>(shortened.Length(), kMaxNameCopy));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < copy.size()) {
        size_t end = copy.find('\n', start);
        if (end == std::string::npos)
            end = copy.size();
        lines.push_back(copy.substr(start, end - start));
        start = end + 1;
    }
    size_t best = 0;
    for (const std::string& line : lines)
        if (line.size() > best && int64_t(line.size()) <= length) {
            best = line.size();
            name->Set(line.c_str());
        }
    if (best == 0 && !lines.empty()) {
        if (length < 1)
            name->Set("");
        else
            name->Set(copy.substr(0, size_t(length)).c_str());
    }
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue(AAX_CParamID id,
                                                                     double* value) const {
    AAX_FIND_PARAMETER(parameter, id);
    if (!value)
        return AAX_ERROR_NULL_ARGUMENT;
    *value = parameter->GetNormalizedDefaultValue();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue(AAX_CParamID id,
                                                                     double value) {
    AAX_FIND_PARAMETER(parameter, id);
    parameter->SetNormalizedDefaultValue(value);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterType(AAX_CParamID id,
                                                   AAX_EParameterType* type) const {
    AAX_FIND_PARAMETER(parameter, id);
    if (!type)
        return AAX_ERROR_NULL_ARGUMENT;
    *type = parameter->GetType();
    return AAX_SUCCESS;
}

AAX_Result
AAX_CEffectParameters::GetParameterOrientation(AAX_CParamID id,
                                               AAX_EParameterOrientation* orientation) const {
    AAX_FIND_PARAMETER(parameter, id);
    if (!orientation)
        return AAX_ERROR_NULL_ARGUMENT;
    *orientation = parameter->GetOrientation();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameter(AAX_CParamID id, AAX_IParameter** parameter) {
    if (!parameter)
        return AAX_ERROR_NULL_ARGUMENT;
    *parameter = mParameterManager.FindParameter(id);
    return *parameter ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIndex(AAX_CParamID id, int32_t* index) const {
    if (!index)
        return AAX_ERROR_NULL_ARGUMENT;
    *index = mParameterManager.IndexOfParameter(id);
    return *index < 0 ? AAX_ERROR_INVALID_PARAMETER_ID : AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex(int32_t index, AAX_IString* id) const {
    if (!id)
        return AAX_ERROR_NULL_ARGUMENT;
    AAX_IParameter* parameter = mParameterManager.GetParameter(index);
    id->Set(parameter ? parameter->Identifier() : "");
    return parameter ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterValueInfo(AAX_CParamID, int32_t,
                                                        int32_t* value) const {
    if (value)
        *value = 0;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString(AAX_CParamID id, double* value,
                                                              const AAX_IString& text) const {
    AAX_FIND_PARAMETER(parameter, id);
    if (!value)
        return AAX_ERROR_NULL_ARGUMENT;
    double parsed = 0.0;
    if (!parameter->GetNormalizedValueFromString(AAX_CString(text), &parsed))
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    *value = parsed;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue(AAX_CParamID id, double value,
                                                              AAX_IString* text,
                                                              int32_t maxLength) const {
    AAX_FIND_PARAMETER(parameter, id);
    if (!text)
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    AAX_CString result;
    const bool ok = parameter->GetStringFromNormalizedValue(value, maxLength, &result);
    *text = result;
    return ok ? AAX_SUCCESS : AAX_ERROR_INVALID_STRING_CONVERSION;
}

AAX_Result AAX_CEffectParameters::GetParameterValueString(AAX_CParamID id, AAX_IString* text,
                                                          int32_t maxLength) const {
    AAX_FIND_PARAMETER(parameter, id);
    if (!text)
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    AAX_CString result;
    const bool ok = parameter->GetValueString(maxLength, &result);
    *text = result;
    return ok ? AAX_SUCCESS : AAX_ERROR_INVALID_STRING_CONVERSION;
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue(AAX_CParamID id,
                                                              double* value) const {
    AAX_FIND_PARAMETER(parameter, id);
    if (!value)
        return AAX_ERROR_NULL_ARGUMENT;
    *value = parameter->GetNormalizedValue();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue(AAX_CParamID id, double value) {
    AAX_FIND_PARAMETER(parameter, id);
    parameter->SetNormalizedValue(value);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative(AAX_CParamID id, double delta) {
    double value = 0.0;
    const AAX_Result result = GetParameterNormalizedValue(id, &value);
    if (result != AAX_SUCCESS)
        return result;
    return SetParameterNormalizedValue(id, clampUnit(value + delta));
}

AAX_Result AAX_CEffectParameters::TouchParameter(AAX_CParamID id) {
    AAX_FIND_PARAMETER(parameter, id);
    parameter->Touch();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ReleaseParameter(AAX_CParamID id) {
    AAX_FIND_PARAMETER(parameter, id);
    parameter->Release();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterTouch(AAX_CParamID, AAX_CBoolean) {
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue(AAX_CParamID id, double value,
                                                                 int32_t) {
    AAX_FIND_PARAMETER(parameter, id);
    const double old = parameter->GetNormalizedValue();
    parameter->UpdateNormalizedValue(value);
    const AAX_Result result = mPacketDispatcher.SetDirty(id, true);
    if (!(old == value))
        ++mNumChanges;
    return result;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative(AAX_CParamID id, double delta) {
    double value = 0.0;
    const AAX_Result result = GetParameterNormalizedValue(id, &value);
    if (result != AAX_SUCCESS)
        return result;
    return UpdateParameterNormalizedValue(id, clampUnit(value + delta), 0);
}

AAX_Result AAX_CEffectParameters::GenerateCoefficients() {
    return mPacketDispatcher.Dispatch();
}

AAX_Result AAX_CEffectParameters::ResetFieldData(int32_t, void* data, uint32_t size) const {
    if (data)
        std::memset(data, 0, size);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChunks(int32_t* count) const {
    if (!count)
        return AAX_ERROR_NULL_ARGUMENT;
    *count = 1;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* id) const {
    if (!id)
        return AAX_ERROR_NULL_ARGUMENT;
    *id = index == 0 ? kAAX_ControlsChunkID : 0;
    return index == 0 ? AAX_SUCCESS : AAX_ERROR_INVALID_CHUNK_INDEX;
}

void AAX_CEffectParameters::BuildChunkData() const {
    mChunkParser.StartRebuild();
    int32_t count = 0;
    GetNumberOfParameters(&count);
    for (int32_t index = 0; index < count; ++index) {
        const AAX_IParameter* parameter = mParameterManager.GetParameter(index);
        if (!parameter) {
            AAX_HandleAssertFailure(__FILE__, kMissingParameterLine, "NULL != parameter", 1);
            continue;
        }
        if (mFilteredParameters.count(parameter->Identifier()))
            continue;
        const char* name = parameter->Identifier();
        float f = 0;
        int32_t i = 0;
        bool b = false;
        double d = 0;
        AAX_CString s;
        switch (kindOf(*parameter)) {
        case Kind::Float:
            parameter->GetValueAsFloat(&f);
            mChunkParser.AddDouble(name, f);
            break;
        case Kind::Int32:
            parameter->GetValueAsInt32(&i);
            mChunkParser.AddInt32(name, i);
            break;
        case Kind::Bool:
            parameter->GetValueAsBool(&b);
            mChunkParser.AddInt32(name, b ? 1 : 0);
            break;
        case Kind::Double:
            parameter->GetValueAsDouble(&d);
            mChunkParser.AddDouble(name, d);
            break;
        case Kind::String:
            parameter->GetValueAsString(&s);
            mChunkParser.AddString(name, s.Get());
            break;
        case Kind::None:
            break;
        }
    }
}

AAX_Result AAX_CEffectParameters::GetChunkSize(AAX_CTypeID id, uint32_t* size) const {
    if (!size)
        return AAX_ERROR_NULL_ARGUMENT;
    if (id != kAAX_ControlsChunkID) {
        *size = 0;
        return AAX_ERROR_INVALID_CHUNK_ID;
    }
    BuildChunkData();
    mChunkSize = mChunkParser.GetChunkDataSize();
    if (mChunkSize < 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    *size = static_cast<uint32_t>(mChunkSize);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunk(AAX_CTypeID id, AAX_SPlugInChunk* chunk) const {
    if (id != kAAX_ControlsChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;
    if (!chunk)
        return AAX_ERROR_NULL_ARGUMENT;
    BuildChunkData();
    // The host sized the record by the last GetChunkSize: a different size would overflow it.
    if (mChunkParser.GetChunkDataSize() != mChunkSize || mChunkSize == 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    chunk->fVersion = mChunkParser.ChunkVersion();
    std::memset(chunk->fName, 0, sizeof(chunk->fName));
    std::memcpy(chunk->fName, kAAX_ControlsChunkName, std::strlen(kAAX_ControlsChunkName));
    return mChunkParser.GetChunkData(chunk);
}

AAX_Result AAX_CEffectParameters::SetChunk(AAX_CTypeID id, const AAX_SPlugInChunk* chunk) {
    if (id != kAAX_ControlsChunkID)
        return AAX_ERROR_INVALID_CHUNK_ID;
    if (!chunk)
        return AAX_ERROR_NULL_ARGUMENT;
    mChunkParser.LoadChunk(chunk, std::numeric_limits<uint32_t>::max());
    for (int32_t index = 0; index < mParameterManager.NumParameters(); ++index) {
        AAX_IParameter* parameter = mParameterManager.GetParameter(index);
        if (!parameter || mFilteredParameters.count(parameter->Identifier()))
            continue;
        const char* name = parameter->Identifier();
        double d;
        int32_t i;
        AAX_CString s;
        switch (kindOf(*parameter)) {
        case Kind::Float:
            if (mChunkParser.GetDouble(name, &d))
                parameter->SetValueWithFloat(static_cast<float>(d));
            break;
        case Kind::Double:
            if (mChunkParser.GetDouble(name, &d))
                parameter->SetValueWithDouble(d);
            break;
        case Kind::Int32:
            if (mChunkParser.GetInt32(name, &i))
                parameter->SetValueWithInt32(i);
            break;
        case Kind::Bool:
            if (mChunkParser.GetInt32(name, &i))
                parameter->SetValueWithBool(i != 0);
            break;
        case Kind::String:
            if (mChunkParser.GetString(name, &s))
                parameter->SetValueWithString(s);
            break;
        case Kind::None:
            break;
        }
    }
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk(const AAX_SPlugInChunk* chunk,
                                                     AAX_CBoolean* equal) const {
    if (!chunk || !equal)
        return AAX_ERROR_NULL_ARGUMENT;
    if (chunk->fChunkID != kAAX_ControlsChunkID) {
        *equal = 1;
        return AAX_SUCCESS;
    }
    *equal = 0;
    mChunkParser.LoadChunk(chunk, std::numeric_limits<uint32_t>::max());
    if (mParameterManager.NumParameters() == 0) {
        *equal = 1;
        return AAX_SUCCESS;
    }
    for (int32_t index = 0; index < mParameterManager.NumParameters(); ++index) {
        const AAX_IParameter* parameter = mParameterManager.GetParameter(index);
        if (!parameter || mFilteredParameters.count(parameter->Identifier()))
            continue;
        const char* name = parameter->Identifier();
        double d, current = 0;
        int32_t i, currentInt = 0;
        float f = 0;
        bool b = false;
        AAX_CString s, currentText;
        bool same = false;
        switch (kindOf(*parameter)) {
        case Kind::Float:
            same = mChunkParser.GetDouble(name, &d) && parameter->GetValueAsFloat(&f) && d == f;
            break;
        case Kind::Double:
            same = mChunkParser.GetDouble(name, &d) && parameter->GetValueAsDouble(&current) &&
                   d == current;
            break;
        case Kind::Int32:
            same = mChunkParser.GetInt32(name, &i) && parameter->GetValueAsInt32(&currentInt) &&
                   i == currentInt;
            break;
        case Kind::Bool:
            same =
                mChunkParser.GetInt32(name, &i) && parameter->GetValueAsBool(&b) && (i != 0) == b;
            break;
        case Kind::String:
            same = mChunkParser.GetString(name, &s) && parameter->GetValueAsString(&currentText) &&
                   s == currentText;
            break;
        case Kind::None:
            same = true;
            break;
        }
        if (!same)
            return AAX_SUCCESS;
    }
    *equal = 1;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChanges(int32_t* changes) const {
    if (!changes)
        return AAX_ERROR_NULL_ARGUMENT;
    if (mNumChanges >= 0)
        *changes = mNumChanges;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::TimerWakeup() {
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetCurveData(AAX_CTypeID, const float*, uint32_t, float*) const {
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCustomData(AAX_CTypeID, uint32_t, void*,
                                                uint32_t* written) const {
    if (written)
        *written = 0;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetCustomData(AAX_CTypeID, uint32_t, const void*) {
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::DoMIDITransfers() {
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::RenderAudio_Hybrid(void*) {
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::UpdateMIDINodes(int32_t, void*) {
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateControlMIDINodes(AAX_CTypeID, void*) {
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetCurveDataMeterIds(AAX_CTypeID, uint32_t*, uint32_t*) const {
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCurveDataDisplayRange(AAX_CTypeID, float*, float*, float*,
                                                           float*) const {
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::UpdatePageTable(uint32_t tableType, int32_t pageSize,
                                                  IACFUnknown*, IACFUnknown* pageTable) const {
    AAX_VPageTable table(pageTable);
    return table.HasHostTable() ? UpdatePageTable(tableType, pageSize, table) : AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdatePageTable(uint32_t, int32_t, AAX_IPageTable&) const {
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_IController* AAX_CEffectParameters::Controller() const {
    return mController;
}

AAX_ITransport* AAX_CEffectParameters::Transport() const {
    return mTransport;
}

AAX_IAutomationDelegate* AAX_CEffectParameters::AutomationDelegate() const {
    return mAutomationDelegate;
}
