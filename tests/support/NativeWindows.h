#pragma once
// What the native build's stand-ins for the editor's window code record.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace SorvTest {

struct HostWindowFit {
    void* window;
    int width;
    int height;
};
// Calls of the host-window fitting, in order.
std::vector<HostWindowFit>& hostWindowFits();
// The pixel size of the last frame window made or sized.
std::pair<int, int>& lastFrameSize();
// Resource bytes that replace (or, when empty, remove) the files of the resources folder.
std::map<std::string, std::vector<uint8_t>>& resourceOverrides();

} // namespace SorvTest
