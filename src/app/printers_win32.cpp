#include "adapters/win32/named_mutex_instance.h"
#include "adapters/win32/once_timer.h"
#include "adapters/win32/wic_pictures.h"
#include "adapters/winspool/winspool_printers.h"
#include "app/printers.h"

namespace quillon::app {

std::unique_ptr<platform::PrinterSystem> MakePrinterSystem(const CommandLine& line) {
  return WithSpoolFolders(line, std::make_unique<adapters::winspool::WinspoolPrinterSystem>());
}

std::unique_ptr<platform::Timer> MakeTimer() {
  return std::make_unique<adapters::win32::OnceTimer>();
}

std::shared_ptr<const platform::PictureDecoder> MakePictureDecoder() {
  return std::make_shared<adapters::win32::WicPictureDecoder>();
}

std::unique_ptr<platform::SingleInstance> MakeSingleInstance(
    const std::filesystem::path& data_dir) {
  return std::make_unique<adapters::win32::NamedMutexInstance>(data_dir);
}

}  // namespace quillon::app
