// Data kept in the module's resources, and the system's font files.
#include "vstgui/PlatformResources.h"
#include "vstgui/Win32Text.h"

#include <windows.h>

#include <cwchar>

namespace VSTGUI {
std::vector<uint8_t> loadPlatformResource(const std::string& name, const std::string& type) {
    HMODULE module = win32ThisModule();
    std::wstring wname = win32Wide(name), wtype = win32Wide(type);
    if (wname.empty() || wtype.empty())
        return {};
    HRSRC found = FindResourceW(module, wname.c_str(), wtype.c_str());
    if (!found)
        return {};
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0)
        return {};
    auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

std::vector<uint8_t> loadPlatformFont(const std::string& family, bool bold) {
    std::wstring face = win32Wide(family);
    if (face.empty() || face.size() >= LF_FACESIZE)
        return {};
    LOGFONTW description{};
    description.lfHeight = -16;
    description.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectW(&description);
    HDC dc = CreateCompatibleDC(nullptr);
    std::vector<uint8_t> data;
    if (font && dc) {
        HGDIOBJ old = SelectObject(dc, font);
        // The system substitutes another family for a missing one; only the asked one will do.
        wchar_t selected[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, selected);
        if (_wcsicmp(selected, face.c_str()) == 0) {
            DWORD size = GetFontData(dc, 0, 0, nullptr, 0);
            if (size != GDI_ERROR && size > 0) {
                data.resize(size);
                if (GetFontData(dc, 0, 0, data.data(), size) != size)
                    data.clear();
            }
        }
        SelectObject(dc, old);
    }
    if (dc)
        DeleteDC(dc);
    if (font)
        DeleteObject(font);
    return data;
}

} // namespace VSTGUI
