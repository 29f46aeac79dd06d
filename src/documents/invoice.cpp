#include <filesystem>

#include "documents/document_values.h"
#include "documents/documents.h"
#include "documents/invoice_blocks.h"
#include "documents/invoice_items.h"
#include "documents/invoice_totals.h"
#include "documents/layout_columns.h"
#include "platform/text.h"
#include "print/bmp_picture_decoder.h"

namespace quillon::documents {
namespace {

using json::Decimal;
using print::Align;
using print::PrintEngine;
using print::PrintItem;

bool IsDelivery(const json::Value& document) { return document[u"tipoMesa"] == u"DOMICILIO"; }

void PrintEmptyLine(PrintEngine& engine) { PrintLine(engine, std::vector<PrintItem>{}); }

void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
  for (std::size_t at = text.find(from); at != std::u16string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// Account kind, number, table, date and seller.
void PrintAccountLines(PrintEngine& engine, const PrintSettings& settings,
                       const json::Value& document) {
  const json::Value& kind = document[u"tipoCuenta"];
  if (IsNotEmpty(kind)) {
    engine.PrintWrapped(platform::ToUpper(kind.ToText()), engine.CharsPerLine(), Align::kCentre);
    PrintLine(engine, u" ");
  }
  if (DiffersFrom(kind, u"COTIZACION")) {
    std::vector<PrintItem> number{PrintItem::Text(settings.closed_invoice_name + u" No ")};
    if (!settings.invoice_prefix.empty()) {
      number.push_back(
          PrintItem::Text(settings.invoice_prefix + u"-" + JoinText(document[u"idFacturaCuenta"])));
    } else {
      for (PrintItem& item : ValueItems(document[u"idFacturaCuenta"])) number.push_back(item);
    }
    PrintLine(engine, number);
  }
  PrintLine(engine, ValueItems(document[u"nomMesa"]));
  std::vector<PrintItem> date{PrintItem::Text(u"Fecha ")};
  for (PrintItem& item : ValueItems(document[u"fechaFactura"])) date.push_back(item);
  if (settings.show_time) {
    date.push_back(PrintItem::Text(u" Hora " + JoinText(document[u"horaFactura"])));
  }
  PrintLine(engine, date);
  if (settings.show_waiter_name) {
    PrintLine(engine, settings.seller_title + u"  " + JoinText(document[u"vendedor"]));
  }
}

void PrintDiscountLines(PrintEngine& engine, const json::Value& document) {
  const Decimal discount = document[u"descuento"].ToDecimal();
  const Decimal individual = document[u"DescuentoIndividual"].ToDecimal();
  PrintAmountLine(engine, u"SUB TOTAL", document[u"totalPagar"].ToDecimal() - individual);
  PrintAmountLine(engine, u"Descuento en Ventas ", -(discount - individual).Abs());
  PrintEmptyLine(engine);
}

void PrintPayments(PrintEngine& engine, const json::Value& document) {
  PrintLine(engine, u" ");
  for (const json::Value& payment : document[u"mediosPago"].AsCollection()) {
    // The first 14 characters of "Producto" are a fixed prefix of the server's.
    const std::u16string product = JoinText(payment[u"Producto"]);
    std::u16string label = (product.size() > 14 ? product.substr(14) : std::u16string()) + u" " +
                           JoinText(payment[u"Detalle"]);
    if (platform::ToUpper(label).find(u"PROPINA") != std::u16string::npos && IsDelivery(document)) {
      ReplaceAll(label, u"propina", u"domicilio");
    }
    PrintAmountLine(engine, std::move(label), payment[u"Valor"].ToDecimal().Abs());
  }
  const json::Value& paid = document[u"totalPagado"];
  if (!paid.IsNull() && !paid.ToDecimal().IsZero()) {
    PrintEmptyLine(engine);
    PrintAmountLine(engine, u"TOTAL PAGADO",
                    paid.ToDecimal() + document[u"totalPagadoPropina"].ToDecimal());
  }
  if (IsAbove0(document[u"pagoEfectivo"])) {
    const Decimal change = document[u"cambioEfectivo"].ToDecimal();
    engine.PrintSeparator(u"=");
    PrintAmountLine(engine, u"Efectivo Recibido", document[u"pagoEfectivo"].ToDecimal() + change);
    PrintAmountLine(engine, u"Cambio Entregado", change);
  }
}

void PrintDeliveryCustomer(PrintEngine& engine, const json::Value& document,
                           const json::Value& customer) {
  print::TicketRecorder& recorder = engine.Recorder();
  engine.PrintSeparator(u"=");
  recorder.SetBold(true);
  PrintLine(engine, u"DATOS DOMICILIO");
  recorder.SetBold(false);
  PrintLine(engine, u"Nombre: " + JoinText(customer[u"Nombre"]));
  PrintLine(engine, u"Documento: " + platform::ToUpper(JoinText(customer[u"IdDocumento"])));
  engine.PrintWrappedToSeparator(u"Direccion: " + JoinText(customer[u"Direccion"]), Align::kLeft);
  PrintLine(engine, u"Telefono: " + JoinText(customer[u"Telefono1"]));
  engine.PrintWrappedToSeparator(JoinText(document[u"detalleDomicilio"]), Align::kLeft);
}

void PrintNamedCustomer(PrintEngine& engine, const json::Value& customer) {
  engine.PrintSeparator(u"=");
  PrintLine(engine, u"Nombre: " + platform::ToUpper(JoinText(customer[u"Nombre"])));
  PrintLine(engine, u"Documento: " + platform::ToUpper(JoinText(customer[u"IdDocumento"])));
  engine.PrintWrappedToSeparator(
      u"Dirección: " + platform::ToUpper(JoinText(customer[u"Direccion"])), Align::kLeft);
  PrintLine(engine, u"Telefono: " + platform::ToUpper(JoinText(customer[u"Telefono1"])));
  for (int i = 0; i < 4; ++i) PrintLine(engine, u" ");  // room for the signature
  PrintLine(engine, u"FIRMA: " + std::u16string(29, u'_'));
  PrintLine(engine, u"C.C.: " + std::u16string(30, u'_'));
}

// The customer's data. A customer that cannot be read (no "cliente" at all, or a text in its
// place) leaves the block where it stopped; the invoice goes on without it. Only this block is
// forgiven: resuming at the customer space after a later failure would print the lines between
// them twice on the bill, so such a failure cancels the invoice like any other.
void PrintCustomer(PrintEngine& engine, const json::Value& document) {
  try {
    const json::Value& customer = document[u"cliente"];
    if (customer.IsNull()) return;
    if (IsDelivery(document)) {
      PrintDeliveryCustomer(engine, document, customer);
    } else if (IsNotEmpty(customer[u"Nombre"])) {
      PrintNamedCustomer(engine, customer);
    }
  } catch (const std::exception&) {
  }
}

void PrintCustomerSpace(PrintEngine& engine, const PrintSettings& settings,
                        const json::Value& document) {
  if (document[u"cliente"].IsNull() || !settings.customer_space) return;
  const bool roll55 = engine.IsRoll55();
  PrintLine(engine, u" ");
  PrintLine(engine, u"NOMBRE: " + std::u16string(roll55 ? 24 : 29, u'_'));
  PrintLine(engine, u"CEDULA: " + std::u16string(roll55 ? 24 : 29, u'_'));
  PrintLine(engine, u"DIRECCION: " + std::u16string(roll55 ? 21 : 26, u'_'));
}

bool TipLegendApplies(const PrintSettings& settings, const json::Value& document) {
  if (!settings.tip_applies || !settings.tip_legend) return false;
  if (!DiffersFrom(document[u"tipoMesa"], u"DOMICILIO")) return false;
  const json::Value& suggested = document[u"propinaSugerida"];
  const json::Value& paid = document[u"totalPagadoPropina"];
  if (suggested.IsNull() || paid.IsNull()) return false;
  return suggested.ToDecimal() + paid.ToDecimal() > Decimal(0);
}

void PrintFooters(PrintEngine& engine, const PrintSettings& settings, const json::Value& document) {
  const std::u16string footer = platform::TrimBlanks(settings.invoice_footer);
  if (!footer.empty()) {
    PrintEmptyLine(engine);
    engine.PrintSeparator(u"=");
    engine.PrintWrapped(footer, kInvoiceFooterWidth, Align::kLeft);
  }
  if (IsNotEmpty(document[u"pieFactura"])) {
    PrintEmptyLine(engine);
    engine.PrintWrapped(document[u"pieFactura"].ToText(), kInvoiceFooterWidth, Align::kCentre);
  }
}

void PrintStayGuestsAndDueDate(PrintEngine& engine, const PrintSettings& settings,
                               const json::Value& document) {
  if (settings.show_stay) {
    PrintLine(engine, u"Permanencia  " + JoinText(document[u"permanencia"]) + u"  Minutos ");
  }
  if (settings.show_guests) PrintLine(engine, u"Personas " + JoinText(document[u"nPersonas"]));
  if (IsNotEmpty(document[u"fechaLimitePago"])) {
    PrintLine(engine, u"Fecha para pago " + JoinText(document[u"fechaLimitePago"]));
  }
}

// A logo that cannot be printed costs the logo, never the invoice.
void PrintLogoOrSayWhy(DocumentContext& context, const std::string& logo_file) {
  const print::BmpPictureDecoder bitmaps;
  const std::u16string problem =
      PrintLogo(context.engine, logo_file, context.pictures ? *context.pictures : bitmaps);
  if (problem.empty() || context.logo_problem_told) return;
  context.logo_problem_told = true;
  context.notifier.ShowBalloonTip(u"El logo no se puede imprimir: " + problem,
                                  platform::BalloonIcon::kWarning, u"Impresion de Factura",
                                  kBalloonTimeoutMs);
}

void PrintBody(DocumentContext& context, const json::Value& document) {
  PrintEngine& engine = context.engine;
  const PrintSettings& settings = context.invoice_settings;
  print::TicketRecorder& recorder = engine.Recorder();

  const std::filesystem::path logo = std::filesystem::path(context.data_dir) / "logo.bmp";
  if (std::filesystem::exists(logo)) PrintLogoOrSayWhy(context, logo.string());
  recorder.SetFontSize(engine.RollFontSize());
  recorder.SetFontName(kInvoiceFont);

  PrintInvoiceHeader(engine, settings);
  PrintLegalBlock(engine, settings);
  if (!settings.invoice_header.empty()) {
    engine.PrintWrappedToSeparator(settings.invoice_header, Align::kCentre);
  }
  PrintAccountLines(engine, settings, document);
  PrintInvoiceItems(engine, document[u"pedido"]);
  if (IsAbove0(document[u"descuento"])) PrintDiscountLines(engine, document);
  PrintTotalsBlock(engine, settings, document);
  const json::Value& closed = document[u"cuentaCerrada"];
  if (closed.IsBoolean() && closed.ToBool()) PrintPayments(engine, document);

  PrintCustomer(engine, document);
  PrintCustomerSpace(engine, settings, document);
  if (TipLegendApplies(settings, document)) PrintTipLegend(engine);
  PrintFooters(engine, settings, document);
  PrintLine(engine, u" ");
  PrintStayGuestsAndDueDate(engine, settings, document);
  PrintSoftwareFooter(engine);
  for (int i = 0; i < 10; ++i) PrintLine(engine, u" ");  // paper feed before the cut
  const print::Delivery delivery = context.printing.Print(engine.EndTicket());
  if (!delivery.sent) return;  // it waits for its printer, and the print service says so
  context.notifier.ShowBalloonTip(u"Factura enviada a " + delivery.printer,
                                  platform::BalloonIcon::kInformation, u"Impresion de Factura",
                                  kBalloonTimeoutMs);
}

}  // namespace

void PrintInvoice(DocumentContext& context, const json::Value& dato) {
  PrintEngine& engine = context.engine;
  if (!context.options.IsChecked(PrintOption::kInvoices)) return;
  try {
    LoadPrintSettings(engine, context.invoice_settings);
    const json::Value& table = dato[u"mesa"];
    if (table == u"") return;
    // A null table reference names no account: nothing is printed for it.
    if (table.IsNull()) {
      context.not_printed.push_back(u"trae \"mesa\" nulo");
      return;
    }
    engine.BeginTicket(u"", u"factura");  // the default printer, as it is when the ticket prints
    PrintBody(context, dato);
  } catch (const std::exception& failure) {
    CancelDocument(context,
                   u"No se pudo imprimir la factura: " + platform::FailureDescription(failure),
                   u"Error al imprimir");
    context.not_printed.push_back(platform::FailureDescription(failure));
  }
}

}  // namespace quillon::documents
