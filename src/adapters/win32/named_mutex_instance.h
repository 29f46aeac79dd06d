#pragma once
// One running agent per data folder: a named mutex whose name comes from the folder's full path,
// held until the process ends (Windows frees it then, also after a crash).
#include <windows.h>

#include <filesystem>

#include "platform/single_instance.h"

namespace quillon::adapters::win32 {

class NamedMutexInstance final : public platform::SingleInstance {
 public:
  explicit NamedMutexInstance(std::filesystem::path data_dir);
  ~NamedMutexInstance() override;
  NamedMutexInstance(const NamedMutexInstance&) = delete;
  NamedMutexInstance& operator=(const NamedMutexInstance&) = delete;

  // Unavailable: the folder is missing or does not take a file.
  Result Acquire() override;

 private:
  std::filesystem::path data_dir_;
  HANDLE mutex_ = nullptr;
};

}  // namespace quillon::adapters::win32
