// Loads the built module the way an AAX host does: LoadLibrary, the seven ACF exports by
// their standard-call decorated names (the same entries as ordinals 1 to 7), then start-up,
// SDK version, registration, the unload query and shut-down against the host model, with
// every host object and the module's COM start accounted for at the end.

#include "hosts/LoadedModule.h"
#include "support/AaxExpectedDescription.h"
#include "support/AaxHostModel.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstring>

using namespace SorvTest;

namespace {

using HostCall = ACFRESULT(ACFMETHODCALLTYPE*)(IACFUnknown*);
using ClassFactoryCall = ACFRESULT(ACFMETHODCALLTYPE*)(IACFUnknown*, const acfCLSID&, const acfIID&,
                                                       void**);
using VersionCall = ACFRESULT(ACFMETHODCALLTYPE*)(acfUInt64*);
using ComponentCall = ACFRESULT(ACFMETHODCALLTYPE*)(IACFUnknown*, acfUInt32, IACFUnknown**);
using PluginCall = ACFRESULT(ACFMETHODCALLTYPE*)(IACFUnknown*, IACFPluginDefinition**);

const char* const kExportNames[7] = {"_ACFCanUnloadNow@4",   "_ACFGetClassFactory@16",
                                     "_ACFGetSDKVersion@4",  "_ACFRegisterComponent@12",
                                     "_ACFRegisterPlugin@8", "_ACFShutdown@4",
                                     "_ACFStartup@4"};

class AaxHost : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA(windowsPath(SORV_MODULE_PATH).c_str());
        ASSERT_NE(module, nullptr) << "cannot load " << SORV_MODULE_PATH;
        for (int ordinal = 1; ordinal <= 7; ++ordinal) {
            const char* name = kExportNames[ordinal - 1];
            entries[ordinal - 1] = reinterpret_cast<void*>(GetProcAddress(module, name));
            ASSERT_NE(entries[ordinal - 1], nullptr) << name;
            EXPECT_EQ(entries[ordinal - 1],
                      reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))))
                << name << " is not at ordinal " << ordinal;
        }
        canUnloadNow = reinterpret_cast<HostCall>(entries[0]);
        getClassFactory = reinterpret_cast<ClassFactoryCall>(entries[1]);
        getSDKVersion = reinterpret_cast<VersionCall>(entries[2]);
        registerComponent = reinterpret_cast<ComponentCall>(entries[3]);
        registerPlugin = reinterpret_cast<PluginCall>(entries[4]);
        shutdown = reinterpret_cast<HostCall>(entries[5]);
        startup = reinterpret_cast<HostCall>(entries[6]);
        host = model.newHost();
    }
    void TearDown() override {
        if (host) {
            EXPECT_EQ(host->Release(), 0u);
        }
        EXPECT_EQ(model.liveObjects, 0) << "the module kept host objects";
        if (module)
            FreeLibrary(module);
    }

    // Whether COM is started on this thread (the test host itself never starts it).
    static bool comStarted() {
        const HRESULT result = CoInitialize(nullptr);
        CoUninitialize();
        return result == S_FALSE;
    }

    HMODULE module = nullptr;
    void* entries[7] = {};
    HostCall canUnloadNow = nullptr, shutdown = nullptr, startup = nullptr;
    ClassFactoryCall getClassFactory = nullptr;
    VersionCall getSDKVersion = nullptr;
    ComponentCall registerComponent = nullptr;
    PluginCall registerPlugin = nullptr;
    AaxHostModel model;
    IACFUnknown* host = nullptr;
};

TEST_F(AaxHost, StartsRegistersAndShutsDownLeavingNothingAlive) {
    ASSERT_FALSE(comStarted());
    ASSERT_EQ(startup(host), ACF_OK);
    EXPECT_TRUE(comStarted());
    // The host unknown and one host-services component per version the module asked for.
    EXPECT_EQ(model.liveObjects, 4);

    acfUInt64 version = 0;
    EXPECT_EQ(getSDKVersion(&version), ACF_OK);
    const uint8_t expected[8] = {0xB4, 0xE5, 0xD5, 0x00, 0x03, 0x02, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(&version, expected, sizeof(expected)), 0);
    void* factory = &version;
    EXPECT_EQ(getClassFactory(host, AAXCompID_AAXCollection, IID_IACFUnknown, &factory),
              AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(factory, nullptr);
    IACFUnknown* component = host;
    EXPECT_EQ(registerComponent(host, 0, &component), ACF_OK);
    EXPECT_EQ(component, nullptr);

    IACFPluginDefinition* definition = nullptr;
    ASSERT_EQ(registerPlugin(host, &definition), ACF_OK);
    ASSERT_NE(definition, nullptr);
    EXPECT_TRUE(model.traces.empty());
    ASSERT_EQ(model.collections.size(), 1u);
    expectQuor515Description(*model.collections[0], "all");
    EXPECT_TRUE(comStarted()) << "registration ended the start-up's COM start";
    EXPECT_EQ(definition->Release(), 0u);
    EXPECT_TRUE(model.collections.empty()) << "the module kept the host's collection";

    EXPECT_EQ(canUnloadNow(host), 0);
    EXPECT_EQ(shutdown(host), ACF_OK);
    EXPECT_EQ(model.liveObjects, 1) << "the host services were not released";
    EXPECT_FALSE(comStarted());
}

TEST_F(AaxHost, SecondStartUpKeepsTheFirstHostServices) {
    AaxHostModel other;
    IACFUnknown* otherHost = other.newHost();
    ASSERT_EQ(startup(host), ACF_OK);
    ASSERT_EQ(startup(otherHost), ACF_OK);
    EXPECT_EQ(other.liveObjects, 1);
    // A failing registration through the second host traces.
    other.omitted = {IID_IACFPluginDefinition};
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ(registerPlugin(otherHost, &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_TRUE(other.traces.empty()) << "traces go to the first host's services";
    EXPECT_EQ(model.traces.size(), 2u);
    EXPECT_EQ(shutdown(otherHost), ACF_OK);
    EXPECT_EQ(shutdown(host), ACF_OK);
    EXPECT_EQ(otherHost->Release(), 0u);
    EXPECT_EQ(other.liveObjects, 0);
    EXPECT_FALSE(comStarted());
}

TEST_F(AaxHost, BadInputAndOlderHostsGetAnswersNotCrashes) {
    model.omitted = {IID_IACFComponentFactory, IID_IAAXDescriptionHostV1};
    ASSERT_EQ(startup(host), ACF_OK);
    EXPECT_EQ(model.liveObjects, 1) << "no factory: no host services";
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ(registerPlugin(host, &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(registerPlugin(host, nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(registerPlugin(nullptr, &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(getSDKVersion(nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(getClassFactory(nullptr, AAXCompID_AAXCollection, IID_IACFUnknown, nullptr),
              AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(registerComponent(nullptr, 0, nullptr), ACF_OK);
    EXPECT_EQ(canUnloadNow(nullptr), 0);
    EXPECT_EQ(shutdown(host), ACF_OK);

    EXPECT_EQ(startup(nullptr), ACF_OK);
    EXPECT_EQ(shutdown(nullptr), ACF_OK);
    EXPECT_FALSE(comStarted());
}

} // namespace
