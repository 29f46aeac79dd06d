#pragma once
// The server connection over Winsock. The socket is non-blocking and reports its events as
// messages to a message window (WSAAsyncSelect), so they run on the program's one thread like
// every other event.
//
// States, as the watch and the state label read them: 0 closed, 4 resolving the host name,
// 6 connecting, 7 connected, 8 the peer has closed, 9 an attempt or a connection failed and the
// socket was not closed since. Errors carry Windows' own socket numbers with the Spanish texts
// of platform/socket_errors.h; the peer closing (also by a reset) is the close event.
#include <winsock2.h>

#include <string>

#include "adapters/win32/message_window.h"
#include "platform/socket.h"

namespace quillon::adapters::win32 {

class WinsockSocket final : public platform::ClientSocket {
 public:
  explicit WinsockSocket(MessageWindow& window);
  ~WinsockSocket() override;
  WinsockSocket(const WinsockSocket&) = delete;
  WinsockSocket& operator=(const WinsockSocket&) = delete;

  void SetListener(platform::SocketListener* listener) override { listener_ = listener; }
  void Connect(const std::string& host, int port) override;
  void Close() override;
  int State() const override { return state_; }
  void Send(std::string_view bytes) override;
  std::string ReadAvailable() override;

 private:
  // TCP keepalive with the link's timing (platform/socket.h), set before connecting.
  void KeepAlive();
  void OnEvent(WPARAM wparam, LPARAM lparam);
  void Fail(int number);
  // Moves what the system holds into received_.
  void Receive();
  void SendPending();

  MessageWindow& window_;
  UINT message_;
  SOCKET socket_ = INVALID_SOCKET;
  int state_ = platform::kSocketClosed;
  std::string received_;
  std::string unsent_;
  platform::SocketListener* listener_ = nullptr;
  bool started_ = false;  // WSAStartup succeeded
};

}  // namespace quillon::adapters::win32
