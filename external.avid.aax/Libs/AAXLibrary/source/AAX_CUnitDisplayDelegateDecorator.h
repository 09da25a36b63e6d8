#pragma once
// The wrapped delegate's text followed by a unit; texts with or without the unit parse back.

#include "AAX_CString.h"
#include "AAX_IDisplayDelegateDecorator.h"

#include <cstring>

template <typename T>
class AAX_CUnitDisplayDelegateDecorator : public AAX_IDisplayDelegateDecorator<T> {
public:
    AAX_CUnitDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& wrapped,
                                      const AAX_CString& unit)
        : AAX_IDisplayDelegateDecorator<T>(wrapped), mUnit(unit) {}

    AAX_CUnitDisplayDelegateDecorator* Clone() const override {
        return new AAX_CUnitDisplayDelegateDecorator(*this);
    }
    bool ValueToString(T value, AAX_CString* text) const override {
        const bool ok = AAX_IDisplayDelegateDecorator<T>::ValueToString(value, text);
        *text += mUnit;
        return ok;
    }
    bool ValueToString(T value, int32_t maxLength, AAX_CString* text) const override {
        const bool ok = AAX_IDisplayDelegateDecorator<T>::ValueToString(value, maxLength, text);
        const int64_t room = (maxLength < 0 ? 0 : int64_t(maxLength)) - int64_t(text->Length());
        if (room >= int64_t(mUnit.Length()))
            *text += mUnit;
        return ok;
    }
    bool StringToValue(const AAX_CString& text, T* value) const override {
        const uint32_t length = text.Length(), unit = mUnit.Length();
        if (length > unit && std::strcmp(text.Get() + (length - unit), mUnit.Get()) == 0) {
            AAX_CString number(text);
            number.Erase(length - unit, unit);
            return AAX_IDisplayDelegateDecorator<T>::StringToValue(number, value);
        }
        return AAX_IDisplayDelegateDecorator<T>::StringToValue(text, value);
    }

private:
    AAX_CString mUnit;
};
