#include "shell/agent_window.h"

#include <string>
#include <vector>

#include "platform/text.h"
#include "platform/whole_file.h"
#include "print/bmp_writer.h"
#include "print/escpos_encoder.h"
#include "print/picture_scaling.h"
#include "shell/log_text.h"
#include "shell/startup_texts.h"
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
  for (int i = 0; i < PrintingOptions::kCount; ++i) view_.SetOptionBox(i, options_.IsChecked(i));

  view_.AddTrayEntry(kTrayTooltip);
}

void AgentWindow::OptionClicked(int index, bool checked) { options_.Click(index, checked); }

void AgentWindow::ChangeBranchCode() {
  const std::u16string code = acceso_.PromptNewCode();
  view_.SetCodeBoxText(code);
  dialogs_.MessageBox(kCodeUpdatedMessage, u"", platform::MessageIcon::Information);
  end_program_();
}

void AgentWindow::LoadLogoFile(const std::filesystem::path& file) {
  const std::optional<platform::ColourPicture> chosen =
      pictures_.DecodeColour(platform::Utf16ToUtf8(file.u16string()));
  if (!chosen) {
    dialogs_.MessageBox(
        u"El archivo elegido no es una imagen BMP, GIF, JPEG o PNG que se pueda usar como logo.",
        u"", platform::MessageIcon::Error);
    return;
  }
  // What every printer and the window read, at the most a roll prints across.
  const platform::ColourPicture picture = print::ShrinkToWidth(*chosen, print::kWideRollDots);
  if (picture.height > print::kMaxPictureRows) {
    dialogs_.MessageBox(u"La imagen elegida es demasiado alta para imprimirla como logo.", u"",
                        platform::MessageIcon::Error);
    return;
  }
  const std::filesystem::path logo = data_dir_ / "logo.bmp";
  if (!platform::WriteWholeFile(logo, print::BmpFileBytes(picture))) {
    dialogs_.MessageBox(u"No se pudo guardar la imagen como " + logo.u16string(), u"",
                        platform::MessageIcon::Error);
    return;
  }
  view_.ShowLogo(logo);
  dialogs_.MessageBox(u"Imagen Cargada", u"", platform::MessageIcon::Information);
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
  if (event == TrayEvent::BalloonClicked) view_.ShowWindow();
}

void AgentWindow::SetSendStatusAction(std::function<void()> send_status_action) {
  send_status_action_ = std::move(send_status_action);
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
    view_.SetTrayImage(TrayPicture::TicketsWaiting, waiting);
    return;
  }
  view_.SetTrayImage(connection_image_ == link::TrayImage::Connected ? TrayPicture::Connected
                                                                     : TrayPicture::Disconnected,
                     connection_tooltip_);
}

void AgentWindow::SetPrintService(print::PrintService* printing) {
  printing_ = printing;
  WaitingChanged();
}

void AgentWindow::WaitingChanged() {
  std::vector<TicketRow> rows;
  if (printing_ != nullptr) {
    for (const print::WaitingTicket& ticket : printing_->Waiting())
      rows.push_back({ticket.id, WaitingRow(ticket), ticket.failure});
  }
  view_.ShowWaitingTickets(rows);
  ListPrintedTickets();
  ShowTrayState();
}

void AgentWindow::ListPrintedTickets() {
  std::vector<TicketRow> rows;
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
    const std::u16string text =
        u"Ticket " + platform::u16(std::to_string(id)) + u" reimpreso en " + delivery->printer;
    view_.ShowTrayBalloon(text, kReprintTitle, 30000);
    if (file_log_ != nullptr) {
      file_log_->WriteBalloon(text, platform::BalloonIcon::Information, kReprintTitle);
    }
  }
  ListPrintedTickets();
}

void AgentWindow::PageChanged() { ListPrintedTickets(); }

}  // namespace quillon::shell
