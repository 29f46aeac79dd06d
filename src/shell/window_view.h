#pragma once
// The main window and its tray entry as the shell's decisions drive them; the toolkit's window
// implements it.
#include <filesystem>
#include <string>
#include <vector>

#include "link/tray_status.h"

namespace quillon::shell {

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
  // The tray entry: added with its tooltip, its image per connection state, removed.
  virtual void AddTrayEntry(const std::u16string& tooltip) = 0;
  virtual void SetTrayImage(link::TrayImage image, const std::u16string& tooltip) = 0;
  virtual void RemoveTrayEntry() = 0;
};

}  // namespace quillon::shell
