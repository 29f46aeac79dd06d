#include "print/printer_selection.h"

#include "platform/text.h"

namespace quillon::print {
namespace {

std::u16string Quoted(std::u16string_view name) { return u"\"" + std::u16string(name) + u"\""; }

class Router {
 public:
  Router(platform::PrinterSystem& printers,
         const std::function<void(platform::PrinterQueue&)>& send)
      : printers_(printers), send_(send) {}

  // One printer: found, ready and accepting. On failure `routing_` says why.
  bool Attempt(std::u16string_view name) {
    std::shared_ptr<platform::PrinterQueue> queue;
    try {
      queue = printers_.FindPrinter(name);
      if (!queue) return Failed(name, u"No se encontró la impresora " + Quoted(name), true);
      queue->CheckReady();
      send_(*queue);
    } catch (const platform::Failure& error) {
      return Failed(queue ? queue->DeviceName() : std::u16string(name), error.Description(), false);
    }
    routing_.printer = queue->DeviceName();
    return true;
  }

  // The default printer's name; empty (with the reason in `routing_`) when there is none.
  std::u16string DefaultName() {
    try {
      std::u16string name = printers_.DefaultPrinterName();
      if (name.empty()) {
        const std::u16string none = u"no hay impresora predeterminada";
        if (missing_) {
          routing_.failure += u" y " + none;
        } else if (routing_.failure.empty()) {
          routing_.failure = u"No hay impresora predeterminada";
        }
      }
      return name;
    } catch (const platform::Failure& error) {
      routing_.failure = error.Description();
      return {};
    }
  }

  void AttemptDefault(std::u16string_view name) {
    const bool named_missing = missing_;
    const std::u16string named_failure = routing_.failure;
    if (Attempt(name) || !named_missing || !missing_) return;
    // Neither printer exists: one sentence names both.
    routing_.failure = named_failure + u" ni la impresora predeterminada " + Quoted(name);
  }

  Routing Result() && {
    routing_.missing = missing_;
    return std::move(routing_);
  }

 private:
  bool Failed(std::u16string_view printer, std::u16string failure, bool missing) {
    routing_.failed_printer = std::u16string(printer);
    routing_.failure = std::move(failure);
    missing_ = missing;
    return false;
  }

  platform::PrinterSystem& printers_;
  const std::function<void(platform::PrinterQueue&)>& send_;
  Routing routing_;
  bool missing_ = false;  // the last printer tried was not found at all
};

}  // namespace

Routing Route(platform::PrinterSystem& printers, std::u16string_view name,
              const std::function<void(platform::PrinterQueue&)>& send) {
  Router router(printers, send);
  const bool named = !platform::TrimBlanks(name).empty();
  if (named && router.Attempt(name)) return std::move(router).Result();
  const std::u16string fallback = router.DefaultName();
  if (!fallback.empty() && !(named && platform::SamePrinterName(name, fallback))) {
    router.AttemptDefault(fallback);
  }
  Routing routing = std::move(router).Result();
  if (routing.failed_printer.empty()) routing.failed_printer = std::u16string(name);
  return routing;
}

}  // namespace quillon::print
