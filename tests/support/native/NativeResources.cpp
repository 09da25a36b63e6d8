// The native build reads the module's resources from the source tree's resources folder
// and the fonts from the system's font package; tests may replace any of them.
#include "vstgui/PlatformResources.h"
#include "support/NativeWindows.h"

#include <fstream>
#include <iterator>

namespace SorvTest {

std::vector<HostWindowFit>& hostWindowFits() {
    static std::vector<HostWindowFit> fits;
    return fits;
}

std::vector<VSTGUI::PixelRect>& windowInvalidations() {
    static std::vector<VSTGUI::PixelRect> areas;
    return areas;
}

std::pair<int, int>& lastFrameSize() {
    static std::pair<int, int> size;
    return size;
}

std::string& fileChoice() {
    static std::string path;
    return path;
}

FileDialog& lastFileDialog() {
    static FileDialog dialog;
    return dialog;
}

MenuChoice& menuChoice() {
    static MenuChoice choice;
    return choice;
}

std::map<std::string, std::vector<uint8_t>>& resourceOverrides() {
    static std::map<std::string, std::vector<uint8_t>> overrides;
    return overrides;
}

} // namespace SorvTest

namespace VSTGUI {

namespace {
std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}
} // namespace

std::vector<uint8_t> loadPlatformResource(const std::string& name, const std::string& type) {
    auto& overrides = SorvTest::resourceOverrides();
    auto it = overrides.find(name);
    if (it != overrides.end())
        return it->second;
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
        return {};
    if (type == "TTF")
        return readFile(std::string(SORV_FONT_DIR) + "/" + name);
    if (type == "PNG")
        return readFile(std::string(SORV_RESOURCE_DIR) + "/" + name);
    return {};
}

// Like a Windows system without the family, so that both builds draw with Open Sans.
std::vector<uint8_t> loadPlatformFont(const std::string&, bool) {
    return {};
}

} // namespace VSTGUI
