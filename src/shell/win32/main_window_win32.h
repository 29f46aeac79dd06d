#pragma once
// The main window in plain Win32: the pages "Panel", "Opciones" and "Status" (with the waiting and
// printed tickets) on a tab control,
// with the captions and controls of the Qt window. What it does is decided by the shell's
// AgentWindow; this is its Windows view, and it owns the tray entry.
#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/picture_decoder.h"
#include "shell/agent_window.h"
#include "shell/branch_code_file.h"
#include "shell/printing_options.h"
#include "shell/win32/tray_icon_win32.h"
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
  HWND Page(int index, bool white);
  HWND Control(HWND parent, const wchar_t* window_class, const wchar_t* text, DWORD style, int x,
               int y, int width, int height, int id);
  void OnCommand(int id, int code);
  void ShowPage(int index);
  // The ticket number of the selected row; 0 when none is selected.
  static std::uint64_t SelectedTicket(HWND list);
  static void FillList(HWND list, const std::vector<TicketRow>& rows);

  // WindowView
  void ShowWindow() override;
  void HideWindow() override;
  std::u16string CodeBoxText() const override;
  void SetCodeBoxText(const std::u16string& text) override;
  void SetOptionBox(int index, bool checked) override;
  bool ShowLogo(const std::filesystem::path& file) override;
  void AppendLogLines(const std::vector<std::u16string>& lines) override;
  void RemoveFirstLogLines(int count) override;
  void ClearLog() override;
  void ShowStateCaption(const std::u16string& caption) override;
  void ShowWaitingTickets(const std::vector<TicketRow>& rows) override;
  void ShowPrintedTickets(const std::vector<TicketRow>& rows) override;
  void AddTrayEntry(const std::u16string& tooltip) override;
  void SetTrayImage(TrayPicture image, const std::u16string& tooltip) override;
  void ShowTrayBalloon(const std::u16string& text, const std::u16string& title,
                       int timeout_ms) override;
  void RemoveTrayEntry() override;

  HWND window_ = nullptr;
  HWND tabs_ = nullptr;
  std::array<HWND, 3> pages_{};
  HWND code_box_ = nullptr;
  HWND logo_view_ = nullptr;
  std::array<HWND, PrintingOptions::kCount> option_boxes_{};
  HWND log_view_ = nullptr;
  HWND waiting_list_ = nullptr;
  HWND printed_list_ = nullptr;
  HWND state_label_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH white_ = nullptr;
  HBITMAP logo_bitmap_ = nullptr;
  HICON connected_icon_ = nullptr;
  HICON disconnected_icon_ = nullptr;
  HICON warning_icon_ = nullptr;  // tickets wait for a printer
  TrayIconWin32 tray_;
  AgentWindow shell_;
};

// The tray images of the connection states, drawn at start so no image files are needed.
HICON DrawTrayIcon(COLORREF light);

}  // namespace quillon::shell
