#pragma once
// A new, empty file beside a target file, for writing the target's next contents. It is
// created exclusively under a name no file has yet (TARGET.partial, else TARGET.1.partial
// ...), so no existing file is ever opened or replaced by it; commit() renames it over
// the target, and until then the destructor removes it again, and only it.

#include <filesystem>

namespace SorvTools {

class TemporaryFile {
public:
    // How many numbered names are tried after TARGET.partial.
    static constexpr int kMaxNumberedNames = 999;

    // Throws WavError when no new file can be created beside `target`.
    explicit TemporaryFile(const std::filesystem::path& target);
    // Removes the file unless commit() succeeded. Close it first.
    ~TemporaryFile();

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& path() const { return temporary; }

    // Renames the file over the target. The file must be closed. Throws WavError.
    void commit();

private:
    enum class Creation { Created, NameTaken, Failed };
    // Creates `path` only if no file of that name exists; platform code.
    static Creation createNew(const std::filesystem::path& path);

    std::filesystem::path target;
    std::filesystem::path temporary;
    bool committed = false;
};

} // namespace SorvTools
