#pragma once
// An in-memory preference store with the registry store's rules for missing values.

#include "core/IPreference.h"

#include <map>
#include <string>

namespace SorvTest {

class MemoryPreference : public SorvLib::IPreference {
public:
    bool setPreference(std::string key, std::string value) override;
    std::string getPreference(std::string key, std::string defaultValue) override;

    // Forgets every value and accepts writes again.
    void reset();
    bool contains(const std::string& key) const { return values.count(key) != 0; }

    // False makes the store behave like a registry key that could not be opened.
    bool writable = true;
    int writeCount = 0;
    std::map<std::string, std::string> values;
};

// The instance that SorvLib::getPreferences() hands out in the native build; null in the
// Windows build, where the store is the registry.
MemoryPreference* activeMemoryPreference();

} // namespace SorvTest
