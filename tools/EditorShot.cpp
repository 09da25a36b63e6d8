// quor-editor-shot: opens the QUOR-515 editor from the module the way a VST 3 host does (a
// host window, the view attached with platform type "HWND"), sets parameters, and writes
// what the window shows to a PNG file. Every failure ends as one line on stderr and a
// non-zero exit status.
//   quor-editor-shot OUT.png [--zoom FACTOR] [--module PATH] ["Title=value" ...]

#include "EffectHost.h"
#include "HostError.h"
#include "PluginModule.h"
#include "PngWriter.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include <windows.h>

namespace Steinberg {
DEF_CLASS_IID(IPlugView)
DEF_CLASS_IID(IPlugViewContentScaleSupport)
} // namespace Steinberg

using namespace SorvTools;
using namespace Steinberg;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr DWORD kSettleMs = 100;

struct Options {
    std::string output;
    std::string module;
    double zoom = 1.0;
    std::vector<ParameterSetting> settings;
};

bool parse(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--zoom" || arg == "--module") {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            std::string value = argv[++i];
            if (arg == "--module") {
                options.module = value;
                continue;
            }
            char* end = nullptr;
            options.zoom = std::strtod(value.c_str(), &end);
            if (end == value.c_str() || *end || !(options.zoom >= 0.25 && options.zoom <= 4.0)) {
                error = "--zoom takes a factor from 0.25 to 4";
                return false;
            }
        } else if (arg.find('=') != std::string::npos && !options.output.empty()) {
            size_t eq = arg.find('=');
            options.settings.push_back({arg.substr(0, eq), arg.substr(eq + 1)});
        } else if (options.output.empty() && arg.rfind("--", 0) != 0) {
            options.output = arg;
        } else {
            error = "unexpected argument: " + arg;
            return false;
        }
    }
    if (options.output.empty()) {
        error = "usage: quor-editor-shot OUT.png [--zoom FACTOR] [--module PATH] "
                "[\"Title=value\" ...]";
        return false;
    }
    return true;
}

LRESULT CALLBACK hostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

// The client area of a window as drawn by the window itself.
std::vector<uint32_t> capture(HWND window, int& width, int& height) {
    RECT client{};
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    if (width <= 0 || height <= 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<uint32_t> pixels;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        auto* words = static_cast<const uint32_t*>(bits);
        pixels.assign(words, words + size_t(width) * height);
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    return pixels;
}

void shoot(const Options& options) {
    PluginModule module(options.module.empty() ? PluginModule::besideProgram()
                                               : std::filesystem::u8path(options.module));
    EffectHost host(module.factory());
    host.apply(host.resolve(options.settings));

    IPlugView* view = host.editController()->createView("editor");
    if (!view)
        throw HostError("the effect offers no editor");
    WNDCLASSW wc{};
    wc.lpfnWndProc = hostWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuorEditorShot";
    RegisterClassW(&wc);
    HWND parent = CreateWindowExW(0, wc.lpszClassName, L"QUOR-515", WS_OVERLAPPEDWINDOW, 0, 0, 1400,
                                  1300, nullptr, nullptr, wc.hInstance, nullptr);
    std::string failure;
    if (!parent) {
        failure = "cannot make a host window";
    } else if (view->attached(parent, kPlatformTypeHWND) != kResultOk) {
        failure = "the editor did not open in the host window";
    } else {
        FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
        if (scaling)
            scaling->setContentScaleFactor(static_cast<float>(options.zoom));
        pump(kSettleMs);
        int width = 0, height = 0;
        std::vector<uint32_t> pixels = capture(GetWindow(parent, GW_CHILD), width, height);
        for (auto& p : pixels)
            p |= 0xFF000000u;
        if (pixels.empty() || !writePng(options.output, width, height, pixels))
            failure = "cannot write " + options.output;
        else
            std::cout << options.output << ": " << width << " x " << height << "\n";
        view->removed();
    }
    view->release();
    if (parent)
        DestroyWindow(parent);
    if (!failure.empty())
        throw HostError(failure);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parse(argc, argv, options, error)) {
        std::cerr << "quor-editor-shot: " << error << "\n";
        return kExitUsage;
    }
    try {
        shoot(options);
    } catch (const std::exception& e) {
        std::cerr << "quor-editor-shot: " << e.what() << "\n";
        return kExitFailure;
    }
    return 0;
}
