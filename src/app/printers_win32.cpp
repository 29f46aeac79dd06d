#include <windows.h>

#include "adapters/win32/message_window.h"
#include "adapters/win32/named_mutex_instance.h"
#include "adapters/win32/once_timer.h"
#include "adapters/win32/wic_pictures.h"
#include "adapters/win32/winsock_socket.h"
#include "adapters/winspool/winspool_printers.h"
#include "app/printers.h"

namespace quillon::app {

std::unique_ptr<platform::PrinterSystem> MakePrinterSystem(const CommandLine& line) {
  return WithSpoolFolders(line, std::make_unique<adapters::winspool::WinspoolPrinterSystem>());
}

std::unique_ptr<platform::Timer> MakeTimer() {
  return std::make_unique<adapters::win32::OnceTimer>();
}

bool RunLoopUntil(const std::function<bool()>& done, int limit_ms) {
  const ULONGLONG start = GetTickCount64();
  while (!done()) {
    if (GetTickCount64() - start >= static_cast<ULONGLONG>(limit_ms)) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

std::unique_ptr<platform::ClientSocket> MakePrinterSocket() {
  // The printers' sockets share one message window on the program's thread.
  static adapters::win32::MessageWindow events;
  return std::make_unique<adapters::win32::WinsockSocket>(events);
}

std::shared_ptr<const platform::PictureDecoder> MakePictureDecoder() {
  return std::make_shared<adapters::win32::WicPictureDecoder>();
}

std::unique_ptr<platform::SingleInstance> MakeSingleInstance(
    const std::filesystem::path& data_dir) {
  return std::make_unique<adapters::win32::NamedMutexInstance>(data_dir);
}

}  // namespace quillon::app
