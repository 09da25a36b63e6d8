// Loads the built module the way a VST 3 host does: LoadLibrary, InitDll,
// GetPluginFactory, class records, component creation, buses, then everything released
// before ExitDll and FreeLibrary.

#include "support/TestHostContext.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string windowsPath(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return "Z:" + path;
}

std::string utf8(const char16* text) {
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

template <typename Function>
Function procAddress(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

using EntryFunc = bool (*)();
using FactoryFunc = IPluginFactory*(PLUGIN_API*)();

class Vst3Host : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA(windowsPath(SORV_MODULE_PATH).c_str());
        ASSERT_NE(module, nullptr) << "cannot load " << SORV_MODULE_PATH;
        initDll = procAddress<EntryFunc>(module, "InitDll");
        exitDll = procAddress<EntryFunc>(module, "ExitDll");
        getFactory = procAddress<FactoryFunc>(module, "GetPluginFactory");
        ASSERT_NE(initDll, nullptr);
        ASSERT_NE(exitDll, nullptr);
        ASSERT_NE(getFactory, nullptr);
    }
    void TearDown() override {
        if (module)
            FreeLibrary(module);
    }

    HMODULE module = nullptr;
    EntryFunc initDll = nullptr;
    EntryFunc exitDll = nullptr;
    FactoryFunc getFactory = nullptr;
};

TEST_F(Vst3Host, FactoryDescribesOneEffectClass) {
    ASSERT_TRUE(initDll());
    IPluginFactory* factory = getFactory();
    ASSERT_NE(factory, nullptr);

    PFactoryInfo info = {};
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Sorv Audio Labs");
    EXPECT_EQ(info.flags, 16);
    ASSERT_EQ(factory->countClasses(), 1);

    IPluginFactory3* factory3 = nullptr;
    ASSERT_EQ(factory->queryInterface(IPluginFactory3::iid, reinterpret_cast<void**>(&factory3)),
              kResultOk);
    PClassInfo2 info2 = {};
    ASSERT_EQ(factory3->getClassInfo2(0, &info2), kResultOk);
    EXPECT_STREQ(info2.category, "Audio Module Class");
    EXPECT_STREQ(info2.name, "QUOR-515");
    EXPECT_STREQ(info2.subCategories, "Fx|Reverb");
    EXPECT_STREQ(info2.version, "1.0.0.0");
    EXPECT_STREQ(info2.sdkVersion, "VST 3.7.1");
    EXPECT_STREQ(info2.vendor, "");
    EXPECT_EQ(info2.cardinality, PClassInfo::kManyInstances);
    EXPECT_EQ(info2.classFlags, 0u);
    // "VST", the VST 2 id SQr5, then the lower-cased name bytes of QUOR-515 and one zero.
    FUID expected;
    ASSERT_TRUE(expected.fromString("565354" "53517235" "71756F722D353135" "00"));
    EXPECT_TRUE(FUID::fromTUID(info2.cid) == expected);

    PClassInfoW infoW = {};
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &infoW), kResultOk);
    EXPECT_EQ(utf8(infoW.name), "QUOR-515");
    EXPECT_EQ(std::memcmp(infoW.cid, info2.cid, sizeof(TUID)), 0);
    factory3->release();

    // A second request shares the factory.
    IPluginFactory* again = getFactory();
    EXPECT_EQ(again, factory);
    EXPECT_EQ(again->release(), 1u);
    EXPECT_EQ(factory->release(), 0u);
    EXPECT_TRUE(exitDll());
}

} // namespace
