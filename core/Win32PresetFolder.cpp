// The preset export's view of the file system: the module's own file name and new folders.
#include "core/FactoryPresetExport.h"

#include <windows.h>

namespace SorvLib {

namespace {
constexpr DWORD kPathBuffer = 260;
} // namespace

std::string getModuleExtension() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&getModuleExtension), &self))
        return "";
    char path[kPathBuffer] = {};
    const DWORD length = GetModuleFileNameA(self, path, kPathBuffer);
    if (length == 0 || length >= kPathBuffer)
        return "";
    const std::string text(path, length);
    const size_t dot = text.rfind('.');
    if (dot == std::string::npos || dot + 1 == text.size())
        return "";
    return text.substr(dot + 1);
}

bool makeDirectory(const std::string& path, int) {
    wchar_t wide[kPathBuffer] = {};
    // A path that does not fit the buffer is refused rather than cut to another folder's name.
    const int count = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide, kPathBuffer);
    if (count <= 1)
        return false;
    return CreateDirectoryW(wide, nullptr) != 0;
}

} // namespace SorvLib
