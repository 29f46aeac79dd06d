#include "documents/invoice_blocks.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <functional>
#include <system_error>

#include "platform/text.h"
#include "print/escpos_encoder.h"

namespace quillon::documents {
namespace {

using print::Align;
using print::PrintEngine;

void PrintCentred(PrintEngine& engine, const std::u16string& text) {
  engine.PrintWrappedToSeparator(text, Align::kCentre);
}

// A header line that cannot be printed must not take the rest of the header with it.
void HeaderStep(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

std::u16string PrintLogo(PrintEngine& engine, const std::string& logo_file,
                         const platform::PictureDecoder& pictures) {
  std::error_code error;
  if (std::filesystem::file_size(logo_file, error) == 0 && !error) {
    return u"el archivo logo.bmp está vacío";
  }
  // Read whole, so a header that claims more than the file holds is found out here.
  const std::optional<platform::GreyPicture> picture = pictures.Decode(logo_file);
  if (!picture) return u"logo.bmp no es una imagen BMP, GIF, JPEG o PNG que se pueda leer";
  // Hundredths of a millimetre at 96 pixels an inch, as the desktop's picture object says.
  const auto picture_width = static_cast<double>(std::lround(picture->width * 2540.0 / 96));
  const auto picture_height = static_cast<double>(std::lround(picture->height * 2540.0 / 96));

  print::TicketRecorder& recorder = engine.Recorder();
  const double line_height = std::max(1.0, std::nearbyint(recorder.TextHeight(u"HOLA")));
  const double available = engine.SeparatorWidth() - 40;
  double width = 0;
  double height = 0;
  if (picture_width >= 13000) {  // 130 mm or wider: shrunk to the paper
    width = available;
    height = picture_height * available / picture_width;
  } else {
    width = picture_width * 500 / 1300;
    height = picture_height * 500 / 1300;
  }
  // The printers shrink a picture wider than the roll; what is left must not run the roll out.
  const double rows =
      (width > available ? height * available / width : height) * print::kDotsPerTwip;
  if (rows > print::kMaxPictureRows) {
    return u"la imagen de " + platform::Utf8ToUtf16(std::to_string(picture->width)) + u" × " +
           platform::Utf8ToUtf16(std::to_string(picture->height)) +
           u" píxeles es demasiado alta para el rollo";
  }
  const double x = width >= available ? 0 : std::nearbyint((available - width) / 2);
  recorder.DrawPicture(logo_file, x, 20, width, height);
  const double lines = std::floor(height / line_height) + 1;
  for (int i = 0; i < lines; ++i) recorder.Print({});
  return {};
}

void PrintInvoiceHeader(PrintEngine& engine, const PrintSettings& s) {
  HeaderStep([&] { engine.PrintSeparator(u"="); });
  HeaderStep([&] {
    if (engine.ConfigVisible(u"Nombre Establecimiento") && !s.business_name.empty()) {
      PrintCentred(engine, s.business_name);
    }
  });
  HeaderStep([&] {
    if (engine.ConfigVisible(u"Actividad Economica") && !s.economic_activity.empty()) {
      PrintCentred(engine, s.economic_activity);
    }
  });
  HeaderStep([&] {
    if (engine.ConfigVisible(u"Codigo Actividad Economica") && !s.economic_activity_code.empty()) {
      PrintCentred(engine, u"Codigo Actividad Economica " + s.economic_activity_code);
    }
  });
  HeaderStep([&] {
    if (engine.ConfigVisible(u"Numero Identificacion") && !s.id_number.empty()) {
      PrintCentred(engine, s.id_type + u" " + s.id_number);
    }
  });
  HeaderStep([&] {
    if (engine.ConfigVisible(u"Nombre Representante Legal")) {
      PrintCentred(engine,
                   s.legal_rep_name + u" " + s.legal_rep_surname1 + u" " + s.legal_rep_surname2);
    }
  });
  HeaderStep([&] {
    if (engine.ConfigVisible(u"Direccion") && !s.address.empty()) PrintCentred(engine, s.address);
  });
  HeaderStep([&] {
    if (engine.ConfigVisible(u"Telefono 1") && !s.phone1.empty()) {
      PrintCentred(engine, u"Tel " + s.phone1);
    }
  });
}

void PrintLegalBlock(PrintEngine& engine, const PrintSettings& s) {
  const int width = engine.CharsPerLine();
  const std::u16string prefix = s.invoice_prefix.empty() ? u"" : s.invoice_prefix + u"-";
  engine.Recorder().Print({print::PrintItem::Text(u" ")});
  if (engine.ConfigVisible(u"Regimen")) PrintCentred(engine, engine.ConfigValue(u"Nombre Regimen"));
  if (engine.ConfigVisible(u"Resolucion Dian Facturacion")) {
    engine.PrintWrapped(u"Resolucion DIAN " + s.dian_resolution, width, Align::kCentre);
    engine.PrintWrapped(u" Del " + s.dian_resolution_date, width, Align::kCentre);
  }
  if (engine.ConfigVisible(u"Factura Inicial")) {
    engine.PrintWrapped(
        u"Desde " + prefix + s.first_invoice_number + u" Hasta " + prefix + s.last_invoice_number,
        width, Align::kCentre);
  }
  engine.PrintSeparator(u"=");
}

void PrintTipLegend(PrintEngine& engine) {
  engine.PrintSeparator(u"=");
  const std::u16string legend =
      u"Por disposición de la Superintendencia "
      u"de Industria y Comercio, se informa que  "
      u"en este establecimiento la propina es  "
      u"sugerida al consumidor y corresponde  "
      u"al 10% del total de la factura, el cual  "
      u"puede ser aceptado, modificado o  "
      u"rechazado por usted de acuerdo con  "
      u"valoración del servicio prestado, si no  "
      u"desea cancelar este valor, haga caso  "
      u"omiso del mismo.";
  engine.PrintWrappedToSeparator(legend, Align::kLeft);
}

void PrintSoftwareFooter(PrintEngine& engine) {
  engine.PrintSeparator(u"=");
  print::TicketRecorder& recorder = engine.Recorder();
  recorder.Print({print::PrintItem::Text(u"Software QuillonPOS")});
  recorder.Print({print::PrintItem::Text(u"NIT 901.234.567-8")});
  recorder.Print({print::PrintItem::Text(u"www.quillonpos.co")});
  engine.PrintSeparator(u"=");
}

}  // namespace quillon::documents
