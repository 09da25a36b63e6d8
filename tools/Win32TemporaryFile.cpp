#include "TemporaryFile.h"

#include <windows.h>

namespace SorvTools {

TemporaryFile::Creation TemporaryFile::createNew(const std::filesystem::path& path) {
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Creation::NameTaken
                                                                           : Creation::Failed;
    }
    CloseHandle(handle);
    return Creation::Created;
}

} // namespace SorvTools
