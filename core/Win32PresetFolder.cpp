// The preset export's view of the file system: the module's own file name and new folders.
#include "core/FactoryPresetExport.h"

#include "public.sdk/source/vst/vstpresetfile.h"

#include <windows.h>

#include <cstdio>
#include <new>

namespace SorvLib {

namespace {
constexpr DWORD kPathBuffer = 260;

// The SDK's stream opens narrow paths, read in the system code page; this one is handed a file
// opened by its UTF-16 name.
class WidePathFileStream : public Steinberg::Vst::FileStream {
public:
    explicit WidePathFileStream(FILE* file) : FileStream(file) {}
};

bool toWidePath(const std::string& path, wchar_t (&wide)[kPathBuffer]) {
    // A path that does not fit the buffer is refused rather than cut to another file's name.
    return MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide, kPathBuffer) > 1;
}
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
    return toWidePath(path, wide) && CreateDirectoryW(wide, nullptr) != 0;
}

Steinberg::IBStream* createPresetFile(const std::string& path) {
    wchar_t wide[kPathBuffer] = {};
    if (!toWidePath(path, wide))
        return nullptr;
    FILE* file = _wfopen(wide, L"wb");
    if (!file)
        return nullptr;
    auto* stream = new (std::nothrow) WidePathFileStream(file);
    if (!stream)
        std::fclose(file);
    return stream;
}

} // namespace SorvLib
