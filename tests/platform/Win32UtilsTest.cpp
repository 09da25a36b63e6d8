#include "core/Win32Utils.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

using namespace SorvLib;

namespace {

// Sets or removes one environment variable of this process and restores it afterwards.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const char* name) : name(name) {
        std::vector<char> value(32768, '\0');
        const DWORD length = GetEnvironmentVariableA(name, value.data(), DWORD(value.size()));
        wasSet = length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
        previous.assign(value.data(), length < value.size() ? length : 0);
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(name, wasSet ? previous.c_str() : nullptr); }

    void set(const std::string& value) {
        ASSERT_TRUE(SetEnvironmentVariableA(name, value.c_str()));
    }
    void unset() { SetEnvironmentVariableA(name, nullptr); }

private:
    const char* name;
    bool wasSet = false;
    std::string previous;
};

std::string specialFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE))
        return {};
    return path;
}

// Replaces only the system calls nobody can steer from a test.
class ObservedUtils : public Win32Utils {
public:
    bool dpiAware = true;
    bool hasScreen = true;
    int dpiX = 96;
    int dpiY = 96;

    int messages = 0;
    HWND messageOwner = nullptr;
    std::wstring messageTitle;
    std::wstring messageText;

    int shellCalls = 0;
    std::wstring shellDocument;
    bool shellAccepts = true;

protected:
    bool isDpiAware() override { return dpiAware; }
    bool readDeviceDpi(int& x, int& y) override {
        x = dpiX;
        y = dpiY;
        return hasScreen;
    }
    void presentMessage(HWND owner, const std::wstring& title, const std::wstring& text) override {
        ++messages;
        messageOwner = owner;
        messageTitle = title;
        messageText = text;
    }
    bool shellOpen(const wchar_t* document) override {
        ++shellCalls;
        shellDocument = document;
        return shellAccepts;
    }
};

double scaleAt(int dpiX, int dpiY) {
    ObservedUtils utils;
    utils.dpiX = dpiX;
    utils.dpiY = dpiY;
    return utils.getScaleFactor();
}

} // namespace

TEST(Win32UtilsScale, SnapsCommonDpiSettings) {
    EXPECT_EQ(scaleAt(96, 96), 1.0);
    EXPECT_EQ(scaleAt(120, 120), 1.25);
    EXPECT_EQ(scaleAt(144, 144), 1.5);
    EXPECT_EQ(scaleAt(168, 168), 2.0);
    EXPECT_EQ(scaleAt(192, 192), 2.0);
    EXPECT_EQ(scaleAt(288, 288), 2.0);
}

TEST(Win32UtilsScale, SnapsTheMeanOfBothAxesUpward) {
    EXPECT_EQ(scaleAt(96, 120), 1.25); // mean 108
    EXPECT_EQ(scaleAt(120, 96), 1.25);
    EXPECT_EQ(scaleAt(96, 97), 1.25);  // just above 96
    EXPECT_EQ(scaleAt(120, 121), 1.5); // just above 120
    EXPECT_EQ(scaleAt(144, 145), 2.0); // just above 144
    EXPECT_EQ(scaleAt(72, 72), 1.0);   // below 96 never shrinks
}

TEST(Win32UtilsScale, IsOneWithoutDpiAwarenessOrScreen) {
    ObservedUtils unaware;
    unaware.dpiAware = false;
    unaware.dpiX = unaware.dpiY = 192;
    EXPECT_EQ(unaware.getScaleFactor(), 1.0);

    ObservedUtils noScreen;
    noScreen.hasScreen = false;
    noScreen.dpiX = noScreen.dpiY = 192;
    EXPECT_EQ(noScreen.getScaleFactor(), 1.0);
}

TEST(Win32UtilsScale, ReadsTheRealScreen) {
    Win32Utils utils;
    if (!IsProcessDPIAware()) {
        EXPECT_EQ(utils.getScaleFactor(), 1.0);
    }

    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    const int mean = (GetDeviceCaps(screen, LOGPIXELSX) + GetDeviceCaps(screen, LOGPIXELSY)) / 2;
    ReleaseDC(nullptr, screen);
    const double expected = mean <= 96 ? 1.0 : mean <= 120 ? 1.25 : mean <= 144 ? 1.5 : 2.0;
    EXPECT_EQ(utils.getScaleFactor(), expected);
}

