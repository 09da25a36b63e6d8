#include "Win32Preference.h"

#include <vector>

namespace SorvLib {
namespace {

constexpr char kSoftwareKey[] = "SOFTWARE\\";
constexpr char kMakerName[] = "Sorv Audio Labs";
// KEY_READ | KEY_WRITE.
constexpr REGSAM kReadWriteAccess = 0x2001F;

} // namespace

IPreference* getPreferences() {
    static Win32Preference preferences(kMakerName);
    return &preferences;
}

Win32Preference::Win32Preference(std::string name) {
    const std::string path = kSoftwareKey + name;
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        kReadWriteAccess, nullptr, &opened, nullptr) == ERROR_SUCCESS)
        registryKey = opened;
}

Win32Preference::~Win32Preference() {
    if (registryKey)
        RegCloseKey(registryKey);
}

bool Win32Preference::setPreference(std::string key, std::string value) {
    if (!registryKey)
        return false;
    // Stored without a terminating zero; readers cut at the first zero anyway.
    return RegSetValueExA(registryKey, key.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.data()),
                          static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
}

std::string Win32Preference::getPreference(std::string key, std::string defaultValue) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (registryKey &&
        RegQueryValueExA(registryKey, key.c_str(), nullptr, &type, nullptr, &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ && size != 0) {
        // One spare zero byte ends text stored without a terminator.
        std::vector<char> text(size + 1, '\0');
        DWORD readSize = size;
        if (RegQueryValueExA(registryKey, key.c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE*>(text.data()), &readSize) == ERROR_SUCCESS)
            return text.data();
        // Another process changed the value between the two calls: do not overwrite what it
        // wrote with the default.
        return defaultValue;
    }
    if (defaultValue.empty())
        return {};
    return setPreference(key, defaultValue) ? defaultValue : std::string();
}

} // namespace SorvLib
