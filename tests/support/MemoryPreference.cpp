#include "MemoryPreference.h"

#include <utility>

namespace SorvTest {

bool MemoryPreference::setPreference(std::string key, std::string value) {
    if (!writable)
        return false;
    ++writeCount;
    values[key] = std::move(value);
    return true;
}

std::string MemoryPreference::getPreference(std::string key, std::string defaultValue) {
    const auto found = values.find(key);
    if (found != values.end() && !found->second.empty())
        return found->second;
    if (defaultValue.empty())
        return {};
    return setPreference(key, defaultValue) ? defaultValue : std::string();
}

void MemoryPreference::reset() {
    values.clear();
    writable = true;
    writeCount = 0;
}

MemoryPreference* activeMemoryPreference() {
    return dynamic_cast<MemoryPreference*>(SorvLib::getPreferences());
}

} // namespace SorvTest
