#pragma once
// Turns a parameter's real values into text and back; every conversion reports success.

#include <cstdint>

class AAX_CString;

class AAX_IDisplayDelegateBase {
public:
    virtual ~AAX_IDisplayDelegateBase() {}
};

template <typename T> class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase {
public:
    // A new copy that the caller owns.
    virtual AAX_IDisplayDelegate* Clone() const = 0;
    // The text cut to fit maxLength characters (a negative length counts as 0).
    virtual bool ValueToString(T value, int32_t maxLength, AAX_CString* text) const = 0;
    virtual bool ValueToString(T value, AAX_CString* text) const = 0;
    virtual bool StringToValue(const AAX_CString& text, T* value) const = 0;
};
