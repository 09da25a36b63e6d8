#pragma once
// Platform services for tests: fixed folders, a settable clock and scale, and a record of
// the documents and messages the code under test asked for, instead of showing them.

#include "core/IUtils.h"

#include <map>
#include <string>

namespace SorvTest {

class TestUtils : public SorvLib::IUtils {
public:
    TestUtils();

    std::string getUserName() override { return "tester"; }
    double getScaleFactor() override { return scaleFactor; }
    void showMessage(void* ownerWindow, std::string title, std::string text) override;
    bool openDocument(std::string path) override;
    std::string getFolder(SorvLib::FolderKind kind) override;
    std::string pathSeparator() override { return "\\"; }
    uint32_t getMilliseconds() override { return milliseconds; }

    // Back to the fixed folders, scale 1.0, clock 0 and no recorded calls.
    void reset();
    // Replaces one of the base folders (ProgramFiles, CommonProgramFiles, UserPresets); the
    // maker and manuals folders follow ProgramFiles as in the product.
    void setFolder(SorvLib::FolderKind kind, std::string folder);

    double scaleFactor = 1.0;
    uint32_t milliseconds = 0;
    // What openDocument answers for a non-empty path.
    bool documentOpens = true;

    int messageCount = 0;
    void* lastMessageOwner = nullptr;
    std::string lastMessageTitle;
    std::string lastMessageText;

    int documentCount = 0;
    std::string lastDocument;

private:
    std::map<SorvLib::FolderKind, std::string> baseFolders;
};

// The instance that SorvLib::getUtils() hands out in the native build; null in the Windows
// build, where getUtils() gives the real services.
TestUtils* activeTestUtils();

} // namespace SorvTest
