// The Windows open and save dialogs (comdlg32), owned by the frame's window.
#include "vstgui/CFrame.h"
#include "vstgui/CNewFileSelector.h"
#include "vstgui/Win32Text.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <string>
#include <vector>

namespace VSTGUI {
namespace {

constexpr DWORD kPathLength = 32768;

std::string utf8(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

class Win32FileSelector : public CNewFileSelector {
public:
    Win32FileSelector(CFrame* parent, Style style) : CNewFileSelector(parent, style) {}

protected:
    bool runModalInternal() override {
        if (style == kSelectDirectory)
            return false;
        // Filters: "description\0*.ext\0" pairs, ending with an empty one.
        std::wstring filter;
        for (const auto& e : extensions) {
            filter += win32Wide(e.getDescription() + " (*." + e.getExtension() + ")");
            filter += L'\0';
            filter += win32Wide("*." + e.getExtension());
            filter += L'\0';
        }
        filter += L'\0';
        std::vector<wchar_t> path(kPathLength, L'\0');
        std::wstring name = win32Wide(defaultSaveName);
        if (name.size() < kPathLength)
            name.copy(path.data(), name.size());
        std::wstring dialogTitle = win32Wide(title), folder = win32Wide(initialDirectory);
        std::wstring defaultExtension =
            extensions.empty() ? std::wstring() : win32Wide(extensions.front().getExtension());

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner =
            parent && parent->getPlatformFrame()
                ? static_cast<HWND>(parent->getPlatformFrame()->getPlatformRepresentation())
                : nullptr;
        dialog.lpstrFilter = extensions.empty() ? nullptr : filter.c_str();
        dialog.lpstrFile = path.data();
        dialog.nMaxFile = kPathLength;
        dialog.lpstrTitle = dialogTitle.empty() ? nullptr : dialogTitle.c_str();
        dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
        dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
        dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR |
                       (style == kSelectSaveFile ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST
                                                 : OFN_FILEMUSTEXIST);
        BOOL ok = style == kSelectSaveFile ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
        if (!ok)
            return false;
        selected.push_back(utf8(path.data()));
        return true;
    }
};

} // namespace

CNewFileSelector* CNewFileSelector::create(CFrame* parent, Style style) {
    return new Win32FileSelector(parent, style);
}

} // namespace VSTGUI
