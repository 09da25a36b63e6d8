#pragma once
// A VST 3 module loaded the way a Windows host loads one: LoadLibrary, InitDll,
// GetPluginFactory; on destruction the factory is released, then ExitDll and FreeLibrary.
// Every interface taken from the factory must be released before this object goes.

#include "pluginterfaces/base/ipluginbase.h"

#include <filesystem>
#include <windows.h>

namespace SorvTools {

class PluginModule {
public:
    enum class Entry { Vst3, Vst2 };

    // `path` is the module file or its .vst3 bundle folder. Throws HostError. Through the VST 2.4
    // entry nothing is called at load: the host calls vst2Entry itself.
    explicit PluginModule(const std::filesystem::path& path, Entry kind = Entry::Vst3);
    ~PluginModule();

    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    Steinberg::IPluginFactory* factory() const { return pluginFactory; }
    // VSTPluginMain (or MAIN) of a module loaded for its VST 2.4 entry.
    void* vst2Entry() const { return vst2EntryPoint; }
    const std::filesystem::path& path() const { return modulePath; }

    // QUOR-515.vst3 in the folder of the running program.
    static std::filesystem::path besideProgram();

private:
    void unload();

    std::filesystem::path modulePath;
    HMODULE module = nullptr;
    bool initialized = false;
    Steinberg::IPluginFactory* pluginFactory = nullptr;
    void* vst2EntryPoint = nullptr;
};

} // namespace SorvTools
