#pragma once
// The tray images of the connection states and of tickets waiting for a printer, drawn at start
// so no image files are needed.
#include <QIcon>

namespace quillon::shell {

QIcon ConnectedIcon();     // a printer with a green light
QIcon DisconnectedIcon();  // the same printer with a red light
QIcon WarningIcon();       // the same printer with an amber light

}  // namespace quillon::shell
