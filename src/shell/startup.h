#pragma once
// The start-up steps every front end shares: one agent per data folder, and without a window
// the branch code and the options straight from Acceso.
#include <filesystem>
#include <string>

#include "platform/dialogs.h"
#include "platform/single_instance.h"
#include "shell/branch_code_file.h"
#include "shell/printing_options.h"

namespace quillon::shell {

// Takes the data folder for this agent; otherwise says why (another agent holds it, or the
// folder cannot be used) and returns false, and the program ends.
bool TakeDataFolder(platform::SingleInstance& instance, platform::Dialogs& dialogs,
                    const std::filesystem::path& data_dir);

// The agent without a window: the code (prompting when none is stored) and the restored
// options, stored again as a click would.
class ConsoleShell {
 public:
  explicit ConsoleShell(BranchCodeFile& acceso);
  const std::u16string& BranchCode() const { return branch_code_; }
  const PrintingOptions& Options() const { return options_; }

 private:
  BranchCodeFile& acceso_;
  std::u16string branch_code_;
  PrintingOptions options_;
};

}  // namespace quillon::shell
