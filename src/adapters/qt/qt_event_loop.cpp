#include "adapters/qt/qt_event_loop.h"

#include <QCoreApplication>

namespace quillon::adapters::qt {

void QtEventLoop::ProcessEventsOnce() { QCoreApplication::processEvents(); }

}  // namespace quillon::adapters::qt
