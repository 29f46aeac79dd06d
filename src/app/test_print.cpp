#include "app/test_print.h"

#include <optional>

#include "platform/text.h"

namespace quillon::app {
namespace {

constexpr char16_t kTestFont[] = u"Courier 14 CPI";
constexpr char16_t kTestKind[] = u"prueba";

platform::TicketLine Line(std::u16string text, bool bold = false) {
  platform::TicketLine line;
  if (!text.empty()) line.runs.push_back({1, std::move(text), {kTestFont, 10, bold, false}});
  return line;
}

}  // namespace

print::DrawnTicket TestTicket(std::u16string_view printer, std::u16string_view reached,
                              const platform::DateTime& now) {
  print::DrawnTicket ticket;
  ticket.printer = std::u16string(printer);
  ticket.kind = kTestKind;
  auto& lines = ticket.content.lines;
  lines.push_back(Line(u"PRUEBA DE IMPRESIÓN", true));
  lines.push_back(Line(u"quillon-agent " + platform::Utf8ToUtf16(QUILLON_VERSION)));
  lines.push_back(Line(u"Impresora: " + std::u16string(printer)));
  lines.push_back(Line(u"Conexión: " + std::u16string(reached)));
  lines.push_back(Line(u"Fecha: " + platform::Utf8ToUtf16(platform::DateTimeText(now))));
  lines.push_back(Line(u"ÁÉÍÓÚ Ñ ñ ¿¡ $ 12.500"));
  lines.push_back(Line(u""));
  return ticket;
}

print::RequestAnswer PrintTestTicket(Printing& printing, const std::u16string& printer,
                                     int patience_ms) {
  platform::SystemClock clock;
  printing.service.Print(TestTicket(printer, printing.printers->HowReached(printer), clock.Now()));
  auto waiting = [&] {
    for (const print::WaitingTicket& ticket : printing.service.Waiting()) {
      if (ticket.kind == kTestKind && platform::SamePrinterName(ticket.printer, printer))
        return std::optional(ticket);
    }
    return std::optional<print::WaitingTicket>();
  };
  RunLoopUntil([&] { return !waiting(); }, patience_ms);
  const auto left = waiting();
  if (!left) return {true, u"Prueba impresa en la impresora " + printer + u"."};
  std::u16string why = left->failure;
  try {
    const auto queue = printing.printers->FindPrinter(printer);
    if (queue && !queue->Fault().empty()) why = queue->Fault();
  } catch (const platform::Failure&) {
    // The ticket's own reason stands.
  }
  return {
      false,
      u"La prueba no se imprimió todavía: " +
          std::u16string(left->in_printer ? u"está en la impresora " : u"espera la impresora ") +
          printer + (why.empty() ? u"" : u" (" + why + u")") + u"; queda en la bandeja de salida."};
}

}  // namespace quillon::app
