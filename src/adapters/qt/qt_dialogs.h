#pragma once
// Message boxes and the one-line input box as Qt dialogs.
#include "platform/dialogs.h"

class QWidget;

namespace quillon::adapters::qt {

class QtDialogs final : public platform::Dialogs {
 public:
  // `parent` centres the dialogs over a window; none is needed.
  explicit QtDialogs(QWidget* parent = nullptr);
  void MessageBox(const std::u16string& message, const std::u16string& title,
                  platform::MessageIcon icon) override;
  std::u16string InputBox(const std::u16string& prompt, const std::u16string& title,
                          const std::u16string& default_text) override;

 private:
  QWidget* parent_;
};

}  // namespace quillon::adapters::qt
