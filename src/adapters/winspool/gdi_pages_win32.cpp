#include <windows.h>
// After windows.h, which it needs.
#include <winspool.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "adapters/win32/wic_pictures.h"
#include "adapters/win32/wide_text.h"
#include "adapters/winspool/gdi_pages.h"
#include "print/ticket_page.h"

namespace quillon::adapters::winspool {
namespace {

using win32::Wide;

platform::Failure PageError(const std::u16string& what) {
  return platform::Failure(platform::kPrinterError, what);
}

// The printer's settings with the page as long and as wide as the ticket.
std::vector<BYTE> TicketSettings(const std::wstring& printer, const print::PageGeometry& page) {
  HANDLE handle = nullptr;
  std::wstring name = printer;
  if (!OpenPrinterW(name.data(), &handle, nullptr)) return {};
  std::vector<BYTE> settings;
  const LONG size = DocumentPropertiesW(nullptr, handle, name.data(), nullptr, nullptr, 0);
  if (size > 0) {
    settings.resize(static_cast<std::size_t>(size));
    auto* mode = reinterpret_cast<DEVMODEW*>(settings.data());
    if (DocumentPropertiesW(nullptr, handle, name.data(), mode, nullptr, DM_OUT_BUFFER) == IDOK) {
      mode->dmFields |= DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
      mode->dmPaperSize = DMPAPER_USER;
      mode->dmPaperWidth = static_cast<short>(std::lround(page.paper_width * 10));  // 0.1 mm
      mode->dmPaperLength =
          static_cast<short>(std::min(32767L, std::lround(page.paper_length * 10)));
    } else {
      settings.clear();
    }
  }
  ClosePrinter(handle);
  return settings;
}

HFONT RunFont(const platform::TicketFont& recorded, double scale, int dots_per_inch) {
  const double points = std::max(1.0, recorded.size * scale);
  return CreateFontW(-static_cast<int>(std::lround(points * dots_per_inch / 72)), 0, 0, 0,
                     recorded.bold ? FW_BOLD : FW_NORMAL, recorded.italic, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     FIXED_PITCH | FF_MODERN, L"Courier New");
}

void DrawPicture(HDC dc, const platform::TicketPicture& picture, double left, double top,
                 double dots_per_twip) {
  const auto colours = win32::LoadColourPicture(std::filesystem::u8path(picture.file));
  if (!colours) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = colours->width;
  info.bmiHeader.biHeight = -colours->height;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, static_cast<int>(left + picture.x * dots_per_twip),
                static_cast<int>(top + picture.y * dots_per_twip),
                static_cast<int>(picture.width * dots_per_twip),
                static_cast<int>(picture.height * dots_per_twip), 0, 0, colours->width,
                colours->height, colours->bgra.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void DrawTicket(HDC dc, const platform::Ticket& ticket, const print::PageGeometry& page) {
  const int dots_per_inch = GetDeviceCaps(dc, LOGPIXELSY);
  const double dots_per_mm = dots_per_inch / 25.4;
  const double dots_per_twip = dots_per_mm * page.scale / print::kTwipsPerMm;
  // The page's printable area starts at the printer's own margin.
  const double left = page.left_margin * dots_per_mm - GetDeviceCaps(dc, PHYSICALOFFSETX);
  const double top = page.top_margin * dots_per_mm - GetDeviceCaps(dc, PHYSICALOFFSETY);

  for (const auto& picture : ticket.pictures) DrawPicture(dc, picture, left, top, dots_per_twip);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  double line_top = 0;  // twips
  for (const auto& line : ticket.lines) {
    const double middle = top + (line_top + print::TicketLineHeight(line) / 2) * dots_per_twip;
    for (const auto& run : line.runs) {
      HFONT font = RunFont(run.font, page.scale, dots_per_inch);
      HGDIOBJ old = SelectObject(dc, font);
      TEXTMETRICW metrics{};
      GetTextMetricsW(dc, &metrics);
      const int baseline = static_cast<int>(middle + (metrics.tmAscent - metrics.tmDescent) / 2.0);
      const double cell = print::TicketCellWidth(run.font);
      const std::wstring text = Wide(run.text);
      // One character a cell, so the columns hold whatever the font's own advance is.
      for (std::size_t i = 0; i < text.size(); ++i) {
        const double x = left + (run.column - 1 + static_cast<double>(i)) * cell * dots_per_twip;
        TextOutW(dc, static_cast<int>(x), baseline, &text[i], 1);
      }
      SelectObject(dc, old);
      DeleteObject(font);
    }
    line_top += print::TicketLineHeight(line);
  }
}

}  // namespace

void PrintTicketPages(const std::u16string& printer, const platform::Ticket& ticket) {
  const print::PageGeometry page = print::TicketPageGeometry(ticket);
  const std::wstring name = Wide(printer);
  std::vector<BYTE> settings = TicketSettings(name, page);
  HDC dc = CreateDCW(L"WINSPOOL", name.c_str(), nullptr,
                     settings.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(settings.data()));
  if (dc == nullptr) throw PageError(u"No se pudo preparar la página para la impresora.");
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = L"Quillon";
  bool done = StartDocW(dc, &document) > 0;
  if (done) {
    done = StartPage(dc) > 0;
    if (done) DrawTicket(dc, ticket, page);
    done = done && EndPage(dc) > 0;
    if (done) {
      done = EndDoc(dc) > 0;
    } else {
      AbortDoc(dc);
    }
  }
  DeleteDC(dc);
  if (!done) throw PageError(u"La impresora no recibió la página del ticket.");
}

}  // namespace quillon::adapters::winspool
