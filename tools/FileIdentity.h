#pragma once
// Which file a path names, independent of how the path spells it: "./in.wav", "IN.WAV" on
// a folder that ignores case, a hard link or a symbolic link all name the same file. The
// renderer compares its output with its input by this before it writes anything.

#include <cstdint>
#include <filesystem>

namespace SorvTools {

class FileIdentity {
public:
    // The identity of the existing file `path` names; false when there is none or it
    // cannot be opened.
    static bool of(const std::filesystem::path& path, FileIdentity& identity);

    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && index == other.index;
    }

private:
    uint64_t volume = 0; // the volume or device that holds the file
    uint64_t index = 0;  // the file's number on that volume
};

} // namespace SorvTools
