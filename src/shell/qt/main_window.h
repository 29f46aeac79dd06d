#pragma once
// The main window: the branch code, the printing options, the logo, the activity log, the
// printers and the tickets waiting for a printer or printed lately. It is loaded at start-up and
// stays loaded, hidden most of the time, until the program ends. What it does is decided by the
// shell's AgentWindow; this is its Qt view.
#include <QIcon>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "link/activity_log.h"
#include "link/tray_status.h"
#include "platform/dialogs.h"
#include "platform/picture_decoder.h"
#include "print/print_service.h"
#include "shell/agent_window.h"
#include "shell/branch_code_file.h"
#include "shell/printing_options.h"
#include "shell/qt/background_painter.h"
#include "shell/qt/tray_icon.h"
#include "shell/window_form.h"
#include "shell/window_view.h"

class QCheckBox;
class QTabWidget;

namespace quillon::shell {

class MainWindow final : public QWidget, private WindowView {
  Q_OBJECT

 public:
  // `end_program` ends the program at once ("Apagar Servidor", a changed code).
  MainWindow(platform::Dialogs& dialogs, const platform::PictureDecoder& pictures,
             BranchCodeFile& acceso, std::filesystem::path data_dir,
             std::function<void()> end_program);
  ~MainWindow() override;

  // The start-up steps after the single-instance check: code and options from Acceso, the
  // window shown only for "TECNICA", the logo, the options and the tray entry. The connection
  // sets the tray's first image and balloon.
  void Load() { shell_.Load(); }

  AgentWindow& Shell() { return shell_; }
  const std::u16string& BranchCode() const { return shell_.BranchCode(); }
  const PrintingOptions& Options() const { return shell_.Options(); }
  TrayIcon& Tray() { return tray_; }

  // The activity log, the tray image and the state label, as the connection drives them.
  void WriteLog(const std::u16string& text) { shell_.WriteLog(text); }
  void Clear() { shell_.Clear(); }
  void SetIcon(link::TrayImage icon, const std::u16string& tooltip) {
    shell_.SetIcon(icon, tooltip);
  }
  void SetStateCaption(const std::u16string& caption) { shell_.SetStateCaption(caption); }
  // The tickets of the Status page and what "Reintentar", "Descartar" and "Reimprimir" act on.
  void SetPrintService(print::PrintService* printing) { shell_.SetPrintService(printing); }
  // What "Send Status Free" does.
  void SetSendStatusAction(std::function<void()> send_status_action) {
    shell_.SetSendStatusAction(std::move(send_status_action));
  }

  // "Cargar Imagen" once a file has been chosen: paints it and keeps a copy as logo.bmp.
  void LoadLogoFile(const QString& file);

  // The tray images of the connection states.
  const QIcon connected_icon;
  const QIcon disconnected_icon;
  const QIcon warning_icon;  // tickets wait for a printer

  QTabWidget* tabs;
  // The form's controls, by their ids, as the widgets they were built as.
  template <typename Widget>
  Widget* Control(ControlId id) const {
    return qobject_cast<Widget*>(controls_.at(static_cast<std::size_t>(id)));
  }
  // The paper of the selected ticket as the renderer drew it, before it was scaled to fit.
  const QImage& TicketPaper() const { return ticket_painter_.Picture(); }

 protected:
  // The window is never closed by the user: the title-bar close does nothing.
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildForm();
  QWidget* MakeControl(const FormControl& control, QWidget* parent);
  QCheckBox* MakeCheckBox(ControlId id, const QString& caption, QWidget* parent);
  void ScrollLogToEnd();
  void FillList(ControlId list, const std::vector<ListRow>& rows);

  // WindowView
  void ShowWindow() override;
  void HideWindow() override;
  std::u16string CodeBoxText() const override;
  void SetCodeBoxText(const std::u16string& text) override;
  void SetOptionBox(documents::PrintOption option, bool checked) override;
  bool ShowLogo(const std::filesystem::path& file) override;
  void AppendLogLines(const std::vector<std::u16string>& lines) override;
  void RemoveFirstLogLines(int count) override;
  void ClearLog() override;
  void ShowStateCaption(const std::u16string& caption) override;
  void ShowWaitingTickets(const std::vector<ListRow>& rows) override;
  void ShowPrintedTickets(const std::vector<ListRow>& rows) override;
  void ShowPrinters(const std::vector<ListRow>& rows) override;
  std::uint64_t SelectedRow(ControlId list) const override;
  void ShowTestPrintAnswer(const std::u16string& text) override;
  void ShowTicketPicture(const platform::GreyPicture& paper) override;
  void SetControlVisible(ControlId id, bool visible) override;
  std::optional<std::filesystem::path> ChoosePictureFile() override;
  std::optional<std::filesystem::path> ChooseDiagnosticsFile() override;
  bool OpenWithDesktop(const std::filesystem::path& file) override;
  void AddTrayEntry(const std::u16string& tooltip) override;
  void SetTrayImage(TrayPicture image, const std::u16string& tooltip) override;
  void ShowTrayBalloon(const std::u16string& text, const std::u16string& title,
                       int timeout_ms) override;
  void RemoveTrayEntry() override;

  std::array<QWidget*, kControlCount> controls_{};
  TrayIcon tray_;
  std::unique_ptr<BackgroundPainter> logo_painter_;
  BackgroundPainter ticket_painter_;
  AgentWindow shell_;
};

}  // namespace quillon::shell
