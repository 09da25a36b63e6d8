#pragma once
// A parameter of value type T (double or bool here): identifier, names, value, default,
// steps, and owned clones of its taper and display delegates. Changes the effect makes go
// to the host through the automation delegate and come back through UpdateNormalizedValue.
// No lock: the effect's owner serialises access.

#include "AAX_CString.h"
#include "AAX_IAutomationDelegate.h"
#include "AAX_IParameter.h"
#include "AAX_IString.h"
#include "AAX_Trace.h"

#include <cstring>
#include <map>
#include <type_traits>

enum { eParemeterDefaultMaxIdentifierSize = 32 };

namespace AAX_ParameterDetail {
constexpr int32_t kLongIdentifierLine = 193;
constexpr int32_t kZeroStepsLine = 833;
constexpr const char* kFile = "AAX_CParameter.h";

// The value of type T stored through out, when U is T.
template <typename T, typename U> bool store(const T& value, U* out) {
    if constexpr (std::is_same<T, U>::value) {
        *out = value;
        return true;
    } else {
        (void)value;
        (void)out;
        return false;
    }
}
} // namespace AAX_ParameterDetail

template <typename T> class AAX_CParameterValue : public AAX_IParameterValue {
public:
    AAX_CParameterValue(AAX_CParamID identifier, T value = T()) : mValue(value) {
        std::memset(mIdentifier, 0, sizeof(mIdentifier));
        const size_t length = identifier ? std::strlen(identifier) : 0;
        if (length >= eParemeterDefaultMaxIdentifierSize)
            AAX_HandleAssertFailure(AAX_ParameterDetail::kFile,
                                    AAX_ParameterDetail::kLongIdentifierLine,
                                    "len < eParemeterDefaultMaxIdentifierSize", 1);
        if (identifier)
            std::strncpy(mIdentifier, identifier, eParemeterDefaultMaxIdentifierSize - 1);
    }
    AAX_CParameterValue* Clone() const override { return new AAX_CParameterValue(*this); }
    AAX_CParamID Identifier() const override { return mIdentifier; }
    bool GetValueAsBool(bool* value) const override {
        return AAX_ParameterDetail::store(mValue, value);
    }
    bool GetValueAsInt32(int32_t* value) const override {
        return AAX_ParameterDetail::store(mValue, value);
    }
    bool GetValueAsFloat(float* value) const override {
        return AAX_ParameterDetail::store(mValue, value);
    }
    bool GetValueAsDouble(double* value) const override {
        return AAX_ParameterDetail::store(mValue, value);
    }
    bool GetValueAsString(AAX_IString*) const override { return false; }

    const T& Get() const { return mValue; }
    void Set(const T& value) { mValue = value; }

private:
    char mIdentifier[eParemeterDefaultMaxIdentifierSize];
    T mValue;
};

