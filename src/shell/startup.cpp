#include "shell/startup.h"

#include <vector>

#include "platform/text.h"
#include "shell/startup_texts.h"

namespace quillon::shell {

bool TakeDataFolder(platform::SingleInstance& instance, platform::Dialogs& dialogs,
                    const std::filesystem::path& data_dir) {
  switch (instance.Acquire()) {
    case platform::SingleInstance::Result::kAcquired:
      return true;
    case platform::SingleInstance::Result::kHeldByOther:
      dialogs.MessageBox(kAlreadyRunningMessage, u"", platform::MessageIcon::kWarning);
      return false;
    case platform::SingleInstance::Result::kUnavailable:
      break;
  }
  dialogs.MessageBox(
      u"No se puede usar la carpeta de datos " + data_dir.u16string() +
          platform::Utf8ToUtf16(": no existe o no admite escritura. Indique otra con "
                                "--data-dir."),
      u"", platform::MessageIcon::kError);
  return false;
}

ConsoleShell::ConsoleShell(BranchCodeFile& acceso)
    : acceso_(acceso),
      options_([this](const std::u16string& list) { acceso_.SaveOptions(branch_code_, list); }) {
  const std::vector<std::u16string> lines = acceso_.ReadBranchCode();
  branch_code_ = lines[0];
  options_.Restore(lines.size() > 1 ? lines[1] : std::u16string());
}

}  // namespace quillon::shell
