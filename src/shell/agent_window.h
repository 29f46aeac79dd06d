#pragma once
// What the main window decides, without a toolkit: the start-up steps once the single instance
// is held, the printing options and where they are stored, the logo, the activity log and its
// bound, the branch code change and "Apagar Servidor", the tickets waiting for a printer or
// printed lately and the tray image they show, the printers and their test ticket. A toolkit
// window is a thin view over it.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "link/activity_log.h"
#include "link/tray_status.h"
#include "platform/dialogs.h"
#include "platform/picture_decoder.h"
#include "print/print_service.h"
#include "shell/branch_code_file.h"
#include "shell/file_log.h"
#include "shell/printer_rows.h"
#include "shell/printing_options.h"
#include "shell/tray_notification.h"
#include "shell/window_view.h"

namespace quillon::shell {

class AgentWindow final : public link::ActivityLog,
                          public link::TrayStatus,
                          public print::PrintMonitor {
 public:
  // Enough for days of reconnection errors without growing memory without end.
  static constexpr int kMaxLogLines = 5000;

  // `pictures` reads the files chosen by "Cargar Imagen"; `end_program` ends the program at once
  // ("Apagar Servidor", a changed code).
  AgentWindow(WindowView& view, platform::Dialogs& dialogs,
              const platform::PictureDecoder& pictures, BranchCodeFile& acceso,
              std::filesystem::path data_dir, std::function<void()> end_program);

  // Code and options from Acceso, the window shown only for "TECNICA", the stored logo, the
  // options and the tray entry. The connection sets the tray's first image and balloon.
  void Load();

  const std::u16string& BranchCode() const { return branch_code_; }
  const PrintingOptions& Options() const { return options_; }

  // The user's actions. A button of the form, by its id; an option box, by its option.
  void Clicked(ControlId id);
  void OptionClicked(documents::PrintOption option, bool checked);
  void ChangeBranchCode();
  // "Cargar Imagen" once a file has been chosen: the picture, no wider than the widest roll,
  // becomes logo.bmp (written whole) and is shown. A file that is no picture, or one too tall to
  // print, is refused with a message, and the old logo stays in the file and in the window.
  void LoadLogoFile(const std::filesystem::path& file);
  void ShutDown();
  void SendStatusClicked();
  void TrayEventRaised(TrayEvent event);
  // "Reintentar", "Descartar" and "Reimprimir", with the selected row's ticket (0 for none).
  void RetryClicked();
  void DiscardClicked(std::uint64_t id);
  void ReprintClicked(std::uint64_t id);
  // Another page was chosen: the printed tickets and the printers are listed afresh.
  void PageChanged();
  // A row of the waiting or printed tickets was selected (0 for none): its paper is shown.
  void TicketSelected(std::uint64_t id);
  // A row of one of the lists was selected, by its id (0 for none).
  void RowSelected(ControlId list, std::uint64_t id);
  // "Imprimir prueba" with the selected row of the printers list (0 for none): the answer is
  // shown under the list and written in the log. A click while a test ticket is being printed
  // does nothing.
  void TestPrintClicked(std::uint64_t row);
  // A printer's state changed: the printers are listed afresh.
  void PrintersChanged();
  // "Abrir registro": today's file of the log that lasts, in the desktop's viewer.
  void OpenLogFile();
  // "Guardar diagnóstico…" once a file has been chosen: the diagnostics go into it, named .zip.
  void SaveDiagnostics(const std::filesystem::path& file);

  // The tickets of the Status page and what its buttons act on; null when printing stops.
  void SetPrintService(print::PrintService* printing);
  // The printers beside the print service's, and what prints the test ticket. Without them the
  // printers list shows only the print service's and "Imprimir prueba" is not shown.
  void SetPrinterDirectory(PrinterDirectory* directory);

  // Where the window's own balloons are also written; null for none.
  void SetFileLog(FileLog* file_log) { file_log_ = file_log; }

  void SetSendStatusAction(std::function<void()> send_status_action);
  // What writes the diagnostics zip; it raises an exception when it cannot. Without one
  // "Guardar diagnóstico…" is not shown.
  void SetDiagnosticsAction(std::function<void(const std::filesystem::path&)> diagnostics_action);
  void SetStateCaption(const std::u16string& caption);

  // Each line break of the text starts a new line of the log, its control characters escaped;
  // past kMaxLogLines the oldest tenth goes.
  void WriteLog(const std::u16string& text) override;
  void Clear() override;
  // The tray image of a connection state, with its tooltip; while tickets wait for a printer the
  // tray shows that instead.
  void SetIcon(link::TrayImage icon, const std::u16string& tooltip) override;
  void WaitingChanged() override;
  void Log(const std::u16string& line) override { WriteLog(line); }

 private:
  WindowView& view_;
  platform::Dialogs& dialogs_;
  const platform::PictureDecoder& pictures_;
  BranchCodeFile& acceso_;
  std::filesystem::path data_dir_;
  std::function<void()> end_program_;
  std::function<void()> send_status_action_;
  std::function<void(const std::filesystem::path&)> diagnostics_action_;
  void ShowTrayState();
  void ListPrintedTickets();
  void ListPrinters();
  // A line in the window's log and in the file log.
  void Say(const std::u16string& line);

  std::u16string branch_code_;
  print::PrintService* printing_ = nullptr;
  PrinterDirectory* directory_ = nullptr;
  // The printers list's row ids: a name in capitals has its index + 1 for as long as the program
  // runs, so a selection survives the list being filled again.
  std::vector<std::u16string> printer_ids_;
  std::vector<std::pair<std::uint64_t, std::u16string>> printer_rows_;  // id and name, as shown
  bool test_printing_ = false;
  FileLog* file_log_ = nullptr;
  link::TrayImage connection_image_ = link::TrayImage::kDisconnected;
  std::u16string connection_tooltip_;
  PrintingOptions options_;
  int log_lines_ = 0;
};

}  // namespace quillon::shell
