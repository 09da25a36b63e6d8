#pragma once
// The host's component model: ids, results, the unknown interface, the component factory.

#include <cstdint>

// Every host-facing operation uses the platform's standard calling convention.
#if defined(_WIN32)
#define ACFMETHODCALLTYPE __stdcall
#else
#define ACFMETHODCALLTYPE
#endif
#define ACFMETHOD(type) virtual type ACFMETHODCALLTYPE

typedef int32_t ACFRESULT;
typedef int32_t acfBool;
typedef uint32_t acfUInt32;
typedef uint64_t acfUInt64;

constexpr ACFRESULT ACF_OK = 0;
constexpr ACFRESULT ACF_E_INVALIDARG = static_cast<ACFRESULT>(0x80000003u);
constexpr ACFRESULT ACF_E_NOINTERFACE = static_cast<ACFRESULT>(0x80000004u);
constexpr ACFRESULT ACF_E_POINTER = static_cast<ACFRESULT>(0x80000005u);
constexpr ACFRESULT ACF_E_UNEXPECTED = static_cast<ACFRESULT>(0x8000FFFFu);

struct acfUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef acfUID acfIID;
typedef acfUID acfCLSID;

// All 16 bytes equal.
inline bool operator==(const acfUID& a, const acfUID& b) {
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3;
}
inline bool operator!=(const acfUID& a, const acfUID& b) {
    return !(a == b);
}

namespace ACFDetail {
constexpr uint32_t hexDigit(char c) {
    return c >= '0' && c <= '9'   ? uint32_t(c - '0')
           : c >= 'A' && c <= 'F' ? uint32_t(c - 'A' + 10)
           : c >= 'a' && c <= 'f' ? uint32_t(c - 'a' + 10)
                                  : throw "not a hexadecimal digit";
}
constexpr uint32_t hexField(const char* text, int digits) {
    uint32_t value = 0;
    for (int i = 0; i < digits; ++i)
        value = value << 4 | hexDigit(text[i]);
    return value;
}
} // namespace ACFDetail

// An id from its registry notation without braces, "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX",
// so that every id in the source reads exactly as it is published.
constexpr acfUID acfUIDFromText(const char (&text)[37]) {
    using ACFDetail::hexField;
    return acfUID{hexField(text, 8),
                  uint16_t(hexField(text + 9, 4)),
                  uint16_t(hexField(text + 14, 4)),
                  {uint8_t(hexField(text + 19, 2)), uint8_t(hexField(text + 21, 2)),
                   uint8_t(hexField(text + 24, 2)), uint8_t(hexField(text + 26, 2)),
                   uint8_t(hexField(text + 28, 2)), uint8_t(hexField(text + 30, 2)),
                   uint8_t(hexField(text + 32, 2)), uint8_t(hexField(text + 34, 2))}};
}

class IACFUnknown {
public:
    ACFMETHOD(ACFRESULT) QueryInterface(const acfIID& iid, void** out) = 0;
    ACFMETHOD(acfUInt32) AddRef() = 0;
    ACFMETHOD(acfUInt32) Release() = 0;
};
constexpr acfIID IID_IACFUnknown = acfUIDFromText("00000000-0000-0000-C000-000000000046");

// The host's factory of its own objects (host services, description objects, page tables).
class IACFComponentFactory : public IACFUnknown {
public:
    // The argument order is the one of the platform's component creation calls.
    ACFMETHOD(ACFRESULT)
    CreateComponent(const acfCLSID& clsid, IACFUnknown* outer, const acfIID& iid, void** out) = 0;
};
constexpr acfIID IID_IACFComponentFactory = acfUIDFromText("382B6A96-7FD0-11D6-BCFE-00306542A024");

// What registration hands the host: the collection's registration face. The library only
// passes it on, so it declares no operation of its own.
class IACFPluginDefinition : public IACFUnknown {};
constexpr acfIID IID_IACFPluginDefinition = acfUIDFromText("00EEF015-7FD0-11D6-8485-00306542A024");
