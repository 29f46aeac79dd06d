#pragma once
// Records the message boxes and input prompts shown, and answers the prompts from a queue.
// A prompt with no answer left throws, so a prompt loop under test fails instead of hanging.
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "json/script_dialogs.h"
#include "platform/dialogs.h"

namespace quillon::test {

struct ShownMessage {
  std::u16string message;
  std::u16string title;
  platform::MessageIcon icon = platform::MessageIcon::kNone;
};

struct ShownPrompt {
  std::u16string prompt;
  std::u16string title;
  std::u16string default_text;
};

class FakeDialogs : public platform::Dialogs, public json::ScriptDialogs {
 public:
  void ShowMessage(const std::u16string& message, const std::u16string& title, Tone tone) override {
    MessageBox(message, title,
               tone == Tone::kWarning ? platform::MessageIcon::kWarning
                                      : platform::MessageIcon::kInformation);
  }
  std::u16string AskText(const std::u16string& prompt, const std::u16string& title,
                         const std::u16string& default_text) override {
    return InputBox(prompt, title, default_text);
  }

  void MessageBox(const std::u16string& message, const std::u16string& title,
                  platform::MessageIcon icon) override {
    messages.push_back({message, title, icon});
  }

  std::u16string InputBox(const std::u16string& prompt, const std::u16string& title,
                          const std::u16string& default_text) override {
    prompts.push_back({prompt, title, default_text});
    if (answers.empty()) throw std::runtime_error("FakeDialogs: no answer left for a prompt");
    std::u16string answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<std::u16string> answers;  // the empty text stands for Cancel
  std::vector<ShownMessage> messages;
  std::vector<ShownPrompt> prompts;
};

}  // namespace quillon::test
