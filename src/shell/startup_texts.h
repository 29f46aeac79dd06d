#pragma once
// Texts the agent shows while it starts.
namespace quillon::shell {

inline constexpr char16_t kTituloVentana[] = u"Servidor de Impresoras";
inline constexpr char16_t kTooltipBandeja[] = u"Sincronizador Quillon";
inline constexpr char16_t kTooltipConectando[] = u"Conectando";
inline constexpr char16_t kGloboConectando[] = u"Conectando al servidor de impresion ";
inline constexpr char16_t kTituloGlobos[] = u"Sistema de impresora";
inline constexpr int kDuracionGlobo = 30000;  // milliseconds, for every balloon
// The second line of Acceso that keeps the window visible at start-up.
inline constexpr char16_t kPalabraTecnica[] = u"TECNICA";

}  // namespace quillon::shell
