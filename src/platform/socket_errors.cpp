#include "platform/socket_errors.h"

namespace quillon::platform {

std::u16string SocketErrorDescription(int number) {
  switch (number) {
    case 10013:
      return u"Permiso denegado";
    case 10035:
      return u"Recurso no disponible por el momento";
    case 10036:
      return u"Hay una operación en curso";
    case 10040:
      return u"Mensaje demasiado largo";
    case 10045:
      return u"Operación no admitida";
    case 10048:
      return u"La dirección ya está en uso";
    case 10049:
      return u"La dirección no está disponible";
    case 10050:
      return u"Error de red";
    case 10051:
      return u"No hay ruta hacia la red del servidor";
    case 10053:
      return u"Conexión interrumpida en este equipo";
    case 10055:
      return u"No hay recursos para la conexión";
    case 10060:
      return u"Tiempo de espera agotado";
    case 10061:
      return u"Conexión rechazada por el servidor";
    case 10064:
      return u"El servidor no responde";
    case 10065:
      return u"No hay ruta hacia el servidor";
    case 11001:
    case 11004:
      return u"No se encontró el servidor";
    case 11002:
      return u"El servidor de nombres no responde";
    default:
      return u"Error de conexión desconocido";
  }
}

}  // namespace quillon::platform
