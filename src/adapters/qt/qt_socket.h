#pragma once
// The server connection over QTcpSocket, with TCP keepalive once connected.
//
// States, as the watch and the state label read them:
//   0 closed (UnconnectedState)        4 resolving host (HostLookupState)
//   1 open (BoundState)                6 connecting (ConnectingState)
//   2 listening (ListeningState)       7 connected (ConnectedState)
//   8 closing: the peer has closed, or ClosingState
//   9 error: an attempt or a connection failed and the socket was not closed since
//   (3 connection pending and 5 host resolved have no Qt counterpart and are never reported)
//
// Errors carry the Windows Sockets numbers, so the log reads the same on every platform:
//   10061 "Conexión rechazada por el servidor"        ConnectionRefusedError
//   11001 "No se encontró el servidor"                HostNotFoundError
//   10060 "Tiempo de espera agotado"                  SocketTimeoutError
//   10013 "Permiso denegado"                          SocketAccessError
//   10055 "No hay recursos para la conexión"          SocketResourceError
//   10050 "Error de red"                              NetworkError
//   10048 "La dirección ya está en uso"               AddressInUseError
//   10049 "La dirección no está disponible"           SocketAddressNotAvailableError
//   10045 "Operación no admitida"                     UnsupportedSocketOperationError
//   10036 "Hay una operación en curso"                UnfinishedSocketOperationError
//   10035 "Recurso no disponible por el momento"      TemporaryError
//   10040 "Mensaje demasiado largo"                   DatagramTooLargeError
//   10051 "Error del proxy"                           any proxy error
//   10000 "Error de conexión desconocido"             anything else
// The peer closing the connection (RemoteHostClosedError) is the close event, not an error.
#include <QTcpSocket>
#include <string>

#include "platform/socket.h"

namespace quillon::adapters::qt {

struct SocketErrorText {
  int number;
  std::u16string description;
};

SocketErrorText SocketErrorFor(QAbstractSocket::SocketError error);

class QtSocket final : public platform::ClientSocket {
 public:
  QtSocket();
  ~QtSocket() override;

  void SetListener(platform::SocketListener* listener) override { listener_ = listener; }
  void Connect(const std::string& host, int port) override;
  void Close() override;
  int State() const override;
  void Send(std::string_view bytes) override;
  std::string ReadAvailable() override;

 private:
  // TCP keepalive with the link's timing (platform/socket.h), once connected.
  void KeepAlive();
  void OnError(QAbstractSocket::SocketError error);

  QTcpSocket socket_;
  platform::SocketListener* listener_ = nullptr;
  bool failed_ = false;
  bool peer_closed_ = false;
};

}  // namespace quillon::adapters::qt
