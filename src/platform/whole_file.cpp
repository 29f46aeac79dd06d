#include "platform/whole_file.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/file_calls.h"

namespace quillon::platform {
namespace fs = std::filesystem;

bool WriteWholeFile(const fs::path& target, std::string_view content, FileSync sync) {
  const bool durable = sync == FileSync::kFileAndFolder;
  fs::path partial = target;
  partial += ".part";
  if (WriteNewFile(partial, content, durable) && !RenameOver(partial, target)) {
    return !durable || SyncFolder(target.has_parent_path() ? target.parent_path() : ".");
  }
  // Only a file this call made; whatever else is in the way stays as it was.
  std::error_code ignored;
  if (fs::is_regular_file(fs::symlink_status(partial, ignored))) fs::remove(partial, ignored);
  return false;
}

std::optional<std::string> ReadWholeFile(const fs::path& file) {
  std::error_code error;
  if (fs::is_directory(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool AppendToFile(const fs::path& file, std::string_view content) {
  std::ofstream out(file, std::ios::binary | std::ios::app);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  return !out.fail();
}

}  // namespace quillon::platform
