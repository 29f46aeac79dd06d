#pragma once
// A main window without a toolkit: keeps what the shell shows in it, so a test can read it back.
#include <filesystem>
#include <string>
#include <vector>

#include "shell/window_view.h"

namespace quillon::test {

class FakeWindowView final : public shell::WindowView {
 public:
  void ShowWindow() override { visible = true; }
  void HideWindow() override { visible = false; }
  std::u16string CodeBoxText() const override { return code_box; }
  void SetCodeBoxText(const std::u16string& text) override { code_box = text; }
  void SetOptionBox(int index, bool checked) override { option_boxes.at(index) = checked; }
  bool ShowLogo(const std::filesystem::path& file) override {
    // Any file whose name does not end in ".txt" passes for a picture.
    if (file.extension() == ".txt") return false;
    logo = file;
    return true;
  }
  void AppendLogLines(const std::vector<std::u16string>& lines) override {
    log.insert(log.end(), lines.begin(), lines.end());
  }
  void RemoveFirstLogLines(int count) override { log.erase(log.begin(), log.begin() + count); }
  void ClearLog() override { log.clear(); }
  void ShowStateCaption(const std::u16string& caption) override { state_caption = caption; }
  void ShowWaitingTickets(const std::vector<shell::TicketRow>& rows) override { waiting = rows; }
  void ShowPrintedTickets(const std::vector<shell::TicketRow>& rows) override { printed = rows; }
  void AddTrayEntry(const std::u16string& tooltip) override {
    tray_added = true;
    tray_tooltip = tooltip;
  }
  void SetTrayImage(shell::TrayPicture image, const std::u16string& tooltip) override {
    tray_image = image;
    tray_tooltip = tooltip;
  }
  void ShowTrayBalloon(const std::u16string& text, const std::u16string& title, int) override {
    balloons.push_back(title + u": " + text);
  }
  void RemoveTrayEntry() override { tray_added = false; }

  bool visible = true;
  std::u16string code_box;
  std::vector<bool> option_boxes = std::vector<bool>(4, false);
  std::filesystem::path logo;
  std::vector<std::u16string> log;
  std::u16string state_caption;
  bool tray_added = false;
  shell::TrayPicture tray_image = shell::TrayPicture::Disconnected;
  std::u16string tray_tooltip;
  std::vector<shell::TicketRow> waiting;
  std::vector<shell::TicketRow> printed;
  std::vector<std::u16string> balloons;
};

}  // namespace quillon::test
