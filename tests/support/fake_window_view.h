#pragma once
// A main window without a toolkit: keeps what the shell shows in it, so a test can read it back.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
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
  void SetOptionBox(documents::PrintOption option, bool checked) override {
    option_boxes.at(documents::BoxIndex(option)) = checked;
  }
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
  void ShowWaitingTickets(const std::vector<shell::ListRow>& rows) override { waiting = rows; }
  void ShowPrintedTickets(const std::vector<shell::ListRow>& rows) override { printed = rows; }
  void ShowPrinters(const std::vector<shell::ListRow>& rows) override { printers = rows; }
  std::uint64_t SelectedRow(shell::ControlId list) const override {
    switch (list) {
      case shell::ControlId::kWaitingList:
        return selected_waiting;
      case shell::ControlId::kPrintedList:
        return selected_printed;
      default:
        return selected_printer;
    }
  }
  void ShowTestPrintAnswer(const std::u16string& text) override {
    test_print_answers.push_back(text);
  }
  void ShowTicketPicture(const platform::GreyPicture& paper) override { ticket_picture = paper; }
  void SetControlVisible(shell::ControlId id, bool shown) override {
    hidden[static_cast<std::size_t>(id)] = !shown;
  }
  std::optional<std::filesystem::path> ChoosePictureFile() override { return chosen_picture; }
  std::optional<std::filesystem::path> ChooseDiagnosticsFile() override {
    return chosen_diagnostics;
  }
  bool OpenWithDesktop(const std::filesystem::path& file) override {
    opened.push_back(file);
    return opens;
  }
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
  shell::TrayPicture tray_image = shell::TrayPicture::kDisconnected;
  std::u16string tray_tooltip;
  std::vector<shell::ListRow> waiting;
  std::vector<shell::ListRow> printed;
  std::vector<std::u16string> balloons;
  std::uint64_t selected_waiting = 0;
  std::uint64_t selected_printed = 0;
  std::vector<shell::ListRow> printers;
  std::uint64_t selected_printer = 0;
  std::vector<std::u16string> test_print_answers;
  platform::GreyPicture ticket_picture;
  std::array<bool, shell::kControlCount> hidden{};
  std::optional<std::filesystem::path> chosen_picture;
  std::optional<std::filesystem::path> chosen_diagnostics;
  std::vector<std::filesystem::path> opened;
  bool opens = true;  // what OpenWithDesktop answers
};

}  // namespace quillon::test
