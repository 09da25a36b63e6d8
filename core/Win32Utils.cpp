#include "Win32Utils.h"

#include <shlobj.h>

#include <cwchar>

namespace SorvLib {
namespace {

// GetUserNameA's limit: UNLEN characters plus the terminating zero.
constexpr DWORD kUserNameBufferSize = 257;
// MAX_PATH: the folder buffer and the limit of every folder path we hand out.
constexpr DWORD kFolderBufferSize = 260;
constexpr int kDocumentBufferChars = 1024;

// The sum of both axes' pixels per inch times this is their mean over 96 dpi.
constexpr double kTwiceBaseDpiInverse = 1.0 / 192;
constexpr double kScaleSteps[] = {1.0, 1.25, 1.5};
constexpr double kLargestScale = 2.0;

constexpr char kMakerFolderName[] = "Sorv Audio Labs";
constexpr char kManualsFolderName[] = "manuals";
constexpr char kPresetsSubfolder[] = "\\VST3 Presets";

double snapScale(double ratio) {
    for (double step : kScaleSteps)
        if (ratio <= step)
            return step;
    return kLargestScale;
}

// UTF-8 to UTF-16 in two passes; empty when the text gives no characters or the second pass
// disagrees with the first.
bool toWide(const std::string& text, std::wstring& wide) {
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return false;
    wide.assign(static_cast<size_t>(needed), L'\0');
    return MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &wide[0], needed) == needed;
}

} // namespace

IUtils* getUtils() {
    static Win32Utils utils;
    return &utils;
}

std::string Win32Utils::getUserName() {
    char name[kUserNameBufferSize] = {};
    DWORD size = kUserNameBufferSize;
    if (!GetUserNameA(name, &size) || name[0] == '\0')
        return "default";
    return name;
}

double Win32Utils::getScaleFactor() {
    if (!isDpiAware())
        return 1.0;
    int x = 0;
    int y = 0;
    if (!readDeviceDpi(x, y))
        return 1.0;
    return snapScale((x + y) * kTwiceBaseDpiInverse);
}

void Win32Utils::showMessage(void* ownerWindow, std::string title, std::string text) {
    std::wstring wideTitle;
    std::wstring wideText;
    if (!toWide(title, wideTitle) || !toWide(text, wideText))
        return;
    presentMessage(static_cast<HWND>(ownerWindow), wideTitle, wideText);
}

bool Win32Utils::openDocument(std::string path) {
    if (path.empty())
        return false;
    // Converting with the terminator makes a path too long for the buffer fail as a whole
    // instead of being cut off.
    wchar_t document[kDocumentBufferChars] = {};
    if (MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, document, kDocumentBufferChars) <= 0)
        return false;
    return shellOpen(document);
}

std::string Win32Utils::getFolder(FolderKind kind) {
    std::string folder;
    switch (kind) {
    case FolderKind::ProgramFiles:
        folder = readSystemFolder("ProgramW6432", CSIDL_PROGRAM_FILES, "");
        break;
    case FolderKind::CommonProgramFiles:
        folder = readSystemFolder("CommonProgramW6432", CSIDL_PROGRAM_FILES_COMMON, "");
        break;
    case FolderKind::UserPresets:
        folder = readSystemFolder("APPDATA", CSIDL_APPDATA, kPresetsSubfolder);
        break;
    case FolderKind::Maker: {
        // Through the interface, so a replacement of the base folder carries through.
        const std::string base = getFolder(FolderKind::ProgramFiles);
        return base.empty() ? std::string() : base + kMakerFolderName + pathSeparator();
    }
    case FolderKind::Manuals: {
        const std::string base = getFolder(FolderKind::Maker);
        return base.empty() ? std::string() : base + kManualsFolderName + pathSeparator();
    }
    default:
        return {};
    }
    return folder.empty() ? folder : folder + pathSeparator();
}

std::string Win32Utils::pathSeparator() {
    return "\\";
}

uint32_t Win32Utils::getMilliseconds() {
    return GetTickCount();
}

bool Win32Utils::isDpiAware() {
    return IsProcessDPIAware() != FALSE;
}

bool Win32Utils::readDeviceDpi(int& x, int& y) {
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    x = GetDeviceCaps(screen, LOGPIXELSX);
    y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return true;
}

void Win32Utils::presentMessage(HWND owner, const std::wstring& title, const std::wstring& text) {
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION);
}

bool Win32Utils::shellOpen(const wchar_t* document) {
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", document, nullptr, nullptr, SW_SHOWNORMAL);
    // ShellExecute reports success as any value above 32.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::string Win32Utils::readSystemFolder(const char* variable, int specialFolder,
                                         const char* suffix) {
    // Read in UTF-16: the ANSI forms lose a profile path the system code page cannot spell
    // ("C:\Users\José" under most of them), and the framework's text is UTF-8.
    std::wstring name;
    std::wstring tail;
    if (!toWide(variable, name) || (suffix[0] && !toWide(suffix, tail)))
        return {};
    wchar_t path[kFolderBufferSize] = {};
    const DWORD length = GetEnvironmentVariableW(name.c_str(), path, kFolderBufferSize);
    if (length >= kFolderBufferSize)
        return {}; // the value does not fit: better no folder than a cut-off one
    if (length == 0 && !SHGetSpecialFolderPathW(nullptr, path, specialFolder, FALSE))
        return {};
    const size_t pathLength = std::wcslen(path);
    if (pathLength == 0 || pathLength + tail.size() >= kFolderBufferSize)
        return {};
    const std::wstring folder = path + tail;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, nullptr, 0, nullptr,
                                          nullptr);
    if (bytes <= 1)
        return {};
    std::string text(static_cast<size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, &text[0], bytes, nullptr, nullptr) !=
        bytes)
        return {};
    text.resize(static_cast<size_t>(bytes - 1));
    return text;
}

} // namespace SorvLib
