#pragma once
// The framework's only way to the operating system outside the VST3 SDK and VSTGUI.

#include <cstdint>
#include <string>

namespace SorvLib {

// Selector of IUtils::getFolder. Values above the last one are valid and name no folder.
enum class FolderKind : uint32_t {
    ProgramFiles = 0,       // ends with the separator
    CommonProgramFiles = 1, // ends with the separator
    Maker = 2,              // ProgramFiles + "Sorv Audio Labs" + separator
    Manuals = 3,            // Maker + "manuals" + separator
    UserPresets = 4,        // the user's VST 3 preset folder, ends with the separator
};

// Stateless platform services. Text is UTF-8; implementations convert at the system call.
// Safe to call from any thread; the product calls them on the main thread.
class IUtils {
public:
    // The name of the calling thread's user; "default" when the system gives none.
    virtual std::string getUserName() = 0;
    // The display scale snapped to 1.0, 1.25, 1.5 or 2.0; 1.0 when it cannot be read.
    virtual double getScaleFactor() = 0;
    // Modal information box with an OK button; blocks until the user closes it.
    // ownerWindow is the native window handle or null.
    virtual void showMessage(void* ownerWindow, std::string title, std::string text) = 0;
    // Hands a file path or web address to the shell; true when the shell accepted it.
    virtual bool openDocument(std::string path) = 0;
    // A well-known folder ending with the separator, or empty when it cannot be found.
    virtual std::string getFolder(FolderKind kind) = 0;
    virtual std::string pathSeparator() = 0;
    // Milliseconds since system start; wraps after 2^32.
    virtual uint32_t getMilliseconds() = 0;
    virtual ~IUtils() = default;
};

// The process-wide services, built on first use; never delete the result.
IUtils* getUtils();

} // namespace SorvLib
