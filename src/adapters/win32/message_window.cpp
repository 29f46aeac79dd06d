#include "adapters/win32/message_window.h"

namespace quillon::adapters::win32 {
namespace {

constexpr wchar_t kClassName[] = L"QuillonMessageWindow";

void RegisterClassOnce() {
  static const bool registered = [] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kClassName;
    return RegisterClassExW(&window_class) != 0;
  }();
  static_cast<void>(registered);
}

}  // namespace

MessageWindow::MessageWindow() {
  RegisterClassOnce();
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
}

MessageWindow::~MessageWindow() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

UINT MessageWindow::AddHandler(Handler handler) {
  const UINT message = next_message_++;
  handlers_[message] = std::move(handler);
  return message;
}

void MessageWindow::RemoveHandler(UINT message) { handlers_.erase(message); }

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    const auto found = self->handlers_.find(message);
    if (found != self->handlers_.end()) {
      // A copy: the handler may remove itself while it runs.
      const Handler handler = found->second;
      handler(wparam, lparam);
      return 0;
    }
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace quillon::adapters::win32
