// The factory presets written by the first load of the VST 3 module: eight preset files in the
// user's preset folder, each the state of one program, the same for every user and host thread;
// never again once the folder exists, and never from a module file of another extension.

#include "hosts/LoadedModule.h"
#include "hosts/Vst2Plugin.h"
#include "support/TestHostContext.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

const char* const kProgramNames[] = {"01 Default", "02 Subtle", "03 Splashy", "04 Bright",
                                     "05 Dark",    "06 Drums",  "07 Vocals",  "08 Echo Chamber"};

std::string scratchFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "sorv-" + name + "-" +
                         std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(GetTickCount());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// Our scratch paths are ASCII.
std::wstring wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string productFolder(const std::string& appData) {
    return appData + "\\VST3 Presets\\Sorv Audio Labs\\QUOR-515";
}

bool folderExists(const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Loads a module file with the preset root at appData, starts it through its VST 3 entry
// (or its VST 2 entry) and unloads it again.
void loadOnce(const std::string& modulePath, const std::wstring& appData, bool vst2 = false) {
    SetEnvironmentVariableW(L"APPDATA", appData.c_str());
    HMODULE module = LoadLibraryA(modulePath.c_str());
    ASSERT_NE(module, nullptr) << modulePath;
    if (vst2) {
        auto entry = procAddress<Vst2EntryFunc>(module, "VSTPluginMain");
        Vst2Plugin plugin{entry(testHostCallback)};
        ASSERT_NE(plugin.effect, nullptr);
        plugin.close();
    } else {
        auto initDll = procAddress<EntryFunc>(module, "InitDll");
        auto exitDll = procAddress<EntryFunc>(module, "ExitDll");
        ASSERT_TRUE(initDll());
        EXPECT_TRUE(exitDll());
    }
    FreeLibrary(module);
}

void loadOnce(const std::string& modulePath, const std::string& appData, bool vst2 = false) {
    loadOnce(modulePath, wide(appData), vst2);
}

// The files of a folder by name, with their bytes.
std::map<std::wstring, std::string> presetFiles(const std::wstring& folder) {
    std::map<std::wstring, std::string> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        FILE* file = _wfopen((folder + L"\\" + found.cFileName).c_str(), L"rb");
        std::string& bytes = files[found.cFileName];
        for (int c; file && (c = std::fgetc(file)) != EOF;)
            bytes += static_cast<char>(c);
        if (file)
            std::fclose(file);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& file : presetFiles(wide(folder)))
        names.emplace_back(file.first.begin(), file.first.end());
    return names;
}

class PresetExport : public ::testing::Test {
protected:
    void SetUp() override {
        char value[MAX_PATH] = {};
        if (GetEnvironmentVariableA("APPDATA", value, MAX_PATH))
            savedAppData = value;
    }
    void TearDown() override {
        SetEnvironmentVariableA("APPDATA", savedAppData.empty() ? nullptr : savedAppData.c_str());
    }
    std::string module = windowsPath(SORV_MODULE_PATH);
    std::string savedAppData;
};

