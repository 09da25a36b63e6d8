#pragma once
// Preference store in the current user's registry: one REG_SZ value per setting.

#include "IPreference.h"

#include <windows.h>

#include <string>

namespace SorvLib {

class Win32Preference : public IPreference {
public:
    // Opens or creates HKEY_CURRENT_USER\SOFTWARE\<name>. A failure is not reported: the
    // store then refuses every write, and reads fall back as for a missing value.
    explicit Win32Preference(std::string name);
    ~Win32Preference() override;

    Win32Preference(const Win32Preference&) = delete;
    Win32Preference& operator=(const Win32Preference&) = delete;

    bool setPreference(std::string key, std::string value) override;
    std::string getPreference(std::string key, std::string defaultValue) override;

private:
    HKEY registryKey = nullptr;
};

} // namespace SorvLib
