#include "adapters/cups/driver_pages.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "adapters/cups/qt_picture_decoder.h"
#include "print/ticket_page.h"

namespace quillon::adapters::cups {
namespace {

QFont RunFont(const platform::TicketFont& recorded, double scale) {
  QFont font(QStringLiteral("Monospace"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setBold(recorded.bold);
  font.setItalic(recorded.italic);
  font.setPointSizeF(std::max(1.0, recorded.size * scale));
  return font;
}

}  // namespace

void PrintTicketPages(const std::string& queue, const platform::Ticket& ticket) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    throw platform::Failure(
        platform::kPrinterError,
        u"No se pueden dibujar páginas para la impresora: falta la parte gráfica "
        u"del programa.");
  }
  const print::PageGeometry page = print::TicketPageGeometry(ticket);
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(QString::fromStdString(queue));
  if (printer.outputFormat() != QPrinter::NativeFormat) {
    throw platform::Failure(platform::kPrinterError,
                            u"La impresora no aparece entre las impresoras de CUPS.");
  }
  printer.setDocName(QStringLiteral("Quillon"));
  printer.setFullPage(true);
  printer.setPageLayout(
      QPageLayout(QPageSize(QSizeF(page.paper_width, page.paper_length), QPageSize::Millimeter,
                            QStringLiteral("Ticket"), QPageSize::ExactMatch),
                  QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));

  QPainter painter;
  if (!painter.begin(&printer)) {
    throw platform::Failure(platform::kPrinterError,
                            u"No se pudo empezar el trabajo en la impresora.");
  }
  const double dots_per_mm = printer.resolution() / 25.4;
  const double dots_per_twip = dots_per_mm * page.scale / print::kTwipsPerMm;
  const double left = page.left_margin * dots_per_mm, top = page.top_margin * dots_per_mm;

  for (const auto& picture : ticket.pictures) {
    const QImage image = ReadBoundedImage(QFile::decodeName(picture.file.c_str()));
    if (image.isNull()) continue;
    painter.drawImage(QRectF(left + picture.x * dots_per_twip, top + picture.y * dots_per_twip,
                             picture.width * dots_per_twip, picture.height * dots_per_twip),
                      image);
  }
  double line_top = 0;  // twips
  for (const auto& line : ticket.lines) {
    const double middle = top + (line_top + print::TicketLineHeight(line) / 2) * dots_per_twip;
    for (const auto& run : line.runs) {
      const QFont font = RunFont(run.font, page.scale);
      painter.setFont(font);
      const QFontMetricsF metrics(font, &printer);
      const double baseline = middle + (metrics.ascent() - metrics.descent()) / 2;
      const double cell = print::TicketCellWidth(run.font);
      // One character a cell, so the columns hold whatever the font's own advance is.
      for (std::size_t i = 0; i < run.text.size(); ++i) {
        const double x = left + (run.column - 1 + static_cast<double>(i)) * cell * dots_per_twip;
        painter.drawText(QPointF(x, baseline), QString(QChar(run.text[i])));
      }
    }
    line_top += print::TicketLineHeight(line);
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    throw platform::Failure(platform::kPrinterError,
                            u"La impresora no recibió la página del ticket.");
  }
}

}  // namespace quillon::adapters::cups
