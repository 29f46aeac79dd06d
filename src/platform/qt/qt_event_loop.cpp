#include "platform/qt/qt_event_loop.h"

#include <QCoreApplication>

namespace quillon::platform::qt {

void QtEventLoop::ProcessEventsOnce() { QCoreApplication::processEvents(); }

}  // namespace quillon::platform::qt
