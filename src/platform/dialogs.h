#pragma once
// Modal message box and one-line input box.
#include <string>

// windows.h, where a file includes it first, renames MessageBox to MessageBoxW; the interface
// keeps its own name.
#ifdef MessageBox
#undef MessageBox
#endif

namespace quillon::platform {

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void MessageBox(const std::u16string& message, const std::u16string& title,
                          MessageIcon icon) = 0;
  // The entered text; the empty text when cancelled.
  virtual std::u16string InputBox(const std::u16string& prompt, const std::u16string& title,
                                  const std::u16string& default_text) = 0;
};

}  // namespace quillon::platform
