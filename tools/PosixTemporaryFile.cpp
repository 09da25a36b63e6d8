#include "TemporaryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace SorvTools {

TemporaryFile::Creation TemporaryFile::createNew(const std::filesystem::path& path) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0)
        return errno == EEXIST ? Creation::NameTaken : Creation::Failed;
    close(file);
    return Creation::Created;
}

} // namespace SorvTools
