#include "adapters/win32/named_mutex_instance.h"

#include <cwctype>
#include <fstream>
#include <string>
#include <system_error>

namespace quillon::adapters::win32 {
namespace {

// "Local\quillon-agent-" and the folder's path in capitals with its backslashes made
// underscores: a backslash would stand for a namespace in the name.
std::wstring MutexName(const std::filesystem::path& data_dir) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::weakly_canonical(data_dir, error);
  if (error) full = std::filesystem::absolute(data_dir, error);
  std::wstring name = full.wstring();
  while (name.size() > 3 && (name.back() == L'\\' || name.back() == L'/')) name.pop_back();
  for (wchar_t& c : name) {
    c = (c == L'\\' || c == L'/') ? L'_' : static_cast<wchar_t>(std::towupper(c));
  }
  return L"Local\\quillon-agent-" + name;
}

bool TakesFiles(const std::filesystem::path& folder) {
  const std::filesystem::path probe = folder / ".quillon-agent.probe";
  const bool written = static_cast<bool>(std::ofstream(probe, std::ios::binary));
  std::error_code ignored;
  std::filesystem::remove(probe, ignored);
  return written;
}

}  // namespace

NamedMutexInstance::NamedMutexInstance(std::filesystem::path data_dir)
    : data_dir_(std::move(data_dir)) {}

NamedMutexInstance::~NamedMutexInstance() {
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

NamedMutexInstance::Result NamedMutexInstance::Acquire() {
  std::error_code error;
  if (!std::filesystem::is_directory(data_dir_, error) || !TakesFiles(data_dir_)) {
    return Result::kUnavailable;
  }
  HANDLE mutex = CreateMutexW(nullptr, TRUE, MutexName(data_dir_).c_str());
  if (mutex == nullptr) return Result::kUnavailable;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return Result::kHeldByOther;
  }
  mutex_ = mutex;
  return Result::kAcquired;
}

}  // namespace quillon::adapters::win32
