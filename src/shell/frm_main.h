#pragma once
// The main window: the branch code, the printing options, the logo and the activity log. It is
// loaded at start-up and stays loaded, hidden most of the time, until the program ends.
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
#include "shell/branch_code_file.h"
#include "shell/clas_background.h"
#include "shell/cls_systray.h"
#include "shell/printing_options.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace quillon::shell {

class frmMain final : public QWidget, public link::ActivityLog, public link::TrayStatus {
  Q_OBJECT

 public:
  // `end_program` ends the program at once ("Apagar Servidor", a changed code).
  frmMain(platform::Dialogs& dialogs, BranchCodeFile& acceso, std::filesystem::path data_dir,
          std::function<void()> end_program);
  ~frmMain() override;

  // The start-up steps after the single-instance check: code and options from Acceso, the
  // window shown only for "TECNICA", the logo, the options and the tray entry. The connection
  // sets the tray's first image and balloon.
  void Form_Load();

  const std::u16string& codigoSucursalesAgencias() const { return codigo_sucursal_; }
  const PrintingOptions& Opciones() const { return opciones_; }
  clsSystray& SysTray() { return systray_; }

  // Appends one line to the activity log and scrolls it into view.
  void escribirLog(const std::u16string& text) override;
  void Clear() override;
  // The tray image of a connection state, with its tooltip.
  void SetIcon(link::TrayIcon icon, const std::u16string& tooltip) override;
  // The caption of the (hidden) connection state label.
  void SetEstado(const std::u16string& caption);
  // What "Send Status Free" does.
  void SetEnviarStatus(std::function<void()> enviar_status);

  // "Cargar Imagen" once a file has been chosen: paints it and keeps a copy as logo.bmp.
  void CargarImagen(const QString& file);

  // The tray images of the connection states.
  const QIcon pctOK;
  const QIcon pctDisconected;

  // Controls, by their names.
  QTabWidget* SSTab1;
  QLabel* Label1;
  QLineEdit* txtCodigo;
  QPushButton* cmdCambiarCodigo;
  QLabel* pctLogo;
  QPushButton* Command2;
  QPushButton* Command3;
  QPushButton* Command4;
  QLabel* Label2;
  std::array<QCheckBox*, PrintingOptions::kCount> CheckInfo;
  QGroupBox* fraComandas;
  QPushButton* Command1;
  QPlainTextEdit* txtlog;
  QLabel* lblState;

 protected:
  // The window is never closed by the user: the title-bar close does nothing.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildPanelPage();
  QWidget* BuildOptionsPage();
  QWidget* BuildStatusPage();
  void PintarLogo(const QImage& image);
  void CambiarCodigo();
  void ApagarServidor();
  void SyncOptionBoxes();

  platform::Dialogs& dialogs_;
  BranchCodeFile& acceso_;
  std::filesystem::path data_dir_;
  std::function<void()> end_program_;
  std::function<void()> enviar_status_;
  std::u16string codigo_sucursal_;
  PrintingOptions opciones_;
  clsSystray systray_;
  std::unique_ptr<clasBackGround> fondoLogo_;
};

}  // namespace quillon::shell
