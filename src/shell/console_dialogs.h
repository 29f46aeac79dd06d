#pragma once
// Headless dialogs: message boxes go to the error stream, an input prompt reads one line.
#include <istream>
#include <ostream>
#include <stdexcept>

#include "platform/dialogs.h"

namespace quillon::shell {

// The input ended while a prompt waited for an answer; the program cannot go on.
class InputClosed : public std::runtime_error {
 public:
  explicit InputClosed(const std::string& message) : std::runtime_error(message) {}
};

class ConsoleDialogs final : public platform::Dialogs {
 public:
  ConsoleDialogs(std::istream& in, std::ostream& err);
  void MessageBox(const std::u16string& message, const std::u16string& title,
                  platform::MessageIcon icon) override;
  // Throws InputClosed at the end of the input.
  std::u16string InputBox(const std::u16string& prompt, const std::u16string& title,
                          const std::u16string& default_text) override;

 private:
  std::istream& in_;
  std::ostream& err_;
};

}  // namespace quillon::shell