template <typename T> class AAX_CParameter : public AAX_IParameter {
public:
    AAX_CParameter(AAX_CParamID identifier, const AAX_IString& name, T defaultValue,
                   const AAX_ITaperDelegate<T>& taper, const AAX_IDisplayDelegate<T>& display,
                   bool automatable = false)
        : mName(name), mAutomatable(automatable), mTaper(taper.Clone()), mDisplay(display.Clone()),
          mValue(identifier, defaultValue), mDefault(defaultValue) {
        SetToDefaultValue();
    }
    AAX_CParameter(const AAX_CParameter&) = delete;
    AAX_CParameter& operator=(const AAX_CParameter&) = delete;
    ~AAX_CParameter() override {
        SetAutomationDelegate(nullptr);
        delete mTaper;
        delete mDisplay;
    }

    AAX_IParameterValue* CloneValue() const override { return mValue.Clone(); }
    AAX_CParamID Identifier() const override { return mValue.Identifier(); }
    void SetName(const AAX_CString& name) override { mName = name; }
    const AAX_CString& Name() const override { return mName; }
    void AddShortenedName(const AAX_CString& name) override {
        mShortenedNames[static_cast<int32_t>(name.Length())] = name;
    }
    const AAX_CString& ShortenedName(int32_t length) const override {
        if (length < 0 || length >= static_cast<int64_t>(mName.Length()) || mShortenedNames.empty())
            return mName;
        auto above = mShortenedNames.upper_bound(length);
        return above == mShortenedNames.begin() ? above->second : std::prev(above)->second;
    }
    void ClearShortenedNames() override { mShortenedNames.clear(); }
    bool Automatable() const override { return mAutomatable; }
    void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) override {
        if (mAutomation)
            mAutomation->UnregisterParameter(Identifier());
        mAutomation = delegate;
        if (mAutomation)
            mAutomation->RegisterParameter(Identifier());
    }
    void Touch() override {
        if (mAutomation)
            mAutomation->PostTouchRequest(Identifier());
    }
    void Release() override {
        if (mAutomation)
            mAutomation->PostReleaseRequest(Identifier());
    }
    void SetNormalizedValue(double value) override {
        request(mTaper->RealToNormalized(mTaper->NormalizedToReal(value)));
    }
    double GetNormalizedValue() const override { return mTaper->RealToNormalized(mValue.Get()); }
    void SetNormalizedDefaultValue(double value) override {
        mDefault = mTaper->ConstrainRealValue(mTaper->NormalizedToReal(value));
    }
    double GetNormalizedDefaultValue() const override { return mTaper->RealToNormalized(mDefault); }
    void SetToDefaultValue() override { request(GetNormalizedDefaultValue()); }
    void SetNumberOfSteps(uint32_t steps) override {
        if (steps == 0) {
            AAX_HandleAssertFailure(AAX_ParameterDetail::kFile, AAX_ParameterDetail::kZeroStepsLine,
                                    "0 < numSteps", 1);
            return;
        }
        mSteps = steps;
    }
    uint32_t GetNumberOfSteps() const override { return mSteps; }
    uint32_t GetStepValue() const override {
        return GetStepValueFromNormalizedValue(GetNormalizedValue());
    }
    double GetNormalizedValueFromStep(uint32_t step) const override {
        const double steps = mSteps;
        if (steps < 2)
            return 0.0;
        return clamp(step * (1.0 / (steps - 1)), 0.0, 1.0);
    }
    uint32_t GetStepValueFromNormalizedValue(double value) const override {
        const double steps = mSteps;
        if (steps < 2)
            return 0;
        return static_cast<uint32_t>(clamp(value / (1.0 / (steps - 1)) + 0.5, 0.0, steps - 1));
    }
    void SetStepValue(uint32_t step) override {
        if (mSteps >= 2)
            SetNormalizedValue(GetNormalizedValueFromStep(step));
    }
    bool GetValueString(int32_t, AAX_CString* text) const override {
        return mDisplay->ValueToString(mValue.Get(), text);
    }
    bool GetValueString(AAX_CString* text) const override {
        return mDisplay->ValueToString(mValue.Get(), text);
    }
    bool GetNormalizedValueFromBool(bool value, double* normalized) const override {
        return normalizedFrom(value, normalized);
    }
    bool GetNormalizedValueFromInt32(int32_t value, double* normalized) const override {
        return normalizedFrom(value, normalized);
    }
    bool GetNormalizedValueFromFloat(float value, double* normalized) const override {
        return normalizedFrom(value, normalized);
    }
    bool GetNormalizedValueFromDouble(double value, double* normalized) const override {
        return normalizedFrom(value, normalized);
    }
    bool GetNormalizedValueFromString(const AAX_CString& text, double* normalized) const override {
        T value;
        if (!mDisplay->StringToValue(text, &value))
            return false;
        *normalized = mTaper->RealToNormalized(value);
        return true;
    }
    bool GetBoolFromNormalizedValue(double normalized, bool* value) const override {
        return AAX_ParameterDetail::store(mTaper->NormalizedToReal(normalized), value);
    }
    bool GetInt32FromNormalizedValue(double normalized, int32_t* value) const override {
        return AAX_ParameterDetail::store(mTaper->NormalizedToReal(normalized), value);
    }
    bool GetFloatFromNormalizedValue(double normalized, float* value) const override {
        return AAX_ParameterDetail::store(mTaper->NormalizedToReal(normalized), value);
    }
    bool GetDoubleFromNormalizedValue(double normalized, double* value) const override {
        return AAX_ParameterDetail::store(mTaper->NormalizedToReal(normalized), value);
    }
    bool GetStringFromNormalizedValue(double normalized, int32_t maxLength,
                                      AAX_CString* text) const override {
        const T real = mTaper->NormalizedToReal(normalized);
        return mDisplay->ValueToString(real, maxLength, text) && inRange(real);
    }
    bool GetStringFromNormalizedValue(double normalized, AAX_CString* text) const override {
        const T real = mTaper->NormalizedToReal(normalized);
        return mDisplay->ValueToString(real, text) && inRange(real);
    }
    bool SetValueFromString(const AAX_CString& text) override {
        T value;
        if (!mDisplay->StringToValue(text, &value))
            return false;
        setReal(value);
        return true;
    }
    bool GetValueAsBool(bool* value) const override { return mValue.GetValueAsBool(value); }
    bool GetValueAsInt32(int32_t* value) const override { return mValue.GetValueAsInt32(value); }
    bool GetValueAsFloat(float* value) const override { return mValue.GetValueAsFloat(value); }
    bool GetValueAsDouble(double* value) const override { return mValue.GetValueAsDouble(value); }
    bool GetValueAsString(AAX_IString* value) const override {
        if (!value)
            return false;
        AAX_CString text;
        const bool ok = GetValueString(&text);
        if (ok)
            *value = text;
        return ok;
    }
    bool SetValueWithBool(bool value) override { return setTyped(value); }
    bool SetValueWithInt32(int32_t value) override { return setTyped(value); }
    bool SetValueWithFloat(float value) override { return setTyped(value); }
    bool SetValueWithDouble(double value) override { return setTyped(value); }
    bool SetValueWithString(const AAX_IString& value) override {
        return SetValueFromString(AAX_CString(value));
    }
    void SetType(AAX_EParameterType type) override { mType = type; }
    AAX_EParameterType GetType() const override { return mType; }
    void SetOrientation(AAX_EParameterOrientation orientation) override {
        mOrientation = orientation;
    }
    AAX_EParameterOrientation GetOrientation() const override { return mOrientation; }
    void SetTaperDelegate(AAX_ITaperDelegateBase& taper, bool preserveValue) override {
        auto* typed = dynamic_cast<AAX_ITaperDelegate<T>*>(&taper);
        if (!typed)
            return;
        const double normalized = GetNormalizedValue();
        AAX_ITaperDelegate<T>* clone = typed->Clone();
        delete mTaper;
        mTaper = clone;
        mNeedNotify = true;
        if (preserveValue)
            setReal(mValue.Get());
        else
            UpdateNormalizedValue(normalized);
    }
    void SetDisplayDelegate(AAX_IDisplayDelegateBase& display) override {
        auto* typed = dynamic_cast<AAX_IDisplayDelegate<T>*>(&display);
        if (!typed)
            return;
        AAX_IDisplayDelegate<T>* clone = typed->Clone();
        delete mDisplay;
        mDisplay = clone;
        if (mAutomation)
            mAutomation->PostCurrentValue(Identifier(), GetNormalizedValue());
    }
    void UpdateNormalizedValue(double value) override {
        const T real = mTaper->NormalizedToReal(value);
        if (!mNeedNotify && real == mValue.Get())
            return;
        mValue.Set(real);
        if (mAutomation)
            mAutomation->PostCurrentValue(Identifier(), value);
        mNeedNotify = false;
    }

    const AAX_ITaperDelegate<T>* TaperDelegate() const { return mTaper; }
    const AAX_IDisplayDelegate<T>* DisplayDelegate() const { return mDisplay; }

