#include "adapters/win32/once_timer.h"

namespace quillon::adapters::win32 {
namespace {

// WM_TIMER carries the timer's id, which is the handler's message number on the window.
void CALLBACK Tick(HWND window, UINT, UINT_PTR id, DWORD) {
  SendMessageW(window, static_cast<UINT>(id), 0, 0);
}

}  // namespace

OnceTimer::OnceTimer() : message_(window_.AddHandler([this](WPARAM, LPARAM) { Fire(); })) {}

OnceTimer::~OnceTimer() { Stop(); }

void OnceTimer::StartOnce(int delay_ms, std::function<void()> on_timeout) {
  on_timeout_ = std::move(on_timeout);
  // SetTimer with the same id replaces a call still pending.
  pending_ = SetTimer(window_.Handle(), message_, static_cast<UINT>(delay_ms < 0 ? 0 : delay_ms),
                      &Tick) != 0;
}

void OnceTimer::Stop() {
  if (pending_) KillTimer(window_.Handle(), message_);
  pending_ = false;
}

void OnceTimer::Fire() {
  if (!pending_) return;  // a tick already queued when the timer was stopped
  Stop();
  // The callback may start the timer again, so it runs from a copy.
  const std::function<void()> call = on_timeout_;
  if (call) call();
}

}  // namespace quillon::adapters::win32
