#pragma once
// Named text settings that outlive the process and are shared by every instance on the machine.

#include <string>

namespace SorvLib {

// Main thread only; takes no lock.
class IPreference {
public:
    virtual ~IPreference() = default;
    // True when the value was stored.
    virtual bool setPreference(std::string key, std::string value) = 0;
    // The stored text. A missing or empty value counts as unset: a non-empty defaultValue is
    // stored and returned (empty when storing fails); an empty defaultValue stores nothing.
    virtual std::string getPreference(std::string key, std::string defaultValue) = 0;
};

// The maker's store, built on first use; never delete the result.
IPreference* getPreferences();

} // namespace SorvLib
