#include "adapters/win32/winsock_socket.h"

#include <mstcpip.h>
#include <ws2tcpip.h>

#include "platform/socket_errors.h"

namespace quillon::adapters::win32 {

WinsockSocket::WinsockSocket(MessageWindow& window)
    : window_(window),
      message_(
          window.AddHandler([this](WPARAM wparam, LPARAM lparam) { OnEvent(wparam, lparam); })) {
  WSADATA data;
  started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockSocket::~WinsockSocket() {
  listener_ = nullptr;
  Close();
  window_.RemoveHandler(message_);
  if (started_) WSACleanup();
}

void WinsockSocket::Connect(const std::string& host, int port) {
  Close();
  state_ = platform::kSocketResolvingHost;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  const int lookup = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (lookup != 0 || found == nullptr) {
    Fail(lookup != 0 ? lookup : WSAHOST_NOT_FOUND);
    return;
  }
  socket_ = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (socket_ == INVALID_SOCKET) {
    freeaddrinfo(found);
    Fail(WSAGetLastError());
    return;
  }
  KeepAlive();
  // Also makes the socket non-blocking.
  WSAAsyncSelect(socket_, window_.Handle(), message_, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE);
  state_ = platform::kSocketConnecting;
  const int result = connect(socket_, found->ai_addr, static_cast<int>(found->ai_addrlen));
  freeaddrinfo(found);
  if (result == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK) Fail(WSAGetLastError());
}

void WinsockSocket::KeepAlive() {
  tcp_keepalive values{};
  values.onoff = 1;
  values.keepalivetime = platform::kKeepAliveIdleSeconds * 1000;
  values.keepaliveinterval = platform::kKeepAliveIntervalSeconds * 1000;
  DWORD returned = 0;
  WSAIoctl(socket_, SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr,
           nullptr);
  // The number of probes can be set from Windows 10 1703 on (TCP_KEEPCNT, which MinGW's headers
  // lack); before, Windows sends 10 and the dead link is found after about two minutes.
  constexpr int kTcpKeepCount = 16;
  const DWORD probes = platform::kKeepAliveProbes;
  setsockopt(socket_, IPPROTO_TCP, kTcpKeepCount, reinterpret_cast<const char*>(&probes),
             sizeof probes);
}

void WinsockSocket::Close() {
  if (socket_ != INVALID_SOCKET) {
    WSAAsyncSelect(socket_, window_.Handle(), 0, 0);
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }
  // Events of the closed socket may still wait in the queue; they are dropped by socket.
  state_ = platform::kSocketClosed;
  received_.clear();
  unsent_.clear();
}

void WinsockSocket::Send(std::string_view bytes) {
  if (state_ != platform::kSocketConnected) return;
  unsent_.append(bytes);
  SendPending();
}

std::string WinsockSocket::ReadAvailable() {
  Receive();
  std::string bytes;
  bytes.swap(received_);
  return bytes;
}

void WinsockSocket::OnEvent(WPARAM wparam, LPARAM lparam) {
  if (static_cast<SOCKET>(wparam) != socket_ || socket_ == INVALID_SOCKET) return;
  const int error = WSAGETSELECTERROR(lparam);
  switch (WSAGETSELECTEVENT(lparam)) {
    case FD_CONNECT:
      if (error != 0) {
        Fail(error);
      } else {
        state_ = platform::kSocketConnected;
        if (listener_ != nullptr) listener_->OnConnected();
      }
      break;
    case FD_READ:
      Receive();
      if (listener_ != nullptr && !received_.empty()) listener_->OnDataArrival(received_.size());
      break;
    case FD_WRITE:
      SendPending();
      break;
    case FD_CLOSE:
      // What the peer sent before closing is still delivered first.
      Receive();
      if (listener_ != nullptr && !received_.empty()) listener_->OnDataArrival(received_.size());
      if (socket_ == INVALID_SOCKET) break;  // the data's handler closed it
      state_ = platform::kSocketClosing;
      if (listener_ != nullptr) listener_->OnClosed();
      break;
    default:
      break;
  }
}

void WinsockSocket::Fail(int number) {
  state_ = platform::kSocketError;
  if (listener_ != nullptr) {
    listener_->OnError(number, platform::SocketErrorDescription(number));
  }
}

void WinsockSocket::Receive() {
  if (socket_ == INVALID_SOCKET) return;
  char buffer[16384];
  for (;;) {
    const int count = recv(socket_, buffer, sizeof buffer, 0);
    if (count <= 0) return;
    received_.append(buffer, static_cast<std::size_t>(count));
  }
}

void WinsockSocket::SendPending() {
  while (!unsent_.empty() && socket_ != INVALID_SOCKET) {
    const int count = send(socket_, unsent_.data(), static_cast<int>(unsent_.size()), 0);
    if (count == SOCKET_ERROR) return;  // FD_WRITE says when there is room again
    unsent_.erase(0, static_cast<std::size_t>(count));
  }
}

}  // namespace quillon::adapters::win32
