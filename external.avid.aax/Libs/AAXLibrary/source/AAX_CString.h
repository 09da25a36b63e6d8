#pragma once
// The library's string: a byte string behind the AAX_IString interface. No character
// conversion anywhere; each string belongs to one caller at a time.

#include "AAX_IString.h"

#include <string>

class AAX_CString : public AAX_IString {
public:
    AAX_CString() = default;
    // A null text gives the empty string.
    AAX_CString(const char* text);
    explicit AAX_CString(const AAX_IString& other);
    AAX_CString(const AAX_CString& other) = default;
    AAX_CString(AAX_CString&& other) = default;
    ~AAX_CString() override;

    uint32_t Length() const override;
    uint32_t MaxLength() const override;
    const char* Get() const override;
    void Set(const char* text) override;
    AAX_IString& operator=(const char* text) override;
    AAX_IString& operator=(const AAX_IString& other) override;

    AAX_CString& operator=(const AAX_CString& other);
    // Exchanges the two texts.
    AAX_CString& operator=(AAX_CString&& other);

    bool operator==(const AAX_CString& other) const { return mString == other.mString; }
    bool operator!=(const AAX_CString& other) const { return mString != other.mString; }
    bool operator==(const char* text) const;
    AAX_CString& operator+=(const AAX_CString& other);

    // Removes at most count bytes from position on; a position past the end throws
    // std::out_of_range.
    void Erase(uint32_t position, uint32_t count);
    void Clear();
    char& operator[](uint32_t index) { return mString[index]; }
    const char& operator[](uint32_t index) const { return mString[index]; }

private:
    std::string mString;
};
