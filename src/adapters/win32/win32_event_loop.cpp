#include "adapters/win32/win32_event_loop.h"

#include "adapters/win32/message_window.h"

namespace quillon::adapters::win32 {

void Win32EventLoop::ProcessEventsOnce() { ProcessPendingMessages(); }

}  // namespace quillon::adapters::win32
