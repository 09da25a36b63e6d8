#pragma once
// The editor toolkit's basic types: geometry, colours, mouse buttons, counted objects and
// the shared pointer that holds them.

#include <cstdint>
#include <string>
#include <utility>

namespace VSTGUI {

using int32 = int32_t;
using uint32 = uint32_t;
using UTF8StringPtr = const char*;
using IdStringPtr = const char*;
using CCoord = double;

struct CPoint {
    CCoord x = 0.0;
    CCoord y = 0.0;
    CPoint() = default;
    CPoint(CCoord x, CCoord y) : x(x), y(y) {}
    CPoint& offset(CCoord dx, CCoord dy) {
        x += dx;
        y += dy;
        return *this;
    }
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
};

struct CRect {
    CCoord left = 0.0;
    CCoord top = 0.0;
    CCoord right = 0.0;
    CCoord bottom = 0.0;
    CRect() = default;
    CRect(CCoord l, CCoord t, CCoord r, CCoord b) : left(l), top(t), right(r), bottom(b) {}
    CRect(const CPoint& origin, const CPoint& size)
        : left(origin.x), top(origin.y), right(origin.x + size.x), bottom(origin.y + size.y) {}

    CCoord getWidth() const { return right - left; }
    CCoord getHeight() const { return bottom - top; }
    CPoint getTopLeft() const { return {left, top}; }
    CPoint getCenter() const { return {left + getWidth() * 0.5, top + getHeight() * 0.5}; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    CRect& offset(CCoord dx, CCoord dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    CRect& inset(CCoord dx, CCoord dy) {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
        return *this;
    }
    CRect& extend(CCoord dx, CCoord dy) { return inset(-dx, -dy); }
    bool pointInside(const CPoint& p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool rectOverlap(const CRect& r) const {
        return r.left < right && r.right > left && r.top < bottom && r.bottom > top;
    }
    CRect& bound(const CRect& r) {
        left = left > r.left ? left : r.left;
        top = top > r.top ? top : r.top;
        right = right < r.right ? right : r.right;
        bottom = bottom < r.bottom ? bottom : r.bottom;
        if (right < left)
            right = left;
        if (bottom < top)
            bottom = top;
        return *this;
    }
    CRect& unite(const CRect& r) {
        if (isEmpty())
            return *this = r;
        if (r.isEmpty())
            return *this;
        left = left < r.left ? left : r.left;
        top = top < r.top ? top : r.top;
        right = right > r.right ? right : r.right;
        bottom = bottom > r.bottom ? bottom : r.bottom;
        return *this;
    }
    bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CRect& o) const { return !(*this == o); }
};

struct CColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;
    constexpr CColor() = default;
    constexpr CColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255)
        : red(r), green(g), blue(b), alpha(a) {}
    bool operator==(const CColor& o) const {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
    bool operator!=(const CColor& o) const { return !(*this == o); }
};

constexpr CColor kBlackCColor(0, 0, 0, 255);
constexpr CColor kWhiteCColor(255, 255, 255, 255);
constexpr CColor kTransparentCColor(255, 255, 255, 0);

enum CButton : int32 {
    kLButton = 1 << 1,
    kMButton = 1 << 2,
    kRButton = 1 << 3,
    kShift = 1 << 4,
    kControl = 1 << 5,
    kAlt = 1 << 6,
    kApple = 1 << 7,
    kButton4 = 1 << 8,
    kButton5 = 1 << 9,
    kDoubleClick = 1 << 10,
    kMouseWheelInverted = 1 << 11,
};
constexpr int32 kAllMouseButtons = kLButton | kMButton | kRButton | kButton4 | kButton5;

struct CButtonState {
    int32 state = 0;
    CButtonState(int32 s = 0) : state(s) {}
    int32 getButtonState() const { return state & kAllMouseButtons; }
    int32 getModifierState() const { return state & (kShift | kControl | kAlt | kApple); }
    bool isLeftButton() const { return (state & kLButton) != 0; }
    bool isRightButton() const { return (state & kRButton) != 0; }
    bool operator&(int32 mask) const { return (state & mask) != 0; }
    operator int32() const { return state; }
};

enum CMouseEventResult {
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
    kMouseMoveEventHandledButDontNeedMoreEvents,
};

enum CMessageResult { kMessageUnknown = 0, kMessageNotified = 1 };

enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

enum class PlatformType : int32 {
    kHWND = 0,
    kWindowRef = 1,
    kNSView = 2,
    kUIView = 3,
    kHWNDTopLevel = 4,
    kX11EmbedWindowID = 5,
    kDefaultNative = -1,
};

// A key press as the toolkit sees it: a character, or one of the virtual keys below.
struct VstKeyCode {
    int32 character = 0;
    unsigned char virt = 0;
    unsigned char modifier = 0;
};
enum VirtualKey : unsigned char {
    VKEY_BACK = 1,
    VKEY_RETURN = 4,
    VKEY_ESCAPE = 6,
    VKEY_ENTER = 19
};

// Counted object: remember adds a reference, forget drops one and deletes at zero.
class CBaseObject {
public:
    CBaseObject() = default;
    CBaseObject(const CBaseObject&) : refCount(1) {}
    CBaseObject& operator=(const CBaseObject&) { return *this; }
    virtual ~CBaseObject() = default;

    virtual void remember() { ++refCount; }
    virtual void forget() {
        if (--refCount == 0)
            delete this;
    }
    int32 getNbReference() const { return refCount; }

    virtual CMessageResult notify(CBaseObject* sender, IdStringPtr message);

private:
    int32 refCount = 1;
};

inline CMessageResult CBaseObject::notify(CBaseObject*, IdStringPtr) {
    return kMessageUnknown;
}

template <class T> class SharedPointer {
public:
    SharedPointer() = default;
    SharedPointer(T* p, bool remember = true) : ptr(p) {
        if (ptr && remember)
            ptr->remember();
    }
    SharedPointer(const SharedPointer& o) : SharedPointer(o.ptr) {}
    template <class U> SharedPointer(const SharedPointer<U>& o) : SharedPointer(o.get()) {}
    SharedPointer(SharedPointer&& o) noexcept : ptr(o.ptr) { o.ptr = nullptr; }
    ~SharedPointer() {
        if (ptr)
            ptr->forget();
    }
    SharedPointer& operator=(SharedPointer o) noexcept {
        std::swap(ptr, o.ptr);
        return *this;
    }
    SharedPointer& operator=(T* p) { return *this = SharedPointer(p); }
    T* get() const { return ptr; }
    T* operator->() const { return ptr; }
    T& operator*() const { return *ptr; }
    operator T*() const { return ptr; }
    explicit operator bool() const { return ptr != nullptr; }

private:
    T* ptr = nullptr;
};

// Takes over the object's first reference.
template <class T> SharedPointer<T> makeOwned(T* p) {
    return SharedPointer<T>(p, false);
}

// The name of a resource of the module.
class CResourceDescription {
public:
    CResourceDescription() = default;
    CResourceDescription(UTF8StringPtr name) : name(name ? name : "") {}
    const std::string& getName() const { return name; }

private:
    std::string name;
};

} // namespace VSTGUI
