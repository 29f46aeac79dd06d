#include "adapters/qt/qt_socket.h"

#include <QString>

namespace quillon::adapters::qt {

SocketErrorText SocketErrorFor(QAbstractSocket::SocketError error) {
  using E = QAbstractSocket::SocketError;
  switch (error) {
    case E::ConnectionRefusedError:
      return {10061, u"Conexión rechazada por el servidor"};
    case E::HostNotFoundError:
      return {11001, u"No se encontró el servidor"};
    case E::SocketTimeoutError:
      return {10060, u"Tiempo de espera agotado"};
    case E::SocketAccessError:
      return {10013, u"Permiso denegado"};
    case E::SocketResourceError:
      return {10055, u"No hay recursos para la conexión"};
    case E::NetworkError:
      return {10050, u"Error de red"};
    case E::AddressInUseError:
      return {10048, u"La dirección ya está en uso"};
    case E::SocketAddressNotAvailableError:
      return {10049, u"La dirección no está disponible"};
    case E::UnsupportedSocketOperationError:
      return {10045, u"Operación no admitida"};
    case E::UnfinishedSocketOperationError:
      return {10036, u"Hay una operación en curso"};
    case E::TemporaryError:
      return {10035, u"Recurso no disponible por el momento"};
    case E::DatagramTooLargeError:
      return {10040, u"Mensaje demasiado largo"};
    case E::ProxyAuthenticationRequiredError:
    case E::ProxyConnectionRefusedError:
    case E::ProxyConnectionClosedError:
    case E::ProxyConnectionTimeoutError:
    case E::ProxyNotFoundError:
    case E::ProxyProtocolError:
      return {10051, u"Error del proxy"};
    default:
      return {10000, u"Error de conexión desconocido"};
  }
}

QtSocket::QtSocket() {
  QObject::connect(&socket_, &QTcpSocket::connected, [this] {
    if (listener_ != nullptr) listener_->OnConnected();
  });
  // Emitted for every arrival, also while a job lets the event loop run inside an earlier
  // arrival, so text that comes during a job is received during it.
  QObject::connect(&socket_, &QTcpSocket::channelReadyRead, [this](int) {
    const qint64 available = socket_.bytesAvailable();
    if (listener_ != nullptr && available > 0) {
      listener_->OnDataArrival(static_cast<std::size_t>(available));
    }
  });
  QObject::connect(&socket_, &QTcpSocket::errorOccurred,
                   [this](QAbstractSocket::SocketError error) { OnError(error); });
}

QtSocket::~QtSocket() {
  listener_ = nullptr;
  socket_.abort();
}

void QtSocket::Connect(const std::string& host, int port) {
  failed_ = false;
  peer_closed_ = false;
  socket_.connectToHost(QString::fromStdString(host), static_cast<quint16>(port));
}

void QtSocket::Close() {
  failed_ = false;
  peer_closed_ = false;
  socket_.abort();
}

int QtSocket::State() const {
  if (failed_) return platform::kSocketError;
  switch (socket_.state()) {
    case QAbstractSocket::UnconnectedState:
      return peer_closed_ ? platform::kSocketClosing : platform::kSocketClosed;
    case QAbstractSocket::HostLookupState:
      return platform::kSocketResolvingHost;
    case QAbstractSocket::ConnectingState:
      return platform::kSocketConnecting;
    case QAbstractSocket::ConnectedState:
      return platform::kSocketConnected;
    case QAbstractSocket::BoundState:
      return platform::kSocketOpen;
    case QAbstractSocket::ListeningState:
      return platform::kSocketListening;
    case QAbstractSocket::ClosingState:
      return platform::kSocketClosing;
  }
  return platform::kSocketClosed;
}

void QtSocket::Send(std::string_view bytes) {
  socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string QtSocket::ReadAvailable() {
  if (!socket_.isOpen()) return {};  // never connected, or closed: nothing to read
  const QByteArray bytes = socket_.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtSocket::OnError(QAbstractSocket::SocketError error) {
  if (error == QAbstractSocket::RemoteHostClosedError) {
    peer_closed_ = true;
    if (listener_ != nullptr) listener_->OnClosed();
    return;
  }
  failed_ = true;
  if (listener_ != nullptr) {
    const SocketErrorText text = SocketErrorFor(error);
    listener_->OnError(text.number, text.description);
  }
}

}  // namespace quillon::adapters::qt
