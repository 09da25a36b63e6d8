#pragma once
// Bitmaps of the framework's editors: PNG data drawn at an explicit scale factor (every
// bitmap here is made at twice the logical resolution, with factor 2).

#include "vstgui/CBitmap.h"

#include <cstdint>

namespace SorvLib {

class SorvBitmap : public VSTGUI::CBitmap {
public:
    // A PNG resource of the module.
    SorvBitmap(const VSTGUI::CResourceDescription& resource, double scaleFactor);
    // PNG bytes; undecodable bytes leave the bitmap empty.
    SorvBitmap(const void* pngData, uint32_t byteCount, double scaleFactor);
    ~SorvBitmap() override;
};

// A new SorvBitmap of PNG bytes kept in the module; the result owns its only reference.
VSTGUI::SharedPointer<VSTGUI::CBitmap> makeBitmap(const void* pngData, const uint32_t& byteCount,
                                                  const double& scaleFactor);

} // namespace SorvLib
