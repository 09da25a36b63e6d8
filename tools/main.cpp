// quor-render: renders WAV files through the QUOR-515 VST 3 module, loaded like a host does.
// Every failure ends as one line on stderr and a non-zero exit status.

#include "ArgumentParser.h"
#include "EffectHost.h"
#include "ParameterReport.h"
#include "PluginModule.h"
#include "Renderer.h"
#include "TestSignal.h"
#include "UsageError.h"
#include "Vst2EffectHost.h"

#include <iostream>
#include <string>
#include <vector>

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

using namespace SorvTools;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// The arguments as UTF-8, whatever the console's code page.
std::vector<std::string> arguments() {
    std::vector<std::string> result;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i) {
        const int bytes =
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string text(size_t(bytes > 0 ? bytes : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &text[0], bytes, nullptr, nullptr);
        text.resize(text.size() - 1);
        result.push_back(text);
    }
    LocalFree(wide);
    return result;
}

std::filesystem::path modulePath(const RenderOptions& options) {
    return options.module.empty() ? PluginModule::besideProgram()
                                  : std::filesystem::u8path(options.module);
}

int run(const CommandLine& line) {
    switch (line.command) {
    case Command::Help:
        std::cout << ArgumentParser::helpText();
        return 0;
    case Command::Synthesize:
        TestSignal::writeFile(line.synth, std::cout);
        return 0;
    case Command::ListParameters: {
        PluginModule module(modulePath(line.render));
        EffectHost host(module.factory());
        printParameterTable(host, std::cout);
        return 0;
    }
    case Command::Render: {
        if (line.render.vst2) {
            PluginModule module(modulePath(line.render), PluginModule::Entry::Vst2);
            std::cout << "module      " << module.path().u8string() << " (VST 2.4 entry)\n";
            Vst2EffectHost host(reinterpret_cast<Vst2Entry>(module.vst2Entry()));
            Renderer(line.render, std::cout).run(host);
            return 0;
        }
        PluginModule module(modulePath(line.render));
        std::cout << "module      " << module.path().u8string() << "\n";
        Renderer(line.render, std::cout).run(module.factory());
        return 0;
    }
    }
    return kExitFailure;
}

} // namespace

int main() {
    // A module that fails to load must give an error code, not a dialog box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    try {
        return run(ArgumentParser::parse(arguments()));
    } catch (const UsageError& e) {
        std::cout.flush();
        std::cerr << "quor-render: " << e.what() << "\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "quor-render: " << e.what() << "\n";
        return kExitFailure;
    }
}
