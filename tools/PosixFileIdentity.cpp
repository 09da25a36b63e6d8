#include "FileIdentity.h"

#include <sys/stat.h>

namespace SorvTools {

bool FileIdentity::of(const std::filesystem::path& path, FileIdentity& identity) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return false;
    identity.volume = uint64_t(info.st_dev);
    identity.index = uint64_t(info.st_ino);
    return true;
}

} // namespace SorvTools
