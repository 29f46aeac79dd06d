#include "shell/win32/main_window_win32.h"

#include <commctrl.h>

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

// The client area of the window and of the logo, in pixels at 96 dots per inch.
constexpr int kClientWidth = 422;
constexpr int kClientHeight = 398;
constexpr int kLogoWidth = 363;
constexpr int kLogoHeight = 105;

enum ControlId : int {
  kChangeCodeButton = 1001,
  kLoadPictureButton,
  kCloseWindowButton,
  kShutDownButton,
  kSendStatusButton,
  kRetryButton,
  kDiscardButton,
  kReprintButton,
  kOptionBox0 = 1100,  // up to kOptionBox0 + 3
};

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
  RECT frame{0, 0, kClientWidth, kClientHeight};
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
  if (logo_bitmap_ != nullptr) DeleteObject(logo_bitmap_);
  DestroyIcon(connected_icon_);
  DestroyIcon(disconnected_icon_);
  DestroyIcon(warning_icon_);
}

HWND MainWindowWin32::Control(HWND parent, const wchar_t* window_class, const wchar_t* text,
                              DWORD style, int x, int y, int width, int height, int id) {
  HWND control = CreateWindowExW(0, window_class, text, style | WS_CHILD | WS_VISIBLE, x, y, width,
                                 height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  return control;
}

HWND MainWindowWin32::Page(int index, bool white) {
  RECT area{0, 0, 406, 382};
  TabCtrl_AdjustRect(tabs_, FALSE, &area);
  HWND page = CreateWindowExW(WS_EX_CONTROLPARENT, white ? kWhitePageClass : kPageClass, L"",
                              WS_CHILD | WS_CLIPSIBLINGS, 8 + area.left, 8 + area.top,
                              area.right - area.left, area.bottom - area.top, window_, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PageProcedure));
  pages_[static_cast<std::size_t>(index)] = page;
  return page;
}

void MainWindowWin32::BuildControls() {
  tabs_ = Control(window_, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, 8, 8, 406, 382, 0);
  const wchar_t* captions[] = {L"Panel", L"Opciones", L"Status"};
  for (int i = 0; i < 3; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(captions[i]);
    TabCtrl_InsertItem(tabs_, i, &item);
  }

  HWND panel = Page(0, true);
  Control(panel, L"STATIC", L"Codigo Sucursal", SS_LEFT, 12, 10, 200, 18, 0);
  code_box_ =
      Control(panel, L"EDIT", L"", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 12, 30, 236, 26, 0);
  Control(panel, L"BUTTON", L"Cambiar codigo", BS_PUSHBUTTON | WS_TABSTOP, 256, 30, 119, 26,
          kChangeCodeButton);
  Control(panel, L"STATIC", L"", SS_ETCHEDHORZ, 12, 64, 363, 4, 0);
  logo_view_ = Control(panel, L"STATIC", L"", SS_BITMAP | SS_CENTERIMAGE, 12, 76, kLogoWidth,
                       kLogoHeight, 0);
  Control(panel, L"STATIC", L"", SS_ETCHEDHORZ, 12, 190, 363, 4, 0);
  Control(panel, L"BUTTON", L"Cargar Imagen", BS_PUSHBUTTON | WS_TABSTOP, 12, 204, 117, 34,
          kLoadPictureButton);
  Control(panel, L"BUTTON", L"Cerrar Ventana", BS_PUSHBUTTON | WS_TABSTOP, 135, 204, 117, 34,
          kCloseWindowButton);
  HWND shut_down = Control(panel, L"BUTTON", L"Apagar Servidor", BS_PUSHBUTTON | WS_TABSTOP, 258,
                           204, 117, 34, kShutDownButton);
  SendMessageW(shut_down, BM_SETIMAGE, IMAGE_ICON,
               reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_HAND)));

  HWND options = Page(1, false);
  Control(options, L"STATIC", L"Selecciona lo que quieres Imprimir", SS_LEFT, 16, 14, 360, 20, 0);
  Control(options, L"BUTTON", L"Comandas de", BS_GROUPBOX, 16, 76, 260, 118, 0);
  for (int i = 0; i < PrintingOptions::kCount; ++i) {
    // The frame's boxes sit over it on the page, so their clicks come to the page.
    const int y = i == 0 ? 44 : 76 + 28 * i - 4;
    const int x = i == 0 ? 16 : 32;
    option_boxes_[static_cast<std::size_t>(i)] =
        Control(options, L"BUTTON", Wide(PrintingOptions::Caption(i)).c_str(),
                BS_AUTOCHECKBOX | WS_TABSTOP, x, y, i == 0 ? 300 : 220, 22, kOptionBox0 + i);
  }

  HWND status = Page(2, false);
  Control(status, L"BUTTON", L"Send Status Free", BS_PUSHBUTTON | WS_TABSTOP, 8, 8, 140, 26,
          kSendStatusButton);
  log_view_ = Control(status, L"EDIT", L"",
                      WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 8, 40,
                      384, 140, 0);
  constexpr DWORD kList = WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
  Control(status, L"STATIC", L"Tickets en espera", SS_LEFT, 8, 184, 282, 18, 0);
  waiting_list_ = Control(status, L"LISTBOX", L"", kList, 8, 202, 282, 64, 0);
  Control(status, L"BUTTON", L"Reintentar", BS_PUSHBUTTON | WS_TABSTOP, 296, 202, 96, 28,
          kRetryButton);
  Control(status, L"BUTTON", L"Descartar", BS_PUSHBUTTON | WS_TABSTOP, 296, 236, 96, 28,
          kDiscardButton);
  Control(status, L"STATIC", L"Tickets impresos", SS_LEFT, 8, 270, 282, 18, 0);
  printed_list_ = Control(status, L"LISTBOX", L"", kList, 8, 288, 282, 56, 0);
  Control(status, L"BUTTON", L"Reimprimir", BS_PUSHBUTTON | WS_TABSTOP, 296, 288, 96, 28,
          kReprintButton);
  // An edit control's text is bounded by the log's own limit, not by Windows' default.
  SendMessageW(log_view_, EM_SETLIMITTEXT, 0, 0);

  // Below the visible client area, as the connection watch only keeps it up to date.
  state_label_ = Control(window_, L"STATIC", L"", SS_LEFT, 8, 404, 200, 20, 0);
  ShowPage(0);
}

