// The toolbar under the product window and under a test effect with Global Link: its views
// and their places, the size and quality menus as the user picks them, the help menu through
// the platform services, and the preference menus' sharing of choices between editors.

#include "editor/EditorFixture.h"

#include "vstgui/CGradientView.h"
#include "core/CoreIds.h"
#include "editor/EditorIds.h"
#include "editor/SorvPreferenceMenu.h"
#include "editor/SorvToolbar.h"
#include "support/EffectFixture.h"
#include "support/MemoryPreference.h"
#include "support/NativeWindows.h"
#include "support/TestTimer.h"
#include "support/TestUtils.h"

using namespace SorvLib;
using namespace SorvTest;
using namespace Steinberg;
using namespace VSTGUI;

namespace {

constexpr double kStripTop = 469; // the product's views end here

MemoryPreference& store() {
    return *activeMemoryPreference();
}

// An empty preference store for the test, left empty for the next one.
struct CleanStore {
    CleanStore() { store().reset(); }
    ~CleanStore() { store().reset(); }
};

SorvToolbar* toolbarOf(OpenEditor& editor) {
    return editor.view->getToolbar();
}

// The user picks an entry of the menu shown (submenu null) or of one of its submenus.
void pick(int submenu, int index) {
    menuChoice() = [=](COptionMenu* shown, COptionMenu*& menu, int32& i) {
        menu = submenu < 0 ? shown : shown->getEntry(submenu)->getSubmenu();
        i = index;
        return true;
    };
}

void clickMainMenu(OpenEditor& editor) {
    editor.mouseDown(10, kStripTop + 10, kLButton);
}
void clickHelpMenu(OpenEditor& editor) {
    editor.mouseDown(500, kStripTop + 10, kLButton);
}

SorvPreferenceMenu* submenu(OpenEditor& editor, int index) {
    return dynamic_cast<SorvPreferenceMenu*>(
        toolbarOf(editor)->getMainMenu()->getEntry(index)->getSubmenu());
}

} // namespace

TEST(SorvToolbar, LaysOutTheStripOnceHoweverOftenItRuns) {
    CleanStore clean;
    OpenEditor editor;
    SorvToolbar* toolbar = toolbarOf(editor);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(editor.frame()->getView(editor.frame()->getNbViews() - 1), toolbar);
    EXPECT_EQ(toolbar->getViewSize(), CRect(0, kStripTop, 512, kStripTop + 24));
    EXPECT_EQ(getToolbarHeight(), 24.0);
    // A view added to the strip makes it lay out again, and that layout's own additions do
    // not nest: the same three views come back.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(toolbar->getNbViews(), 3);
        auto* gradient = dynamic_cast<CGradientView*>(toolbar->getView(0));
        ASSERT_NE(gradient, nullptr);
        EXPECT_EQ(gradient->getViewSize(), CRect(1, 1, 511, 23));
        EXPECT_EQ(toolbar->getView(1), toolbar->getMainMenu());
        EXPECT_EQ(toolbar->getView(2), toolbar->getHelpMenu());
        EXPECT_EQ(toolbar->getMainMenu()->getViewSize(), CRect(3, 3, 21, 21));
        EXPECT_EQ(toolbar->getHelpMenu()->getViewSize(), CRect(490, 3, 508, 21));
        EXPECT_EQ(toolbar->getLinkButton(), nullptr);
        COptionMenu* main = toolbar->getMainMenu();
        ASSERT_EQ(main->getNbEntries(), 2);
        EXPECT_EQ(main->getEntry(0)->getTitle(), "UI Size");
        EXPECT_EQ(main->getEntry(1)->getTitle(), "UI Quality");
        SorvPreferenceMenu* sizes = submenu(editor, 0);
        ASSERT_NE(sizes, nullptr);
        EXPECT_EQ(static_cast<uint32_t>(sizes->getTag()), kUISizeMenuId);
        EXPECT_EQ(sizes->getStyle(), 0x400);
        EXPECT_EQ(static_cast<uint32_t>(submenu(editor, 1)->getTag()), kUIQualityMenuId);
        std::string help;
        for (int i = 0; i < toolbar->getHelpMenu()->getNbEntries(); ++i) {
            CMenuItem* item = toolbar->getHelpMenu()->getEntry(i);
            help += (item->isSeparator() ? std::string("-") : item->getTitle()) + "|";
        }
        EXPECT_EQ(help, "Open Manual...|-|Product Info...|Open Website...|-|About...|");
        toolbar->addView(new CView(CRect(0, 0, 5, 5)));
    }
    // The first editor on a clean store keeps the defaults, checked, at size 1 and high
    // interpolation quality.
    EXPECT_EQ(store().values["QUOR-515 UI Size"], "Normal (100%)");
    EXPECT_EQ(store().values["QUOR-515 UI Scaling Quality"], "High");
    EXPECT_TRUE(submenu(editor, 0)->getEntry(2)->isChecked());
    EXPECT_EQ(editor.view->getUISizeFactor(), 1.0);
    EXPECT_EQ(editor.frame()->getBitmapInterpolationQuality(), BitmapInterpolationQuality::kHigh);
    // The strip is drawn: gradient light at the top, dark at the bottom, framed.
    uint32_t top = editor.pixel(256, kStripTop + 2), bottom = editor.pixel(256, kStripTop + 21);
    EXPECT_GT(red(top), red(bottom));
    EXPECT_EQ(red(editor.pixel(256, kStripTop + 1.5)), 65);
}

