#pragma once
// Texts the agent shows while it starts.
namespace quillon::shell {

inline constexpr char16_t kWindowTitle[] = u"Servidor de Impresoras";
inline constexpr char16_t kTrayTooltip[] = u"Sincronizador Quillon";
// The second line of Acceso that keeps the window visible at start-up.
inline constexpr char16_t kTechnicianWord[] = u"TECNICA";
// A second start on the same data folder.
inline constexpr char16_t kAlreadyRunningMessage[] = u"La Aplicación ya esta en ejecución";

}  // namespace quillon::shell
