#pragma once
// The native window of a frame: it shows the frame's pixels, reports mouse and keys, and
// is the only part of the toolkit that knows the operating system's windows.

#include "vstgui/CDrawContext.h"
#include "vstgui/VSTGUIBase.h"

#include <string>
#include <vector>

namespace VSTGUI {

class CFrame;
class COptionMenu;

class IPlatformFrame : public CBaseObject {
public:
    // A window of the given size (pixels) inside the parent window; null when the platform
    // type is not this platform's, the parent is null or the window cannot be made.
    static IPlatformFrame* create(CFrame* frame, int width, int height, void* parent,
                                  PlatformType type);

    virtual void* getPlatformRepresentation() const = 0;
    virtual void invalidRect(const PixelRect& rect) = 0;
    virtual bool setSize(int width, int height) = 0;
    // Destroys the window; the frame is called no more.
    virtual void close() = 0;
    // Shows the menu with its submenus at a point of the frame (logical pixels) and waits
    // for the user; true with the menu and index of the chosen entry.
    virtual bool popupMenu(COptionMenu* menu, const CPoint& where, COptionMenu*& chosenMenu,
                           int32& chosenIndex) = 0;
};

} // namespace VSTGUI
