#include "shell/win32/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "adapters/win32/wic_pictures.h"
#include "adapters/win32/wide_text.h"
#include "adapters/win32/win32_dialogs.h"
#include "shell/logo_placement.h"
#include "shell/startup_texts.h"

namespace quillon::shell {
namespace {

using adapters::win32::FromWide;
using adapters::win32::Wide;

constexpr wchar_t kWindowClass[] = L"QuillonMainWindow";
constexpr wchar_t kPageClass[] = L"QuillonPage";
constexpr wchar_t kWhitePageClass[] = L"QuillonWhitePage";

// The control ids Windows carries in WM_COMMAND: the form's ids, past the ones dialogs use.
constexpr int kFirstControlId = 1000;

// The Close command of the system menu becomes a greyed item that nothing handles.
constexpr UINT kDisabledClose = static_cast<UINT>(-10);

void RegisterClasses() {
  static const bool registered = [] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.lpszClassName = kWindowClass;
    RegisterClassExW(&window_class);
    window_class.lpszClassName = kPageClass;
    RegisterClassExW(&window_class);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = kWhitePageClass;
    RegisterClassExW(&window_class);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  static_cast<void>(registered);
}

}  // namespace

HICON DrawTrayIcon(COLORREF light) {
  constexpr int kSize = 32;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP colour = CreateCompatibleBitmap(screen, kSize, kSize);
  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, nullptr);
  ReleaseDC(nullptr, screen);

  // The mask: everything see-through except the printer.
  HGDIOBJ old = SelectObject(dc, mask);
  PatBlt(dc, 0, 0, kSize, kSize, WHITENESS);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, 8, 3, 24, 12);
  Rectangle(dc, 2, 11, 30, 25);
  Rectangle(dc, 8, 22, 24, 30);

  // A printer: paper in, body, paper out, and its light.
  SelectObject(dc, colour);
  PatBlt(dc, 0, 0, kSize, kSize, BLACKNESS);
  HBRUSH paper = CreateSolidBrush(RGB(250, 250, 250));
  HBRUSH body = CreateSolidBrush(RGB(90, 96, 110));
  HBRUSH lamp = CreateSolidBrush(light);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, paper);
  Rectangle(dc, 8, 3, 24, 12);
  SelectObject(dc, body);
  Rectangle(dc, 2, 11, 30, 25);
  SelectObject(dc, paper);
  Rectangle(dc, 8, 22, 24, 30);
  SelectObject(dc, lamp);
  Ellipse(dc, 22, 14, 28, 20);
  SelectObject(dc, old);
  DeleteObject(paper);
  DeleteObject(body);
  DeleteObject(lamp);
  DeleteDC(dc);

  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

MainWindowWin32::MainWindowWin32(platform::Dialogs& dialogs,
                                 const platform::PictureDecoder& pictures, BranchCodeFile& acceso,
                                 std::filesystem::path data_dir, std::function<void()> end_program)
    : shell_(*this, dialogs, pictures, acceso, std::move(data_dir), std::move(end_program)) {
  RegisterClasses();
  connected_icon_ = DrawTrayIcon(RGB(40, 200, 60));
  disconnected_icon_ = DrawTrayIcon(RGB(220, 40, 40));
  warning_icon_ = DrawTrayIcon(RGB(245, 180, 0));
  font_ =
      CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, kFormWidth, kFormHeight};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  window_ = CreateWindowExW(0, kWindowClass, Wide(kWindowTitle).c_str(), style, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(connected_icon_));
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(connected_icon_));
  BuildControls();

  // The title-bar close button and the system menu no longer close the window.
  ModifyMenuW(GetSystemMenu(window_, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED, kDisabledClose,
              L"Close");

  tray_.on_event = [this](TrayEvent event) { shell_.TrayEventRaised(event); };
}

MainWindowWin32::~MainWindowWin32() {
  tray_.RemoveIcon();
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
  DeleteObject(font_);
  for (HBITMAP bitmap : bitmaps_) {
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
  DestroyIcon(connected_icon_);
  DestroyIcon(disconnected_icon_);
  DestroyIcon(warning_icon_);
}

HWND MainWindowWin32::Control(HWND parent, const wchar_t* window_class, const wchar_t* text,
                              DWORD style, const FormRect& place, int id) {
  HWND control = CreateWindowExW(0, window_class, text, style | WS_CHILD | WS_VISIBLE, place.x,
                                 place.y, place.width, place.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  return control;
}

HWND MainWindowWin32::Panel(HWND parent, bool white, DWORD style, const FormRect& place) {
  HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, white ? kWhitePageClass : kPageClass, L"",
                               style | WS_CHILD, place.x, place.y, place.width, place.height,
                               parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PageProcedure));
  return panel;
}

