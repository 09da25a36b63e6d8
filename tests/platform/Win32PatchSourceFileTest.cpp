// The patch source file on Windows: CR LF line ends from the text stream, a path with
// characters outside the ANSI code page, and a folder that does not exist.

#include "editor/SorvPatchExport.h"
#include "engine/QUOR515Effect.h"
#include "support/TestHostContext.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace SorvLib;

TEST(Win32PatchSourceFile, WritesCrLfToAUnicodePath) {
    SorvTest::TestHostContext context;
    auto* effect = new QUOR515Effect;
    ASSERT_EQ(effect->initialize(context.unknown()), Steinberg::kResultOk);
    char folder[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    // "Räum €" in UTF-8.
    std::string path = std::string(folder) + "R\xC3\xA4um \xE2\x82\xAC-" +
                       std::to_string(GetCurrentProcessId()) + ".h";
    ASSERT_TRUE(writePatchSourceFile(path, effect));

    std::wstring wide(MAX_PATH, L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &wide[0], MAX_PATH) - 1));
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<char> bytes(4096);
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    DeleteFileW(wide.c_str());
    std::string text(bytes.data(), read);
    std::string pid = std::to_string(GetCurrentProcessId());
    std::string header = "// Auto-generated patch for Sorv Audio Labs QUOR-515\r\n\r\n"
                         "static const struct SorvLib::Patch<6> _R\xC3\xA4UM_\xE2\x82\xAC_" +
                         pid + " =\r\n{\r\n\t\"R\xC3\xA4um \xE2\x82\xAC-" + pid +
                         "\",\r\n\t{\r\n\t\t{ 0x506f7772, ";
    EXPECT_EQ(text.substr(0, header.size()), header);
    const std::string tail = "\t\t{ 0xffffffff, -1.f }\r\n\t}\r\n};\r\n\r\n";
    ASSERT_GT(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    size_t lines = 0, crlf = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        lines += text[i] == '\n';
        crlf += text[i] == '\n' && i > 0 && text[i - 1] == '\r';
    }
    EXPECT_EQ(lines, 15u);
    EXPECT_EQ(crlf, lines);

    EXPECT_FALSE(writePatchSourceFile(std::string(folder) + "no-such-folder\\x.h", effect));
    effect->terminate();
    effect->release();
}
