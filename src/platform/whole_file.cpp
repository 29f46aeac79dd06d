#include "platform/whole_file.h"

#include <system_error>

#include "platform/file_calls.h"

namespace quillon::platform {
namespace fs = std::filesystem;

bool WriteWholeFile(const fs::path& target, std::string_view content, FileSync sync) {
  const bool durable = sync == FileSync::kFileAndFolder;
  fs::path partial = target;
  partial += ".part";
  if (WriteNewFile(partial, content, durable) && RenameOver(partial, target)) {
    return !durable || SyncFolder(target.has_parent_path() ? target.parent_path() : ".");
  }
  // Only a file this call made; whatever else is in the way stays as it was.
  std::error_code ignored;
  if (fs::is_regular_file(fs::symlink_status(partial, ignored))) fs::remove(partial, ignored);
  return false;
}

}  // namespace quillon::platform
