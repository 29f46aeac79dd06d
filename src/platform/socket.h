#pragma once
// The one TCP client connection to the print server. Events arrive on the program's one thread,
// one at a time, through the listener.
#include <cstddef>
#include <string>
#include <string_view>

namespace quillon::platform {

// State numbers shown in the state label and read by the connection watch.
enum SocketState : int {
  kSocketClosed = 0,
  kSocketOpen = 1,
  kSocketListening = 2,
  kSocketConnectionPending = 3,
  kSocketResolvingHost = 4,
  kSocketHostResolved = 5,
  kSocketConnecting = 6,
  kSocketConnected = 7,
  kSocketClosing = 8,  // the peer has closed
  kSocketError = 9,
};

// TCP keepalive on the server link: a connection a router dropped without a word is found dead
// after about a minute of silence (30 s idle, then 3 probes 10 s apart), and the watch reopens
// it, instead of many minutes later when a write fails.
inline constexpr int kKeepAliveIdleSeconds = 30;
inline constexpr int kKeepAliveIntervalSeconds = 10;
inline constexpr int kKeepAliveProbes = 3;

class SocketListener {
 public:
  virtual ~SocketListener() = default;
  virtual void OnConnected() = 0;
  // The peer closed the connection.
  virtual void OnClosed() = 0;
  // The attempt or the connection failed; the socket stays in state 9 until closed.
  virtual void OnError(int number, const std::u16string& description) = 0;
  // Bytes are waiting to be read with ReadAvailable.
  virtual void OnDataArrival(std::size_t bytes_available) = 0;
};

class ClientSocket {
 public:
  virtual ~ClientSocket() = default;
  virtual void SetListener(SocketListener* listener) = 0;
  // Starts a connection and returns at once; the outcome arrives as OnConnected or OnError.
  virtual void Connect(const std::string& host, int port) = 0;
  // Drops the connection or the attempt at once (state 0); raises no event.
  virtual void Close() = 0;
  virtual int State() const = 0;
  virtual void Send(std::string_view bytes) = 0;
  // Every byte received and not read yet.
  virtual std::string ReadAvailable() = 0;
};

}  // namespace quillon::platform
