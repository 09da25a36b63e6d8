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
    // `path` is the module file or its .vst3 bundle folder. Throws HostError.
    explicit PluginModule(const std::filesystem::path& path);
    ~PluginModule();

    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    Steinberg::IPluginFactory* factory() const { return pluginFactory; }
    const std::filesystem::path& path() const { return modulePath; }

    // QUOR-515.vst3 in the folder of the running program.
    static std::filesystem::path besideProgram();

private:
    void unload();

    std::filesystem::path modulePath;
    HMODULE module = nullptr;
    bool initialized = false;
    Steinberg::IPluginFactory* pluginFactory = nullptr;
};

} // namespace SorvTools
