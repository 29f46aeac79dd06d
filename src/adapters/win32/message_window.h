#pragma once
// A window that only receives messages: the socket's events and the timers' ticks arrive on it,
// one at a time, on the thread's message loop. Being message-only it needs no desktop.
#include <windows.h>

#include <functional>
#include <map>

namespace quillon::adapters::win32 {

class MessageWindow {
 public:
  using Handler = std::function<void(WPARAM, LPARAM)>;

  MessageWindow();
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND Handle() const { return window_; }
  // A message number of its own for the handler, from WM_APP up.
  UINT AddHandler(Handler handler);
  void RemoveHandler(UINT message);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  HWND window_ = nullptr;
  UINT next_message_ = WM_APP;
  std::map<UINT, Handler> handlers_;
};

// Runs the thread's message loop until PostQuitMessage; returns its exit code.
int RunMessageLoop();

}  // namespace quillon::adapters::win32
