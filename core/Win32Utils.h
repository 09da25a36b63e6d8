#pragma once
// Platform services on the Win32 API.

#include "IUtils.h"

#include <windows.h>

#include <string>

namespace SorvLib {

class Win32Utils : public IUtils {
public:
    std::string getUserName() override;
    double getScaleFactor() override;
    void showMessage(void* ownerWindow, std::string title, std::string text) override;
    bool openDocument(std::string path) override;
    std::string getFolder(FolderKind kind) override;
    std::string pathSeparator() override;
    uint32_t getMilliseconds() override;

protected:
    // The system calls below are the ones a test cannot observe or steer (screen DPI, modal
    // boxes, the shell); tests override them, everything around them is the production path.
    virtual bool isDpiAware();
    // Logical pixels per inch of the screen; false when there is no screen device context.
    virtual bool readDeviceDpi(int& x, int& y);
    virtual void presentMessage(HWND owner, const std::wstring& title, const std::wstring& text);
    // True when the shell accepted the document.
    virtual bool shellOpen(const wchar_t* document);

private:
    // The environment variable, else the shell's special folder, then suffix; without the
    // trailing separator. Empty when the result would not fit the system's path limit.
    std::string readSystemFolder(const char* variable, int specialFolder, const char* suffix);
};

} // namespace SorvLib
