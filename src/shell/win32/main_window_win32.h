#pragma once
// The main window in plain Win32: the pages and controls of the shell's window form on a tab
// control. What it does is decided by the shell's AgentWindow; this is its Windows view, and it
// owns the tray entry.
#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "adapters/win32/wic_pictures.h"
#include "platform/dialogs.h"
#include "platform/picture_decoder.h"
#include "shell/agent_window.h"
#include "shell/branch_code_file.h"
#include "shell/printing_options.h"
#include "shell/win32/tray_icon_win32.h"
#include "shell/window_form.h"
#include "shell/window_view.h"

namespace quillon::shell {

class MainWindowWin32 final : private WindowView {
 public:
  // `end_program` ends the program at once ("Apagar Servidor", a changed code).
  MainWindowWin32(platform::Dialogs& dialogs, const platform::PictureDecoder& pictures,
                  BranchCodeFile& acceso, std::filesystem::path data_dir,
                  std::function<void()> end_program);
  ~MainWindowWin32() override;
  MainWindowWin32(const MainWindowWin32&) = delete;
  MainWindowWin32& operator=(const MainWindowWin32&) = delete;

  HWND Handle() const { return window_; }
  AgentWindow& Shell() { return shell_; }
  TrayIconWin32& Tray() { return tray_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK PageProcedure(HWND page, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void BuildControls();
  // A page, or a frame on one, whose controls' commands come to this window.
  HWND Panel(HWND parent, bool white, DWORD style, const FormRect& place);
  HWND Control(HWND parent, const wchar_t* window_class, const wchar_t* text, DWORD style,
               const FormRect& place, int id);
  HWND MakeControl(const FormControl& control, HWND parent, const FormRect& place);
  HWND ControlWindow(ControlId id) const { return controls_.at(static_cast<std::size_t>(id)); }
  void OnCommand(int command_id, int code);
  void ShowPage(int index);
  void FillList(ControlId id, const std::vector<ListRow>& rows);
  // Paints the picture into the area, scaled to fit and centred on white.
  bool ShowFitted(ControlId area, const adapters::win32::ColourPicture& picture);
  // The bitmap the area shows now; the one it showed before is deleted.
  void ForgetBitmap(ControlId area, HBITMAP shown);

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

  HWND window_ = nullptr;
  HWND tabs_ = nullptr;
  std::array<HWND, kFormPages.size()> pages_{};
  std::array<HWND, kControlCount> controls_{};
  std::vector<HWND> white_frames_;
  std::array<HBITMAP, kControlCount> bitmaps_{};  // what each picture area shows
  HFONT font_ = nullptr;
  HICON connected_icon_ = nullptr;
  HICON disconnected_icon_ = nullptr;
  HICON warning_icon_ = nullptr;  // tickets wait for a printer
  TrayIconWin32 tray_;
  AgentWindow shell_;
};

// The tray images of the connection states, drawn at start so no image files are needed.
HICON DrawTrayIcon(COLORREF light);

}  // namespace quillon::shell