TEST(SorvToolbar, SizeAndQualityEntriesSetTheirFactorAndQuality) {
    CleanStore clean;
    OpenEditor editor;
    const struct {
        int submenu, entry;
        double factor;
        BitmapInterpolationQuality quality;
    } choices[] = {{0, 3, 1.1, BitmapInterpolationQuality::kHigh},
                   {1, 0, 1.1, BitmapInterpolationQuality::kLow},
                   {0, 4, 1.25, BitmapInterpolationQuality::kLow},
                   {1, 1, 1.25, BitmapInterpolationQuality::kHigh}};
    for (const auto& c : choices) {
        pick(c.submenu, c.entry);
        clickMainMenu(editor);
        EXPECT_EQ(editor.view->getUISizeFactor(), c.factor);
        EXPECT_EQ(editor.frame()->getBitmapInterpolationQuality(), c.quality);
        for (int i = 0; i < submenu(editor, c.submenu)->getNbEntries(); ++i)
            EXPECT_EQ(submenu(editor, c.submenu)->getEntry(i)->isChecked(), i == c.entry);
    }
    menuChoice() = nullptr;
}

TEST(SorvToolbar, HelpMenuReachesTheEffectAndThePlatformServices) {
    CleanStore clean;
    OpenEditor editor;
    TestUtils& utils = *activeTestUtils();
    utils.reset();
    pick(-1, 2);
    clickHelpMenu(editor);
    EXPECT_EQ(utils.lastDocument, "https://www.sorvaudiolabs.com/product.html?id=515");
    pick(-1, 3);
    clickHelpMenu(editor);
    EXPECT_EQ(utils.lastDocument, "https://www.sorvaudiolabs.com");
    EXPECT_EQ(utils.documentCount, 2);
    pick(-1, 0);
    clickHelpMenu(editor);
    EXPECT_EQ(utils.documentCount, 3);
    EXPECT_EQ(utils.lastDocument, utils.getFolder(FolderKind::Manuals) + "QUOR-515.pdf");
    pick(-1, 5);
    clickHelpMenu(editor);
    EXPECT_EQ(utils.messageCount, 1);
    EXPECT_EQ(utils.lastMessageOwner, editor.view->getPlatformHandle());
    pick(-1, 1); // a separator
    clickHelpMenu(editor);
    EXPECT_EQ(utils.documentCount, 3);
    EXPECT_EQ(utils.messageCount, 1);
    menuChoice() = nullptr;
    utils.reset();
}

