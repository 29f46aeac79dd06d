#include "app/printers.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QString>
#include <QTimer>

#include "adapters/cups/cups_printers.h"
#include "adapters/cups/qt_picture_decoder.h"
#include "adapters/qt/qt_socket.h"
#include "adapters/qt/qt_timer.h"
#include "adapters/qt/single_instance.h"

namespace quillon::app {
std::unique_ptr<platform::PrinterSystem> MakePrinterSystem(const CommandLine& line) {
  return WithSpoolFolders(line, std::make_unique<adapters::cups::CupsPrinterSystem>());
}

std::unique_ptr<platform::Timer> MakeTimer() { return std::make_unique<adapters::qt::QtTimer>(); }

bool RunLoopUntil(const std::function<bool()>& done, int limit_ms) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (!done()) {
    if (elapsed.elapsed() >= limit_ms) return false;
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

std::unique_ptr<platform::ClientSocket> MakePrinterSocket() {
  return std::make_unique<adapters::qt::QtSocket>();
}

std::shared_ptr<const platform::PictureDecoder> MakePictureDecoder() {
  return std::make_shared<adapters::cups::QtPictureDecoder>();
}

std::unique_ptr<platform::SingleInstance> MakeSingleInstance(
    const std::filesystem::path& data_dir) {
  return std::make_unique<adapters::qt::SingleInstance>(data_dir);
}

}  // namespace quillon::app
