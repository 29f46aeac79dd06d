#include "shell/startup.h"

#include <vector>

#include "platform/text.h"
#include "shell/startup_texts.h"

namespace quillon::shell {

bool TakeDataFolder(platform::SingleInstance& instance, platform::Dialogs& dialogs,
                    const std::filesystem::path& data_dir) {
  switch (instance.Acquire()) {
    case platform::SingleInstance::Result::Acquired:
      return true;
    case platform::SingleInstance::Result::HeldByOther:
      dialogs.MessageBox(kAlreadyRunningMessage, u"", platform::MessageIcon::Warning);
      return false;
    case platform::SingleInstance::Result::Unavailable:
      break;
  }
  dialogs.MessageBox(u"No se puede usar la carpeta de datos " + data_dir.u16string() +
                         platform::u16(": no existe o no admite escritura. Indique otra con "
                                       "--data-dir."),
                     u"", platform::MessageIcon::Error);
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
