#pragma once
// Texts the agent shows while it starts.
namespace quillon::shell {

inline constexpr char16_t kTituloVentana[] = u"Servidor de Impresoras";
inline constexpr char16_t kTooltipBandeja[] = u"Sincronizador Quillon";
// The second line of Acceso that keeps the window visible at start-up.
inline constexpr char16_t kPalabraTecnica[] = u"TECNICA";

}  // namespace quillon::shell
