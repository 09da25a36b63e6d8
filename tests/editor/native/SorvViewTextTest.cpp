// Text controls bound by the editor base: the value with a blank and the units when the
// effect pushes or the timer reads a value, the parsed text after the user types one.

#include "editor/EditorFixture.h"

#include "vstgui/CParamDisplay.h"
#include "vstgui/CTextEdit.h"

using namespace SorvLib;
using namespace SorvTest;
using namespace Steinberg;
using namespace VSTGUI;

namespace {

// A window of two text edits and a read-only label.
class TextView : public SorvView {
public:
    explicit TextView(Vst::EditController* controller) : SorvView(controller) {
        setBaseSize(ViewRect(0, 0, 200, 100));
    }
    void createUI() override {
        auto* container = new CViewContainer(CRect(0, 0, 200, 100));
        container->addView(new CTextEdit(CRect(0, 0, 100, 20), this, kFxMixId));
        container->addView(new CTextEdit(CRect(0, 30, 100, 50), this, kPreDelayId));
        auto* label = new CTextLabel(CRect(0, 60, 100, 80));
        label->setTag(kOverloadId);
        container->addView(label);
        frame->addView(container);
    }
    CTextLabel* text(int i) const {
        return dynamic_cast<CTextLabel*>(
            dynamic_cast<CViewContainer*>(frame->getView(0))->getView(i));
    }
};

std::string shown(Vst::EditController* c, Vst::ParamID id) {
    Vst::String128 text = {};
    c->getParamStringByValue(id, c->getParamNormalized(id), text);
    std::string out;
    for (auto* p = text; *p; ++p)
        out += static_cast<char>(*p);
    return out;
}

void type(CFrame* frame, const std::string& text) {
    for (char c : text) {
        VstKeyCode key;
        key.character = c;
        frame->platformKeyDown(key);
    }
    VstKeyCode enter;
    enter.virt = VKEY_RETURN;
    frame->platformKeyDown(enter);
}

} // namespace

TEST(SorvViewText, PushedValuesEndWithABlankTypedOnesParseOrRestore) {
    TestHostContext context;
    RecordingHandler handler;
    auto* effect = new QUOR515Effect;
    ASSERT_EQ(effect->initialize(context.unknown()), kResultOk);
    effect->setComponentHandler(&handler);
    auto* view = new TextView(effect);
    int parent = 0;
    ASSERT_EQ(view->attached(&parent, kPlatformTypeHWND), kResultOk);
    CTextLabel* mix = view->text(0);
    CTextLabel* preDelay = view->text(1);
    CTextLabel* overload = view->text(2);
    EXPECT_EQ(view->getReadOnlyControls().size(), 1u);

    EXPECT_EQ(mix->getText(), shown(effect, kFxMixId) + " ");
    EXPECT_EQ(preDelay->getText(), shown(effect, kPreDelayId) + " ms");
    EXPECT_EQ(overload->getText(), shown(effect, kOverloadId) + " ");
    effect->setParamNormalized(kOverloadId, 0.5);
    view->notify(nullptr, CVSTGUITimer::kMsgTimer);
    EXPECT_EQ(overload->getText(), shown(effect, kOverloadId) + " ");

    // Typed: the parsed value reaches the host; the text has no blank.
    view->getFrame()->platformMouseDown(CPoint(10, 10), kLButton);
    type(view->getFrame(), "7.5");
    EXPECT_NEAR(effect->getParamNormalized(kFxMixId), 0.75, 1e-9);
    EXPECT_EQ(mix->getText(), shown(effect, kFxMixId));
    ASSERT_EQ(handler.calls.size(), 3u);
    EXPECT_EQ(handler.calls[1].value, effect->getParamNormalized(kFxMixId));

    // Text that does not parse leaves the value and shows it again.
    view->getFrame()->platformMouseDown(CPoint(10, 10), kLButton);
    type(view->getFrame(), "loud");
    EXPECT_NEAR(effect->getParamNormalized(kFxMixId), 0.75, 1e-9);
    EXPECT_EQ(mix->getText(), shown(effect, kFxMixId));

    // With units the typed text shows them, with their blank.
    view->getFrame()->platformMouseDown(CPoint(10, 40), kLButton);
    type(view->getFrame(), "75");
    EXPECT_EQ(shown(effect, kPreDelayId).substr(0, 3), "75.");
    EXPECT_EQ(preDelay->getText(), shown(effect, kPreDelayId) + " ms");

    // The text the user is typing into keeps its text when a value arrives.
    view->getFrame()->platformMouseDown(CPoint(10, 10), kLButton);
    std::string before = mix->getText();
    effect->setParamNormalized(kFxMixId, 0.2);
    EXPECT_EQ(mix->getText(), before);
    view->getFrame()->setFocusView(nullptr);
    effect->setParamNormalized(kFxMixId, 0.3);
    EXPECT_EQ(mix->getText(), shown(effect, kFxMixId) + " ");

    view->removed();
    EXPECT_EQ(view->release(), 0u);
    effect->terminate();
    effect->release();
}