TEST(SorvToolbar, GlobalLinkButtonSitsLeftOfHelpAndShiftReachesEveryInstance) {
    CleanStore clean;
    struct Linked {
        TestHostContext context;
        TestEffect* effect = new TestEffect;
        Linked() {
            effect->setGlobalLinkEnabled(true);
            EXPECT_EQ(effect->initialize(context.unknown()), kResultOk);
        }
        ~Linked() {
            effect->terminate();
            effect->release();
        }
    } a, b;
    auto* view = new TestView(a.effect);
    view->setBaseSize(ViewRect(0, 0, 512, 100));
    int window = 0;
    ASSERT_EQ(view->attached(&window, kPlatformTypeHWND), kResultOk);
    SorvToolbar* toolbar = view->getToolbar();
    ASSERT_NE(toolbar->getLinkButton(), nullptr);
    EXPECT_EQ(toolbar->getLinkButton()->getViewSize(), CRect(469, 3, 487, 21));
    EXPECT_EQ(static_cast<uint32_t>(toolbar->getLinkButton()->getTag()), kGlobalLinkId);
    EXPECT_EQ(toolbar->getHelpMenu()->getViewSize(), CRect(490, 3, 508, 21));
    double strip = toolbar->getViewSize().top;
    CFrame* frame = view->getFrame();
    frame->platformMouseDown(CPoint(478, strip + 10), kLButton);
    EXPECT_EQ(a.effect->getParamNormalized(kGlobalLinkId), 1.0);
    EXPECT_EQ(b.effect->getParamNormalized(kGlobalLinkId), 0.0);
    frame->platformMouseDown(CPoint(478, strip + 10), kLButton | kShift);
    EXPECT_EQ(a.effect->getParamNormalized(kGlobalLinkId), 0.0);
    frame->platformMouseDown(CPoint(478, strip + 10), kLButton | kShift);
    EXPECT_EQ(a.effect->getParamNormalized(kGlobalLinkId), 1.0);
    EXPECT_EQ(b.effect->getParamNormalized(kGlobalLinkId), 1.0);
    view->removed();
    EXPECT_EQ(view->release(), 0u);
}

TEST(SorvPreferenceMenu, FollowsTheStoreOnItsTimerAndRefusesNestedChoices) {
    CleanStore clean;
    OpenEditor first;
    // A store that refuses writes still lets the choice happen.
    store().writable = false;
    pick(1, 0);
    clickMainMenu(first);
    EXPECT_EQ(first.frame()->getBitmapInterpolationQuality(), BitmapInterpolationQuality::kLow);
    store().writable = true;
    menuChoice() = nullptr;

    // setValue truncates; a nested setCurrent from the listener selects and stores nothing.
    struct Nesting : IControlListener {
        SorvPreferenceMenu* menu = nullptr;
        std::vector<bool> nested;
        void valueChanged(CControl*) override { nested.push_back(menu->setCurrent(0)); }
    } listener;
    auto menu = makeOwned(new SorvPreferenceMenu("Test Key", &listener));
    listener.menu = menu;
    for (const char* title : {"A", "-", "B", "C", "D", "E"})
        menu->addEntry(title);
    menu->setValue(4.7f);
    EXPECT_EQ(menu->getCurrentIndex(true), 4);
    EXPECT_EQ(store().values["Test Key"], "D");
    EXPECT_EQ(listener.nested, std::vector<bool>{false});
    EXPECT_TRUE(menu->getEntry(4)->isChecked());
    EXPECT_FALSE(menu->getEntry(0)->isChecked());
    EXPECT_EQ(menu->notify(nullptr, CVSTGUITimer::kMsgTimer), kMessageUnknown);
    // The default entry must exist: without it onIdle stores nothing.
    menu->setDefaultValue(9.0f);
    store().values.erase("Test Key");
    menu->onIdle();
    EXPECT_FALSE(store().contains("Test Key"));
    // A copy that outlives the menu keeps the key and entries; the timer reaches neither,
    // though a tick with an existing default would store it.
    menu->setDefaultValue(0.0f);
    SharedPointer<CView> copy = makeOwned(menu->newCopy());
    menu = nullptr;
    fireTimers();
    EXPECT_FALSE(store().contains("Test Key"));
    auto* kept = dynamic_cast<SorvPreferenceMenu*>(copy.get());
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->getPreferenceKey(), "Test Key");
    EXPECT_EQ(kept->getEntry(5)->getTitle(), "E");
    listener.menu = kept;
    kept->onIdle();
    EXPECT_EQ(store().values["Test Key"], "A");
}
