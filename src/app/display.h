#pragma once
// Whether a desktop is there to show the window and the tray icon.
namespace quillon::app {

// False without DISPLAY and WAYLAND_DISPLAY, or when a local X display's socket does not answer,
// so a service started with a stale DISPLAY runs headless instead of aborting. A platform
// chosen with QT_QPA_PLATFORM is trusted.
bool DisplayAvailable();

// Off screen, as a service, there is often no session folder; Qt then warns on every start and
// falls back to /tmp/runtime-<user>. This sets up that same private folder quietly.
void EnsureRuntimeDir();

}  // namespace quillon::app
