#pragma once
// One parameter of an effect as the library and the effect see it: identifier, names,
// value with its taper and display, steps, and the path of changes through the host.

#include "AAX.h"
#include "AAX_IDisplayDelegate.h"
#include "AAX_ITaperDelegate.h"

class AAX_IAutomationDelegate;
class AAX_IString;

// A copy of a parameter's identifier and current value.
class AAX_IParameterValue {
public:
    virtual ~AAX_IParameterValue() {}
    virtual AAX_IParameterValue* Clone() const = 0;
    virtual AAX_CParamID Identifier() const = 0;
    // Only the form of the value's own type answers true.
    virtual bool GetValueAsBool(bool* value) const = 0;
    virtual bool GetValueAsInt32(int32_t* value) const = 0;
    virtual bool GetValueAsFloat(float* value) const = 0;
    virtual bool GetValueAsDouble(double* value) const = 0;
    virtual bool GetValueAsString(AAX_IString* value) const = 0;
};

enum AAX_EParameterType : int32_t {
    AAX_eParameterType_Discrete = 0,
    AAX_eParameterType_Continuous = 1,
};
typedef int32_t AAX_EParameterOrientation;

class AAX_IParameter {
public:
    virtual ~AAX_IParameter() {}
    virtual AAX_IParameterValue* CloneValue() const = 0;
    virtual AAX_CParamID Identifier() const = 0;
    virtual void SetName(const AAX_CString& name) = 0;
    virtual const AAX_CString& Name() const = 0;
    virtual void AddShortenedName(const AAX_CString& name) = 0;
    virtual const AAX_CString& ShortenedName(int32_t length) const = 0;
    virtual void ClearShortenedNames() = 0;
    virtual bool Automatable() const = 0;
    virtual void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) = 0;
    virtual void Touch() = 0;
    virtual void Release() = 0;
    virtual void SetNormalizedValue(double value) = 0;
    virtual double GetNormalizedValue() const = 0;
    virtual void SetNormalizedDefaultValue(double value) = 0;
    virtual double GetNormalizedDefaultValue() const = 0;
    virtual void SetToDefaultValue() = 0;
    virtual void SetNumberOfSteps(uint32_t steps) = 0;
    virtual uint32_t GetNumberOfSteps() const = 0;
    virtual uint32_t GetStepValue() const = 0;
    virtual double GetNormalizedValueFromStep(uint32_t step) const = 0;
    virtual uint32_t GetStepValueFromNormalizedValue(double value) const = 0;
    virtual void SetStepValue(uint32_t step) = 0;
    virtual bool GetValueString(int32_t maxLength, AAX_CString* text) const = 0;
    virtual bool GetValueString(AAX_CString* text) const = 0;
    virtual bool GetNormalizedValueFromBool(bool value, double* normalized) const = 0;
    virtual bool GetNormalizedValueFromInt32(int32_t value, double* normalized) const = 0;
    virtual bool GetNormalizedValueFromFloat(float value, double* normalized) const = 0;
    virtual bool GetNormalizedValueFromDouble(double value, double* normalized) const = 0;
    virtual bool GetNormalizedValueFromString(const AAX_CString& text,
                                              double* normalized) const = 0;
    virtual bool GetBoolFromNormalizedValue(double normalized, bool* value) const = 0;
    virtual bool GetInt32FromNormalizedValue(double normalized, int32_t* value) const = 0;
    virtual bool GetFloatFromNormalizedValue(double normalized, float* value) const = 0;
    virtual bool GetDoubleFromNormalizedValue(double normalized, double* value) const = 0;
    virtual bool GetStringFromNormalizedValue(double normalized, int32_t maxLength,
                                              AAX_CString* text) const = 0;
    virtual bool GetStringFromNormalizedValue(double normalized, AAX_CString* text) const = 0;
    virtual bool SetValueFromString(const AAX_CString& text) = 0;
    virtual bool GetValueAsBool(bool* value) const = 0;
    virtual bool GetValueAsInt32(int32_t* value) const = 0;
    virtual bool GetValueAsFloat(float* value) const = 0;
    virtual bool GetValueAsDouble(double* value) const = 0;
    virtual bool GetValueAsString(AAX_IString* value) const = 0;
    virtual bool SetValueWithBool(bool value) = 0;
    virtual bool SetValueWithInt32(int32_t value) = 0;
    virtual bool SetValueWithFloat(float value) = 0;
    virtual bool SetValueWithDouble(double value) = 0;
    virtual bool SetValueWithString(const AAX_IString& value) = 0;
    virtual void SetType(AAX_EParameterType type) = 0;
    virtual AAX_EParameterType GetType() const = 0;
    virtual void SetOrientation(AAX_EParameterOrientation orientation) = 0;
    virtual AAX_EParameterOrientation GetOrientation() const = 0;
    virtual void SetTaperDelegate(AAX_ITaperDelegateBase& taper, bool preserveValue) = 0;
    virtual void SetDisplayDelegate(AAX_IDisplayDelegateBase& display) = 0;
    // The host's confirmation of a value: stores it without asking the host again.
    virtual void UpdateNormalizedValue(double value) = 0;
};
