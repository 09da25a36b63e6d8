#include "TemporaryFile.h"

#include "WavError.h"

#include <string>

namespace SorvTools {

TemporaryFile::TemporaryFile(const std::filesystem::path& target) : target(target) {
    for (int number = 0; number <= kMaxNumberedNames; ++number) {
        std::filesystem::path name = target;
        name += (number == 0 ? "" : "." + std::to_string(number)) + ".partial";
        switch (createNew(name)) {
        case Creation::Created:
            temporary = name;
            return;
        case Creation::NameTaken:
            continue;
        case Creation::Failed:
            throw WavError(name.u8string() + ": cannot create the file");
        }
    }
    throw WavError(target.u8string() + ": cannot create the file (every temporary name "
                                       "beside it is taken)");
}

TemporaryFile::~TemporaryFile() {
    if (!committed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
}

void TemporaryFile::commit() {
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error)
        throw WavError(target.u8string() + ": cannot rename the finished file into place (" +
                       error.message() + ")");
    committed = true;
}

} // namespace SorvTools
