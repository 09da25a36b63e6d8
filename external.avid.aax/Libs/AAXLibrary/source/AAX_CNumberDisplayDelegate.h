#pragma once
// A number in fixed notation with Precision decimals.

#include "AAX_CString.h"
#include "AAX_IDisplayDelegate.h"

#include <locale>
#include <sstream>

template <typename T, int32_t Precision = 2, int32_t SpaceAfter = 0>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T> {
public:
    AAX_CNumberDisplayDelegate* Clone() const override {
        return new AAX_CNumberDisplayDelegate(*this);
    }
    bool ValueToString(T value, AAX_CString* text) const override {
        std::ostringstream stream;
        stream.imbue(std::locale::classic());
        stream.setf(std::ios::fixed, std::ios::floatfield);
        stream.precision(Precision);
        stream << value;
        text->Set(stream.str().c_str());
        return true;
    }
    bool ValueToString(T value, int32_t maxLength, AAX_CString* text) const override {
        ValueToString(value, text);
        const uint32_t length = maxLength < 0 ? 0 : static_cast<uint32_t>(maxLength);
        if (text->Length() > length)
            text->Erase(length, text->Length() - length);
        // A cut that ends on the decimal point drops the point too.
        if (length > 0 && text->Length() == length && (*text)[length - 1] == '.')
            text->Erase(length - 1, 1);
        return true;
    }
    bool StringToValue(const AAX_CString& text, T* value) const override {
        std::istringstream stream(text.Get());
        stream.imbue(std::locale::classic());
        T parsed = 0;
        if (!(stream >> parsed)) {
            *value = 0;
            return false;
        }
        *value = parsed;
        return true;
    }
};