void MainWindowWin32::BuildControls() {
  tabs_ = Control(window_, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, kTabsPlace, 0);
  RECT area{0, 0, kTabsPlace.width, kTabsPlace.height};
  // TabCtrl_AdjustRect's message, sent without the macro's C casts.
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  const FormRect page_place{kTabsPlace.x + area.left, kTabsPlace.y + area.top,
                            area.right - area.left, area.bottom - area.top};
  for (std::size_t i = 0; i < kFormPages.size(); ++i) {
    std::wstring caption = Wide(kFormPages[i].caption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    TabCtrl_InsertItem(tabs_, static_cast<int>(i), &item);
    pages_.at(i) = Panel(window_, false, WS_CLIPSIBLINGS, page_place);
  }

  for (const FormControl& control : WindowForm()) {
    // A group box's controls sit over it on its page, so their clicks come to the page.
    HWND parent =
        control.page == kOnWindow ? window_ : pages_.at(static_cast<std::size_t>(control.page));
    FormRect place = control.place;
    if (control.inside != ControlId::kNone) {
      const FormControl& holder = FormControlOf(control.inside);
      if (holder.kind == ControlKind::kGroupBox) {
        place.x += holder.place.x;
        place.y += holder.place.y;
      } else {
        parent = ControlWindow(control.inside);
      }
    }
    controls_.at(static_cast<std::size_t>(control.id)) = MakeControl(control, parent, place);
  }
  ShowPage(0);
}

HWND MainWindowWin32::MakeControl(const FormControl& control, HWND parent, const FormRect& place) {
  const int id = kFirstControlId + static_cast<int>(control.id);
  const std::wstring caption = Wide(control.caption);
  constexpr DWORD kList = WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
  switch (control.kind) {
    case ControlKind::kLabel:
      return Control(parent, L"STATIC", caption.c_str(), SS_LEFT, place, id);
    case ControlKind::kTextBox:
      return Control(parent, L"EDIT", caption.c_str(), WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP,
                     place, id);
    case ControlKind::kButton: {
      HWND button =
          Control(parent, L"BUTTON", caption.c_str(), BS_PUSHBUTTON | WS_TABSTOP, place, id);
      if (control.stop_icon) {
        SendMessageW(button, BM_SETIMAGE, IMAGE_ICON,
                     reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_HAND)));
      }
      return button;
    }
    case ControlKind::kCheckBox:
      return Control(parent, L"BUTTON", caption.c_str(), BS_AUTOCHECKBOX | WS_TABSTOP, place, id);
    case ControlKind::kLine:
      return Control(parent, L"STATIC", L"", SS_ETCHEDHORZ, place, id);
    case ControlKind::kPicture:
      return Control(parent, L"STATIC", L"", SS_BITMAP | SS_CENTERIMAGE, place, id);
    case ControlKind::kFrame: {
      HWND frame = Panel(parent, true, WS_VISIBLE | WS_BORDER, place);
      white_frames_.push_back(frame);
      return frame;
    }
    case ControlKind::kGroupBox:
      return Control(parent, L"BUTTON", caption.c_str(), BS_GROUPBOX, place, id);
    case ControlKind::kLog: {
      HWND log =
          Control(parent, L"EDIT", L"",
                  WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, place, id);
      // An edit control's text is bounded by the log's own limit, not by Windows' default.
      SendMessageW(log, EM_SETLIMITTEXT, 0, 0);
      return log;
    }
    case ControlKind::kList:
      return Control(parent, L"LISTBOX", L"", kList, place, id);
  }
  return nullptr;
}

void MainWindowWin32::ShowPage(int index) {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    ::ShowWindow(pages_[i], static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
  }
  SetWindowPos(pages_[static_cast<std::size_t>(index)], HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT CALLBACK MainWindowWin32::Procedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  auto* self = reinterpret_cast<MainWindowWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  return self->Handle(message, wparam, lparam);
}

LRESULT CALLBACK MainWindowWin32::PageProcedure(HWND page, UINT message, WPARAM wparam,
                                                LPARAM lparam) {
  auto* self = reinterpret_cast<MainWindowWin32*>(GetWindowLongPtrW(page, GWLP_USERDATA));
  if (self != nullptr && message == WM_COMMAND) {
    self->OnCommand(LOWORD(wparam), HIWORD(wparam));
    return 0;
  }
  if (self != nullptr && message == WM_CTLCOLORSTATIC &&
      std::find(self->white_frames_.begin(), self->white_frames_.end(), page) !=
          self->white_frames_.end()) {
    // Labels on the white frame are white too.
    SetBkColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  }
  return DefWindowProcW(page, message, wparam, lparam);
}

LRESULT MainWindowWin32::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lparam)->hwndFrom == tabs_ &&
          reinterpret_cast<NMHDR*>(lparam)->code == TCN_SELCHANGE) {
        ShowPage(TabCtrl_GetCurSel(tabs_));
        shell_.PageChanged();
      }
      return 0;
    case WM_CLOSE:
      return 0;  // never closed by the user
    case WM_ENDSESSION:
      // Leaving the session removes the tray entry.
      if (wparam) tray_.RemoveIcon();
      return 0;
    case TrayIconWin32::kNotificationMessage:
      tray_.Notify(lparam);
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

