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

#include "print/escpos_encoder.h"

namespace quillon::adapters::cups {
namespace {

constexpr double kTwipsPerMm = 1440.0 / 25.4;
constexpr double kCharWidthPerPoint = 0.6 * 20;   // twips
constexpr double kLineHeightPerPoint = 1.2 * 20;  // twips
constexpr double kWideRollDots = 576;

double LineHeight(const platform::TicketLine& line) {
  return kLineHeightPerPoint * line.height_points;
}

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

PageGeometry TicketPageGeometry(const platform::Ticket& ticket) {
  PageGeometry page;
  const bool wide = print::RollDotsFor(ticket) == kWideRollDots;
  page.paper_width = wide ? 80 : 58;
  const double printable = wide ? 72 : 48;
  page.left_margin = (page.paper_width - printable) / 2;

  double width = 0, height = 0;  // twips
  for (const auto& line : ticket.lines) {
    for (const auto& run : line.runs) {
      const double end = (run.column - 1 + static_cast<double>(run.text.size())) *
                         kCharWidthPerPoint * run.font.size;
      width = std::max(width, end);
    }
    height += LineHeight(line);
  }
  for (const auto& picture : ticket.pictures) {
    width = std::max(width, picture.x + picture.width);
    height = std::max(height, picture.y + picture.height);
  }
  if (width > printable * kTwipsPerMm) page.scale = printable * kTwipsPerMm / width;
  page.paper_length = 2 * page.top_margin + height * page.scale / kTwipsPerMm;
  return page;
}

void PrintTicketPages(const std::string& queue, const platform::Ticket& ticket) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    throw platform::Failure(
        platform::kPrinterError,
        u"No se pueden dibujar páginas para la impresora: falta la parte gráfica "
        u"del programa.");
  }
  const PageGeometry page = TicketPageGeometry(ticket);
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
  const double dots_per_twip = dots_per_mm * page.scale / kTwipsPerMm;
  const double left = page.left_margin * dots_per_mm, top = page.top_margin * dots_per_mm;

  for (const auto& picture : ticket.pictures) {
    QImage image;
    if (!image.load(QFile::decodeName(picture.file.c_str()))) continue;
    painter.drawImage(QRectF(left + picture.x * dots_per_twip, top + picture.y * dots_per_twip,
                             picture.width * dots_per_twip, picture.height * dots_per_twip),
                      image);
  }
  double line_top = 0;  // twips
  for (const auto& line : ticket.lines) {
    const double middle = top + (line_top + LineHeight(line) / 2) * dots_per_twip;
    for (const auto& run : line.runs) {
      const QFont font = RunFont(run.font, page.scale);
      painter.setFont(font);
      const QFontMetricsF metrics(font, &printer);
      const double baseline = middle + (metrics.ascent() - metrics.descent()) / 2;
      const double cell = kCharWidthPerPoint * run.font.size;
      // One character a cell, so the columns hold whatever the font's own advance is.
      for (std::size_t i = 0; i < run.text.size(); ++i) {
        const double x = left + (run.column - 1 + static_cast<double>(i)) * cell * dots_per_twip;
        painter.drawText(QPointF(x, baseline), QString(QChar(run.text[i])));
      }
    }
    line_top += LineHeight(line);
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    throw platform::Failure(platform::kPrinterError,
                            u"La impresora no recibió la página del ticket.");
  }
}

}  // namespace quillon::adapters::cups