TEST_F(PresetExport, FirstLoadWritesEightPresetsOfTheProgramsOnce) {
    const std::string appData = scratchFolder("presets");
    loadOnce(module, appData);
    const std::string folder = productFolder(appData);
    std::vector<std::string> expected;
    for (const char* name : kProgramNames)
        expected.push_back(std::string(name) + ".vstpreset");
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(filesIn(folder), expected);

    // The same files for a profile folder that the system code page cannot spell, and for a
    // host thread already in the multithreaded apartment.
    const std::map<std::wstring, std::string> written = presetFiles(wide(folder));
    const std::wstring profile = wide(scratchFolder("profile")) + L"\\Jos\u00e9 \u6587";
    ASSERT_TRUE(CreateDirectoryW(profile.c_str(), nullptr));
    loadOnce(module, profile);
    EXPECT_EQ(presetFiles(profile + L"\\VST3 Presets\\Sorv Audio Labs\\QUOR-515"), written);
    const std::string multithreaded = scratchFolder("mta");
    std::thread([&] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        loadOnce(module, wide(multithreaded));
        CoUninitialize();
    }).join();
    EXPECT_EQ(presetFiles(wide(productFolder(multithreaded))), written);

    // Each file against the state of its program in a VST 2 host and in the VST 3 form.
    SetEnvironmentVariableA("APPDATA", appData.c_str());
    HMODULE loaded = LoadLibraryA(module.c_str());
    ASSERT_NE(loaded, nullptr);
    auto initDll = procAddress<EntryFunc>(loaded, "InitDll");
    auto exitDll = procAddress<EntryFunc>(loaded, "ExitDll");
    auto getFactory = procAddress<FactoryFunc>(loaded, "GetPluginFactory");
    auto entry = procAddress<Vst2EntryFunc>(loaded, "VSTPluginMain");
    ASSERT_TRUE(initDll());
    IPluginFactory* factory = getFactory();
    PClassInfo info = {};
    ASSERT_EQ(factory->getClassInfo(0, &info), kResultOk);
    const FUID classId = FUID::fromTUID(info.cid);
    Vst2Plugin vst2{entry(testHostCallback)};
    ASSERT_NE(vst2.effect, nullptr);
    const VstInt32 mix = vst2.indexOf("Fx Mix");
    for (int program = 0; program < 8; ++program) {
        const std::string path = folder + "\\" + kProgramNames[program] + ".vstpreset";
        IBStream* file = FileStream::open(path.c_str(), "rb");
        ASSERT_NE(file, nullptr) << path;
        PresetFile preset(file);
        ASSERT_TRUE(preset.readChunkList()) << path;
        EXPECT_TRUE(preset.getClassID() == classId);
        const PresetFile::Entry* componentEntry = preset.getEntry(kComponentState);
        ASSERT_NE(componentEntry, nullptr);
        const PresetFile::Entry* controllerEntry = preset.getEntry(kControllerState);
        if (controllerEntry) {
            EXPECT_EQ(controllerEntry->size, 0) << "no controller state";
        }

        vst2.dispatch(effSetProgram, 0, program);
        const std::vector<char> chunk = vst2.chunk();
        ASSERT_EQ(componentEntry->size, static_cast<TSize>(chunk.size() - 16));
        std::vector<char> stored(static_cast<size_t>(componentEntry->size));
        file->seek(componentEntry->offset, IBStream::kIBSeekSet, nullptr);
        int32 read = 0;
        file->read(stored.data(), static_cast<int32>(stored.size()), &read);
        EXPECT_EQ(stored, std::vector<char>(chunk.begin() + 16, chunk.end())) << path;

        // The VST 3 form loads the file to the program's values.
        Component vst3 = createComponent(factory);
        TestHostContext context;
        ASSERT_EQ(vst3.component->initialize(context.unknown()), kResultOk);
        // As hosts load a preset: the component state, then the (empty) controller state.
        file->seek(0, IBStream::kIBSeekSet, nullptr);
        EXPECT_TRUE(PresetFile::loadPreset(file, classId, vst3.component, vst3.controller)) << path;
        EXPECT_EQ(static_cast<float>(vst3.controller->getParamNormalized(0x45664D78)),
                  vst2.get(mix))
            << path;
        vst3.component->terminate();
        vst3.release();
        file->release();
    }
    vst2.close();
    factory->release();
    EXPECT_TRUE(exitDll());
    FreeLibrary(loaded);

    // Later loads leave the folder alone: a removed file stays removed, an emptied folder empty.
    ASSERT_TRUE(DeleteFileA((folder + "\\01 Default.vstpreset").c_str()));
    loadOnce(module, appData);
    EXPECT_EQ(filesIn(folder).size(), 7u);
    for (const std::string& name : filesIn(folder))
        DeleteFileA((folder + "\\" + name).c_str());
    loadOnce(module, appData);
    loadOnce(module, appData, true);
    EXPECT_TRUE(filesIn(folder).empty());
}

TEST_F(PresetExport, OtherExtensionsAndMissingRootsWriteNothing) {
    // The VST 2 form of the module is the same file under another name.
    const std::string copies = scratchFolder("copies");
    for (const char* name : {"QUOR-515.dll", "QUOR-515.VST3", "QUOR-515.vst3x"}) {
        const std::string copy = copies + "\\" + name;
        ASSERT_TRUE(CopyFileA(module.c_str(), copy.c_str(), FALSE)) << copy;
        const std::string appData = scratchFolder("other");
        loadOnce(copy, appData);
        loadOnce(copy, appData, true);
        EXPECT_FALSE(folderExists(productFolder(appData))) << name;
    }
    // A preset root that cannot be made is skipped without a word.
    const std::string missing = scratchFolder("missing") + "\\not\\there";
    loadOnce(module, missing);
    EXPECT_FALSE(folderExists(productFolder(missing)));
}

} // namespace
