// The toolkit pieces the editor's menus build on: option menus with separators, check marks
// and submenus, mouse observers, the file dialog, gradients and self-laying-out containers.

#include "vstgui/CFrame.h"
#include "vstgui/CGradientView.h"
#include "vstgui/CNewFileSelector.h"
#include "vstgui/COptionMenu.h"
#include "support/NativeWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace VSTGUI;
using namespace SorvTest;

namespace {

struct Listener : IControlListener {
    std::vector<std::pair<int32, int32>> changes; // tag, current index
    void valueChanged(CControl* control) override {
        auto* menu = dynamic_cast<COptionMenu*>(control);
        changes.emplace_back(control->getTag(), menu ? menu->getCurrentIndex() : -1);
    }
};

struct OpenFrame {
    int parent = 0;
    CFrame* frame = new CFrame(CRect(0, 0, 100, 100), nullptr);
    OpenFrame() { EXPECT_TRUE(frame->open(&parent)); }
    ~OpenFrame() { frame->close(); }
};

} // namespace

TEST(Toolkit, OptionMenuChoosesCountsAndChecks) {
    OpenFrame open;
    Listener listener;
    auto* root = new COptionMenu(CRect(0, 0, 20, 20), &listener, 1);
    auto* sizes =
        new COptionMenu(CRect(), &listener, 2, nullptr, nullptr, COptionMenu::kCheckStyle);
    for (const char* title : {"Small", "-", "Normal", "Large"})
        sizes->addEntry(title);
    EXPECT_EQ(sizes->getNbEntries(), 4);
    EXPECT_TRUE(sizes->getEntry(1)->isSeparator());
    EXPECT_FALSE(sizes->setCurrent(1)); // a separator
    EXPECT_TRUE(sizes->setCurrent(2, false));
    EXPECT_EQ(sizes->getCurrent()->getTitle(), "Large");
    EXPECT_EQ(sizes->getCurrentIndex(), 2);
    EXPECT_EQ(sizes->getCurrentIndex(true), 3);
    EXPECT_TRUE(sizes->getEntry(3)->isChecked());
    EXPECT_TRUE(sizes->checkEntryAlone(0));
    EXPECT_TRUE(sizes->getEntry(0)->isChecked());
    EXPECT_FALSE(sizes->getEntry(3)->isChecked());
    root->addEntry(sizes, "UI Size");
    sizes->forget();
    root->addEntry("About...");
    open.frame->addView(root);

    // The user picks "Normal" in the submenu: the submenu reports under its own tag, the
    // root menu knows where the choice was made.
    bool wasOpen = false;
    menuChoice() = [&](COptionMenu* shown, COptionMenu*& menu, int32& index) {
        wasOpen = root->isOpen();
        menu = shown->getEntry(0)->getSubmenu();
        index = 2;
        return true;
    };
    CPoint where(5, 5);
    EXPECT_EQ(root->onMouseDown(where, kLButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_TRUE(wasOpen);
    EXPECT_FALSE(root->isOpen());
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes[0], std::make_pair(2, 1));
    EXPECT_EQ(listener.changes[1].first, 1);
    int32 index = -1;
    EXPECT_EQ(root->getLastItemMenu(index), root->getEntry(0)->getSubmenu());
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(root->getEntry(0)->getSubmenu()->getEntry(2)->isChecked());

    // A choice in the root menu itself; then a dismissed menu changes nothing.
    menuChoice() = [&](COptionMenu* shown, COptionMenu*& menu, int32& i) {
        menu = shown;
        i = 1;
        return true;
    };
    root->onMouseDown(where, kLButton);
    EXPECT_EQ(root->getCurrent()->getTitle(), "About...");
    EXPECT_EQ(root->getLastItemMenu(index), root);
    menuChoice() = nullptr;
    listener.changes.clear();
    EXPECT_FALSE(root->popup());
    EXPECT_TRUE(listener.changes.empty());
    EXPECT_EQ(root->onMouseDown(where, kRButton), kMouseEventNotHandled);
}

TEST(Toolkit, MouseObserversSeeEnterExitMovesAndMayTakeClicks) {
    OpenFrame open;
    auto* a = new CView(CRect(0, 0, 50, 50));
    auto* b = new CView(CRect(50, 0, 100, 50));
    open.frame->addView(a);
    open.frame->addView(b);
    struct Observer : IMouseObserver {
        std::string log;
        bool takeClicks = false;
        void onMouseEntered(CView* v, CFrame*) override { log += "+" + name(v); }
        void onMouseExited(CView* v, CFrame*) override { log += "-" + name(v); }
        CMouseEventResult onMouseMoved(CFrame*, const CPoint&, const CButtonState&) override {
            log += "m";
            return kMouseEventNotHandled;
        }
        CMouseEventResult onMouseDown(CFrame*, const CPoint&, const CButtonState&) override {
            log += "d";
            return takeClicks ? kMouseEventHandled : kMouseEventNotHandled;
        }
        CView* first = nullptr;
        std::string name(CView* v) { return v == first ? "a" : "b"; }
    } observer;
    observer.first = a;
    open.frame->registerMouseObserver(&observer);
    open.frame->registerMouseObserver(&observer);
    open.frame->platformMouseMoved(CPoint(10, 10), 0);
    open.frame->platformMouseMoved(CPoint(20, 10), 0);
    open.frame->platformMouseMoved(CPoint(60, 10), 0);
    open.frame->platformMouseMoved(CPoint(60, 80), 0);
    EXPECT_EQ(observer.log, "+amm-a+bm-bm");
    observer.log.clear();
    observer.takeClicks = true;
    EXPECT_EQ(open.frame->platformMouseDown(CPoint(10, 10), kLButton), kMouseEventHandled);
    EXPECT_EQ(observer.log, "d");
    open.frame->unregisterMouseObserver(&observer);
    observer.log.clear();
    open.frame->platformMouseMoved(CPoint(10, 10), 0);
    EXPECT_EQ(observer.log, "");
}

TEST(Toolkit, FileDialogGradientAndLayout) {
    OpenFrame open;
    CNewFileSelector* selector =
        CNewFileSelector::create(open.frame, CNewFileSelector::kSelectSaveFile);
    ASSERT_NE(selector, nullptr);
    selector->setTitle("Export Patch");
    selector->setDefaultSaveName("Default.h");
    selector->addFileExtension(CFileExtension("C Header", ".h"));
    fileChoice() = "C:\\patches\\Default.h";
    EXPECT_TRUE(selector->runModal());
    EXPECT_EQ(lastFileDialog().title, "Export Patch");
    EXPECT_EQ(lastFileDialog().extension, "h");
    ASSERT_EQ(selector->getNumSelectedFiles(), 1u);
    EXPECT_STREQ(selector->getSelectedFile(0), "C:\\patches\\Default.h");
    fileChoice().clear();
    EXPECT_FALSE(selector->runModal());
    EXPECT_EQ(selector->getSelectedFile(0), nullptr);
    selector->forget();

    auto* gradient = new CGradientView(CRect(0, 0, 100, 100));
    SharedPointer<CGradient> g = makeOwned(CGradient::create(kBlackCColor, kWhiteCColor));
    gradient->setGradient(g);
    open.frame->addView(gradient);
    open.frame->drawAll();
    const PixelBuffer& b = open.frame->getBuffer();
    EXPECT_LT(b.at(50, 0) & 0xFF, 5u);
    EXPECT_GT(b.at(50, 99) & 0xFF, 250u);
    EXPECT_NEAR(int(b.at(50, 50) & 0xFF), 128, 3);
    EXPECT_EQ(b.at(0, 50), b.at(99, 50));

    struct Counting : CAutoLayoutContainerView {
        using CAutoLayoutContainerView::CAutoLayoutContainerView;
        int layouts = 0;
        void layoutViews() override { ++layouts; }
    };
    auto* layout = new Counting(CRect(0, 0, 10, 10));
    open.frame->addView(layout);
    EXPECT_EQ(layout->layouts, 1);
    layout->setViewSize(CRect(0, 0, 20, 10));
    EXPECT_EQ(layout->layouts, 2);
}
