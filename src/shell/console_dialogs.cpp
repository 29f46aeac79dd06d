#include "shell/console_dialogs.h"

#include <string>

#include "platform/text.h"

namespace quillon::shell {
namespace {

const char* IconLabel(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::kInformation:
      return "[Informacion] ";
    case platform::MessageIcon::kWarning:
      return "[Aviso] ";
    case platform::MessageIcon::kError:
      return "[Error] ";
    case platform::MessageIcon::kQuestion:
      return "[Pregunta] ";
    case platform::MessageIcon::kNone:
      break;
  }
  return "";
}

// Terminal text: UTF-8 with LF line ends.
std::string Terminal(const std::u16string& text) {
  std::string out = platform::Utf16ToUtf8(text);
  std::erase(out, '\r');
  return out;
}

std::string Heading(const std::u16string& title) {
  return title.empty() ? std::string() : Terminal(title) + ": ";
}

}  // namespace

ConsoleDialogs::ConsoleDialogs(std::istream& in, std::ostream& err) : in_(in), err_(err) {}

void ConsoleDialogs::MessageBox(const std::u16string& message, const std::u16string& title,
                                platform::MessageIcon icon) {
  err_ << IconLabel(icon) << Heading(title) << Terminal(message) << '\n' << std::flush;
}

std::u16string ConsoleDialogs::InputBox(const std::u16string& prompt, const std::u16string& title,
                                        const std::u16string& /*default_text*/) {
  err_ << Heading(title) << Terminal(prompt) << "\n> " << std::flush;
  std::string line;
  if (!std::getline(in_, line)) {
    throw InputClosed("Se termino la entrada estandar mientras se esperaba la respuesta a \"" +
                      platform::Utf16ToUtf8(title) + "\"; el agente se cierra.");
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return platform::Utf8ToUtf16(line);
}

}  // namespace quillon::shell
