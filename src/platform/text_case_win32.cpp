// Letter case by Windows' own tables. LCMAP_LINGUISTIC_CASING keeps the mapping of the invariant
// locale one unit for one unit, so lengths and columns stay as they were (no "ß" -> "SS").
#include <windows.h>

#include "platform/text.h"

namespace quillon::platform {
namespace {

std::u16string MapCase(std::u16string_view text, DWORD flags) {
  std::u16string out(text);
  if (out.empty()) return out;
  const int length = static_cast<int>(out.size());
  const auto* source = reinterpret_cast<const wchar_t*>(text.data());
  auto* target = reinterpret_cast<wchar_t*>(out.data());
  // Should the system refuse the invariant locale, the user-locale tables of CharUpperBuffW do.
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, flags, source, length, target, length, nullptr, nullptr,
                    0) == length) {
    return out;
  }
  out.assign(text);
  if (flags & LCMAP_UPPERCASE) {
    CharUpperBuffW(reinterpret_cast<wchar_t*>(out.data()), static_cast<DWORD>(length));
  } else {
    CharLowerBuffW(reinterpret_cast<wchar_t*>(out.data()), static_cast<DWORD>(length));
  }
  return out;
}

}  // namespace

std::u16string ToUpper(std::u16string_view text) {
  return MapCase(text, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING);
}

std::u16string ToLower(std::u16string_view text) {
  return MapCase(text, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING);
}

}  // namespace quillon::platform
