// The VST 2 wrapper in process over the framework's test effect: values set on any thread reach
// the effect at once, the effect's edits become host automation, and the editor path
// shows an effect's view in the host's window. (The product's output through the wrapper is
// compared with the VST 3 form's by the renderer's tests.)

#include "vst2wrapper/Vst2Wrapper.h"
#include "vst2/AEffEditor.h"
#include "vst/CPluginFactory.h"
#include "core/ClassFactory.h"
#include "support/TestEffect.h"
#include "support/TestHostContext.h"

#include "public.sdk/source/common/pluginview.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::vector<VstInt32> hostOpcodes;
std::vector<std::pair<VstInt32, VstInt32>> sizeRequests;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*, float) {
    hostOpcodes.push_back(opcode);
    if (opcode == audioMasterSizeWindow)
        sizeRequests.emplace_back(index, static_cast<VstInt32>(value));
    // Which thread this is stays unknown: the tests call from threads of every kind.
    if (opcode == audioMasterGetCurrentProcessLevel)
        return kVstProcessLevelUnknown;
    return opcode == audioMasterVersion ? 2400 : 1;
}

// ---- The wrapper over the framework's test effect, with a view.

class TestPlugView : public CPluginView {
public:
    tresult PLUGIN_API attached(void* parent, FIDString type) override {
        return refuse ? kResultFalse : CPluginView::attached(parent, type);
    }
    static bool refuse;
    TestPlugView() : CPluginView(nullptr) { rect = ViewRect(0, 0, 300, 200); }
    tresult PLUGIN_API isPlatformTypeSupported(FIDString type) override {
        return std::strcmp(type, kPlatformTypeHWND) == 0 ? kResultTrue : kResultFalse;
    }
    tresult PLUGIN_API canResize() override { return kResultTrue; }
    tresult requestSize(ViewRect size) {
        return plugFrame ? plugFrame->resizeView(this, &size) : kResultFalse;
    }
    void* window() const { return systemWindow; }
    static int live;
    ~TestPlugView() override { --live; }
};
int TestPlugView::live = 0;
bool TestPlugView::refuse = false;

class ViewEffect : public SorvTest::TestEffect {
public:
    IPlugView* PLUGIN_API createView(FIDString name) override {
        if (!name || std::strcmp(name, ViewType::kEditor) != 0)
            return nullptr;
        ++TestPlugView::live;
        lastView = new TestPlugView;
        return lastView;
    }
    static TestPlugView* lastView;
};
TestPlugView* ViewEffect::lastView = nullptr;

FUnknown* createViewEffect(void*) {
    return static_cast<IAudioProcessor*>(new ViewEffect);
}

struct TestFactory {
    explicit TestFactory(const char* subCategories = "Fx")
        : factory(PFactoryInfo("Test", "", "", PFactoryInfo::kUnicode)) {
        SorvLib::convertVst2UidToFuid(0x54657374, "Test", false).toTUID(cid);
        const PClassInfo2 info(cid, PClassInfo::kManyInstances, kVstAudioEffectClass, "Test", 0,
                               subCategories, "", "1.2.0.0", "VST 3.7.1");
        factory.registerClass(&info, createViewEffect);
    }
    CPluginFactory factory;
    TUID cid;
};

