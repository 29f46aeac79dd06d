#pragma once
// The main window and its tray entry as the shell's decisions drive them; the toolkit's window
// implements it.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon::shell {

// The tray images: the connection's two, and tickets waiting for a printer, which wins over them.
enum class TrayPicture { Connected, Disconnected, TicketsWaiting };

// One row of the waiting or printed tickets' list; `id` is what the buttons act on.
struct TicketRow {
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
  virtual void SetOptionBox(int index, bool checked) = 0;
  // Paints the picture into the logo area, scaled and centred; false when the file is no
  // picture the view can show (the area is then left as it was).
  virtual bool ShowLogo(const std::filesystem::path& file) = 0;
  virtual void AppendLogLines(const std::vector<std::u16string>& lines) = 0;
  virtual void RemoveFirstLogLines(int count) = 0;
  virtual void ClearLog() = 0;
  virtual void ShowStateCaption(const std::u16string& caption) = 0;
  // The lists of the Status page, replaced whole.
  virtual void ShowWaitingTickets(const std::vector<TicketRow>& rows) = 0;
  virtual void ShowPrintedTickets(const std::vector<TicketRow>& rows) = 0;
  // The tray entry: added with its tooltip, its image and tooltip, an information balloon,
  // removed.
  virtual void AddTrayEntry(const std::u16string& tooltip) = 0;
  virtual void SetTrayImage(TrayPicture image, const std::u16string& tooltip) = 0;
  virtual void ShowTrayBalloon(const std::u16string& text, const std::u16string& title,
                               int timeout_ms) = 0;
  virtual void RemoveTrayEntry() = 0;
};

}  // namespace quillon::shell
