#include "shell/agent_window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/text.h"
#include "platform/whole_file.h"
#include "print/bmp_writer.h"
#include "print/escpos_encoder.h"
#include "print/picture_scaling.h"
#include "shell/log_text.h"
#include "shell/startup_texts.h"
#include "shell/ticket_picture.h"
#include "shell/ticket_rows.h"

namespace quillon::shell {
namespace {

constexpr char16_t kReprintTitle[] = u"Reimpresion";

// CR LF, CR and LF each end a line.
std::vector<std::u16string> SplitLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find_first_of(u"\r\n", start)) != std::u16string::npos;) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == u'\r' && start < text.size() && text[start] == u'\n') ++start;
  }
  lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

AgentWindow::AgentWindow(WindowView& view, platform::Dialogs& dialogs,
                         const platform::PictureDecoder& pictures, BranchCodeFile& acceso,
                         std::filesystem::path data_dir, std::function<void()> end_program)
    : view_(view),
      dialogs_(dialogs),
      pictures_(pictures),
      acceso_(acceso),
      data_dir_(std::move(data_dir)),
      end_program_(std::move(end_program)),
      options_(
          [this](const std::u16string& list) { acceso_.SaveOptions(view_.CodeBoxText(), list); }) {}

void AgentWindow::Load() {
  const std::vector<std::u16string> lines = acceso_.ReadBranchCode();
  branch_code_ = lines[0];
  const std::u16string options = lines.size() > 1 ? lines[1] : std::u16string();

  if (platform::ToUpper(acceso_.ReadOptionsLine()) == kTechnicianWord) {
    view_.ShowWindow();
  } else {
    view_.HideWindow();
  }

  const std::filesystem::path logo = data_dir_ / "logo.bmp";
  if (FileExists(logo)) view_.ShowLogo(logo);

  view_.SetCodeBoxText(branch_code_);
  options_.Restore(options);
  for (const documents::PrintOption option : documents::kPrintOptions) {
    view_.SetOptionBox(option, options_.IsChecked(option));
  }

  view_.SetControlVisible(ControlId::kSaveDiagnosticsButton, diagnostics_action_ != nullptr);
  view_.SetControlVisible(ControlId::kTestPrintButton, directory_ != nullptr);
  view_.AddTrayEntry(kTrayTooltip);
}

void AgentWindow::Clicked(ControlId id) {
  switch (id) {
    case ControlId::kChangeCodeButton:
      ChangeBranchCode();
      return;
    case ControlId::kLoadPictureButton:
      if (const auto file = view_.ChoosePictureFile()) LoadLogoFile(*file);
      return;
    case ControlId::kCloseWindowButton:
      view_.HideWindow();
      return;
    case ControlId::kShutDownButton:
      ShutDown();
      return;
    case ControlId::kSendStatusButton:
      SendStatusClicked();
      return;
    case ControlId::kOpenLogButton:
      OpenLogFile();
      return;
    case ControlId::kSaveDiagnosticsButton:
      if (diagnostics_action_) {
        if (const auto file = view_.ChooseDiagnosticsFile()) SaveDiagnostics(*file);
      }
      return;
    case ControlId::kRetryButton:
      RetryClicked();
      return;
    case ControlId::kDiscardButton:
      DiscardClicked(view_.SelectedRow(ControlId::kWaitingList));
      return;
    case ControlId::kReprintButton:
      ReprintClicked(view_.SelectedRow(ControlId::kPrintedList));
      return;
    case ControlId::kTestPrintButton:
      TestPrintClicked(view_.SelectedRow(ControlId::kPrintersList));
      return;
    default:
      return;
  }
}

void AgentWindow::OptionClicked(documents::PrintOption option, bool checked) {
  options_.Click(option, checked);
}

void AgentWindow::ChangeBranchCode() {
  const std::u16string code = acceso_.PromptNewCode();
  view_.SetCodeBoxText(code);
  dialogs_.MessageBox(kCodeUpdatedMessage, u"", platform::MessageIcon::kInformation);
  end_program_();
}