TEST(Vst2Wrapper, ValuesFromAnyThreadReachTheEffectAtOnce) {
    TestFactory made;
    AudioEffect* effect = Vst2Wrapper::create(&made.factory, made.cid, 0x54657374, host);
    ASSERT_NE(effect, nullptr);
    auto* wrapper = static_cast<Vst2Wrapper*>(effect);
    AEffect* e = effect->getAeffect();
    EXPECT_EQ(e->version, 1200);
    ASSERT_EQ(e->numParams, 4); // bypass, level, steps, meter; the program list is the programs
    EXPECT_EQ(e->numPrograms, 3);
    const ParamID level = SorvTest::kLevelId;
    IEditController* controller = wrapper->getController();

    hostOpcodes.clear();
    std::thread audio([e] {
        e->setParameter(e, 1, 0.125f);
        e->dispatcher(e, effSetProgram, 0, 2, nullptr, 0);
        e->setParameter(e, 2, 0.3f);
    });
    audio.join();
    EXPECT_EQ(e->dispatcher(e, effGetProgram, 0, 0, nullptr, 0), 2);
    EXPECT_EQ(controller->getParamNormalized(level), static_cast<double>(0.75f));
    EXPECT_EQ(e->getParameter(e, 2), 0.3f);
    // Asked which thread this is, the host hears of the program change on its main thread.
    EXPECT_EQ(hostOpcodes, std::vector<VstInt32>{audioMasterGetCurrentProcessLevel});
    hostOpcodes.clear();
    wrapper->onTimer(nullptr);
    EXPECT_EQ(hostOpcodes, std::vector<VstInt32>{audioMasterUpdateDisplay});

    // The effect's own edits become the host's automation of the same index.
    hostOpcodes.clear();
    static_cast<EditController*>(controller)->beginEdit(level);
    static_cast<EditController*>(controller)->performEdit(level, 0.5);
    static_cast<EditController*>(controller)->endEdit(level);
    EXPECT_EQ(hostOpcodes, (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterAutomate,
                                                  audioMasterEndEdit}));
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
}

TEST(Vst2Wrapper, AnInstrumentClaimsNoTimeInformation) {
    TestFactory made("Instrument");
    AudioEffect* effect = Vst2Wrapper::create(&made.factory, made.cid, 0x54657374, host);
    ASSERT_NE(effect, nullptr);
    AEffect* e = effect->getAeffect();
    EXPECT_EQ(e->dispatcher(e, effGetPlugCategory, 0, 0, nullptr, 0), kPlugCategSynth);
    char timeInfo[] = "receiveVstTimeInfo";
    EXPECT_EQ(e->dispatcher(e, effCanDo, 0, 0, timeInfo, 0), -1) << "no time info is passed";
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
}

TEST(Vst2Wrapper, EditorShowsTheEffectViewInTheHostWindow) {
    TestFactory made;
    AudioEffect* effect = Vst2Wrapper::create(&made.factory, made.cid, 0x54657374, host);
    ASSERT_NE(effect, nullptr);
    AEffect* e = effect->getAeffect();
    EXPECT_NE(e->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(TestPlugView::live, 0) << "the probe view is gone";

    ERect* rect = nullptr;
    ASSERT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 300);
    EXPECT_EQ(rect->bottom - rect->top, 200);
    int parentWindow = 0;
    ASSERT_EQ(e->dispatcher(e, effEditOpen, 0, 0, &parentWindow, 0), 1);
    TestPlugView* view = ViewEffect::lastView;
    ASSERT_TRUE(view->isAttached());
    EXPECT_EQ(view->window(), &parentWindow);

    // The view asks to grow: the host is asked for the new size, then the view takes it.
    sizeRequests.clear();
    EXPECT_EQ(view->requestSize(ViewRect(0, 0, 600, 400)), kResultTrue);
    EXPECT_EQ(sizeRequests, (std::vector<std::pair<VstInt32, VstInt32>>{{600, 400}}));
    EXPECT_EQ(view->getRect().getWidth(), 600);

    EXPECT_EQ(e->dispatcher(e, effEditClose, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(TestPlugView::live, 0);
    ASSERT_EQ(e->dispatcher(e, effEditOpen, 0, 0, &parentWindow, 0), 1);
    view = ViewEffect::lastView;
    ASSERT_NE(view->window(), nullptr);
    EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, &parentWindow, 0), 0) << "already open";
    EXPECT_EQ(e->dispatcher(e, effEditClose, 0, 0, nullptr, 0), 0);
    TestPlugView::refuse = true;
    EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, &parentWindow, 0), 0);
    EXPECT_FALSE(effect->getEditor()->isOpen()) << "a refused window is not an open editor";
    TestPlugView::refuse = false;
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
    EXPECT_EQ(TestPlugView::live, 0) << "closing the effect removes and releases its view";
}

} // namespace
