#include "PluginModule.h"

#include "HostError.h"

#include <string>

namespace SorvTools {

namespace {

using InitDllFunction = bool (*)();
using ExitDllFunction = bool (*)();
using GetFactoryFunction = Steinberg::IPluginFactory*(PLUGIN_API*)();

constexpr const wchar_t* kModuleName = L"QUOR-515.vst3";
// Where a bundle keeps the 32-bit Windows binary.
constexpr const wchar_t* kBundleBinaryFolder = L"Contents/x86-win";

template <typename Function> Function entry(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length && text ? std::string(text, length) : std::string();
    if (text)
        LocalFree(text);
    // Some messages expect the file name as an insert; the caller names the file itself.
    for (auto at = message.find("%1"); at != std::string::npos; at = message.find("%1"))
        message.replace(at, 2, "the file");
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return (message.empty() ? "" : message + ", ") + "error " + std::to_string(code);
}

} // namespace

std::filesystem::path PluginModule::besideProgram() {
    wchar_t program[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, program, DWORD(std::size(program)));
    if (length == 0 || length >= std::size(program))
        return kModuleName;
    return std::filesystem::path(program).parent_path() / kModuleName;
}

PluginModule::PluginModule(const std::filesystem::path& path, Entry kind) : modulePath(path) {
    std::error_code error;
    if (std::filesystem::is_directory(modulePath, error)) {
        std::filesystem::path bundle = modulePath;
        if (bundle.filename().empty())
            bundle = bundle.parent_path();
        modulePath = bundle / kBundleBinaryFolder / bundle.filename();
    }
    // Messages name the module as the user wrote it; the loader wants backslashes.
    const std::string name = modulePath.u8string();
    modulePath.make_preferred();
    if (!std::filesystem::exists(modulePath, error))
        throw HostError("module " + name + ": no such file");

    module = LoadLibraryW(modulePath.c_str());
    if (!module)
        throw HostError("cannot load the module " + name + " (" + systemMessage(GetLastError()) +
                        ")");
    if (kind == Entry::Vst2) {
        vst2EntryPoint = reinterpret_cast<void*>(GetProcAddress(module, "VSTPluginMain"));
        if (!vst2EntryPoint)
            vst2EntryPoint = reinterpret_cast<void*>(GetProcAddress(module, "MAIN"));
        if (!vst2EntryPoint) {
            unload();
            throw HostError(name + " is not a VST 2.4 module (it has no VSTPluginMain export)");
        }
        return;
    }
    const auto initDll = entry<InitDllFunction>(module, "InitDll");
    const auto getFactory = entry<GetFactoryFunction>(module, "GetPluginFactory");
    if (!getFactory) {
        unload();
        throw HostError(name + " is not a VST 3 module (it has no GetPluginFactory export)");
    }
    // InitDll is optional for a Windows module; ExitDll is called only when it ran.
    if (initDll && !initDll()) {
        unload();
        throw HostError("InitDll of " + name + " failed");
    }
    initialized = initDll != nullptr;
    pluginFactory = getFactory();
    if (!pluginFactory) {
        unload();
        throw HostError(name + " gave no class factory");
    }
}

PluginModule::~PluginModule() {
    unload();
}

void PluginModule::unload() {
    if (pluginFactory)
        pluginFactory->release();
    pluginFactory = nullptr;
    if (initialized) {
        if (const auto exitDll = entry<ExitDllFunction>(module, "ExitDll"))
            exitDll();
    }
    initialized = false;
    if (module)
        FreeLibrary(module);
    module = nullptr;
}

} // namespace SorvTools
