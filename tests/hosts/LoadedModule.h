#pragma once
// A test host's view of the built module: loaded with LoadLibrary, entries looked up by
// name, the effect created through the factory with its three faces.

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace SorvTest {

using namespace Steinberg;
using namespace Steinberg::Vst;

inline std::string windowsPath(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return "Z:" + path;
}

inline std::string utf8(const char16* text) {
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

template <typename Function> inline Function procAddress(HMODULE module, const char* name) {
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
        module = nullptr;
    }

    HMODULE module = nullptr;
    EntryFunc initDll = nullptr;
    EntryFunc exitDll = nullptr;
    FactoryFunc getFactory = nullptr;
};

struct Component {
    IComponent* component = nullptr;
    IAudioProcessor* processor = nullptr;
    IEditController* controller = nullptr;

    void release() {
        for (FUnknown* face :
             {static_cast<FUnknown*>(controller), static_cast<FUnknown*>(processor)})
            if (face)
                face->release();
        if (component) {
            EXPECT_EQ(component->release(), 0u);
        }
        component = nullptr;
        processor = nullptr;
        controller = nullptr;
    }
};

inline Component createComponent(IPluginFactory* factory) {
    Component result;
    PClassInfo info = {};
    EXPECT_EQ(factory->getClassInfo(0, &info), kResultOk);
    EXPECT_EQ(factory->createInstance(info.cid, IComponent::iid,
                                      reinterpret_cast<void**>(&result.component)),
              kResultOk);
    if (!result.component)
        return result;
    EXPECT_EQ(result.component->queryInterface(IAudioProcessor::iid,
                                               reinterpret_cast<void**>(&result.processor)),
              kResultOk);
    EXPECT_EQ(result.component->queryInterface(IEditController::iid,
                                               reinterpret_cast<void**>(&result.controller)),
              kResultOk);
    return result;
}

inline std::string busName(IComponent* component, BusDirection direction) {
    BusInfo info = {};
    EXPECT_EQ(component->getBusInfo(kAudio, direction, 0, info), kResultTrue);
    return utf8(info.name);
}

} // namespace SorvTest
