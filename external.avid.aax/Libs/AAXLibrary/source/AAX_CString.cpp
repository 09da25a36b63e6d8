#include "AAX_CString.h"

namespace {
constexpr uint32_t kMaxLength = 0xFFFFFFFE;
}

AAX_CString::AAX_CString(const char* text) : mString(text ? text : "") {}

AAX_CString::AAX_CString(const AAX_IString& other) : AAX_CString(other.Get()) {}

AAX_CString::~AAX_CString() = default;

uint32_t AAX_CString::Length() const {
    return static_cast<uint32_t>(mString.size());
}

uint32_t AAX_CString::MaxLength() const {
    return kMaxLength;
}

const char* AAX_CString::Get() const {
    return mString.c_str();
}

void AAX_CString::Set(const char* text) {
    mString = text ? text : "";
}

AAX_IString& AAX_CString::operator=(const char* text) {
    Set(text);
    return *this;
}

AAX_IString& AAX_CString::operator=(const AAX_IString& other) {
    if (&other != this)
        Set(other.Get());
    return *this;
}

AAX_CString& AAX_CString::operator=(const AAX_CString& other) {
    mString = other.mString;
    return *this;
}

AAX_CString& AAX_CString::operator=(AAX_CString&& other) {
    mString.swap(other.mString);
    return *this;
}

bool AAX_CString::operator==(const char* text) const {
    return mString == (text ? text : "");
}

AAX_CString& AAX_CString::operator+=(const AAX_CString& other) {
    mString += other.mString;
    return *this;
}

void AAX_CString::Erase(uint32_t position, uint32_t count) {
    mString.erase(position, count);
}

void AAX_CString::Clear() {
    mString.clear();
}
