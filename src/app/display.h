#pragma once
// Whether a desktop is there to show the window and the tray icon.
namespace quillon::app {

// False without DISPLAY and WAYLAND_DISPLAY, or when a local X display's socket does not answer,
// so a service started with a stale DISPLAY runs headless instead of aborting. A platform
// chosen with QT_QPA_PLATFORM is trusted.
bool DisplayAvailable();

}  // namespace quillon::app
