#include "adapters/win32/window_timer.h"

namespace quillon::adapters::win32 {
namespace {

// SetTimer posts WM_TIMER with the timer's id; the message window routes it by id, so the id is
// the handler's message number and each timer finds its own tick.
void CALLBACK Tick(HWND window, UINT, UINT_PTR id, DWORD) {
  SendMessageW(window, static_cast<UINT>(id), 0, 0);
}

}  // namespace

WindowTimer::WindowTimer(MessageWindow& window, int interval_ms, std::function<void()> tick)
    : window_(window),
      interval_ms_(interval_ms),
      message_(window.AddHandler([tick = std::move(tick)](WPARAM, LPARAM) { tick(); })) {}

WindowTimer::~WindowTimer() {
  Stop();
  window_.RemoveHandler(message_);
}

void WindowTimer::Start() {
  running_ = SetTimer(window_.Handle(), message_, static_cast<UINT>(interval_ms_), &Tick) != 0;
}

void WindowTimer::Stop() {
  if (running_) KillTimer(window_.Handle(), message_);
  running_ = false;
}

}  // namespace quillon::adapters::win32
