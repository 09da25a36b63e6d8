#pragma once
// What the native build's stand-ins for the editor's window code record.

#include "vstgui/CDrawContext.h"
#include "vstgui/VSTGUIBase.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace VSTGUI {
class COptionMenu;
}

namespace SorvTest {

struct HostWindowFit {
    void* window;
    int width;
    int height;
};
// Calls of the host-window fitting, in order.
std::vector<HostWindowFit>& hostWindowFits();
// The areas the frames asked their windows to repaint, in order.
std::vector<VSTGUI::PixelRect>& windowInvalidations();
// The pixel size of the last frame window made or sized.
std::pair<int, int>& lastFrameSize();
// The user's answer to the next pop-up menu: the menu (the one shown or a submenu) and the
// index of the chosen entry, or false for a dismissed menu. Unset: every menu is dismissed.
using MenuChoice = std::function<bool(VSTGUI::COptionMenu* shown, VSTGUI::COptionMenu*& menu,
                                      VSTGUI::int32& index)>;
MenuChoice& menuChoice();
// The path the next file dialog answers with; empty: the user cancels.
std::string& fileChoice();
// Title, default name and first extension of the last file dialog shown.
struct FileDialog {
    std::string title;
    std::string defaultName;
    std::string extension;
};
FileDialog& lastFileDialog();
// Resource bytes that replace (or, when empty, remove) the files of the resources folder.
std::map<std::string, std::vector<uint8_t>>& resourceOverrides();

} // namespace SorvTest