void AgentWindow::LoadLogoFile(const std::filesystem::path& file) {
  const std::optional<platform::ColourPicture> chosen =
      pictures_.DecodeColour(platform::Utf16ToUtf8(file.u16string()));
  if (!chosen) {
    dialogs_.MessageBox(
        u"El archivo elegido no es una imagen BMP, GIF, JPEG o PNG que se pueda usar como logo.",
        u"", platform::MessageIcon::kError);
    return;
  }
  // What every printer and the window read, at the most a roll prints across.
  const platform::ColourPicture picture = print::ShrinkToWidth(*chosen, print::kWideRollDots);
  if (picture.height > print::kMaxPictureRows) {
    dialogs_.MessageBox(u"La imagen elegida es demasiado alta para imprimirla como logo.", u"",
                        platform::MessageIcon::kError);
    return;
  }
  const std::filesystem::path logo = data_dir_ / "logo.bmp";
  if (!platform::WriteWholeFile(logo, print::BmpFileBytes(picture))) {
    dialogs_.MessageBox(u"No se pudo guardar la imagen como " + logo.u16string(), u"",
                        platform::MessageIcon::kError);
    return;
  }
  view_.ShowLogo(logo);
  dialogs_.MessageBox(u"Imagen Cargada", u"", platform::MessageIcon::kInformation);
}

void AgentWindow::ShutDown() {
  view_.RemoveTrayEntry();
  end_program_();
}

void AgentWindow::SendStatusClicked() {
  if (send_status_action_) send_status_action_();
}

void AgentWindow::TrayEventRaised(TrayEvent event) {
  // The one tray event the window answers.
  if (event == TrayEvent::kBalloonClicked) view_.ShowWindow();
}

void AgentWindow::SetSendStatusAction(std::function<void()> send_status_action) {
  send_status_action_ = std::move(send_status_action);
}

void AgentWindow::SetDiagnosticsAction(
    std::function<void(const std::filesystem::path&)> diagnostics_action) {
  diagnostics_action_ = std::move(diagnostics_action);
  view_.SetControlVisible(ControlId::kSaveDiagnosticsButton, diagnostics_action_ != nullptr);
}

void AgentWindow::SaveDiagnostics(const std::filesystem::path& file) {
  if (!diagnostics_action_) return;
  std::filesystem::path zip = file;
  if (platform::ToUpper(zip.extension().u16string()) != u".ZIP") zip += ".zip";
  try {
    diagnostics_action_(zip);
  } catch (const std::exception& failure) {
    Say(u"No se pudo guardar el diagnóstico en " + zip.u16string() + u": " +
        platform::FailureDescription(failure));
    return;
  }
  Say(u"Diagnóstico guardado en " + zip.u16string());
}

void AgentWindow::OpenLogFile() {
  if (file_log_ == nullptr) {
    Say(u"Esta ejecución no lleva registro en archivo.");
    return;
  }
  const std::filesystem::path today = file_log_->TodaysFile();
  if (!FileExists(today)) {
    Say(u"Todavía no hay registro de hoy: " + today.u16string());
    return;
  }
  if (!view_.OpenWithDesktop(today)) Say(u"No se pudo abrir " + today.u16string());
}

void AgentWindow::Say(const std::u16string& line) {
  WriteLog(line);
  if (file_log_ != nullptr) file_log_->WriteLine(line);
}

void AgentWindow::SetStateCaption(const std::u16string& caption) {
  view_.ShowStateCaption(caption);
}

void AgentWindow::WriteLog(const std::u16string& text) {
  const std::vector<std::u16string> lines = SplitLines(EscapeControls(text));
  view_.AppendLogLines(lines);
  log_lines_ += static_cast<int>(lines.size());
  if (log_lines_ > kMaxLogLines) {
    const int kept = kMaxLogLines - kMaxLogLines / 10;
    view_.RemoveFirstLogLines(log_lines_ - kept);
    log_lines_ = kept;
  }
}

void AgentWindow::Clear() {
  view_.ClearLog();
  log_lines_ = 0;
}

void AgentWindow::SetIcon(link::TrayImage icon, const std::u16string& tooltip) {
  connection_image_ = icon;
  connection_tooltip_ = tooltip;
  ShowTrayState();
}

void AgentWindow::ShowTrayState() {
  const std::u16string waiting =
      printing_ != nullptr ? WaitingSummary(printing_->Waiting()) : std::u16string();
  if (!waiting.empty()) {
    view_.SetTrayImage(TrayPicture::kTicketsWaiting, waiting);
    return;
  }
  view_.SetTrayImage(connection_image_ == link::TrayImage::kConnected ? TrayPicture::kConnected
                                                                      : TrayPicture::kDisconnected,
                     connection_tooltip_);
}

void AgentWindow::SetPrintService(print::PrintService* printing) {
  printing_ = printing;
  WaitingChanged();
}

