#include "editor/SorvBitmap.h"

namespace SorvLib {

using namespace VSTGUI;

SorvBitmap::SorvBitmap(const CResourceDescription& resource, double scaleFactor)
    : CBitmap(resource) {
    if (IPlatformBitmap* bitmap = getPlatformBitmap())
        bitmap->setScaleFactor(scaleFactor);
}

SorvBitmap::SorvBitmap(const void* pngData, uint32_t byteCount, double scaleFactor) {
    SharedPointer<IPlatformBitmap> bitmap = IPlatformBitmap::createFromMemory(pngData, byteCount);
    if (bitmap) {
        bitmap->setScaleFactor(scaleFactor);
        setPlatformBitmap(bitmap);
    }
}

SorvBitmap::~SorvBitmap() = default;

SharedPointer<CBitmap> makeBitmap(const void* pngData, const uint32_t& byteCount,
                                  const double& scaleFactor) {
    return makeOwned<CBitmap>(new SorvBitmap(pngData, byteCount, scaleFactor));
}

} // namespace SorvLib
