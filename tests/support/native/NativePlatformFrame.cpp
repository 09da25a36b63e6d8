// The native build has no windows: a frame "opens" in any non-null parent, and tests draw
// and inspect its pixels directly.
#include "IPlatformFrame.h"
#include "support/NativeWindows.h"

namespace VSTGUI {
namespace {

class TestPlatformFrame : public IPlatformFrame {
public:
    explicit TestPlatformFrame(void* parent) : parent(parent) {}
    void* getPlatformRepresentation() const override { return parent; }
    void invalidRect(const PixelRect&) override {}
    bool setSize(int width, int height) override {
        SorvTest::lastFrameSize() = {width, height};
        return true;
    }
    void close() override {}

private:
    void* parent;
};

} // namespace

IPlatformFrame* IPlatformFrame::create(CFrame* frame, int width, int height, void* parent,
                                       PlatformType type) {
    if (!frame || !parent || (type != PlatformType::kHWND && type != PlatformType::kDefaultNative))
        return nullptr;
    SorvTest::lastFrameSize() = {width, height};
    return new TestPlatformFrame(parent);
}

} // namespace VSTGUI

namespace SorvLib {

void fitHostWindows(void* window, int width, int height) {
    SorvTest::hostWindowFits().push_back({window, width, height});
}

} // namespace SorvLib
