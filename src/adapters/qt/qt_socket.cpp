#include "adapters/qt/qt_socket.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QString>

#include "platform/socket_errors.h"

namespace quillon::adapters::qt {

SocketErrorText SocketErrorFor(QAbstractSocket::SocketError error) {
  using E = QAbstractSocket::SocketError;
  const auto text = [](int number) {
    return SocketErrorText{number, platform::SocketErrorDescription(number)};
  };
  switch (error) {
    case E::ConnectionRefusedError:
      return text(10061);
    case E::HostNotFoundError:
      return text(11001);
    case E::SocketTimeoutError:
      return text(10060);
    case E::SocketAccessError:
      return text(10013);
    case E::SocketResourceError:
      return text(10055);
    case E::NetworkError:
      return text(10050);
    case E::AddressInUseError:
      return text(10048);
    case E::SocketAddressNotAvailableError:
      return text(10049);
    case E::UnsupportedSocketOperationError:
      return text(10045);
    case E::UnfinishedSocketOperationError:
      return text(10036);
    case E::TemporaryError:
      return text(10035);
    case E::DatagramTooLargeError:
      return text(10040);
    case E::ProxyAuthenticationRequiredError:
    case E::ProxyConnectionRefusedError:
    case E::ProxyConnectionClosedError:
    case E::ProxyConnectionTimeoutError:
    case E::ProxyNotFoundError:
    case E::ProxyProtocolError:
      // Windows has no proxy of its own in the socket: this pair is Qt's alone.
      return {10051, u"Error del proxy"};
    default:
      return text(platform::kSocketErrorUnknown);
  }
}

QtSocket::QtSocket() {
  QObject::connect(&socket_, &QTcpSocket::connected, [this] {
    KeepAlive();
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

void QtSocket::KeepAlive() {
  socket_.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
  // Qt sets only whether probes are sent; their timing is the system's (two hours by default).
  const int fd = static_cast<int>(socket_.socketDescriptor());
  if (fd < 0) return;
  const int idle = platform::kKeepAliveIdleSeconds;
  const int interval = platform::kKeepAliveIntervalSeconds;
  const int probes = platform::kKeepAliveProbes;
  setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
  setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
  setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
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
