#pragma once
// What the editor toolkit asks of the platform beyond windows: data kept in the module and
// the system's fonts. The Windows build reads the module's resources; tests supply their own.

#include <cstdint>
#include <string>
#include <vector>

namespace VSTGUI {

// The bytes of the module's resource of that name and type ("PNG", "TTF"); empty when the
// module has none.
std::vector<uint8_t> loadPlatformResource(const std::string& name, const std::string& type);

// TrueType data of an installed font family; empty when the system does not have it.
std::vector<uint8_t> loadPlatformFont(const std::string& family, bool bold);

} // namespace VSTGUI
