// The native build has no windows: a frame "opens" in any non-null parent, and tests draw
// and inspect its pixels directly.
#include "vstgui/CNewFileSelector.h"
#include "vstgui/COptionMenu.h"
#include "vstgui/IPlatformFrame.h"
#include "support/NativeWindows.h"

namespace VSTGUI {
namespace {

class TestPlatformFrame : public IPlatformFrame {
public:
    explicit TestPlatformFrame(void* parent) : parent(parent) {}
    void* getPlatformRepresentation() const override { return parent; }
    void invalidRect(const PixelRect& area) override {
        SorvTest::windowInvalidations().push_back(area);
    }
    bool setSize(int width, int height) override {
        SorvTest::lastFrameSize() = {width, height};
        return true;
    }
    void close() override {}
    bool popupMenu(COptionMenu* menu, const CPoint&, COptionMenu*& chosenMenu,
                   int32& chosenIndex) override {
        auto& choose = SorvTest::menuChoice();
        return choose && choose(menu, chosenMenu, chosenIndex);
    }

private:
    void* parent;
};

// A dialog that answers with the path the test put in `fileChoice`, if any.
class TestFileSelector : public CNewFileSelector {
public:
    TestFileSelector(CFrame* parent, Style style) : CNewFileSelector(parent, style) {}

protected:
    bool runModalInternal() override {
        SorvTest::lastFileDialog() = {title, defaultSaveName,
                                      extensions.empty() ? std::string()
                                                         : extensions[0].getExtension()};
        if (SorvTest::fileChoice().empty())
            return false;
        selected.push_back(SorvTest::fileChoice());
        return true;
    }
};

} // namespace

CNewFileSelector* CNewFileSelector::create(CFrame* parent, Style style) {
    return new TestFileSelector(parent, style);
}

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
