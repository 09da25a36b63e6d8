#include "TestUtils.h"

#include <utility>

namespace SorvTest {

using SorvLib::FolderKind;

TestUtils::TestUtils() {
    reset();
}

void TestUtils::reset() {
    scaleFactor = 1.0;
    milliseconds = 0;
    documentOpens = true;
    messageCount = 0;
    lastMessageOwner = nullptr;
    lastMessageTitle.clear();
    lastMessageText.clear();
    documentCount = 0;
    lastDocument.clear();
    baseFolders = {
        {FolderKind::ProgramFiles, "C:\\Program Files\\"},
        {FolderKind::CommonProgramFiles, "C:\\Program Files\\Common Files\\"},
        {FolderKind::UserPresets, "C:\\Users\\tester\\AppData\\Roaming\\VST3 Presets\\"},
    };
}

void TestUtils::setFolder(FolderKind kind, std::string folder) {
    baseFolders[kind] = std::move(folder);
}

void TestUtils::showMessage(void* ownerWindow, std::string title, std::string text) {
    ++messageCount;
    lastMessageOwner = ownerWindow;
    lastMessageTitle = std::move(title);
    lastMessageText = std::move(text);
}

bool TestUtils::openDocument(std::string path) {
    if (path.empty())
        return false;
    ++documentCount;
    lastDocument = std::move(path);
    return documentOpens;
}

std::string TestUtils::getFolder(FolderKind kind) {
    switch (kind) {
    case FolderKind::Maker: {
        const std::string base = getFolder(FolderKind::ProgramFiles);
        return base.empty() ? base : base + "Sorv Audio Labs" + pathSeparator();
    }
    case FolderKind::Manuals: {
        const std::string base = getFolder(FolderKind::Maker);
        return base.empty() ? base : base + "manuals" + pathSeparator();
    }
    default: {
        const auto found = baseFolders.find(kind);
        return found == baseFolders.end() ? std::string() : found->second;
    }
    }
}

TestUtils* activeTestUtils() {
    return dynamic_cast<TestUtils*>(SorvLib::getUtils());
}

} // namespace SorvTest
