#include "shell/log_text.h"

#include <gtest/gtest.h>

#include <sstream>

#include "shell/console_output.h"
#include "support/fake_clock.h"

namespace quillon::shell {
namespace {

TEST(EscapeControls, ControlCharactersAreWrittenOutAndTextStays) {
  EXPECT_EQ(EscapeControls(std::u16string(u"a\x1B[2Jb\0c\x07\x7F", 10)),
            u"a\\x1B[2Jb\\x00c\\x07\\x7F");
  EXPECT_EQ(EscapeControls(u"\u0080\u009B31m\u009F"), u"\\x80\\x9B31m\\x9F");
  EXPECT_EQ(EscapeControls(u"ab\u202Ecd\u2028\u2066"), u"ab\\u202Ecd\\u2028\\u2066");
  // Tab, line breaks and every printable character are left to the view.
  EXPECT_EQ(EscapeControls(u"Piña €\t\r\n«ñ» \u00A0\u20AC\\x1B"),
            u"Piña €\t\r\n«ñ» \u00A0\u20AC\\x1B");
}

TEST(EscapeControls, ConsoleLinesCarryNoTerminalControl) {
  std::ostringstream out;
  test::FakeClock clock({2024, 5, 7, 9, 5, 3});
  ConsoleOutput output(out, clock);
  ConsoleLog log(output);
  ConsoleNotifier notifier(output);
  log.WriteLog(u"Respuesta: {\"a\":\"\x1B]0;x\x07\u009B\"}\r\n");
  notifier.ShowBalloonTip(u"Comanda enviada a \x1B[31mCocina", platform::BalloonIcon::Information,
                          u"Impresion de comanda", 30000);
  EXPECT_EQ(out.str(),
            "2024-05-07 09:05:03 Respuesta: {\"a\":\"\\x1B]0;x\\x07\\x9B\"}\\r\\n\n"
            "2024-05-07 09:05:03 [Informacion] Impresion de comanda: Comanda enviada a "
            "\\x1B[31mCocina\n");
}

}  // namespace
}  // namespace quillon::shell