TEST(Win32UtilsFolders, ProgramFilesComeFromTheEnvironment) {
    ScopedEnvironment programFiles("ProgramW6432");
    ScopedEnvironment common("CommonProgramW6432");
    programFiles.set("D:\\Apps");
    common.set("D:\\Apps\\Shared");

    Win32Utils utils;
    EXPECT_EQ(utils.getFolder(FolderKind::ProgramFiles), "D:\\Apps\\");
    EXPECT_EQ(utils.getFolder(FolderKind::CommonProgramFiles), "D:\\Apps\\Shared\\");
    EXPECT_EQ(utils.getFolder(FolderKind::Maker), "D:\\Apps\\Sorv Audio Labs\\");
    EXPECT_EQ(utils.getFolder(FolderKind::Manuals), "D:\\Apps\\Sorv Audio Labs\\manuals\\");
}

TEST(Win32UtilsFolders, ProgramFilesFallBackToTheShell) {
    ScopedEnvironment programFiles("ProgramW6432");
    ScopedEnvironment common("CommonProgramW6432");
    programFiles.unset();
    common.unset();

    const std::string shellProgramFiles = specialFolder(CSIDL_PROGRAM_FILES);
    const std::string shellCommon = specialFolder(CSIDL_PROGRAM_FILES_COMMON);
    ASSERT_FALSE(shellProgramFiles.empty());
    ASSERT_FALSE(shellCommon.empty());

    Win32Utils utils;
    EXPECT_EQ(utils.getFolder(FolderKind::ProgramFiles), shellProgramFiles + "\\");
    EXPECT_EQ(utils.getFolder(FolderKind::CommonProgramFiles), shellCommon + "\\");
    EXPECT_EQ(utils.getFolder(FolderKind::Manuals),
              shellProgramFiles + "\\Sorv Audio Labs\\manuals\\");
}

TEST(Win32UtilsFolders, EmptyVariableCountsAsUnset) {
    ScopedEnvironment programFiles("ProgramW6432");
    programFiles.set("");
    Win32Utils utils;
    EXPECT_EQ(utils.getFolder(FolderKind::ProgramFiles), specialFolder(CSIDL_PROGRAM_FILES) + "\\");
}

TEST(Win32UtilsFolders, UserPresetsUnderAppData) {
    ScopedEnvironment appData("APPDATA");
    Win32Utils utils;

    appData.set("C:\\Users\\me\\AppData\\Roaming");
    EXPECT_EQ(utils.getFolder(FolderKind::UserPresets),
              "C:\\Users\\me\\AppData\\Roaming\\VST3 Presets\\");

    appData.unset();
    const std::string shellAppData = specialFolder(CSIDL_APPDATA);
    ASSERT_FALSE(shellAppData.empty());
    EXPECT_EQ(utils.getFolder(FolderKind::UserPresets), shellAppData + "\\VST3 Presets\\");
}

TEST(Win32UtilsFolders, PathsBeyondTheSystemLimitGiveNoFolder) {
    ScopedEnvironment programFiles("ProgramW6432");
    ScopedEnvironment appData("APPDATA");
    Win32Utils utils;

    // 259 characters is the longest path that fits with its terminating zero.
    const std::string longest = "C:\\" + std::string(256, 'p');
    programFiles.set(longest);
    EXPECT_EQ(utils.getFolder(FolderKind::ProgramFiles), longest + "\\");

    programFiles.set(longest + "p");
    EXPECT_EQ(utils.getFolder(FolderKind::ProgramFiles), "");
    EXPECT_EQ(utils.getFolder(FolderKind::Maker), "");
    EXPECT_EQ(utils.getFolder(FolderKind::Manuals), "");

    // "\VST3 Presets" has 13 characters and must fit within the same limit.
    const std::string roomForPresets = "C:\\" + std::string(259 - 13 - 3, 'a');
    appData.set(roomForPresets);
    EXPECT_EQ(utils.getFolder(FolderKind::UserPresets), roomForPresets + "\\VST3 Presets\\");
    appData.set(roomForPresets + "a");
    EXPECT_EQ(utils.getFolder(FolderKind::UserPresets), "");
}