void MainWindowWin32::OnCommand(int command_id, int code) {
  const int index = command_id - kFirstControlId;
  if (index <= 0 || index >= static_cast<int>(kControlCount)) return;
  const auto id = static_cast<ControlId>(index);
  const ControlKind kind = FormControlOf(id).kind;
  if (kind == ControlKind::kList && code == LBN_SELCHANGE) {
    shell_.RowSelected(id, SelectedRow(id));
  } else if (kind == ControlKind::kCheckBox && code == BN_CLICKED) {
    if (const std::optional<documents::PrintOption> option = OptionOf(id)) {
      shell_.OptionClicked(*option,
                           SendMessageW(ControlWindow(id), BM_GETCHECK, 0, 0) == BST_CHECKED);
    }
  } else if (kind == ControlKind::kButton && code == BN_CLICKED) {
    shell_.Clicked(id);
  }
}

void MainWindowWin32::ShowWindow() {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
}

void MainWindowWin32::HideWindow() { ::ShowWindow(window_, SW_HIDE); }

std::u16string MainWindowWin32::CodeBoxText() const {
  const int length = GetWindowTextLengthW(ControlWindow(ControlId::kCodeBox));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(ControlWindow(ControlId::kCodeBox), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return FromWide(text);
}

void MainWindowWin32::SetCodeBoxText(const std::u16string& text) {
  SetWindowTextW(ControlWindow(ControlId::kCodeBox), Wide(text).c_str());
}

void MainWindowWin32::SetOptionBox(documents::PrintOption option, bool checked) {
  SendMessageW(ControlWindow(OptionBoxId(option)), BM_SETCHECK,
               checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindowWin32::ShowLogo(const std::filesystem::path& file) {
  const auto picture = adapters::win32::LoadColourPicture(file);
  return picture && ShowFitted(ControlId::kLogoView, *picture);
}

void MainWindowWin32::ShowTicketPicture(const platform::GreyPicture& paper) {
  adapters::win32::ColourPicture picture{paper.width, paper.height, {}};
  picture.bgra.reserve(paper.levels.size() * 4);
  for (const std::uint8_t level : paper.levels)
    picture.bgra.insert(picture.bgra.end(), {level, level, level, 255});
  if (paper.width <= 0 || paper.height <= 0 || !ShowFitted(ControlId::kTicketPicture, picture)) {
    SendMessageW(ControlWindow(ControlId::kTicketPicture), STM_SETIMAGE, IMAGE_BITMAP, 0);
    ForgetBitmap(ControlId::kTicketPicture, nullptr);
  }
}

bool MainWindowWin32::ShowFitted(ControlId area, const adapters::win32::ColourPicture& picture) {
  HBITMAP source = adapters::win32::MakeBitmap(picture);
  if (source == nullptr) return false;
  const FormRect& place = FormControlOf(area).place;
  // The picture scaled to fit the area with its proportions kept, centred on white.
  HDC screen = GetDC(nullptr);
  HDC from = CreateCompatibleDC(screen);
  HDC to = CreateCompatibleDC(screen);
  HBITMAP painted = CreateCompatibleBitmap(screen, place.width, place.height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old_from = SelectObject(from, source);
  HGDIOBJ old_to = SelectObject(to, painted);
  PatBlt(to, 0, 0, place.width, place.height, WHITENESS);
  const Placement fitted = FitCentred(picture.width, picture.height, place.width, place.height);
  SetStretchBltMode(to, HALFTONE);
  StretchBlt(to, fitted.x, fitted.y, fitted.width, fitted.height, from, 0, 0, picture.width,
             picture.height, SRCCOPY);
  SelectObject(from, old_from);
  SelectObject(to, old_to);
  DeleteDC(from);
  DeleteDC(to);
  DeleteObject(source);
  SendMessageW(ControlWindow(area), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(painted));
  ForgetBitmap(area, painted);
  return true;
}

void MainWindowWin32::ForgetBitmap(ControlId area, HBITMAP shown) {
  HBITMAP& kept = bitmaps_.at(static_cast<std::size_t>(area));
  if (kept != nullptr) DeleteObject(kept);
  kept = shown;
}

void MainWindowWin32::AppendLogLines(const std::vector<std::u16string>& lines) {
  std::wstring text;
  for (const std::u16string& line : lines) text += Wide(line) + L"\r\n";
  const int end = GetWindowTextLengthW(ControlWindow(ControlId::kLogView));
  SendMessageW(ControlWindow(ControlId::kLogView), EM_SETSEL, end, end);
  SendMessageW(ControlWindow(ControlId::kLogView), EM_REPLACESEL, FALSE,
               reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(ControlWindow(ControlId::kLogView), EM_SCROLLCARET, 0, 0);
}

void MainWindowWin32::RemoveFirstLogLines(int count) {
  const LRESULT end = SendMessageW(ControlWindow(ControlId::kLogView), EM_LINEINDEX, count, 0);
  if (end <= 0) return;
  SendMessageW(ControlWindow(ControlId::kLogView), EM_SETSEL, 0, end);
  SendMessageW(ControlWindow(ControlId::kLogView), EM_REPLACESEL, FALSE,
               reinterpret_cast<LPARAM>(L""));
  const int length = GetWindowTextLengthW(ControlWindow(ControlId::kLogView));
  SendMessageW(ControlWindow(ControlId::kLogView), EM_SETSEL, length, length);
  SendMessageW(ControlWindow(ControlId::kLogView), EM_SCROLLCARET, 0, 0);
}

void MainWindowWin32::ClearLog() { SetWindowTextW(ControlWindow(ControlId::kLogView), L""); }

void MainWindowWin32::ShowStateCaption(const std::u16string& caption) {
  SetWindowTextW(ControlWindow(ControlId::kStateLabel), Wide(caption).c_str());
}

void MainWindowWin32::FillList(ControlId id, const std::vector<ListRow>& rows) {
  HWND list = ControlWindow(id);
  const std::uint64_t selected = SelectedRow(id);
  bool kept = false;
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const ListRow& row : rows) {
    const std::wstring text = Wide(row.text);
    const LRESULT index =
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) continue;
    SendMessageW(list, LB_SETITEMDATA, index, static_cast<LPARAM>(row.id));
    if (selected != 0 && row.id == selected) {
      SendMessageW(list, LB_SETCURSEL, index, 0);
      kept = true;
    }
  }
  if (selected != 0 && !kept) shell_.RowSelected(id, 0);
}

void MainWindowWin32::ShowPrinters(const std::vector<ListRow>& rows) {
  FillList(ControlId::kPrintersList, rows);
}

void MainWindowWin32::ShowTestPrintAnswer(const std::u16string& text) {
  SetWindowTextW(ControlWindow(ControlId::kTestPrintAnswer), Wide(text).c_str());
}

std::uint64_t MainWindowWin32::SelectedRow(ControlId id) const {
  HWND list = ControlWindow(id);
  const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return 0;
  return static_cast<std::uint64_t>(SendMessageW(list, LB_GETITEMDATA, index, 0));
}

void MainWindowWin32::ShowWaitingTickets(const std::vector<ListRow>& rows) {
  FillList(ControlId::kWaitingList, rows);
}

void MainWindowWin32::ShowPrintedTickets(const std::vector<ListRow>& rows) {
  FillList(ControlId::kPrintedList, rows);
}

void MainWindowWin32::SetControlVisible(ControlId id, bool visible) {
  ::ShowWindow(ControlWindow(id), visible ? SW_SHOW : SW_HIDE);
}

std::optional<std::filesystem::path> MainWindowWin32::ChoosePictureFile() {
  return adapters::win32::ChoosePictureFile(window_);
}

std::optional<std::filesystem::path> MainWindowWin32::ChooseDiagnosticsFile() {
  return adapters::win32::ChooseZipFileToSave(window_);
}

bool MainWindowWin32::OpenWithDesktop(const std::filesystem::path& file) {
  // ShellExecuteW answers a number above 32 when it started a viewer.
  const auto started = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window_, L"open", file.wstring().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return started > 32;
}

void MainWindowWin32::AddTrayEntry(const std::u16string& tooltip) { tray_.Init(window_, tooltip); }

void MainWindowWin32::SetTrayImage(TrayPicture image, const std::u16string& tooltip) {
  switch (image) {
    case TrayPicture::kConnected:
      tray_.SetIcon(connected_icon_, tooltip);
      return;
    case TrayPicture::kDisconnected:
      tray_.SetIcon(disconnected_icon_, tooltip);
      return;
    case TrayPicture::kTicketsWaiting:
      tray_.SetIcon(warning_icon_, tooltip);
      return;
  }
}

void MainWindowWin32::ShowTrayBalloon(const std::u16string& text, const std::u16string& title,
                                      int timeout_ms) {
  tray_.ShowBalloonTip(text, platform::BalloonIcon::kInformation, title, timeout_ms);
}

void MainWindowWin32::RemoveTrayEntry() { tray_.RemoveIcon(); }

}  // namespace quillon::shell
