#pragma once
// Files written whole: the bytes go beside the target first and are renamed into place, so a
// reader (or a program started after a crash) never sees half a file.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::platform {

// kNone: the new content may still be lost to a power cut shortly after the call.
// kFileAndFolder: the call returns true only once the file's bytes and its name in the folder are
// on the disk, so after a power cut the target holds the old content or the new one, whole.
enum class FileSync { kNone, kFileAndFolder };

// false when the file could not be written; the target is then as it was and nothing is left
// beside it.
bool WriteWholeFile(const std::filesystem::path& target, std::string_view content,
                    FileSync sync = FileSync::kNone);
// The file's bytes; nullopt when it is missing, a folder or cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);
// Adds `content` at the end of the file, making it when it is missing; false when not all of it
// went in.
bool AppendToFile(const std::filesystem::path& file, std::string_view content);
// The file's bytes on the disk, so they survive a power cut; false when that failed.
bool SyncFile(const std::filesystem::path& file);
// The folder's list of names on the disk, so the latest renames in it survive a power cut.
bool SyncFolder(const std::filesystem::path& folder);

}  // namespace quillon::platform