void AgentWindow::WaitingChanged() {
  std::vector<ListRow> rows;
  if (printing_ != nullptr) {
    for (const print::WaitingTicket& ticket : printing_->Waiting())
      rows.push_back({ticket.id, WaitingRow(ticket), ticket.failure});
  }
  view_.ShowWaitingTickets(rows);
  ListPrintedTickets();
  ListPrinters();
  ShowTrayState();
}

void AgentWindow::ListPrintedTickets() {
  std::vector<ListRow> rows;
  if (printing_ != nullptr) {
    for (const print::PrintedTicket& ticket : printing_->Printed())
      rows.push_back({ticket.id, PrintedRow(ticket), {}});
  }
  view_.ShowPrintedTickets(rows);
}

void AgentWindow::RetryClicked() {
  if (printing_ != nullptr) printing_->RetryNow();
}

void AgentWindow::DiscardClicked(std::uint64_t id) {
  if (printing_ != nullptr && id != 0) printing_->Discard(id);
}

void AgentWindow::ReprintClicked(std::uint64_t id) {
  if (printing_ == nullptr || id == 0) return;
  const auto delivery = printing_->Reprint(id, u"");
  if (delivery && delivery->sent) {
    const std::u16string text = u"Ticket " + platform::Utf8ToUtf16(std::to_string(id)) +
                                u" reimpreso en " + delivery->printer;
    view_.ShowTrayBalloon(text, kReprintTitle, 30000);
    if (file_log_ != nullptr) {
      file_log_->WriteBalloon(text, platform::BalloonIcon::kInformation, kReprintTitle);
    }
  }
  ListPrintedTickets();
}

void AgentWindow::PageChanged() {
  ListPrintedTickets();
  ListPrinters();
}

void AgentWindow::TicketSelected(std::uint64_t id) {
  const std::optional<print::DrawnTicket> ticket =
      printing_ != nullptr && id != 0 ? printing_->TicketOf(id) : std::nullopt;
  view_.ShowTicketPicture(ticket ? TicketPaper(ticket->content, pictures_)
                                 : platform::GreyPicture{});
}

void AgentWindow::RowSelected(ControlId list, std::uint64_t id) {
  if (list == ControlId::kWaitingList || list == ControlId::kPrintedList) TicketSelected(id);
}

void AgentWindow::SetPrinterDirectory(PrinterDirectory* directory) {
  directory_ = directory;
  view_.SetControlVisible(ControlId::kTestPrintButton, directory_ != nullptr);
  ListPrinters();
}

void AgentWindow::PrintersChanged() { ListPrinters(); }

void AgentWindow::ListPrinters() {
  const std::vector<PrinterStatus> known =
      KnownPrinters(directory_, printing_ != nullptr ? printing_->UsedPrinters()
                                                     : std::vector<print::UsedPrinter>());
  std::vector<ListRow> rows;
  printer_rows_.clear();
  for (const PrinterStatus& printer : known) {
    const std::u16string key = platform::PrinterNameKey(printer.name);
    auto place = std::find(printer_ids_.begin(), printer_ids_.end(), key);
    if (place == printer_ids_.end()) place = printer_ids_.insert(printer_ids_.end(), key);
    const auto id = static_cast<std::uint64_t>(place - printer_ids_.begin()) + 1;
    rows.push_back({id, PrinterRowText(printer), printer.reached});
    printer_rows_.emplace_back(id, printer.name);
  }
  view_.ShowPrinters(rows);
}

void AgentWindow::TestPrintClicked(std::uint64_t row) {
  if (directory_ == nullptr || test_printing_) return;
  const auto chosen = std::find_if(printer_rows_.begin(), printer_rows_.end(),
                                   [row](const auto& shown) { return shown.first == row; });
  if (chosen == printer_rows_.end()) {
    view_.ShowTestPrintAnswer(u"Elija en la lista la impresora de la prueba.");
    return;
  }
  const std::u16string printer = chosen->second;
  view_.ShowTestPrintAnswer(u"Imprimiendo la prueba en la impresora " + printer + u"…");
  // The answer may take a moment, during which the window's events go on.
  test_printing_ = true;
  print::RequestAnswer answer;
  try {
    answer = directory_->PrintTest(printer);
  } catch (...) {
    test_printing_ = false;
    throw;
  }
  test_printing_ = false;
  view_.ShowTestPrintAnswer(answer.text);
  Say(answer.text);
  ListPrinters();
}

}  // namespace quillon::shell
