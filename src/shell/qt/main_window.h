#pragma once
// The main window: the branch code, the printing options, the logo, the activity log and the
// tickets waiting for a printer or printed lately. It is loaded at start-up and stays loaded,
// hidden most of the time, until the program ends.
#include <QIcon>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "link/activity_log.h"
#include "link/tray_status.h"
#include "platform/dialogs.h"
#include "print/print_service.h"
#include "shell/branch_code_file.h"
#include "shell/printing_options.h"
#include "shell/qt/background_painter.h"
#include "shell/qt/tray_icon.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace quillon::shell {

class MainWindow final : public QWidget,
                         public link::ActivityLog,
                         public link::TrayStatus,
                         public print::PrintMonitor {
  Q_OBJECT

 public:
  // `end_program` ends the program at once ("Apagar Servidor", a changed code).
  MainWindow(platform::Dialogs& dialogs, BranchCodeFile& acceso, std::filesystem::path data_dir,
             std::function<void()> end_program);
  ~MainWindow() override;

  // The start-up steps after the single-instance check: code and options from Acceso, the
  // window shown only for "TECNICA", the logo, the options and the tray entry. The connection
  // sets the tray's first image and balloon.
  void Load();

  const std::u16string& BranchCode() const { return branch_code_; }
  const PrintingOptions& Options() const { return options_; }
  TrayIcon& Tray() { return tray_; }

  // Appends one line to the activity log, its control characters escaped, and scrolls it into
  // view.
  void WriteLog(const std::u16string& text) override;
  void Clear() override;
  // The tray image of a connection state, with its tooltip; while tickets wait for a printer the
  // tray shows that instead.
  void SetIcon(link::TrayImage icon, const std::u16string& tooltip) override;
  // The tickets of the Status page and what "Reintentar", "Descartar" and "Reimprimir" act on.
  void SetPrintService(print::PrintService* printing);
  void WaitingChanged() override;
  void Log(const std::u16string& line) override { WriteLog(line); }
  // The caption of the (hidden) connection state label.
  void SetStateCaption(const std::u16string& caption);
  // What "Send Status Free" does.
  void SetSendStatusAction(std::function<void()> send_status_action);

  // "Cargar Imagen" once a file has been chosen: paints it and keeps a copy as logo.bmp.
  void LoadLogoFile(const QString& file);

  // The tray images of the connection states.
  const QIcon connected_icon;
  const QIcon disconnected_icon;
  const QIcon warning_icon;  // tickets wait for a printer

  // Controls, by their names.
  QTabWidget* tabs;
  QLabel* code_label;
  QLineEdit* code_box;
  QPushButton* change_code_button;
  QLabel* logo_view;
  QPushButton* load_picture_button;
  QPushButton* close_window_button;
  QPushButton* shut_down_button;
  QLabel* options_label;
  std::array<QCheckBox*, PrintingOptions::kCount> option_boxes;
  QGroupBox* orders_frame;
  QPushButton* send_status_button;
  QPlainTextEdit* log_view;
  QListWidget* waiting_list;
  QPushButton* retry_button;
  QPushButton* discard_button;
  QListWidget* printed_list;
  QPushButton* reprint_button;
  QLabel* state_label;

 protected:
  // The window is never closed by the user: the title-bar close does nothing.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildPanelPage();
  QWidget* BuildOptionsPage();
  QWidget* BuildStatusPage();
  void PaintLogo(const QImage& image);
  void ChangeBranchCode();
  void ShutDown();
  void SyncOptionBoxes();
  void ShowTrayState();
  void ListPrintedTickets();
  void ReprintSelected();
  // The ticket number of the selected row; 0 when none is selected.
  static std::uint64_t SelectedTicket(const QListWidget& list);

  platform::Dialogs& dialogs_;
  BranchCodeFile& acceso_;
  std::filesystem::path data_dir_;
  std::function<void()> end_program_;
  std::function<void()> send_status_action_;
  std::u16string branch_code_;
  print::PrintService* printing_ = nullptr;
  link::TrayImage connection_image_ = link::TrayImage::Disconnected;
  std::u16string connection_tooltip_;
  PrintingOptions options_;
  TrayIcon tray_;
  std::unique_ptr<BackgroundPainter> logo_painter_;
};

}  // namespace quillon::shell