TEST(Win32UtilsFolders, UnknownKindsGiveNoFolder) {
    Win32Utils utils;
    EXPECT_EQ(utils.getFolder(FolderKind(5)), "");
    EXPECT_EQ(utils.getFolder(FolderKind(0xFFFFFFFFu)), "");
}

TEST(Win32UtilsFolders, DerivedFoldersFollowAnOverridingImplementation) {
    class RelocatedUtils : public Win32Utils {
    public:
        std::string getFolder(FolderKind kind) override {
            if (kind == FolderKind::ProgramFiles)
                return "/opt/";
            return Win32Utils::getFolder(kind);
        }
        std::string pathSeparator() override { return "/"; }
    };
    RelocatedUtils utils;
    EXPECT_EQ(utils.getFolder(FolderKind::Manuals), "/opt/Sorv Audio Labs/manuals/");
}

TEST(Win32UtilsDocuments, EmptyPathNeverReachesTheShell) {
    ObservedUtils utils;
    EXPECT_FALSE(utils.openDocument(""));
    EXPECT_EQ(utils.shellCalls, 0);
}

TEST(Win32UtilsDocuments, HandsTheShellUtf16AndItsVerdict) {
    ObservedUtils utils;
    EXPECT_TRUE(utils.openDocument(u8"C:\\Manuals\\Größe €.pdf"));
    EXPECT_EQ(utils.shellCalls, 1);
    EXPECT_EQ(utils.shellDocument, L"C:\\Manuals\\Gr\u00F6\u00DFe \u20AC.pdf");

    utils.shellAccepts = false;
    EXPECT_FALSE(utils.openDocument("https://example.com/"));
    EXPECT_EQ(utils.shellCalls, 2);
}

TEST(Win32UtilsDocuments, OverlongPathIsRefusedWhole) {
    ObservedUtils utils;
    // 1023 characters and the terminating zero fill the conversion buffer exactly.
    EXPECT_TRUE(utils.openDocument(std::string(1023, 'x')));
    EXPECT_EQ(utils.shellDocument.size(), 1023u);
    EXPECT_FALSE(utils.openDocument(std::string(1024, 'x')));
    EXPECT_EQ(utils.shellCalls, 1);
}

TEST(Win32UtilsDocuments, ShellRefusesAMissingFile) {
    Win32Utils utils;
    EXPECT_FALSE(utils.openDocument("C:\\no such folder\\no such manual.pdf"));
}

TEST(Win32UtilsMessages, ShowsUtf16TitleAndText) {
    ObservedUtils utils;
    const HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    utils.showMessage(owner, "Sorv Audio Labs: QUOR-515", u8"Café\nline two");
    EXPECT_EQ(utils.messages, 1);
    EXPECT_EQ(utils.messageOwner, owner);
    EXPECT_EQ(utils.messageTitle, L"Sorv Audio Labs: QUOR-515");
    EXPECT_EQ(utils.messageText, L"Caf\u00E9\nline two");
}

TEST(Win32UtilsMessages, TextThatGivesNoCharactersShowsNoBox) {
    ObservedUtils utils;
    utils.showMessage(nullptr, "", "text");
    utils.showMessage(nullptr, "title", "");
    EXPECT_EQ(utils.messages, 0);
}

TEST(Win32Utils, SystemFacts) {
    Win32Utils utils;
    EXPECT_EQ(utils.pathSeparator(), "\\");

    const std::string user = utils.getUserName();
    EXPECT_FALSE(user.empty());
    EXPECT_EQ(user.find('\0'), std::string::npos);

    const uint32_t before = GetTickCount();
    const uint32_t now = utils.getMilliseconds();
    const uint32_t after = GetTickCount();
    EXPECT_LE(now - before, after - before); // modulo 2^32, like the counter itself
}

TEST(Win32Utils, GetUtilsIsOneWin32Instance) {
    IUtils* utils = getUtils();
    ASSERT_NE(utils, nullptr);
    EXPECT_EQ(utils, getUtils());
    EXPECT_NE(dynamic_cast<Win32Utils*>(utils), nullptr);
}
