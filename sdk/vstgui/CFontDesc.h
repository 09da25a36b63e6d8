#pragma once
// A font by family name, size (pixels at zoom 1) and style.

#include "vstgui/VSTGUIBase.h"

#include <string>

namespace VSTGUI {

enum CTxtFace { kNormalFace = 0, kBoldFace = 1 << 1, kItalicFace = 1 << 2 };

class CFontDesc {
public:
    CFontDesc(UTF8StringPtr name = "Arial", CCoord size = 12.0, int32 style = kNormalFace)
        : name(name ? name : ""), size(size), style(style) {}
    const std::string& getName() const { return name; }
    CCoord getSize() const { return size; }
    int32 getStyle() const { return style; }

private:
    std::string name;
    CCoord size;
    int32 style;
};

using CFontRef = const CFontDesc*;

extern const CFontDesc kNormalFontSmall; // "Arial", 11

} // namespace VSTGUI
