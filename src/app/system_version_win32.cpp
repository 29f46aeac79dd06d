#include <windows.h>

#include <string>

#include "app/version_report.h"

namespace quillon::app {

// GetVersionExW answers what the program's manifest promised to know, so the version comes from
// ntdll's RtlGetVersion, which tells the truth; under Wine ntdll also names Wine's version.
std::string SystemDescription() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr) return "Windows";
  using GetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
  using WineVersionCall = const char*(CDECL*)();
  std::string text = "Windows";
  // Found by name at run time; through void* to their real types.
  const auto get_version = reinterpret_cast<GetVersionCall>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
  const auto wine_version = reinterpret_cast<WineVersionCall>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (get_version != nullptr && get_version(&version) == 0) {
    text += " " + std::to_string(version.dwMajorVersion) + "." +
            std::to_string(version.dwMinorVersion) + " (compilación " +
            std::to_string(version.dwBuildNumber) + ")";
  }
  SYSTEM_INFO machine{};
  GetNativeSystemInfo(&machine);
  text += machine.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ? " x64" : "";
  if (wine_version != nullptr) text += std::string(", bajo Wine ") + wine_version();
  return text;
}

}  // namespace quillon::app
