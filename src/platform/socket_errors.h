#pragma once
// The Windows Sockets error numbers the log and the balloons show, with their Spanish texts, so
// a connection error reads the same whichever socket adapter met it.
#include <string>

namespace quillon::platform {

inline constexpr int kSocketErrorUnknown = 10000;

// The text of a Windows Sockets error number; "Error de conexión desconocido" for any other.
std::u16string SocketErrorDescription(int number);

}  // namespace quillon::platform
