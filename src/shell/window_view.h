#pragma once
// The main window and its tray entry as the shell's decisions drive them; the toolkit's window
// implements it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/picture_decoder.h"
#include "shell/window_form.h"

namespace quillon::shell {

// The tray images: the connection's two, and tickets waiting for a printer, which wins over them.
enum class TrayPicture { kConnected, kDisconnected, kTicketsWaiting };

// One row of a list of the Status page; `id` (never 0) is what the buttons act on.
struct ListRow {
  std::uint64_t id = 0;
  std::u16string text;
  std::u16string tooltip;
};

class WindowView {
 public:
  virtual ~WindowView() = default;
  virtual void ShowWindow() = 0;
  virtual void HideWindow() = 0;
  virtual std::u16string CodeBoxText() const = 0;
  virtual void SetCodeBoxText(const std::u16string& text) = 0;
  virtual void SetOptionBox(documents::PrintOption option, bool checked) = 0;
  // Paints the picture into the logo area, scaled and centred; false when the file is no
  // picture the view can show (the area is then left as it was).
  virtual bool ShowLogo(const std::filesystem::path& file) = 0;
  virtual void AppendLogLines(const std::vector<std::u16string>& lines) = 0;
  virtual void RemoveFirstLogLines(int count) = 0;
  virtual void ClearLog() = 0;
  virtual void ShowStateCaption(const std::u16string& caption) = 0;
  // The lists of the Status page, replaced whole. The row selected before stays selected when
  // its id is still listed; when it is not, the shell hears that none is selected.
  virtual void ShowWaitingTickets(const std::vector<ListRow>& rows) = 0;
  virtual void ShowPrintedTickets(const std::vector<ListRow>& rows) = 0;
  virtual void ShowPrinters(const std::vector<ListRow>& rows) = 0;
  // The id of the selected row of a list (the form's kWaitingList, kPrintedList or
  // kPrintersList); 0 when none is selected.
  virtual std::uint64_t SelectedRow(ControlId list) const = 0;
  // What became of the last test ticket, under the printers list.
  virtual void ShowTestPrintAnswer(const std::u16string& text) = 0;
  // The paper of the selected ticket, dot for dot, which the view scales to fit its area; an
  // empty picture clears the area.
  virtual void ShowTicketPicture(const platform::GreyPicture& paper) = 0;
  virtual void SetControlVisible(ControlId id, bool visible) = 0;
  // The file dialogs: a picture to open for "Cargar Imagen", a zip file to save the diagnostics
  // in; nullopt when cancelled.
  virtual std::optional<std::filesystem::path> ChoosePictureFile() = 0;
  virtual std::optional<std::filesystem::path> ChooseDiagnosticsFile() = 0;
  // Opens the file with the desktop's viewer for its kind; false when none could be started.
  virtual bool OpenWithDesktop(const std::filesystem::path& file) = 0;
  // The tray entry: added with its tooltip, its image and tooltip, an information balloon,
  // removed.
  virtual void AddTrayEntry(const std::u16string& tooltip) = 0;
  virtual void SetTrayImage(TrayPicture image, const std::u16string& tooltip) = 0;
  virtual void ShowTrayBalloon(const std::u16string& text, const std::u16string& title,
                               int timeout_ms) = 0;
  virtual void RemoveTrayEntry() = 0;
};

}  // namespace quillon::shell
