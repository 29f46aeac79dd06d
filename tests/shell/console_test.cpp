#include <gtest/gtest.h>

#include <sstream>

#include "shell/console_dialogs.h"
#include "shell/console_output.h"
#include "support/fake_clock.h"

namespace quillon::shell {
namespace {

TEST(ConsoleOutput, OneTimestampedLinePerText) {
  std::ostringstream out;
  test::FakeClock clock({2024, 5, 7, 9, 5, 3});
  ConsoleOutput output(out, clock);
  ConsoleNotifier notifier(output);
  ConsoleLog log(output);
  // Line breaks and the other control characters of job text are written out: a line stays a
  // line and cannot drive the terminal.
  log.WriteLog(u"Respuesta: {\"a\":\r\n\"\x1B]0;x\x07\u009B\"}\n");
  log.Clear();
  notifier.ShowBalloonTip(u"Conectando al servidor de impresion ",
                          platform::BalloonIcon::kInformation, u"Sistema de impresora", 30000);
  notifier.ShowBalloonTip(u"Impresora \x1B[31mCocina no disponible", platform::BalloonIcon::kError,
                          u"Error al imprimir", 30000);
  EXPECT_EQ(out.str(),
            "2024-05-07 09:05:03 Respuesta: {\"a\":\\r\\n\"\\x1B]0;x\\x07\\x9B\"}\\n\n"
            "2024-05-07 09:05:03 [Informacion] Sistema de impresora: Conectando al servidor de "
            "impresion \n"
            "2024-05-07 09:05:03 [Error] Error al imprimir: Impresora \\x1B[31mCocina no "
            "disponible\n");
}

TEST(ConsoleOutput, WritesUtf8) {
  std::ostringstream out;
  test::FakeClock clock;
  ConsoleOutput output(out, clock);
  output.WriteLine(u"Impresión de comanda");
  EXPECT_NE(out.str().find("Impresi\xC3\xB3n de comanda"), std::string::npos);
}

TEST(ConsoleDialogs, MessagesGoToTheErrorStream) {
  std::istringstream in;
  std::ostringstream err;
  ConsoleDialogs dialogs(in, err);
  dialogs.MessageBox(u"La Aplicación ya esta en ejecución", u"", platform::MessageIcon::kWarning);
  EXPECT_EQ(err.str(), "[Aviso] La Aplicaci\xC3\xB3n ya esta en ejecuci\xC3\xB3n\n");
}

TEST(ConsoleDialogs, PromptReadsOneLinePerAnswer) {
  std::istringstream in("123456789012345\r\n\nS12345678901234");
  std::ostringstream err;
  ConsoleDialogs dialogs(in, err);
  EXPECT_EQ(dialogs.InputBox(u"Escribe el codigo\r\nde 15", u"Codigo de sucursal", u""),
            u"123456789012345");
  EXPECT_EQ(dialogs.InputBox(u"Escribe el codigo", u"Codigo de sucursal", u""), u"");
  EXPECT_EQ(dialogs.InputBox(u"Escribe el codigo", u"Codigo de sucursal", u""), u"S12345678901234");
  EXPECT_NE(err.str().find("Codigo de sucursal: Escribe el codigo\nde 15\n> "), std::string::npos);
}

TEST(ConsoleDialogs, EndOfInputEndsThePromptWithAClearMessage) {
  std::istringstream in("");
  std::ostringstream err;
  ConsoleDialogs dialogs(in, err);
  try {
    dialogs.InputBox(u"Escribe el codigo", u"Codigo de sucursal", u"");
    FAIL() << "the prompt should not return";
  } catch (const InputClosed& closed) {
    EXPECT_NE(std::string(closed.what()).find("Codigo de sucursal"), std::string::npos);
  }
}

}  // namespace
}  // namespace quillon::shell