void MainWindowWin32::ShowPage(int index) {
  for (int i = 0; i < 3; ++i) {
    ::ShowWindow(pages_[static_cast<std::size_t>(i)], i == index ? SW_SHOW : SW_HIDE);
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
  if (self != nullptr && message == WM_CTLCOLORSTATIC && page == self->pages_[0]) {
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

void MainWindowWin32::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kChangeCodeButton:
      shell_.ChangeBranchCode();
      return;
    case kLoadPictureButton:
      if (const auto file = adapters::win32::ChoosePictureFile(window_)) shell_.LoadLogoFile(*file);
      return;
    case kCloseWindowButton:
      HideWindow();
      return;
    case kShutDownButton:
      shell_.ShutDown();
      return;
    case kSendStatusButton:
      shell_.SendStatusClicked();
      return;
    case kRetryButton:
      shell_.RetryClicked();
      return;
    case kDiscardButton:
      shell_.DiscardClicked(SelectedTicket(waiting_list_));
      return;
    case kReprintButton:
      shell_.ReprintClicked(SelectedTicket(printed_list_));
      return;
    default:
      break;
  }
  if (id >= kOptionBox0 && id < kOptionBox0 + PrintingOptions::kCount) {
    const HWND box = option_boxes_[static_cast<std::size_t>(id - kOptionBox0)];
    shell_.OptionClicked(id - kOptionBox0, SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED);
  }
}

void MainWindowWin32::ShowWindow() {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
}

void MainWindowWin32::HideWindow() { ::ShowWindow(window_, SW_HIDE); }

std::u16string MainWindowWin32::CodeBoxText() const {
  const int length = GetWindowTextLengthW(code_box_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(code_box_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return FromWide(text);
}

void MainWindowWin32::SetCodeBoxText(const std::u16string& text) {
  SetWindowTextW(code_box_, Wide(text).c_str());
}

void MainWindowWin32::SetOptionBox(int index, bool checked) {
  SendMessageW(option_boxes_.at(static_cast<std::size_t>(index)), BM_SETCHECK,
               checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindowWin32::ShowLogo(const std::filesystem::path& file) {
  const auto picture = adapters::win32::LoadColourPicture(file);
  if (!picture) return false;
  HBITMAP source = adapters::win32::MakeBitmap(*picture);
  if (source == nullptr) return false;
  // The picture scaled to fit the area with its proportions kept, centred on white.
  HDC screen = GetDC(nullptr);
  HDC from = CreateCompatibleDC(screen);
  HDC to = CreateCompatibleDC(screen);
  HBITMAP painted = CreateCompatibleBitmap(screen, kLogoWidth, kLogoHeight);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old_from = SelectObject(from, source);
  HGDIOBJ old_to = SelectObject(to, painted);
  PatBlt(to, 0, 0, kLogoWidth, kLogoHeight, WHITENESS);
  const Placement place = FitCentred(picture->width, picture->height, kLogoWidth, kLogoHeight);
  SetStretchBltMode(to, HALFTONE);
  StretchBlt(to, place.x, place.y, place.width, place.height, from, 0, 0, picture->width,
             picture->height, SRCCOPY);
  SelectObject(from, old_from);
  SelectObject(to, old_to);
  DeleteDC(from);
  DeleteDC(to);
  DeleteObject(source);
  SendMessageW(logo_view_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(painted));
  if (logo_bitmap_ != nullptr) DeleteObject(logo_bitmap_);
  logo_bitmap_ = painted;
  return true;
}

void MainWindowWin32::AppendLogLines(const std::vector<std::u16string>& lines) {
  std::wstring text;
  for (const std::u16string& line : lines) text += Wide(line) + L"\r\n";
  const int end = GetWindowTextLengthW(log_view_);
  SendMessageW(log_view_, EM_SETSEL, end, end);
  SendMessageW(log_view_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(log_view_, EM_SCROLLCARET, 0, 0);
}

void MainWindowWin32::RemoveFirstLogLines(int count) {
  const LRESULT end = SendMessageW(log_view_, EM_LINEINDEX, count, 0);
  if (end <= 0) return;
  SendMessageW(log_view_, EM_SETSEL, 0, end);
  SendMessageW(log_view_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
  const int length = GetWindowTextLengthW(log_view_);
  SendMessageW(log_view_, EM_SETSEL, length, length);
  SendMessageW(log_view_, EM_SCROLLCARET, 0, 0);
}

void MainWindowWin32::ClearLog() { SetWindowTextW(log_view_, L""); }

void MainWindowWin32::ShowStateCaption(const std::u16string& caption) {
  SetWindowTextW(state_label_, Wide(caption).c_str());
}

void MainWindowWin32::FillList(HWND list, const std::vector<TicketRow>& rows) {
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const TicketRow& row : rows) {
    const std::wstring text = Wide(row.text);
    const LRESULT index =
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) SendMessageW(list, LB_SETITEMDATA, index, static_cast<LPARAM>(row.id));
  }
}

std::uint64_t MainWindowWin32::SelectedTicket(HWND list) {
  const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return 0;
  return static_cast<std::uint64_t>(SendMessageW(list, LB_GETITEMDATA, index, 0));
}

void MainWindowWin32::ShowWaitingTickets(const std::vector<TicketRow>& rows) {
  FillList(waiting_list_, rows);
}

void MainWindowWin32::ShowPrintedTickets(const std::vector<TicketRow>& rows) {
  FillList(printed_list_, rows);
}

void MainWindowWin32::AddTrayEntry(const std::u16string& tooltip) { tray_.Init(window_, tooltip); }

void MainWindowWin32::SetTrayImage(TrayPicture image, const std::u16string& tooltip) {
  switch (image) {
    case TrayPicture::Connected:
      tray_.SetIcon(connected_icon_, tooltip);
      return;
    case TrayPicture::Disconnected:
      tray_.SetIcon(disconnected_icon_, tooltip);
      return;
    case TrayPicture::TicketsWaiting:
      tray_.SetIcon(warning_icon_, tooltip);
      return;
  }
}

void MainWindowWin32::ShowTrayBalloon(const std::u16string& text, const std::u16string& title,
                                      int timeout_ms) {
  tray_.ShowBalloonTip(text, platform::BalloonIcon::Information, title, timeout_ms);
}

void MainWindowWin32::RemoveTrayEntry() { tray_.RemoveIcon(); }

}  // namespace quillon::shell
