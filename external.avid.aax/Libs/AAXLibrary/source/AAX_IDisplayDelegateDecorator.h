#pragma once
// A display delegate that wraps another and forwards to it; decorators override what they add.

#include "AAX_IDisplayDelegate.h"

template <typename T> class AAX_IDisplayDelegateDecorator : public AAX_IDisplayDelegate<T> {
public:
    explicit AAX_IDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& wrapped)
        : mWrapped(wrapped.Clone()) {}
    AAX_IDisplayDelegateDecorator(const AAX_IDisplayDelegateDecorator& other)
        : mWrapped(other.mWrapped->Clone()) {}
    AAX_IDisplayDelegateDecorator& operator=(const AAX_IDisplayDelegateDecorator&) = delete;
    ~AAX_IDisplayDelegateDecorator() override { delete mWrapped; }

    AAX_IDisplayDelegateDecorator* Clone() const override = 0;
    bool ValueToString(T value, int32_t maxLength, AAX_CString* text) const override {
        return mWrapped->ValueToString(value, maxLength, text);
    }
    bool ValueToString(T value, AAX_CString* text) const override {
        return mWrapped->ValueToString(value, text);
    }
    bool StringToValue(const AAX_CString& text, T* value) const override {
        return mWrapped->StringToValue(text, value);
    }

private:
    AAX_IDisplayDelegate<T>* mWrapped;
};
