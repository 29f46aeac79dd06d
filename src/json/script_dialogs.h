#pragma once
// What a script may ask of its user: a message to read and a line of text to type.
#include <string>

namespace quillon::json {

class ScriptDialogs {
 public:
  enum class Tone { kInformation, kWarning };

  virtual ~ScriptDialogs() = default;
  virtual void ShowMessage(const std::u16string& message, const std::u16string& title,
                           Tone tone) = 0;
  // The entered text; the empty text when cancelled.
  virtual std::u16string AskText(const std::u16string& prompt, const std::u16string& title,
                                 const std::u16string& default_text) = 0;
};

}  // namespace quillon::json