private:
    static double clamp(double value, double low, double high) {
        return value < low ? low : value > high ? high : value;
    }
    bool inRange(const T& real) const {
        return !(real > mTaper->GetMaximumValue()) && !(real < mTaper->GetMinimumValue());
    }
    template <typename U> bool normalizedFrom(U value, double* normalized) const {
        if constexpr (std::is_same<T, U>::value) {
            *normalized = mTaper->RealToNormalized(value);
            return true;
        } else {
            (void)value;
            (void)normalized;
            return false;
        }
    }
    template <typename U> bool setTyped(U value) {
        if constexpr (std::is_same<T, U>::value) {
            setReal(value);
            return true;
        } else {
            (void)value;
            return false;
        }
    }
    void setReal(const T& value) { request(mTaper->RealToNormalized(value)); }
    // Without an automation delegate the value is stored at once; with one the host is asked
    // and the value changes only when the host confirms it.
    void request(double normalized) {
        if (!mAutomation) {
            mNeedNotify = true;
            UpdateNormalizedValue(normalized);
            return;
        }
        Touch();
        mAutomation->PostSetValueRequest(Identifier(), normalized);
        Release();
    }

    AAX_CString mName;
    std::map<int32_t, AAX_CString> mShortenedNames;
    bool mAutomatable;
    uint32_t mSteps = 128;
    AAX_EParameterType mType = AAX_eParameterType_Continuous;
    AAX_EParameterOrientation mOrientation = 0;
    AAX_ITaperDelegate<T>* mTaper;
    AAX_IDisplayDelegate<T>* mDisplay;
    AAX_IAutomationDelegate* mAutomation = nullptr;
    bool mNeedNotify = true;
    AAX_CParameterValue<T> mValue;
    T mDefault;
};
